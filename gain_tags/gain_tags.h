#pragma once

#include <optional>
#include <string>

namespace gain_tags {

// One loudness and peak; the gain is worked out from the loudness for each kind of file.
struct Measured {
    double lufs = 0.0;
    double peak = 0.0;
};

struct GainValues {
    std::optional<Measured> track;
    std::optional<Measured> album;
};

// Sets the gain tags of the file open for reading and writing at `fd` (the descriptor stays
// open), replacing any of the same names: REPLAYGAIN_* in MP3 (ID3v2), Ogg Vorbis, FLAC, MP4
// and ASF files, R128_*_GAIN in Ogg Opus. Values left out are left as they are. Nothing on
// success, else why not.
[[nodiscard]] std::optional<std::string> WriteGainTags(int fd, const GainValues& values);

} // namespace gain_tags
