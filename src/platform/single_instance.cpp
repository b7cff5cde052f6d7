#include "platform/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

QString canonicalFolder(const QString& programFolder) {
    const QFileInfo info(programFolder);
    const QString folder = info.canonicalFilePath();
    return folder.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : folder;
}

// A folder no other user can enter or swap: a real directory (not a link) of ours, closed to
// everyone else.
bool isPrivateFolder(const QByteArray& path) {
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
           (st.st_mode & 077) == 0;
}

// Empty when the user has no private folder and one cannot be made.
QString privateFolder() {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && isPrivateFolder(runtime))
        return QFile::decodeName(runtime);
    const QByteArray own = QFile::encodeName(QDir::tempPath()) + "/pelkora-" +
                           QByteArray::number(static_cast<qulonglong>(::geteuid()));
    (void)::mkdir(own.constData(), 0700); // it may be there already; checked below either way
    return isPrivateFolder(own) ? QFile::decodeName(own) : QString();
}

// One lock per program folder in the shared private folder.
QString lockName(const QString& folder) {
    const QByteArray hash =
        QCryptographicHash::hash(QFile::encodeName(folder), QCryptographicHash::Sha256)
            .toHex()
            .left(32);
    return QStringLiteral("pelkora-%1.lock").arg(QString::fromLatin1(hash));
}

} // namespace

SingleInstanceLock::SingleInstanceLock(const QString& programFolder) {
    const QString folder = canonicalFolder(programFolder);
    if (tryPlace(QDir(folder).filePath(QStringLiteral(".pelkora.lock"))))
        return;
    const QString own = privateFolder();
    if (!own.isEmpty())
        (void)tryPlace(QDir(own).filePath(lockName(folder)));
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

bool AcquireSingleInstance(const QString& programFolder) {
    static std::unique_ptr<SingleInstanceLock> held;
    if (held && held->acquired())
        return true;
    held = std::make_unique<SingleInstanceLock>(programFolder);
    return !held->anotherCopyRuns();
}

} // namespace platform
