#pragma once

#include "errors.h"
#include "options.h"

#include <string>

namespace conv {

// A temporary file beside the output, named so that it is clearly ours
// (".NAME.conv-XXXXXX.part"). It replaces the output only on commit; otherwise it is removed,
// also when the process is stopped by SIGTERM, SIGINT or SIGHUP.
class TempOutput {
public:
    TempOutput() = default;
    ~TempOutput();
    TempOutput(const TempOutput&) = delete;
    TempOutput& operator=(const TempOutput&) = delete;

    [[nodiscard]] Status create(const std::string& finalPath);
    [[nodiscard]] const std::string& path() const { return path_; }
    // Renames the temporary file over the output.
    [[nodiscard]] Status commit();
    // Removes the temporary file.
    void discard();

private:
    std::string finalPath_;
    std::string path_;
    std::string interruptLine_;
    bool active_ = false;
};

// The temporary name for an output path and a random six-character tag.
[[nodiscard]] std::string TempNameFor(const std::string& finalPath, const std::string& tag);

// Makes the stop signals remove the temporary file; a closed pipe or a file-size limit turns
// into a write error instead of ending the process.
void InstallSignalHandlers();

// The input must be an existing, non-empty file.
[[nodiscard]] Status CheckInput(const std::string& input);
// The output's folder must exist and be writable, the output must not be the input itself,
// and without -y it must not exist yet.
[[nodiscard]] Status CheckOutput(const Options& options);

} // namespace conv
