#include "platform/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace platform {
namespace {

QString lockFolder() {
    // The runtime folder is per user; without it the shared temporary folder is used and
    // the user id keeps two users' locks apart.
    if (qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")) {
        const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
        if (!runtime.isEmpty() && QFileInfo(runtime).isWritable())
            return runtime;
    }
    return QStandardPaths::writableLocation(QStandardPaths::TempLocation);
}

QString userTag() {
#ifdef Q_OS_UNIX
    return QString::number(::getuid());
#else
    return qEnvironmentVariable("USERNAME");
#endif
}

} // namespace

QString SingleInstanceLockPath(const QString& programFolder) {
    QFileInfo info(programFolder);
    QString folder = info.canonicalFilePath();
    if (folder.isEmpty())
        folder = QDir::cleanPath(info.absoluteFilePath());
    const QByteArray key = (userTag() + QLatin1Char('\n') + folder).toUtf8();
    const QString hash = QString::fromLatin1(
        QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(32));
    return QDir(lockFolder()).filePath(QStringLiteral("pelkora-%1.lock").arg(hash));
}

SingleInstanceLock::SingleInstanceLock(const QString& programFolder)
    : lock_(std::make_unique<QLockFile>(SingleInstanceLockPath(programFolder))) {
    // Age alone must never make a lock stale: the first copy may run for days.
    lock_->setStaleLockTime(0);
    acquired_ = lock_->tryLock(0);
    anotherCopyRuns_ = !acquired_ && lock_->error() == QLockFile::LockFailedError;
}

SingleInstanceLock::~SingleInstanceLock() = default;

bool AcquireSingleInstance(const QString& programFolder) {
    static std::unique_ptr<SingleInstanceLock> held;
    if (held && held->acquired())
        return true;
    held = std::make_unique<SingleInstanceLock>(programFolder);
    return !held->anotherCopyRuns();
}

} // namespace platform
