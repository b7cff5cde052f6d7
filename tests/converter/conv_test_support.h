#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// Scratch folders, child processes, generated media and probing for the converter tests.
namespace convtest {

[[nodiscard]] std::string ConvPath();

// Removed with its contents at the end of the scope.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    [[nodiscard]] const std::string& path() const { return path_; }
    [[nodiscard]] std::string file(const std::string& name) const { return path_ + "/" + name; }
    [[nodiscard]] std::vector<std::string> entries() const; // sorted names

private:
    std::string path_;
};

struct RunResult {
    int exitCode = -1; // -1 when ended by a signal
    int signal = 0;
    bool timedOut = false;
    std::string output; // standard output and error together
    [[nodiscard]] std::string lastLine() const;
};

struct RunOptions {
    std::vector<std::string> extraEnv; // NAME=VALUE
    long long fileSizeLimit = -1;      // bytes
    double timeoutSeconds = 120;
};

// A child process whose output goes to a file; killed when its time runs out.
class Child {
public:
    Child(const std::string& program, const std::vector<std::string>& args,
          const RunOptions& options = {});
    ~Child();
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    [[nodiscard]] int pid() const { return pid_; }
    RunResult wait();

private:
    int pid_ = -1;
    std::string outputFile_;
    double timeoutSeconds_;
};

[[nodiscard]] RunResult RunConv(const std::vector<std::string>& args,
                                const RunOptions& options = {});
// The ffmpeg program, quiet and overwriting; false on failure.
[[nodiscard]] bool Ffmpeg(const std::vector<std::string>& args);

// A media file as libavformat sees it, with all of its audio decoded.
struct MediaInfo {
    bool ok = false;
    std::string codec;
    int sampleRate = 0;
    int channels = 0;
    std::int64_t bitRate = 0;
    std::int64_t decodedSamples = 0;         // per channel
    std::map<std::string, std::string> tags; // file and stream tags, lower-case keys
    std::vector<std::int16_t> samples;       // interleaved, only when asked for
    [[nodiscard]] double seconds() const {
        return sampleRate > 0 ? static_cast<double>(decodedSamples) / sampleRate : 0.0;
    }
    [[nodiscard]] std::string tag(const std::string& key) const {
        return tags.count(key) ? tags.at(key) : "";
    }
};

[[nodiscard]] MediaInfo Probe(const std::string& path, bool keepSamples = false);

[[nodiscard]] std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
[[nodiscard]] bool Exists(const std::string& path);

} // namespace convtest
