#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Design width of the progress bar, in twips (361 px).
inline constexpr float kProgressBarFullWidth = 5415.0f;

struct ProgressUpdate {
    std::int32_t totalSeconds = 0; // the new total; 0 while still unknown
    bool displayChanged = false;   // false: leave bar and caption as they are
    float barWidth = 0.0f;         // twips
    std::string caption;           // e.g. "12.3%"
};

// Reads one chunk of converter output. The chunk's "Duration: " fixes the total while it is
// still 0, and its "time=" moves the bar. With a cut, the cut length is the total; a cut of
// length 0 runs to the end of the file, so its total is the duration after the cut start.
[[nodiscard]] ProgressUpdate ParseProgressChunk(std::string_view chunk, std::int32_t totalSeconds,
                                                bool cutEnabled, std::int32_t cutLength,
                                                std::int32_t cutStart = 0);

// Rounding to the nearest whole number, halves to the even neighbour.
[[nodiscard]] std::int32_t RoundHalfEven(double value);

// The caption of a percentage below 100: its plain decimal form cut to four characters, and "%".
[[nodiscard]] std::string PercentCaption(double percent);
