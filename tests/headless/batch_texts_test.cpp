#include "headless/batch_texts.h"

#include "headless/batch_arguments.h"

#include <cmath>

#include <gtest/gtest.h>

namespace {

using namespace headless;

TEST(BatchTexts, ProgressLineShowsFileNamesAndTheWindowsCaption) {
    const FileStep step{3, 12, "/music/in/Song.wav", "/music/out/Song.mp3"};
    EXPECT_EQ(ProgressLine(step, PercentText(45)), "[3/12] Song.wav \u2192 Song.mp3  45%");
    EXPECT_EQ(PercentText(12.345), "12.3%");
    EXPECT_EQ(PercentText(99.99), "99.9%");
    EXPECT_EQ(PercentText(100), "100%");
    EXPECT_EQ(PercentText(250), "100%");
    EXPECT_EQ(PercentText(-3), "0%");
    EXPECT_EQ(PercentText(std::nan("")), "0%");
    EXPECT_EQ(ProgressLine({1, 1, "plain.wav", "out/plain.ogg"}, "100%"),
              "[1/1] plain.wav \u2192 plain.ogg  100%");
}

TEST(BatchTexts, FinishedLineCarriesTheOutcome) {
    const FileStep step{2, 5, "in/My Song.wav", "out/My Song.flac"};
    EXPECT_EQ(FinishedLine(step, FileOutcome::Converted, "ignored"),
              "[2/5] My Song.wav \u2192 My Song.flac");
    EXPECT_EQ(FinishedLine(step, FileOutcome::Failed, "Invalid data found"),
              "[2/5] My Song.wav \u2192 My Song.flac: failed: Invalid data found");
    EXPECT_EQ(FinishedLine(step, FileOutcome::Warning, "input ends early"),
              "[2/5] My Song.wav \u2192 My Song.flac: warning: input ends early");
    EXPECT_EQ(FinishedLine({1, 1, "x.wav", ""}, FileOutcome::Failed, "no output"),
              "[1/1] x.wav: failed: no output");
    EXPECT_EQ(FinishedLine({1, 1, "a\x1b]0;owned\x07.wav", "o/b\n.mp3"}, FileOutcome::Failed,
                           "bad\r\nreason"),
              "[1/1] a?]0;owned?.wav \u2192 b?.mp3: failed: bad??reason");

    EXPECT_TRUE(ReportsFinished(FileOutcome::Converted, false));
    EXPECT_TRUE(ReportsFinished(FileOutcome::Warning, false));
    EXPECT_FALSE(ReportsFinished(FileOutcome::Converted, true));
    EXPECT_FALSE(ReportsFinished(FileOutcome::Warning, true));
    EXPECT_TRUE(ReportsFinished(FileOutcome::Failed, true));
}

TEST(BatchTexts, SummaryCountsThenFailuresRenamingsAndWarnings) {
    RunSummary all;
    all.converted = 12;
    all.warnings = 2;
    all.failed = 1;
    all.failures = {{"/in/x.wav", "Invalid data found when processing input"}};
    all.renamings = {{"/in/b/Song.wav", "/out/Song (2).mp3"}};
    all.warningNotes = {{"/in/short.wav", "input ends early"}, {"/in/c.wav", "damaged frame"}};
    EXPECT_EQ(SummaryText(all, false), "12 converted, 2 with warnings, 1 failed\n"
                                       "  /in/x.wav: Invalid data found when processing input\n"
                                       "Renamed to keep outputs apart:\n"
                                       "  /in/b/Song.wav \u2192 /out/Song (2).mp3\n"
                                       "Converted with warnings:\n"
                                       "  /in/short.wav: input ends early\n"
                                       "  /in/c.wav: damaged frame\n");
    EXPECT_EQ(SummaryText(all, true), "12 converted, 2 with warnings, 1 failed\n"
                                      "  /in/x.wav: Invalid data found when processing input\n");

    RunSummary clean;
    clean.converted = 3;
    EXPECT_EQ(SummaryText(clean, false), "3 converted\n");
    EXPECT_EQ(SummaryText(clean, true), "");

    RunSummary failedOnly;
    failedOnly.converted = 0;
    failedOnly.failed = 2;
    EXPECT_EQ(SummaryText(failedOnly, false), "0 converted, 2 failed\n");
}

TEST(BatchTexts, ExitStatusFailuresBeforeWarnings) {
    RunSummary s;
    s.converted = 2;
    EXPECT_EQ(ExitStatus(s), 0);
    s.warnings = 1;
    EXPECT_EQ(ExitStatus(s), 3);
    s.failed = 1;
    EXPECT_EQ(ExitStatus(s), 1);
    s.warnings = 0;
    EXPECT_EQ(ExitStatus(s), 1);
}

TEST(BatchTexts, HelpDocumentsEveryOptionTheParserTakes) {
    const std::string help = HelpText();
    EXPECT_EQ(help.rfind("Usage: pelkora --batch [options] FILE|FOLDER ...\n", 0), 0u);
    for (const char* option :
         {"--batch", "-b ", "--format", "--bitrate", "--rate", "--channels", "--output", "--cut",
          "--jobs", "-j,", "--keep-tree", "--quiet", "-q,", "--help", "-h,", "--version", "-V,"})
        EXPECT_NE(help.find(option), std::string::npos) << option;
    for (const std::string& list : {FormatList(), BitrateList(), RateList()})
        EXPECT_NE(help.find(list), std::string::npos) << list;
    for (const char* status : {"\n  0 ", "\n  1 ", "\n  2 ", "\n  3 ", "\n  130 ", "\n  143 "})
        EXPECT_NE(help.find(status), std::string::npos) << status;
    EXPECT_NE(help.find("setup.ini, options.ini"), std::string::npos);
    EXPECT_NE(help.find("standard error"), std::string::npos);

    // Every option the help shows is one the parser knows.
    for (const char* option : {"--format=mp3", "--bitrate=128", "--rate=44100", "--channels=mono",
                               "--output=o", "--jobs=1", "--keep-tree", "--quiet", "-b"})
        EXPECT_TRUE(std::holds_alternative<BatchArguments>(ParseBatchArguments({option, "x"}, 1)))
            << option;

    std::size_t lineStart = 0;
    while (lineStart < help.size()) {
        const std::size_t end = help.find('\n', lineStart);
        ASSERT_NE(end, std::string::npos) << "the help ends in a line end";
        EXPECT_LT(end - lineStart, 80u) << help.substr(lineStart, end - lineStart);
        lineStart = end + 1;
    }
}

TEST(BatchTexts, VersionAndValues) {
    EXPECT_EQ(VersionText(0, 1, 0), "pelkora 0.1.0");
    EXPECT_EQ(VersionText(2, 10, 3), "pelkora 2.10.3");
    EXPECT_EQ(ShownValue("a b"), "'a b'");
    EXPECT_EQ(ShownValue(""), "''");
    EXPECT_EQ(ShownValue("x\ty"), "'x?y'");
    EXPECT_EQ(ShownValue("\xc3\xa9t\xc3\xa9"), "\xc3\xa9t\xc3\xa9") << "UTF-8 passes";
    EXPECT_EQ(SafeText("del\x7f"), "del?");
}

} // namespace
