#pragma once

#include "av_ptr.h"
#include "formats.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

extern "C" {
#include <libavcodec/codec_id.h>
}

struct AVFormatContext;
struct AVPacket;
struct AVStream;

namespace conv {

// ID3 and FLAC number the kinds of picture alike.
inline constexpr int kFrontCover = 3;

// A picture attached to the input (cover art), as libavformat exposes it.
struct Picture {
    const AVStream* stream = nullptr; // the input's; its attached_pic holds the image
    std::string_view mime;
    int type = kFrontCover;
    std::string description;
    int width = 0;
    int height = 0;
    int depth = 0; // bits per pixel, 0 when unknown
    [[nodiscard]] const AVPacket& image() const;
};

// Pictures are never decoded (a small file may claim gigabytes of pixels), so their size is
// read from their header where the container does not state it. A picture whose size cannot
// be read loses its codec, so that it counts as unsupported.
void FillPictureSizes(AVFormatContext& input);

// The input's attached pictures in an image format the tag containers name
// (JPEG, PNG, GIF, BMP, TIFF, WebP); `unsupported` counts the others.
[[nodiscard]] std::vector<Picture> AttachedPictures(const AVFormatContext& input, int& unsupported);

// The picture kind libavformat names in the picture stream's "comment" tag ("Cover (back)");
// a front cover when it names none.
[[nodiscard]] int PictureType(const char* comment);
[[nodiscard]] const char* PictureTypeName(int type);

// The pictures an output of `format` keeps, with a note line for each kind left out.
[[nodiscard]] std::vector<Picture> PicturesFor(const FormatInfo& format,
                                               std::vector<Picture> pictures, int unsupported,
                                               std::vector<std::string>& notes);

// The body of a FLAC PICTURE block, which Vorbis comments also carry (base64-encoded).
[[nodiscard]] std::string FlacPictureBlock(const Picture& picture);
// Largest body a FLAC metadata block can hold.
inline constexpr std::size_t kMaxFlacBlock = (1u << 24) - 1;

// Null for more than kMaxFlacBlock bytes.
[[nodiscard]] AvTextPtr Base64(std::string_view bytes);

} // namespace conv
