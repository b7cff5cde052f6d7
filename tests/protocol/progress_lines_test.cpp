#include "conv_protocol/progress_lines.h"

#include <gtest/gtest.h>

namespace {

using conv_protocol::ChunkDuration;
using conv_protocol::ChunkTime;

// What the converter prints, and what the reader takes from it.
TEST(ConvProgressLines, TheReaderTakesWhatTheConverterPrints) {
    const struct {
        std::int64_t bytes;
        double seconds;
        const char* line;
    } progress[] = {
        {0, 0.05, "size=       0kB time=0.05 bitrate=   0.0kbits/s"},
        {48 * 1024, 3.0, "size=      48kB time=3.00 bitrate= 131.1kbits/s"},
        {1024, 3600.5, "size=       1kB time=3600.50 bitrate=   0.0kbits/s"},
    };
    for (const auto& p : progress) {
        EXPECT_EQ(conv_protocol::ProgressLine(p.bytes, p.seconds), p.line);
        EXPECT_EQ(ChunkTime(std::string(p.line) + " \r"), p.seconds) << p.line;
    }

    const struct {
        std::optional<std::int64_t> durationUs, startUs;
        std::int64_t bitRate;
        const char* line;
        std::optional<double> seconds;
    } headers[] = {
        {3'000'000, std::nullopt, 705'600, "  Duration: 00:00:03.00, start: N/A, bitrate: 705 kb/s",
         3.0},
        {3'600'499'999, 0, 0, "  Duration: 01:00:00.50, start: 0.000000, bitrate: N/A", 3600.5},
        {std::nullopt, -1'500'000, 0, "  Duration: N/A, start: -1.500000, bitrate: N/A",
         std::nullopt},
        {-1, std::nullopt, 0, "  Duration: N/A, start: N/A, bitrate: N/A", std::nullopt},
    };
    for (const auto& h : headers) {
        EXPECT_EQ(conv_protocol::DurationLine(h.durationUs, h.startUs, h.bitRate), h.line);
        EXPECT_EQ(ChunkDuration(std::string(h.line) + "\n"), h.seconds) << h.line;
    }
}

// Output arrives in pieces: a marker counts once its value has begun, and the values of
// several lines in one piece are read as one, as the window has always read them.
TEST(ConvProgressLines, ChunksAreReadAsTheyCome) {
    const std::pair<const char*, std::optional<double>> times[] = {
        {"size=  10kB time=", std::nullopt},
        {"15.00 bitrate= 1.0kbits/s", std::nullopt},
        {"time=7", 7.0},
        {"time=N/A ", 0.0},
        {"time=1.5 x\rtime=3 y", 1.53},
    };
    for (const auto& [chunk, seconds] : times)
        EXPECT_EQ(ChunkTime(chunk), seconds) << chunk;
    const std::pair<const char*, std::optional<double>> durations[] = {
        {"  Duration: 12:34, start", std::nullopt},
        {"Duration: 00:00:10.00, and Duration: 00:09:00.00, ", 10.0},
        {"Duration: ", std::nullopt},
        {"Duration: 1:2:3.5", 3723.5},
    };
    for (const auto& [chunk, seconds] : durations)
        EXPECT_EQ(ChunkDuration(chunk), seconds) << chunk;
}

} // namespace
