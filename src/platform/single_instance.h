#pragma once

#include <QString>

#include <memory>

class QLockFile;

namespace platform {

// Where the lock of the copy running from this program folder lives: a per-user place
// outside the program folder, which may be read-only.
[[nodiscard]] QString SingleInstanceLockPath(const QString& programFolder);

// Holds the program folder's lock while it lives.
class SingleInstanceLock final {
public:
    explicit SingleInstanceLock(const QString& programFolder);
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    // Whether this object holds the lock. A lock left by a process that has died is taken
    // over.
    [[nodiscard]] bool acquired() const { return acquired_; }
    // Whether another live process holds it. A lock that cannot be made at all (no writable
    // temporary folder) is not taken as another copy: better two copies than none.
    [[nodiscard]] bool anotherCopyRuns() const { return anotherCopyRuns_; }

private:
    std::unique_ptr<QLockFile> lock_;
    bool acquired_ = false;
    bool anotherCopyRuns_ = false;
};

// Takes the lock for the rest of the process; false means another copy runs from this
// program folder and this one should end before it shows anything.
[[nodiscard]] bool AcquireSingleInstance(const QString& programFolder);

} // namespace platform
