#include "core/batch/batch_texts.h"

#include "core/engine/choice_lists.h"
#include "core/engine/progress_parser.h"
#include "core/text/translate.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <span>

namespace headless {
namespace {

constexpr std::string_view kArrow = " \u2192 ";

std::string listText(std::span<const std::string_view> list) {
    std::string out;
    for (const auto entry : list) {
        if (!out.empty())
            out += ", ";
        for (const char c : entry)
            out += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    return out;
}

std::string_view fileName(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string stepText(const FileStep& step) {
    std::string out = "[" + std::to_string(step.number) + "/" + std::to_string(step.count) + "] ";
    out += SafeText(fileName(step.input));
    if (!step.output.empty()) {
        out += kArrow;
        out += SafeText(fileName(step.output));
    }
    return out;
}

// Columns a text takes, taking every character as one column.
std::size_t columnsOf(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

// Byte offset of the character that starts at column `column`.
std::size_t offsetOfColumn(std::string_view text, std::size_t column) {
    std::size_t seen = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80)
            continue;
        if (seen++ == column)
            return i;
    }
    return text.size();
}

// Keeps both ends of a name, since the end holds the extension.
std::string shortName(const std::string& name, std::size_t columns) {
    const std::size_t have = columnsOf(name);
    if (have <= columns)
        return name;
    const std::size_t kept = columns > 1 ? columns - 1 : 0;
    const std::size_t tail = kept / 2;
    const std::size_t head = kept - tail;
    return name.substr(0, offsetOfColumn(name, head)) + "\u2026" +
           name.substr(offsetOfColumn(name, have - tail));
}

void appendNotes(std::string& out, const std::vector<PathNote>& notes, std::string_view between) {
    for (const auto& note : notes) {
        out += "  ";
        out += SafeText(note.path);
        out += between;
        out += SafeText(note.text);
        out += '\n';
    }
}

} // namespace

std::string SafeText(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f)
            c = '?';
    }
    return out;
}

std::string ShownValue(std::string_view text) {
    const bool quote = text.empty() || text.find_first_of(" \t") != std::string_view::npos;
    return quote ? "'" + SafeText(text) + "'" : SafeText(text);
}

std::string FormatList() {
    return listText(choices::kFormats);
}

std::string BitrateList() {
    return listText(choices::kBitrates);
}

std::string BitrateList(int formatIndex) {
    return listText(choices::BitratesFor(formatIndex));
}

std::string BitrateProblem(int formatIndex, int bitrateIndex) {
    const std::string_view name = choices::At(choices::kFormats, formatIndex);
    if (name.empty() || choices::OffersBitrate(formatIndex, bitrateIndex))
        return {};
    const std::string format = listText(std::span(&name, 1));
    return translation::Fill(
        PK_TR("BatchTexts", "pelkora: --bitrate %1 is not a bitrate of %2, which takes %3"),
        {choices::At(choices::kBitrates, bitrateIndex), format, BitrateList(formatIndex)});
}

std::string RateList() {
    return listText(choices::kSampleRates);
}

std::string ChannelsList() {
    return listText(choices::kChannels) + ", 1, 2";
}

std::string HelpText() {
    const std::string usage =
        PK_TR("BatchHelp",
              "Usage: pelkora --batch [options] FILE|FOLDER ...\n"
              "       pelkora -b [options] FILE|FOLDER ...\n"
              "       pelkora [FILE|FOLDER ...]\n"
              "\n"
              "Without --batch the window opens with the FILEs and FOLDERs in its list (a copy\n"
              "already running takes them instead).\n"
              "\n"
              "Converts every FILE, and every file found in each FOLDER and its sub-folders,\n"
              "without opening the window. Choices not given here are taken from the program's\n"
              "settings files (setup.ini, options.ini), which are read and never written.\n"
              "\n");
    // %1 and %2: the formats; %3: the bitrates of mp3 and mpg; %4: of opus; %5: of m4a;
    // %6: the sample rates.
    const std::string options = translation::Fill(
        PK_TR("BatchHelp",
              "Options:\n"
              "  --format FORMAT     output format (m4a is AAC, alac Apple Lossless in .m4a):\n"
              "                      %1,\n"
              "                      %2\n"
              "  --bitrate KBPS      bitrate of mp3, mpg, opus and m4a in kbit/s; mp3 and mpg:\n"
              "                      %3\n"
              "                      opus: %4\n"
              "                      m4a: %5\n"
              "  --rate HZ           sample rate of mp3, mpg and m4a (opus is always 48000):\n"
              "                      %6\n"
              "  --channels MODE     channels of mp3, mpg, opus and m4a: mono or stereo (also 1\n"
              "                      or 2)\n"
              "  --output DIR        folder the converted files are written to\n"
              "  --cut START LENGTH  convert one piece of each file; times in seconds, M:S or\n"
              "                      H:M:S; a LENGTH of 0 runs to the end of the file\n"
              "  -j, --jobs N        conversions running at the same time (default: one per\n"
              "                      processor core); a larger N than 4 per core is lowered\n"
              "  --keep-tree         keep the sub-folders of each FOLDER in the output folder\n"
              "  --name PATTERN      name outputs from tags, below the output folder and\n"
              "                      without extension, as in \"{artist}/{album}/{track} - "
              "{title}\";\n"
              "                      fields: {artist} {albumartist} {album} {title} {track}\n"
              "                      {disc} {year} {genre} {name} {stem} {folder}\n"
              "  --replaygain        write ReplayGain 2.0 loudness tags (track and album)\n"
              "  --report FILE       write a row per file to FILE, CSV or JSON by its\n"
              "                      extension (.csv, .json), also when stopped by a signal\n"
              "  --sync              convert only files that are new or changed (contents or\n"
              "                      choices) since the last --sync run into the output folder;\n"
              "                      the others are left alone, or moved when only --name\n"
              "                      changed; the record is the folder's .pelkora-sync.sqlite\n"
              "  --prune             with --sync: move to the trash the outputs it made of\n"
              "                      sources no longer found; give it every FOLDER synced\n"
              "                      into that output folder, or their outputs go too\n"
              "  --shard K/N         with --sync: convert only share K of N of the sources, split\n"
              "                      by their paths below each FOLDER; N runs, on one machine or\n"
              "                      many, into one output folder convert every source once\n"
              "  -q, --quiet         report failures only\n"
              "  -h, --help          show this help and end\n"
              "  -V, --version       show the version and end\n"
              "  --                  only FILEs and FOLDERs follow, even ones starting with -\n"
              "\n"
              "Progress and the summary go to standard error.\n"
              "\n"),
        {listText(std::span(choices::kFormats).first(9)),
         listText(std::span(choices::kFormats).subspan(9)), BitrateList(),
         BitrateList(choices::kOpusFormat), BitrateList(choices::kM4aFormat), RateList()});
    const std::string statuses[] = {
        std::to_string(kExitConverted),   std::to_string(kExitSomeFailed),
        std::to_string(kExitUsage),       std::to_string(kExitWarnings),
        std::to_string(kExitInterrupted), std::to_string(kExitTerminated),
        std::to_string(kExitHungUp),      std::to_string(kExitQuit)};
    const std::string exits = translation::Fill(
        PK_TR("BatchHelp",
              "Exit status:\n"
              "  %1    every file converted\n"
              "  %2    some files failed, or a folder could not be read; the others were\n"
              "       converted\n"
              "  %3    bad usage, or the --sync record cannot be used; nothing was converted\n"
              "  %4    every file converted, some with warnings (damaged or short input)\n"
              "  %5  stopped by SIGINT (Ctrl+C); unfinished outputs are removed\n"
              "  %6  stopped by SIGTERM; unfinished outputs are removed\n"
              "  %7  stopped by SIGHUP, %8 by SIGQUIT, in the same way (a signal\n"
              "       ignored at start, as under nohup, stays ignored)\n"
              "\n"),
        {statuses[0], statuses[1], statuses[2], statuses[3], statuses[4], statuses[5], statuses[6],
         statuses[7]});
    const std::string examples =
        PK_TR("BatchHelp",
              "Examples:\n"
              "  pelkora --batch --format flac --output ~/Music/flac ~/Recordings\n"
              "  pelkora -b --format mp3 --bitrate 192 --channels mono -j 2 talk.wav notes.ogg\n");
    return usage + options + exits + examples;
}

std::string VersionText(int major, int minor, int patch) {
    return "pelkora " + std::to_string(major) + "." + std::to_string(minor) + "." +
           std::to_string(patch);
}

std::string PercentText(double percent) {
    // Not-a-number fails both tests and shows as nothing done.
    if (percent >= 100.0)
        return "100%";
    return PercentCaption(percent > 0.0 ? percent : 0.0);
}

std::optional<long long> SecondsLeft(double share, double elapsedSeconds) {
    // Early shares come mostly from starting up, and guesses from them jump about.
    constexpr double kFirstShare = 0.03;
    constexpr double kFirstSeconds = 3.0;
    if (!(share > kFirstShare) || !(elapsedSeconds >= kFirstSeconds))
        return std::nullopt;
    if (share >= 1.0)
        return 0;
    const double left = elapsedSeconds * (1.0 - share) / share;
    if (!std::isfinite(left))
        return std::nullopt;
    return std::llround(left);
}

std::string DurationText(long long seconds) {
    seconds = std::max(seconds, 0LL);
    const auto twoDigits = [](long long value) {
        return (value < 10 ? "0" : "") + std::to_string(value);
    };
    const long long hours = seconds / 3600;
    const long long minutes = seconds / 60 % 60;
    const std::string rest = twoDigits(seconds % 60);
    if (hours > 0)
        return std::to_string(hours) + ":" + twoDigits(minutes) + ":" + rest;
    return std::to_string(minutes) + ":" + rest;
}

std::string ProgressLine(const FileStep& step, std::string_view percentCaption,
                         const RunStanding& run, int columns) {
    std::string tail = " " + SafeText(percentCaption) + " \u00b7 " +
                       translation::Fill(PK_TR("BatchTexts", "%1 of %2 done \u00b7 run %3"),
                                         {std::to_string(run.done), std::to_string(run.count),
                                          PercentText(run.share * 100.0)});
    if (run.secondsLeft)
        tail += " \u00b7 " + translation::Fill(PK_TR("BatchTexts", "about %1 left"),
                                               {DurationText(*run.secondsLeft)});
    const std::string number =
        "[" + std::to_string(step.number) + "/" + std::to_string(step.count) + "] ";
    std::string input = SafeText(fileName(step.input));
    std::string output = SafeText(fileName(step.output));
    const std::size_t fixed =
        columnsOf(number) + columnsOf(tail) + (output.empty() ? 0 : columnsOf(kArrow));
    // Below this a name says nothing, so the line is let run long instead.
    constexpr std::size_t kLeastName = 6;
    const std::size_t width = columns > 0 ? static_cast<std::size_t>(columns) : 0;
    std::size_t room = width > fixed ? width - fixed : 0;
    if (output.empty()) {
        input = shortName(input, std::max(room, kLeastName));
        return number + input + tail;
    }
    // Each name gets half, and what one does not use goes to the other.
    room = std::max(room, 2 * kLeastName);
    const std::size_t half = room / 2;
    const std::size_t inputRoom =
        columnsOf(output) < room - half ? room - columnsOf(output) : std::max(half, room - half);
    input = shortName(input, inputRoom);
    output = shortName(output, room - std::min(columnsOf(input), room));
    return number + input + std::string(kArrow) + output + tail;
}

std::string FinishedLine(const FileStep& step, FileOutcome outcome, std::string_view detail) {
    std::string out = stepText(step);
    if (outcome == FileOutcome::UpToDate)
        return out + (detail.empty() ? PK_TR("BatchTexts", ": up to date")
                                     : translation::Fill(PK_TR("BatchTexts", ": up to date, %1"),
                                                         {SafeText(detail)}));
    if (outcome == FileOutcome::Failed)
        return out + translation::Fill(PK_TR("BatchTexts", ": failed: %1"), {SafeText(detail)});
    if (outcome == FileOutcome::Warning)
        return out + translation::Fill(PK_TR("BatchTexts", ": warning: %1"), {SafeText(detail)});
    return out;
}

std::string LoudnessSuffix(std::optional<double> lufs, double peak) {
    char level[32];
    char top[32];
    std::snprintf(top, sizeof top, "%.6f", peak);
    if (!lufs)
        return translation::Fill(PK_TR("BatchTexts", " (silent, peak %1)"), {top});
    std::snprintf(level, sizeof level, "%.2f", *lufs);
    return translation::Fill(PK_TR("BatchTexts", " (%1 LUFS, peak %2)"), {level, top});
}

bool ReportsFinished(FileOutcome outcome, bool quiet) {
    return !quiet || outcome == FileOutcome::Failed;
}

std::string SummaryText(const RunSummary& summary, bool quiet) {
    if (quiet && summary.failed == 0 && summary.unreadFolders == 0)
        return {};
    const auto count = [](const std::string& pattern, int n) {
        return translation::Fill(pattern, {std::to_string(n)});
    };
    std::string out = count(PK_TR("BatchTexts", "%1 converted"), summary.converted);
    if (summary.warnings > 0)
        out += ", " + count(PK_TR("BatchTexts", "%1 with warnings"), summary.warnings);
    if (summary.upToDate > 0)
        out += ", " + count(PK_TR("BatchTexts", "%1 up to date"), summary.upToDate);
    if (summary.pruned > 0)
        out += ", " + count(PK_TR("BatchTexts", "%1 pruned"), summary.pruned);
    if (summary.failed > 0)
        out += ", " + count(PK_TR("BatchTexts", "%1 failed"), summary.failed);
    out += '\n';
    appendNotes(out, summary.failures, ": ");
    if (summary.unreadFolders == 1)
        out +=
            PK_TR("BatchTexts", "1 folder could not be read; its files were not converted") + '\n';
    else if (summary.unreadFolders > 1)
        out += count(PK_TR("BatchTexts",
                           "%1 folders could not be read; their files were not converted"),
                     summary.unreadFolders) +
               '\n';
    if (quiet)
        return out;
    if (!summary.renamings.empty()) {
        out += PK_TR("BatchTexts", "Renamed to keep outputs apart:") + '\n';
        appendNotes(out, summary.renamings, kArrow);
    }
    if (!summary.warningNotes.empty()) {
        out += PK_TR("BatchTexts", "Converted with warnings:") + '\n';
        appendNotes(out, summary.warningNotes, ": ");
    }
    return out;
}

int ExitStatus(const RunSummary& summary) {
    if (summary.failed > 0 || summary.unreadFolders > 0)
        return kExitSomeFailed;
    if (summary.warnings > 0)
        return kExitWarnings;
    return kExitConverted;
}

std::string StopText(int exitStatus) {
    switch (exitStatus) {
    case kExitInterrupted:
        return PK_TR("BatchTexts", "pelkora: interrupted");
    case kExitHungUp:
        return PK_TR("BatchTexts", "pelkora: hung up");
    case kExitQuit:
        return PK_TR("BatchTexts", "pelkora: quit");
    default:
        return PK_TR("BatchTexts", "pelkora: terminated");
    }
}

} // namespace headless
