#pragma once

#include <QString>

#include <memory>

class QLockFile;

namespace platform {

// Holds the single-copy lock while it lives. The lock lies in the settings folder it protects
// (".pelkora.lock" beside setup.ini); where that folder cannot take it or is someone else's,
// in the user's private runtime folder: $XDG_RUNTIME_DIR, or one made below the temporary folder.
class SingleInstanceLock final {
public:
    explicit SingleInstanceLock(const QString& settingsFolder);
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    // Whether this object holds the lock. A lock left by a process that has died is taken
    // over.
    [[nodiscard]] bool acquired() const { return acquired_; }
    // Whether another live process holds it. A lock that cannot be made at all is not taken
    // as another copy: better two copies than none.
    [[nodiscard]] bool anotherCopyRuns() const { return anotherCopyRuns_; }
    // The lock file held or found held; empty when there was no place for one.
    [[nodiscard]] const QString& path() const { return path_; }

private:
    bool tryPlace(const QString& path);

    std::unique_ptr<QLockFile> lock_;
    QString path_;
    bool acquired_ = false;
    bool anotherCopyRuns_ = false;
};

// The socket by which the copy holding the lock for this settings folder takes files from a
// second start: in the private runtime folder, named after the folder. Empty when the user
// has no private folder.
[[nodiscard]] QString InstanceSocketPath(const QString& settingsFolder);

} // namespace platform
