#pragma once

#include "errors.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace conv {

// What the command line asks for. Zero means "not given" for the audio values.
struct Options {
    std::string input;
    std::string output;
    std::int64_t startUs = 0;  // -ss
    std::int64_t lengthUs = 0; // -t; 0 converts to the end of the file
    bool overwrite = false;    // -y
    std::string codec;         // -acodec
    std::int64_t bitRate = 0;  // -ab, bit/s
    int sampleRate = 0;        // -ar, Hz
    int channels = 0;          // -ac
    bool replayGain = false;   // -replaygain 1: measure the loudness, tag the output with it
};

// One line that names every option.
inline constexpr std::string_view kUsage =
    "usage: conv -i INPUT [-ss START] [-t LENGTH] [-y] [-vn] [-acodec NAME] [-ab BITRATE] "
    "[-ar HZ] [-ac CHANNELS] [-replaygain 1] [-map_meta_data INPUT:OUTPUT] OUTPUT";

// Reads the arguments after the program name. The output path is always the last one, so a
// name that starts with a dash is still taken as the output.
[[nodiscard]] Status ParseArguments(const std::vector<std::string>& args, Options& options);

// "75", "1.5", "01:15", "00:01:15.25" to microseconds; nothing for anything else.
[[nodiscard]] std::optional<std::int64_t> ParseTime(std::string_view text);
// "128k", "7.4k", "1M", "64000" to bit/s; nothing for anything else or for 0.
[[nodiscard]] std::optional<std::int64_t> ParseBitRate(std::string_view text);

} // namespace conv
