#pragma once

#include <QString>

#include <memory>

class QLockFile;

namespace platform {

// Holds the program folder's lock while it lives. The lock lies beside the settings it
// protects (".pelkora.lock" in the program folder); where that folder cannot take it, in a
// folder private to the user: $XDG_RUNTIME_DIR, or one made below the temporary folder.
class SingleInstanceLock final {
public:
    explicit SingleInstanceLock(const QString& programFolder);
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

// Takes the lock for the rest of the process; false means another copy runs from this
// program folder and this one should end before it shows anything.
[[nodiscard]] bool AcquireSingleInstance(const QString& programFolder);

} // namespace platform
