#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// The command line of the windowless mode: pelkora --batch [options] FILE|FOLDER ...
namespace headless {

struct CutChoice {
    std::int32_t start = 0;  // whole seconds
    std::int32_t length = 0; // whole seconds; 0 runs to the end of the file
};

// One of several runs that split the sources between them: share `index` of `count`.
struct ShardChoice {
    int index = 1; // 1 to count
    int count = 1;
};

// What the command line chose. An empty choice is taken from the settings files.
struct BatchArguments {
    std::optional<int> format;   // position in choices::kFormats
    std::optional<int> bitrate;  // position in choices::kBitrates; the format may offer fewer
    std::optional<int> rate;     // position in choices::kSampleRates
    std::optional<int> channels; // position in choices::kChannels
    std::optional<std::string> output;
    std::optional<CutChoice> cut; // set: the cut is on
    std::optional<int> jobs;      // 1 to MaxBatchJobs
    bool keepTree = false;
    std::optional<std::string> namePattern; // checked: it parses
    std::optional<std::string> report;      // checked: ends in .csv or .json
    bool sync = false;                      // only what is new or changed since the last run
    bool replayGain = false;                // loudness measured and tagged
    bool prune = false; // with sync: outputs of sources no longer found go to the trash
    std::optional<ShardChoice> shard; // with sync
    bool quiet = false;
    bool help = false;
    bool version = false;
    std::vector<std::string> inputs; // in the order given
    std::vector<std::string> notes;  // lines for standard error; the run goes on
};

// One line naming the option at fault, meant for standard error as it is.
struct UsageError {
    std::string message;
};

using ParsedArguments = std::variant<BatchArguments, UsageError>;

// Whether the program was started as pelkora --batch (or -b), or only asked for its help or
// version (which need no window either).
[[nodiscard]] bool IsBatchInvocation(int argc, char** argv);

// The most conversions at once: more than the cores (a converter often waits on the disk),
// not so many that a typo starts thousands of processes.
[[nodiscard]] int MaxBatchJobs(int cores);

// The arguments after the mode switch. --help and --version end the parse where they stand.
// A --jobs above MaxBatchJobs(cores) is lowered to it, with a note, as the window's setting is.
[[nodiscard]] ParsedArguments ParseBatchArguments(const std::vector<std::string>& arguments,
                                                  int cores);

// The whole argv of a batch invocation; argv[0] and the mode switch are skipped.
[[nodiscard]] ParsedArguments ParseBatchArguments(int argc, char** argv, int cores);

// A time of the cut: whole seconds, M:S or H:M:S; nothing when it is not one or too large.
[[nodiscard]] std::optional<std::int32_t> ParseCutTime(std::string_view text);

} // namespace headless
