#include "image_size.h"

#include <cstdint>
#include <cstdlib>

namespace conv {

namespace {

constexpr int kMaxSide = 1 << 16;

std::uint32_t Be(std::string_view b, std::size_t at, int n) {
    std::uint32_t v = 0;
    for (int i = 0; i < n; ++i)
        v = (v << 8) | static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
    return v;
}

std::uint32_t Le(std::string_view b, std::size_t at, int n) {
    std::uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
    return v;
}

ImageSize Checked(std::int64_t width, std::int64_t height, int depth) {
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide)
        return {};
    return {static_cast<int>(width), static_cast<int>(height), depth};
}

ImageSize Png(std::string_view b) {
    if (b.size() < 26 || b.substr(0, 8) != "\x89PNG\r\n\x1a\n" || b.substr(12, 4) != "IHDR")
        return {};
    const int bits = static_cast<unsigned char>(b[24]);
    int channels = 0;
    switch (b[25]) {
    case 0:
        channels = 1;
        break; // grey
    case 2:
        channels = 3;
        break; // RGB
    case 3:
        channels = 1;
        break; // palette
    case 4:
        channels = 2;
        break; // grey and alpha
    case 6:
        channels = 4;
        break; // RGBA
    default:
        return {};
    }
    return Checked(Be(b, 16, 4), Be(b, 20, 4), bits * channels);
}

// The frame header (SOFn) follows any number of other segments.
ImageSize Jpeg(std::string_view b) {
    std::size_t at = 2;
    if (b.size() < 4 || Be(b, 0, 2) != 0xFFD8)
        return {};
    while (at + 4 <= b.size()) {
        if (static_cast<unsigned char>(b[at]) != 0xFF)
            return {};
        const auto marker = static_cast<unsigned char>(b[at + 1]);
        if (marker == 0xFF) { // fill byte
            ++at;
            continue;
        }
        const std::uint32_t length = Be(b, at + 2, 2);
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (at + 10 > b.size())
                return {};
            const int precision = static_cast<unsigned char>(b[at + 4]);
            const int components = static_cast<unsigned char>(b[at + 9]);
            return Checked(Be(b, at + 7, 2), Be(b, at + 5, 2), precision * components);
        }
        if (marker == 0xD9 || marker == 0xDA || length < 2)
            return {}; // the image data or its end, and no frame header yet
        at += 2 + length;
    }
    return {};
}

ImageSize Gif(std::string_view b) {
    if (b.size() < 10 || (b.substr(0, 6) != "GIF87a" && b.substr(0, 6) != "GIF89a"))
        return {};
    return Checked(Le(b, 6, 2), Le(b, 8, 2), 8);
}

ImageSize Bmp(std::string_view b) {
    if (b.size() < 30 || b.substr(0, 2) != "BM")
        return {};
    // Rows stored top-down give a negative height.
    const auto height = static_cast<std::int32_t>(Le(b, 22, 4));
    return Checked(static_cast<std::int32_t>(Le(b, 18, 4)), std::llabs(height),
                   static_cast<int>(Le(b, 28, 2)));
}

ImageSize Webp(std::string_view b) {
    if (b.size() < 30 || b.substr(0, 4) != "RIFF" || b.substr(8, 4) != "WEBP")
        return {};
    const std::string_view chunk = b.substr(12, 4);
    if (chunk == "VP8X")
        return Checked(Le(b, 24, 3) + 1, Le(b, 27, 3) + 1, 0);
    if (chunk == "VP8L" && static_cast<unsigned char>(b[20]) == 0x2F) {
        const std::uint32_t bits = Le(b, 21, 4);
        return Checked((bits & 0x3FFF) + 1, ((bits >> 14) & 0x3FFF) + 1, 0);
    }
    if (chunk == "VP8 ")
        return Checked(Le(b, 26, 2) & 0x3FFF, Le(b, 28, 2) & 0x3FFF, 24);
    return {};
}

} // namespace

ImageSize ReadImageSize(AVCodecID codec, std::string_view bytes) {
    switch (codec) {
    case AV_CODEC_ID_PNG:
        return Png(bytes);
    case AV_CODEC_ID_MJPEG:
        return Jpeg(bytes);
    case AV_CODEC_ID_GIF:
        return Gif(bytes);
    case AV_CODEC_ID_BMP:
        return Bmp(bytes);
    case AV_CODEC_ID_WEBP:
        return Webp(bytes);
    default:
        return {};
    }
}

} // namespace conv
