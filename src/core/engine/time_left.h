#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

// How long the rest of a run will take, from what it has converted so far. The work is
// measured in the inputs' playing time: a long file takes longer than a short one, whatever
// the count of files says. A file whose length is not known yet counts by its size, at the
// seconds per byte of the files whose length and size are both known. Times are seconds on
// any steady clock the caller reads.
class TimeLeft {
public:
    explicit TimeLeft(double startedAt) : startedAt_(startedAt) {}

    // A file of the run, not started yet; `seconds` is its length when known.
    void add(const std::string& key, std::optional<double> seconds, std::uint64_t bytes);
    // The converter told the file's length.
    void setLength(const std::string& key, double seconds);
    // The share of the file converted, 0 to 1.
    void setProgress(const std::string& key, double fraction);
    // The file ended: converted in full, or given up where it was.
    void finish(const std::string& key, bool converted);
    // Leaves the run without having been converted (a stop, a file taken out).
    void remove(const std::string& key);

    // Nothing until the run has gone on for `kWarmUpSeconds` or finished a file, and has
    // converted something.
    [[nodiscard]] std::optional<double> secondsLeft(double now) const;

    static constexpr double kWarmUpSeconds = 2.0;

private:
    struct File {
        std::optional<double> seconds;
        std::uint64_t bytes = 0;
        double fraction = 0.0;
        bool ended = false;
    };
    // The file's length, or its size at the seconds per byte seen so far.
    [[nodiscard]] std::optional<double> lengthOf(const File& file, double secondsPerByte) const;

    double startedAt_;
    std::map<std::string, File> files_;
    bool anyEnded_ = false;
};
