#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// Helpers shared by the converter tests: scratch folders, child processes, generated media
// and probing through libavformat.
namespace convtest {

// The converter program of this build tree.
[[nodiscard]] std::string ConvPath();

// A scratch folder removed with its contents at the end of the scope.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    [[nodiscard]] const std::string& path() const { return path_; }
    [[nodiscard]] std::string file(const std::string& name) const { return path_ + "/" + name; }
    // Names of the entries, sorted.
    [[nodiscard]] std::vector<std::string> entries() const;

private:
    std::string path_;
};

struct RunResult {
    int exitCode = -1; // -1 when ended by a signal
    int signal = 0;
    bool timedOut = false;
    std::string output; // standard output and error together

    // The last line (a trailing newline removed).
    [[nodiscard]] std::string lastLine() const;
};

struct RunOptions {
    std::vector<std::string> extraEnv; // NAME=VALUE
    long long fileSizeLimit = -1;      // bytes; -1 = none
    double timeoutSeconds = 120;
};

// A child process whose output goes to a file.
class Child {
public:
    Child(const std::string& program, const std::vector<std::string>& args,
          const RunOptions& options = {});
    ~Child();
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    [[nodiscard]] int pid() const { return pid_; }
    // Waits for the end; kills the child when the time runs out.
    RunResult wait();

private:
    int pid_ = -1;
    std::string outputFile_;
    double timeoutSeconds_;
};

[[nodiscard]] RunResult Run(const std::string& program, const std::vector<std::string>& args,
                            const RunOptions& options = {});
[[nodiscard]] RunResult RunConv(const std::vector<std::string>& args,
                                const RunOptions& options = {});

// Runs the ffmpeg program with the given arguments (quiet, overwriting); false on failure.
[[nodiscard]] bool Ffmpeg(const std::vector<std::string>& args);

// What a media file holds, read through libavformat and by decoding all of its audio.
struct MediaInfo {
    bool ok = false;
    std::string container;
    std::string codec;
    int sampleRate = 0;
    int channels = 0;
    std::int64_t bitRate = 0;
    std::int64_t decodedSamples = 0;         // per channel
    std::map<std::string, std::string> tags; // file and stream tags, keys in lower case

    [[nodiscard]] double seconds() const {
        return sampleRate > 0 ? static_cast<double>(decodedSamples) / sampleRate : 0.0;
    }
};

[[nodiscard]] MediaInfo Probe(const std::string& path);
// All audio as interleaved signed 16-bit samples.
[[nodiscard]] std::vector<std::int16_t> DecodeS16(const std::string& path);

[[nodiscard]] std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
[[nodiscard]] bool Exists(const std::string& path);

} // namespace convtest
