#pragma once

#include <string_view>

extern "C" {
#include <libavcodec/codec_id.h>
}

namespace conv {

// A picture's size as its header states it, read without decoding a pixel: a small file
// may claim gigabytes of them.
struct ImageSize {
    int width = 0;
    int height = 0;
    int depth = 0; // bits per pixel, 0 when unknown
    [[nodiscard]] bool known() const { return width > 0 && height > 0; }
};

// Zeros when the image is of another kind or its header is damaged. JPEG, PNG, GIF, BMP and
// WebP are read.
[[nodiscard]] ImageSize ReadImageSize(AVCodecID codec, std::string_view bytes);

} // namespace conv
