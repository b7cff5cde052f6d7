#pragma once

#include <optional>
#include <string>

extern "C" {
#include <libavformat/avformat.h>
}

namespace conv {

// What the converter lets libavformat do with an input: read the one file it was given,
// and decode nothing but audio while probing it.

// Why a probed kind of input is refused: playlists, lists and name patterns that would
// open further files or addresses. Empty for a plain media file.
[[nodiscard]] std::optional<std::string> RefusedInputKind(const AVInputFormat& format);

// Makes every open of another file or address through `input` fail, and sets `tried` when
// one is attempted; `tried` must outlive `input`, which must already have its own I/O.
void ForbidNestedOpens(AVFormatContext& input, bool& tried);

// Every audio decoder's name, comma-separated: as a codec white-list it keeps stream
// probing from decoding pictures or video.
[[nodiscard]] const std::string& AudioDecoderNames();

} // namespace conv
