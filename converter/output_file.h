#pragma once

#include "errors.h"
#include "fd_io.h"
#include "options.h"

#include <string>

namespace conv {

// A temporary file beside the output, named so that it is clearly ours
// (".NAME.conv-XXXXXX.part"). It is created exclusively and written only through its
// descriptor, never reopened by name, and holds an exclusive flock while it exists, so a
// cleaner can tell it from one left by a killed converter. Only its owner may open it until
// it replaces the output on commit; otherwise it is removed, also when the process is
// stopped by a signal.
class TempOutput {
public:
    TempOutput() = default;
    ~TempOutput();
    TempOutput(const TempOutput&) = delete;
    TempOutput& operator=(const TempOutput&) = delete;

    [[nodiscard]] Status create(const std::string& finalPath);
    [[nodiscard]] const std::string& path() const { return path_; }
    // Open for reading and writing.
    [[nodiscard]] int fd() const { return file_.get(); }
    // Renames the temporary file over the output, unless its name no longer leads to it.
    [[nodiscard]] Status commit();
    // Removes the temporary file (only while its name still leads to it).
    void discard();

private:
    [[nodiscard]] bool nameLeadsToFile() const;

    std::string finalPath_;
    std::string finalName_;
    std::string path_;
    std::string name_;
    std::string interruptLine_;
    UniqueFd folder_;
    UniqueFd file_;
    bool active_ = false;
};

// The temporary name for an output path and a random six-character tag.
[[nodiscard]] std::string TempNameFor(const std::string& finalPath, const std::string& tag);

// Makes the stop signals remove the temporary file (those ignored at start stay ignored); a
// closed pipe or a file-size limit turns into a write error instead of ending the process.
void InstallSignalHandlers();

// The output's folder must exist and be writable, the output must not be the input (open as
// `inputFd`) itself, without -y it must not exist yet, and with -y it must be ours to replace.
[[nodiscard]] Status CheckOutput(const Options& options, int inputFd);

} // namespace conv
