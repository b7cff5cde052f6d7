#include "gui/window/run_display.h"

#include "app/run/batch_run.h"
#include "gui/window/layout.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

// The bar's track and the caption's form are ui_test's and progress_parser_test's.
TEST(RunDisplay, SharesAreHeldWithinTheBarAndTheCaption) {
    const float full = layout::main::imgPBFullWidthTwips;
    const std::tuple<double, float, const char*> cases[] = {
        {-0.5, 0.0f, "0%"}, {1.0 / 3.0, full / 3.0f, "33.3%"}, {1.5, full, "100%"}};
    for (const auto& [share, twips, caption] : cases) {
        EXPECT_NEAR(run_display::BarWidthTwips(share), twips, 0.01f) << share;
        EXPECT_EQ(run_display::Caption(share).toStdString(), caption) << share;
    }
}

TEST(RunDisplay, ReportListsTwentyThenCountsAndKeepsTheKindsApart) {
    RunReport report;
    for (int i = 0; i < 23; ++i)
        report.failures.push_back({QByteArray("/m/f") + QByteArray::number(i), "bad"});
    report.renamings.push_back({"/m/b/Intro.flac", "/out/Intro (2).mp3"});
    report.warnings.push_back({"/m/short.mp3", "conv: /m/short.mp3: warning: input ends early"});
    const QString text = run_display::ReportText(report);
    EXPECT_TRUE(text.startsWith("These files could not be converted:"));
    EXPECT_TRUE(text.contains("/m/f19"));
    EXPECT_FALSE(text.contains("/m/f20"));
    const qsizetype more = text.indexOf("and 3 more");
    const qsizetype renamed = text.indexOf("Renamed");
    const qsizetype warned = text.indexOf("Converted with warnings");
    EXPECT_TRUE(more > 0 && renamed > more && warned > more) << text.toStdString();
    EXPECT_TRUE(text.mid(renamed).contains("/out/Intro (2).mp3"));
    EXPECT_TRUE(text.mid(warned).contains("/m/short.mp3\n    conv: /m/short.mp3: warning:"));
    EXPECT_TRUE(run_display::ReportText({}).isEmpty());
}

TEST(RunDisplay, ReportCountsTheFilesASyncLeftAlone) {
    RunReport report;
    report.upToDate = 1;
    EXPECT_EQ(run_display::ReportText(report), "1 file was up to date and left as it was.");
    report.upToDate = 12;
    report.failures.push_back({"/m/a.wav", "bad"});
    const QString text = run_display::ReportText(report);
    EXPECT_TRUE(text.startsWith("This file could not be converted:")) << text.toStdString();
    EXPECT_TRUE(text.endsWith("\n\n12 files were up to date and left as they were."))
        << text.toStdString();
}

} // namespace
