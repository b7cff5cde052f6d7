#include "engine/progress_parser.h"

#include <gtest/gtest.h>

namespace {

std::int32_t TotalFrom(const char* header) {
    return ParseProgressChunk(header, 0, false, 0).totalSeconds;
}

TEST(ProgressParser, DurationHeaderGivesWholeSecondsHalvesToEven) {
    EXPECT_EQ(TotalFrom("  Duration: 00:03:25.46, start: 0.000000, bitrate: 1411 kb/s"), 205);
    EXPECT_EQ(TotalFrom("  Duration: 01:00:00.50, start: 0.000000"), 3600);
    EXPECT_EQ(TotalFrom("  Duration: 00:00:02.50, start: 0.000000"), 2);
    EXPECT_EQ(TotalFrom("  Duration: 00:00:03.50, start: 0.000000"), 4);
    EXPECT_EQ(TotalFrom("  Duration: N/A, start: 0.000000, bitrate: N/A"), 0);
    EXPECT_EQ(TotalFrom("  Duration: 12:34, start"), 0) << "two fields are not a duration";
    EXPECT_EQ(TotalFrom("Duration: 00:00:10.00, and Duration: 00:09:00.00, "), 10)
        << "the first occurrence decides";
}

TEST(ProgressParser, KnownTotalIsKeptAndCutLengthWins) {
    EXPECT_EQ(ParseProgressChunk("Duration: 00:01:00.00, ", 42, false, 0).totalSeconds, 42);
    EXPECT_EQ(ParseProgressChunk("Duration: 00:01:00.00, ", 0, true, 30).totalSeconds, 30);

    const auto half = ParseProgressChunk("size= 10kB time=15.00 bitrate= 1.0kbits/s", 0, true, 30);
    EXPECT_EQ(half.totalSeconds, 30);
    EXPECT_FLOAT_EQ(half.barWidth, 2707.5f);
    EXPECT_EQ(half.caption, "50%");
}

TEST(ProgressParser, HeaderAndFirstProgressInOneChunk) {
    const auto u = ParseProgressChunk(
        "  Duration: 00:00:40.00, start: 0.000000\nsize=  1kB time=10.00 bitrate= 8.0kbits/s\r", 0,
        false, 0);
    EXPECT_EQ(u.totalSeconds, 40);
    ASSERT_TRUE(u.displayChanged);
    EXPECT_EQ(u.caption, "25%");
}

TEST(ProgressParser, DisplayOnlyChangesOnACompleteTimeMarker) {
    EXPECT_FALSE(
        ParseProgressChunk("size= 10kB bitrate= 1.0kbits/s", 100, false, 0).displayChanged);
    EXPECT_FALSE(ParseProgressChunk("size= 10kB time=", 100, false, 0).displayChanged)
        << "marker at the very end of the chunk";
    // Its value, arriving at the start of the next chunk, has no marker of its own.
    EXPECT_FALSE(ParseProgressChunk("15.00 bitrate= 1.0kbits/s", 100, false, 0).displayChanged);
    EXPECT_EQ(ParseProgressChunk("Durat", 0, false, 0).totalSeconds, 0);
    EXPECT_EQ(ParseProgressChunk("ion: 00:00:10.00, ", 0, false, 0).totalSeconds, 0);
}

TEST(ProgressParser, FullBarWithoutTotalAndNeverBeyondFull) {
    const auto unknown = ParseProgressChunk("time=3.00 ", 0, false, 0);
    EXPECT_EQ(unknown.caption, "100%");
    EXPECT_FLOAT_EQ(unknown.barWidth, kProgressBarFullWidth);

    const auto over = ParseProgressChunk("time=250.00 ", 200, false, 0);
    EXPECT_EQ(over.caption, "100%");
    EXPECT_FLOAT_EQ(over.barWidth, kProgressBarFullWidth);
}

TEST(ProgressParser, ElapsedIsRoundedHalfToEvenAndGluedValuesReadAsOne) {
    EXPECT_EQ(ParseProgressChunk("time=2.50 ", 10, false, 0).caption, "20%");
    EXPECT_EQ(ParseProgressChunk("time=3.50 ", 10, false, 0).caption, "40%");
    // Two progress lines in one chunk: 1.5 and 3 read as 1.53, which rounds to 2.
    EXPECT_EQ(ParseProgressChunk("time=1.5 x\rtime=3 y", 10, false, 0).caption, "20%");
    // hh:mm:ss is read as its leading hours number.
    EXPECT_EQ(ParseProgressChunk("time=00:00:05.00 ", 10, false, 0).caption, "0%");
}

TEST(ProgressParser, CaptionIsCutToFourCharacters) {
    EXPECT_EQ(PercentCaption(12.3456), "12.3%");
    EXPECT_EQ(PercentCaption(5), "5%");
    EXPECT_EQ(PercentCaption(0.75), "0.75%");
    EXPECT_EQ(PercentCaption(66.6666), "66.6%");
    EXPECT_EQ(PercentCaption(0), "0%");
    EXPECT_EQ(PercentCaption(0.00001), "0.00%") << "no exponent form";
    EXPECT_EQ(ParseProgressChunk("time=2.00 ", 3, false, 0).caption, "66.6%");
}

TEST(ProgressParser, RoundingAndNumberHelpers) {
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(1e300), INT32_MAX);
    bool found = true;
    EXPECT_EQ(LeadingNumber("abc", &found), 0.0);
    EXPECT_FALSE(found);
    EXPECT_DOUBLE_EQ(LeadingNumber("12.5.6"), 12.5);
    EXPECT_DOUBLE_EQ(LeadingNumber(".5x"), 0.5);
}

} // namespace
