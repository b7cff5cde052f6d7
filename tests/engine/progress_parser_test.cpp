// How the protocol's lines are read is protocol_test's; here, what the run makes of them.
#include "core/engine/progress_parser.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TEST(ProgressParser, TotalAndShareInWholeSecondsHalvesToEvenWithACutItsLength) {
    const struct {
        const char* chunk;
        int total, readTotal;
        double share = -1;  // -1: the share does not move
        int cutLength = -1; // -1: no cut
        int cutStart = 0;
    } cases[] = {
        {"  Duration: 00:03:25.46, start: 0.000000, bitrate: 1411 kb/s", 0, 205},
        {"  Duration: 01:00:00.50, start: 0.000000", 0, 3600},
        {"  Duration: 00:00:03.50, start: 0.000000", 0, 4},
        {"  Duration: N/A, start: 0.000000, bitrate: N/A", 0, 0},
        {"Duration: 00:01:00.00, ", 42, 42}, // a known total is kept
        {"  Duration: 00:00:40.00, x\nsize= 1kB time=10.00 bitrate= 8.0kbits/s\r", 0, 40, 0.25},
        {"Duration: 00:01:00.00, ", 0, 30, -1, 30},
        {"Duration: 00:01:00.00, ", 0, 45, -1, 0, 15}, // a cut of length 0 runs to the end
        {"size= 10kB time=15.00 bitrate= 1.0kbits/s", 0, 30, 0.5, 30},
        {"size= 10kB time=", 100, 100},  // only a complete marker moves it
        {"time=3.00 ", 0, 0, 1.0},       // all done without a total
        {"time=250.00 ", 200, 200, 1.0}, // and never beyond
        {"time=2.50 ", 10, 10, 0.2},
        {"time=3.50 ", 10, 10, 0.4},
    };
    for (const auto& c : cases) {
        const ProgressUpdate u = ParseProgressChunk(c.chunk, c.total, c.cutLength >= 0,
                                                    std::max(c.cutLength, 0), c.cutStart);
        EXPECT_EQ(u.totalSeconds, c.readTotal) << c.chunk;
        EXPECT_EQ(u.moved, c.share >= 0) << c.chunk;
        EXPECT_DOUBLE_EQ(c.share >= 0 ? u.fraction : -1, c.share) << c.chunk;
    }
}

TEST(ProgressParser, TheCaptionIsCutToFourCharactersWithoutExponent) {
    EXPECT_EQ(PercentCaption(100.0 * ParseProgressChunk("time=2.00 ", 3, false, 0).fraction),
              "66.6%");
    const std::pair<double, const char*> cases[] = {
        {12.3456, "12.3%"}, {0.75, "0.75%"}, {5, "5%"}, {0.00001, "0.00%"}};
    for (const auto& [percent, caption] : cases)
        EXPECT_EQ(PercentCaption(percent), caption) << percent;
}

} // namespace
