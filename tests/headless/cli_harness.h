#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <sys/types.h>

// Runs the real program in a private program folder, with no display, and looks at what it
// leaves behind.
namespace clitest {

using namespace std::chrono_literals;

// Long enough for a loaded machine and a sanitizer build; reaching it fails the test.
inline constexpr std::chrono::seconds kDeadline = 120s;

// A fresh folder, removed with its contents at the end of the scope.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    [[nodiscard]] const std::string& path() const { return path_; }
    [[nodiscard]] std::string operator/(const std::string& name) const {
        return path_ + "/" + name;
    }

private:
    std::string path_;
};

struct Finished {
    int exitCode = -1; // -1 when ended by a signal
    int signal = 0;
    bool timedOut = false;
    std::string out;
    std::string err;
};

// A child process whose standard output and error go to files.
class Process {
public:
    // The environment is the test's own, changed by `env` (an empty value removes a name).
    Process(const std::string& program, const std::vector<std::string>& args,
            const std::map<std::string, std::string>& env = {}, bool ownProcessGroup = false);
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    [[nodiscard]] pid_t pid() const { return pid_; }
    [[nodiscard]] std::string err() const;
    // Polls until the condition holds or the child ends; false when it did not hold in time.
    bool waitUntil(const std::function<bool()>& condition,
                   std::chrono::seconds deadline = kDeadline);
    // Waits for the end; a child still running at the deadline is killed and marked.
    Finished finish(std::chrono::seconds deadline = kDeadline);

private:
    bool reap(bool block);

    TempDir files_;
    pid_t pid_ = -1;
    bool reaped_ = false;
    int status_ = 0;
};

// A copy of the program and its converter in a folder of its own, so that settings files,
// locks and default outputs land where the test can see them.
class ProgramCopy {
public:
    explicit ProgramCopy(const std::string& folder);
    // A converter the program left running is ended, so that a failed test leaves no strays.
    ~ProgramCopy();
    ProgramCopy(const ProgramCopy&) = delete;
    ProgramCopy& operator=(const ProgramCopy&) = delete;
    [[nodiscard]] const std::string& folder() const { return folder_; }
    [[nodiscard]] std::string converter() const { return folder_ + "/data/conv"; }
    // pelkora --batch ARGS with no display, and HOME and the configuration folder in `home`.
    [[nodiscard]] Finished batch(const std::vector<std::string>& args,
                                 const std::string& home) const;
    [[nodiscard]] std::unique_ptr<Process> start(const std::vector<std::string>& args,
                                                 const std::string& home,
                                                 bool ownProcessGroup = false) const;
    // Whether a process runs this copy's converter.
    [[nodiscard]] bool converterRunning() const { return !converterProcesses().empty(); }
    [[nodiscard]] std::vector<pid_t> converterProcesses() const;

private:
    std::string folder_;
};

// Sorted names below a folder, sub-folders as "sub/" followed by their entries ("sub/x").
[[nodiscard]] std::vector<std::string> Tree(const std::string& folder);

// A sine tone from the ffmpeg program: OUTPUT's extension picks the format.
void MakeTone(const std::string& output, double seconds, int sampleRate = 44100);

struct Probed {
    std::string codec;
    int sampleRate = 0;
    int channels = 0;
    long long bitRate = 0;
    double seconds = 0.0;
};

// What ffprobe says of the first audio stream; an empty codec when it cannot read the file.
[[nodiscard]] Probed Probe(const std::string& path);

[[nodiscard]] std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);

} // namespace clitest
