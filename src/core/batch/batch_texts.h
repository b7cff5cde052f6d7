#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the windowless mode writes to standard output and standard error. Functions that
// return one line leave the line end to the caller; whole texts end in a line end.
namespace headless {

inline constexpr int kExitConverted = 0;
inline constexpr int kExitSomeFailed = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitWarnings = 3;
inline constexpr int kExitInterrupted = 130; // SIGINT
inline constexpr int kExitTerminated = 143;  // SIGTERM
inline constexpr int kExitHungUp = 129;      // SIGHUP
inline constexpr int kExitQuit = 131;        // SIGQUIT

// A text that cannot break a line or drive the terminal: control characters (a file name
// may hold escape sequences) become "?".
[[nodiscard]] std::string SafeText(std::string_view text);
// A value in a message: safe, and in single quotes when it is empty or holds a blank.
[[nodiscard]] std::string ShownValue(std::string_view text);

// The accepted values of the list options, lower case, separated by ", ".
[[nodiscard]] std::string FormatList();
[[nodiscard]] std::string BitrateList();
// The bitrates a format offers (choices::BitratesFor).
[[nodiscard]] std::string BitrateList(int formatIndex);
// Why a --bitrate cannot be used with the format, or "" when it can.
[[nodiscard]] std::string BitrateProblem(int formatIndex, int bitrateIndex);
[[nodiscard]] std::string RateList();
[[nodiscard]] std::string ChannelsList();

[[nodiscard]] std::string HelpText();
// "pelkora 0.1.0"
[[nodiscard]] std::string VersionText(int major, int minor, int patch);

// Where a file stands in the run: number counts from 1.
struct FileStep {
    int number = 0;
    int count = 0;
    std::string_view input;
    std::string_view output; // may be empty when no output was named
};

enum class FileOutcome { Converted, Warning, Failed, UpToDate };

// The caption of a percentage, as the window shows it: "45%", "12.3%", "100%".
[[nodiscard]] std::string PercentText(double percent);

// Where the whole run stands; share is 0 to 1.
struct RunStanding {
    int done = 0;
    int count = 0;
    double share = 0.0;
    std::optional<long long> secondsLeft;
};

// The time the run still needs, once enough of it has passed for a guess to mean anything.
[[nodiscard]] std::optional<long long> SecondsLeft(double share, double elapsedSeconds);

// "2:05", "1:02:03"
[[nodiscard]] std::string DurationText(long long seconds);

// The terminal's updating line, fitted to columns by shortening the file names:
// "[3/12] Song.wav → Song.mp3 45% · 2 of 12 done · run 21% · about 2:10 left".
[[nodiscard]] std::string ProgressLine(const FileStep& step, std::string_view percentCaption,
                                       const RunStanding& run, int columns);

// The line for a finished file when standard error is not a terminal, with the failure's
// reason or the warning after a colon.
[[nodiscard]] std::string FinishedLine(const FileStep& step, FileOutcome outcome,
                                       std::string_view detail);
// A measured loudness as the line of a converted file ends: " (-20.03 LUFS, peak 0.095032)",
// or " (silent, peak 0.000000)".
[[nodiscard]] std::string LoudnessSuffix(std::optional<double> lufs, double peak);

// Whether a finished file gets its line: --quiet keeps only failures.
[[nodiscard]] bool ReportsFinished(FileOutcome outcome, bool quiet);

struct PathNote {
    std::string path;
    std::string text;
};

struct RunSummary {
    int converted = 0; // every file with an output, warnings included
    int warnings = 0;
    int failed = 0;
    std::vector<PathNote> failures;  // input and the converter's reason
    std::vector<PathNote> renamings; // input and the output it was given
    std::vector<PathNote> warningNotes;
    int unreadFolders = 0; // folders whose files could not be listed, so were not converted
    int upToDate = 0;      // --sync: left alone, or only moved to a new name
    int pruned = 0;        // --prune: outputs moved to the trash
};

// The closing text; with --quiet only failures (a folder that could not be read is one).
[[nodiscard]] std::string SummaryText(const RunSummary& summary, bool quiet);

[[nodiscard]] int ExitStatus(const RunSummary& summary);

// The line that says why a run stopped, from the status it ends with.
[[nodiscard]] std::string StopText(int exitStatus);

} // namespace headless
