#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct ProgressUpdate {
    std::int32_t totalSeconds = 0; // the new total; 0 while still unknown
    bool moved = false;            // a position was read; false: the share stays as it was
    double fraction = 0.0;         // the share of the file done, 0 to 1
};

// Reads one chunk of converter output. The chunk's "Duration: " fixes the total while it is
// still 0, and its "time=" gives the share done (all of it while the total is unknown). With a
// cut, the cut length is the total; a cut of length 0 runs to the end of the file, so its total
// is the duration after the cut start.
[[nodiscard]] ProgressUpdate ParseProgressChunk(std::string_view chunk, std::int32_t totalSeconds,
                                                bool cutEnabled, std::int32_t cutLength,
                                                std::int32_t cutStart = 0);

// Rounding to the nearest whole number, halves to the even neighbour.
[[nodiscard]] std::int32_t RoundHalfEven(double value);

// How a face captions a percentage below 100: its plain decimal form cut to four characters,
// and "%".
[[nodiscard]] std::string PercentCaption(double percent);
