#pragma once

#include "formats.h"

#include <cstdint>
#include <string>
#include <vector>

namespace conv {

// A wanted value and whether the user asked for it (notes are only for asked or inherited
// values; a built-in default is fitted silently).
struct Wanted {
    int sampleRate = 0;
    int channels = 0;
    std::int64_t bitRate = 0; // 0: let the encoder decide
    bool bitRateAsked = false;
    bool sampleRateAsked = false;
};

struct Fitted {
    int sampleRate = 0;
    int channels = 0;
    std::int64_t bitRate = 0;
    std::vector<std::string> notes; // one line each, without newline
};

// The nearest values the encoder accepts, so that every combination yields a playable file.
[[nodiscard]] Fitted FitValues(CodecKind kind, std::string_view label, const Wanted& wanted);

// Nearest entry of a sorted list; a tie goes to the higher entry.
[[nodiscard]] std::int64_t Nearest(const std::vector<std::int64_t>& sorted, std::int64_t value);

// Bitrates (bit/s) an encoder accepts at a given rate and channel count; empty when any will do.
[[nodiscard]] std::vector<std::int64_t> AllowedBitRates(CodecKind kind, int sampleRate,
                                                        int channels);
// Sample rates an encoder accepts; empty when any in its range will do.
[[nodiscard]] std::vector<std::int64_t> AllowedSampleRates(CodecKind kind);

// AMR-NB mode (0 = 4.75 kbit/s ... 7 = 12.2 kbit/s) for a bitrate that is one of the modes.
[[nodiscard]] int AmrModeForBitRate(std::int64_t bitRate);

} // namespace conv
