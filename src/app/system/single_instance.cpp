#include "app/system/single_instance.h"

#include "core/system/runtime_dir.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

QString canonicalFolder(const QString& folder) {
    const QFileInfo info(folder);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

// One name per settings folder in the shared private folder.
QString privateName(const QString& folder, const char* suffix) {
    const QByteArray hash = QCryptographicHash::hash(QFile::encodeName(canonicalFolder(folder)),
                                                     QCryptographicHash::Sha256)
                                .toHex()
                                .left(32);
    return QStringLiteral("pelkora-%1%2").arg(QString::fromLatin1(hash), QLatin1String(suffix));
}

QString privateFolder() {
    return QFile::decodeName(QByteArray::fromStdString(PrivateRuntimeFolder()));
}

} // namespace

SingleInstanceLock::SingleInstanceLock(const QString& settingsFolder) {
    // Someone else's settings folder (root running with a user's HOME) gets no file of ours.
    const QString folder = canonicalFolder(settingsFolder);
    struct stat st = {};
    const bool ours =
        ::stat(QFile::encodeName(folder).constData(), &st) == 0 && st.st_uid == ::geteuid();
    if (ours && tryPlace(QDir(folder).filePath(QStringLiteral(".pelkora.lock"))))
        return;
    const QString own = privateFolder();
    if (!own.isEmpty())
        (void)tryPlace(QDir(own).filePath(privateName(settingsFolder, ".lock")));
}

SingleInstanceLock::~SingleInstanceLock() = default;

// True when the place settles it: the lock is ours, or another copy holds it.
bool SingleInstanceLock::tryPlace(const QString& path) {
    auto lock = std::make_unique<QLockFile>(path);
    // Age alone must never make a lock stale: the first copy may run for days.
    lock->setStaleLockTime(0);
    acquired_ = lock->tryLock(0);
    anotherCopyRuns_ = !acquired_ && lock->error() == QLockFile::LockFailedError;
    if (!acquired_ && !anotherCopyRuns_)
        return false;
    lock_ = std::move(lock);
    path_ = path;
    return true;
}

QString InstanceSocketPath(const QString& settingsFolder) {
    const QString own = privateFolder();
    return own.isEmpty() ? QString() : QDir(own).filePath(privateName(settingsFolder, ".sock"));
}

} // namespace platform
