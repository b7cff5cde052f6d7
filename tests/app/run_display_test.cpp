#include "gui/window/run_display.h"

#include "app/run/batch_run.h"
#include "gui/window/layout.h"

#include <gtest/gtest.h>

namespace {

TEST(RunDisplay, SharesBecomeTheBarsWidthAndCaption) {
    const struct {
        double share;
        float twips;
        const char* caption;
    } cases[] = {
        {0.0, 0.0f, "0%"},
        {0.625, 0.625f * layout::main::imgPBFullWidthTwips, "62.5%"},
        {1.0 / 3.0, layout::main::imgPBFullWidthTwips / 3.0f, "33.3%"},
        {1e-7, 0.0f, "0.00%"},
        {1.0, layout::main::imgPBFullWidthTwips, "100%"},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(run_display::BarWidthTwips(c.share), c.twips, 0.01f) << c.share;
        EXPECT_EQ(run_display::Caption(c.share).toStdString(), c.caption) << c.share;
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

} // namespace
