#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

// Scratch folders, child processes, generated media and probing for the converter tests.
namespace convtest {

inline const std::string kConv = PELKORA_PROGRAM_DIR "/data/conv";

// Peak resident size allowed to conv; the sanitizers' shadow memory and quarantine come on top.
constexpr long PeakLimitKb([[maybe_unused]] long plainMb) {
#ifdef PELKORA_SANITIZED
    return 400 * 1024;
#else
    return plainMb * 1024;
#endif
}

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
    bool timedOut = false; // still running at the deadline, then killed
    long peakKb = 0;       // peak resident size
    std::string output;    // standard output and error together
    [[nodiscard]] std::string lastLine() const;
};

// A child process whose output goes to a file.
class Child {
public:
    explicit Child(std::vector<std::string> argv);
    ~Child();
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    [[nodiscard]] int pid() const { return pid_; }
    // Waits up to the deadline; a child still running then is killed and marked timed out.
    RunResult wait(int deadlineSeconds = 120);
    // Stops the child and waits until it has stopped.
    void freeze();

private:
    int pid_ = -1;
    std::string outputFile_;
};

// Waits for a child of this process as Child::wait does; its output is in `outputFile`.
RunResult Reap(int pid, const std::string& outputFile, int deadlineSeconds);

// conv, killed at the deadline, its files limited in size when asked.
[[nodiscard]] RunResult RunConv(const std::vector<std::string>& args, long long fileSizeLimit = -1,
                                int deadlineSeconds = 120);
// The ffmpeg program, quiet and overwriting; false on failure.
[[nodiscard]] bool Ffmpeg(const std::vector<std::string>& args);

// A folder for the whole test program, removed when it ends.
[[nodiscard]] const ScratchDir& Shared();
// `name` in Shared(), made the first time from a lavfi source with `args` for the output
// (stereo unless they say otherwise); a failure fails the test.
std::string Made(const std::string& name, const std::string& source,
                 const std::vector<std::string>& args = {});

// The temporary file of a running conv in `folder` once output has reached it; "" when none
// did by the deadline.
[[nodiscard]] std::string PartWithOutput(const ScratchDir& folder, int deadlineSeconds = 30);

// A media file as libavformat sees it, with all of its audio decoded.
struct MediaInfo {
    bool ok = false;
    std::string codec;
    int sampleRate = 0;
    int channels = 0;
    std::int64_t decodedSamples = 0;         // per channel
    double decodedSeconds = 0;               // each frame at its own rate
    std::vector<std::int16_t> samples;       // interleaved 16-bit audio only
    std::map<std::string, std::string> tags; // lower-case keys, of the file and its audio
    std::vector<std::string> pictures;       // "codec kind|caption|bytes" of each
    int otherVideo = 0;                      // video streams that are no attached picture
    [[nodiscard]] double seconds() const {
        return sampleRate > 0 ? static_cast<double>(decodedSamples) / sampleRate : 0.0;
    }
};

[[nodiscard]] MediaInfo Probe(const std::string& path);

[[nodiscard]] std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);

// Tags as the ffprobe program reads them: another reader than the converter's own check.
struct FfprobeTags {
    bool clean = false;                      // exit 0, and nothing but tags printed
    std::map<std::string, std::string> tags; // lower-case keys, of the file and its streams
    std::string complaints;                  // whatever else it printed
};

// Tag values must not hold line breaks: ffprobe prints one tag a line.
[[nodiscard]] FfprobeTags ReadTagsWithFfprobe(const std::string& path);

[[nodiscard]] std::string Be32(std::uint32_t v);
[[nodiscard]] std::string Le32(std::size_t v);

// A FLAC file like `flac` with its metadata blocks of the kinds in `blocks` (kind, body)
// replaced by these, after its other blocks.
[[nodiscard]] std::string FlacWithBlocks(const std::string& flac,
                                         const std::vector<std::pair<int, std::string>>& blocks);
// The body of a FLAC picture block of a front cover.
[[nodiscard]] std::string FlacPicture(const std::string& mime, const std::string& caption,
                                      std::uint32_t side, std::uint32_t depth,
                                      const std::string& image);

// An ID3v2.4 frame, and a tag of such frames (its size as stated, or as it is).
[[nodiscard]] std::string Id3Frame(const std::string& id, const std::string& body,
                                   std::uint16_t flags = 0);
[[nodiscard]] std::string Id3Tag(const std::string& frames, std::uint32_t declared);
[[nodiscard]] std::string Id3Tag(const std::string& frames);

} // namespace convtest
