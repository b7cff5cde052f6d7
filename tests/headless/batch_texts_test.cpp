#include "core/batch/batch_texts.h"

#include <gtest/gtest.h>

namespace {

using namespace headless;

TEST(BatchTexts, LinesShowFileNamesTheWindowsCaptionAndNoControlCharacters) {
    const FileStep step{3, 12, "/music/in/Song.wav", "/music/out/Song.mp3"};
    EXPECT_EQ(ProgressLine(step, "45%"), "[3/12] Song.wav \u2192 Song.mp3  45%");
    EXPECT_EQ(FinishedLine(step, FileOutcome::Warning, "input ends early"),
              "[3/12] Song.wav \u2192 Song.mp3: warning: input ends early");
    EXPECT_EQ(FinishedLine({1, 1, "a\x1b]0;owned\x07.wav", "o/b\n.mp3"}, FileOutcome::Failed,
                           "bad\r\nreason"),
              "[1/1] a?]0;owned?.wav \u2192 b?.mp3: failed: bad??reason");
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
