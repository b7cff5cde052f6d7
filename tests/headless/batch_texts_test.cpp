#include "core/batch/batch_texts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

namespace {

using namespace headless;

TEST(BatchTexts, LinesShowFileNamesTheWindowsCaptionAndNoControlCharacters) {
    const FileStep step{3, 12, "/music/in/Song.wav", "/music/out/Song.mp3"};
    EXPECT_EQ(ProgressLine(step, "45%", {2, 12, 0.21, 130}, 80),
              "[3/12] Song.wav \u2192 Song.mp3 45% \u00b7 2 of 12 done \u00b7 run 21% \u00b7 about "
              "2:10 left");
    EXPECT_EQ(ProgressLine({1, 1, "a\x1b[2J.wav", ""}, "7\r%", {0, 1, 0.07, {}}, 80),
              "[1/1] a?[2J.wav 7?% \u00b7 0 of 1 done \u00b7 run 7%");
    EXPECT_EQ(FinishedLine(step, FileOutcome::Warning, "input ends early"),
              "[3/12] Song.wav \u2192 Song.mp3: warning: input ends early");
    EXPECT_EQ(FinishedLine({1, 1, "a\x1b]0;owned\x07.wav", "o/b\n.mp3"}, FileOutcome::Failed,
                           "bad\r\nreason"),
              "[1/1] a?]0;owned?.wav \u2192 b?.mp3: failed: bad??reason");
}

// Columns, counting each character once.
std::size_t Columns(const std::string& text) {
    std::size_t n = 0;
    for (const char c : text)
        n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

TEST(BatchTexts, LongNamesAreShortenedKeepingBothEndsSoTheRunStillFits) {
    const RunStanding run{2, 12, 0.21, 130};
    const std::string tail = " 45% \u00b7 2 of 12 done \u00b7 run 21% \u00b7 about 2:10 left";
    struct Case {
        std::string_view input;
        std::string_view output;
        int columns;
        std::string names;
    };
    const Case cases[] = {
        {"/in/a-rather-long-recording-name.wav", "/o/x.mp3", 80,
         "a-rather-\u2026name.wav \u2192 x.mp3"},
        {"/in/short.wav", "/o/an-output-name-that-goes-on-and-on.flac", 80,
         "short.wav \u2192 an-outp\u2026n.flac"},
        {"/in/first-long-name-of-the-two.wav", "/o/second-long-name-of-the-two.ogg", 80,
         "first-\u2026o.wav \u2192 secon\u2026o.ogg"},
        {"/in/\u00e9t\u00e9-\u00e0-la-plage-enregistr\u00e9-le-soir.wav", "", 80,
         "\u00e9t\u00e9-\u00e0-la-plag\u2026-le-soir.wav"},
        // Too narrow for the run part: the names keep a few characters each.
        {"/in/abcdefghij.wav", "/o/abcdefghij.mp3", 40, "abc\u2026av \u2192 abc\u2026p3"},
    };
    for (const auto& c : cases) {
        const std::string line = ProgressLine({3, 12, c.input, c.output}, "45%", run, c.columns);
        EXPECT_EQ(line, "[3/12] " + c.names + tail) << c.input;
        if (c.columns == 80) {
            EXPECT_EQ(Columns(line), 80u) << line;
        }
    }
}

TEST(BatchTexts, TimeLeftWaitsForAFairShareAndReadsAsClockTime) {
    struct Case {
        double share;
        double elapsed;
        std::optional<long long> left;
    };
    const Case cases[] = {
        {0.0, 100.0, std::nullopt},
        {0.02, 100.0, std::nullopt},
        {0.5, 2.9, std::nullopt},
        {0.5, 3.0, 3},
        {0.25, 40.0, 120},
        {0.3, 10.0, 23},
        {0.999, 100.0, 0},
        {1.0, 50.0, 0},
        {1.5, 50.0, 0},
        {std::nan(""), 50.0, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SecondsLeft(c.share, c.elapsed), c.left) << c.share << " " << c.elapsed;

    const std::pair<long long, std::string_view> durations[] = {
        {0, "0:00"},       {9, "0:09"},       {130, "2:10"},       {3599, "59:59"},
        {3600, "1:00:00"}, {4321, "1:12:01"}, {36061, "10:01:01"}, {-5, "0:00"},
    };
    for (const auto& [seconds, text] : durations)
        EXPECT_EQ(DurationText(seconds), text) << seconds;
}

TEST(BatchTexts, SummaryCountsThenFailuresRenamingsAndWarningsQuietOnlyFailures) {
    const RunSummary all{12,
                         2,
                         1,
                         {{"/in/x.wav", "Invalid data found when processing input"}},
                         {{"/in/b/Song.wav", "/out/Song (2).mp3"}},
                         {{"/in/short.wav", "input ends early"}, {"/in/c.wav", "damaged frame"}}};
    EXPECT_EQ(SummaryText(all, false), "12 converted, 2 with warnings, 1 failed\n"
                                       "  /in/x.wav: Invalid data found when processing input\n"
                                       "Renamed to keep outputs apart:\n"
                                       "  /in/b/Song.wav \u2192 /out/Song (2).mp3\n"
                                       "Converted with warnings:\n"
                                       "  /in/short.wav: input ends early\n"
                                       "  /in/c.wav: damaged frame\n");
    EXPECT_EQ(SummaryText(all, true), "12 converted, 2 with warnings, 1 failed\n"
                                      "  /in/x.wav: Invalid data found when processing input\n");
    EXPECT_EQ(SummaryText(RunSummary{3, 0, 0, {}, {}, {}}, true), "");
}

TEST(BatchTexts, FilesASyncLeftAloneAreCountedAfterTheConvertedAndFailNothing) {
    RunSummary summary{3, 1, 0, {}, {}, {}};
    summary.upToDate = 12;
    EXPECT_EQ(SummaryText(summary, false), "3 converted, 1 with warnings, 12 up to date\n");
    EXPECT_EQ(SummaryText(summary, true), "");
    EXPECT_EQ(ExitStatus(summary), kExitWarnings);
    const FileStep step{2, 9, "/in/a.wav", "/out/x/a.mp3"};
    EXPECT_EQ(FinishedLine(step, FileOutcome::UpToDate, ""),
              "[2/9] a.wav \u2192 a.mp3: up to date");
    EXPECT_EQ(FinishedLine(step, FileOutcome::UpToDate, "moved from /out/a\n.mp3"),
              "[2/9] a.wav \u2192 a.mp3: up to date, moved from /out/a?.mp3");
    EXPECT_FALSE(ReportsFinished(FileOutcome::UpToDate, true));
}

TEST(BatchTexts, FoldersThatCouldNotBeReadAreCountedEvenWhenQuietAndFailTheRun) {
    RunSummary summary{3, 0, 0, {}, {}, {}};
    EXPECT_EQ(ExitStatus(summary), kExitConverted);
    summary.unreadFolders = 1;
    EXPECT_EQ(SummaryText(summary, true),
              "3 converted\n1 folder could not be read; its files were not converted\n");
    summary.unreadFolders = 4;
    EXPECT_EQ(SummaryText(summary, false),
              "3 converted\n4 folders could not be read; their files were not converted\n");
    EXPECT_EQ(ExitStatus(summary), kExitSomeFailed);
}

} // namespace

namespace {

// Opus and M4A take only their own bitrates; the other formats any of the list.
TEST(BatchTexts, ABitrateTheFormatDoesNotTakeIsNamedWithTheOnesItDoes) {
    const struct {
        int format;
        int bitrate;
        std::string problem;
    } rows[] = {
        {9, 11,
         "pelkora: --bitrate 320 is not a bitrate of opus, which takes 32, 48, 56, 64, 80, 96, "
         "112, 128, 192, 224, 256"},
        {10, 0,
         "pelkora: --bitrate 32 is not a bitrate of m4a, which takes 64, 80, 96, 112, 128, 192, "
         "224, 256, 320"},
        {10, 2,
         "pelkora: --bitrate 56 is not a bitrate of m4a, which takes 64, 80, 96, 112, 128, 192, "
         "224, 256, 320"},
        {9, 10, ""},
        {10, 11, ""},
        {0, 11, ""},
        {11, 0, ""},
        {4, 0, ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(headless::BitrateProblem(row.format, row.bitrate), row.problem)
            << row.format << " " << row.bitrate;
}

} // namespace
