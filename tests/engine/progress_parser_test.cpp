#include "core/engine/progress_parser.h"

#include <gtest/gtest.h>

namespace {

ProgressUpdate Parse(const char* chunk, std::int32_t total, bool cut = false, int cutLength = 0) {
    return ParseProgressChunk(chunk, total, cut, cutLength);
}

TEST(ProgressParser, TotalComesFromTheFirstDurationInWholeSecondsHalvesToEven) {
    const struct {
        const char* header;
        int total;
    } cases[] = {
        {"  Duration: 00:03:25.46, start: 0.000000, bitrate: 1411 kb/s", 205},
        {"  Duration: 01:00:00.50, start: 0.000000", 3600},
        {"  Duration: 00:00:03.50, start: 0.000000", 4},
        {"  Duration: N/A, start: 0.000000, bitrate: N/A", 0},
        {"  Duration: 12:34, start", 0},
        {"Duration: 00:00:10.00, and Duration: 00:09:00.00, ", 10},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Parse(c.header, 0).totalSeconds, c.total) << c.header;
    EXPECT_EQ(Parse("Duration: 00:01:00.00, ", 42).totalSeconds, 42) << "a known total is kept";

    const auto u =
        Parse("  Duration: 00:00:40.00, x\nsize= 1kB time=10.00 bitrate= 8.0kbits/s\r", 0);
    EXPECT_EQ(u.totalSeconds, 40);
    EXPECT_TRUE(u.moved);
    EXPECT_DOUBLE_EQ(u.fraction, 0.25);
}

TEST(ProgressParser, CutLengthIsTheTotal) {
    EXPECT_EQ(Parse("Duration: 00:01:00.00, ", 0, true, 30).totalSeconds, 30);
    EXPECT_EQ(ParseProgressChunk("Duration: 00:01:00.00, ", 0, true, 0, 15).totalSeconds, 45)
        << "a cut of length 0 runs to the end";
    const auto half = Parse("size= 10kB time=15.00 bitrate= 1.0kbits/s", 0, true, 30);
    EXPECT_DOUBLE_EQ(half.fraction, 0.5);
}

TEST(ProgressParser, TheShareOnlyMovesOnACompleteTimeMarker) {
    EXPECT_FALSE(Parse("size= 10kB bitrate= 1.0kbits/s", 100).moved);
    EXPECT_FALSE(Parse("size= 10kB time=", 100).moved);
    EXPECT_FALSE(Parse("15.00 bitrate= 1.0kbits/s", 100).moved);
}

TEST(ProgressParser, AllDoneWithoutTotalAndNeverBeyond) {
    for (const auto& u : {Parse("time=3.00 ", 0), Parse("time=250.00 ", 200)})
        EXPECT_DOUBLE_EQ(u.fraction, 1.0);
}

TEST(ProgressParser, ElapsedIsRoundedHalfToEvenAndTheCaptionCutToFourCharacters) {
    EXPECT_DOUBLE_EQ(Parse("time=2.50 ", 10).fraction, 0.2);
    EXPECT_DOUBLE_EQ(Parse("time=3.50 ", 10).fraction, 0.4);
    // Two progress lines in one chunk: 1.5 and 3 read as 1.53, which rounds to 2.
    EXPECT_DOUBLE_EQ(Parse("time=1.5 x\rtime=3 y", 10).fraction, 0.2);
    EXPECT_EQ(PercentCaption(100.0 * Parse("time=2.00 ", 3).fraction), "66.6%");
    EXPECT_EQ(PercentCaption(12.3456), "12.3%");
    EXPECT_EQ(PercentCaption(0.75), "0.75%");
    EXPECT_EQ(PercentCaption(5), "5%");
    EXPECT_EQ(PercentCaption(0.00001), "0.00%") << "no exponent form";
}

} // namespace
