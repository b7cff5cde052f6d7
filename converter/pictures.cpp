#include "pictures.h"

#include "image_size.h"

#include <algorithm>
#include <array>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/avstring.h>
#include <libavutil/base64.h>
#include <libavutil/mem.h>
#include <libavutil/pixdesc.h>
}

namespace conv {

namespace {

constexpr std::array<const char*, 21> kPictureTypes = {
    "Other",
    "32x32 pixels 'file icon'",
    "Other file icon",
    "Cover (front)",
    "Cover (back)",
    "Leaflet page",
    "Media (e.g. label side of CD)",
    "Lead artist/lead performer/soloist",
    "Artist/performer",
    "Conductor",
    "Band/Orchestra",
    "Composer",
    "Lyricist/text writer",
    "Recording Location",
    "During recording",
    "During performance",
    "Movie/video screen capture",
    "A bright coloured fish",
    "Illustration",
    "Band/artist logotype",
    "Publisher/Studio logotype",
};

struct ImageKind {
    AVCodecID codec;
    std::string_view mime;
};

// The image formats the ID3 and FLAC writers know a MIME type for.
constexpr std::array<ImageKind, 6> kImageKinds = {{
    {AV_CODEC_ID_MJPEG, "image/jpeg"},
    {AV_CODEC_ID_PNG, "image/png"},
    {AV_CODEC_ID_GIF, "image/gif"},
    {AV_CODEC_ID_BMP, "image/bmp"},
    {AV_CODEC_ID_TIFF, "image/tiff"},
    {AV_CODEC_ID_WEBP, "image/webp"},
}};

void PutBe32(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((value >> shift) & 0xFF);
}

void PutSized(std::string& out, std::string_view text) {
    PutBe32(out, static_cast<std::uint32_t>(text.size()));
    out += text;
}

const char* Tag(const AVStream& stream, const char* key) {
    const AVDictionaryEntry* entry = av_dict_get(stream.metadata, key, nullptr, 0);
    return entry ? entry->value : nullptr;
}

std::size_t BlockSize(const Picture& picture) {
    return 32 + picture.mime.size() + picture.description.size() +
           static_cast<std::size_t>(picture.image().size);
}

std::string_view Bytes(const AVPacket& packet) {
    return {reinterpret_cast<const char*>(packet.data), static_cast<std::size_t>(packet.size)};
}

std::string Count(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

} // namespace

const AVPacket& Picture::image() const {
    return stream->attached_pic;
}

void FillPictureSizes(AVFormatContext& input) {
    for (unsigned i = 0; i < input.nb_streams; ++i) {
        AVStream& stream = *input.streams[i];
        AVCodecParameters& image = *stream.codecpar;
        if (!(stream.disposition & AV_DISPOSITION_ATTACHED_PIC) || stream.attached_pic.size <= 0 ||
            (image.width > 0 && image.height > 0))
            continue;
        const ImageSize size = ReadImageSize(image.codec_id, Bytes(stream.attached_pic));
        image.width = size.width;
        image.height = size.height;
        // The writers need the size: a picture without one is damaged, and left out as a
        // picture of no known kind.
        if (!size.known())
            image.codec_id = AV_CODEC_ID_NONE;
    }
}

std::vector<Picture> AttachedPictures(const AVFormatContext& input, int& unsupported) {
    std::vector<Picture> pictures;
    unsupported = 0;
    for (unsigned i = 0; i < input.nb_streams; ++i) {
        const AVStream& stream = *input.streams[i];
        if (!(stream.disposition & AV_DISPOSITION_ATTACHED_PIC) || stream.attached_pic.size <= 0)
            continue;
        const AVCodecParameters& image = *stream.codecpar;
        Picture picture;
        for (const auto& kind : kImageKinds) {
            if (kind.codec == image.codec_id)
                picture.mime = kind.mime;
        }
        if (picture.mime.empty()) {
            ++unsupported;
            continue;
        }
        picture.stream = &stream;
        picture.type = PictureType(Tag(stream, "comment"));
        const char* title = Tag(stream, "title");
        picture.description = title ? title : "";
        picture.width = image.width;
        picture.height = image.height;
        if (const AVPixFmtDescriptor* pixels =
                av_pix_fmt_desc_get(static_cast<AVPixelFormat>(image.format)))
            picture.depth = av_get_bits_per_pixel(pixels);
        else
            picture.depth = ReadImageSize(image.codec_id, Bytes(stream.attached_pic)).depth;
        pictures.push_back(std::move(picture));
    }
    return pictures;
}

int PictureType(const char* comment) {
    for (std::size_t type = 0; comment && type < kPictureTypes.size(); ++type) {
        if (av_strcasecmp(comment, kPictureTypes[type]) == 0)
            return static_cast<int>(type);
    }
    return kFrontCover;
}

const char* PictureTypeName(int type) {
    if (type < 0 || static_cast<std::size_t>(type) >= kPictureTypes.size())
        return kPictureTypes[kFrontCover];
    return kPictureTypes[static_cast<std::size_t>(type)];
}

std::vector<Picture> PicturesFor(const FormatInfo& format, std::vector<Picture> pictures,
                                 int unsupported, std::vector<std::string>& notes) {
    const std::string label(format.label);
    if (format.pictures == PictureWay::None || (pictures.empty() && unsupported == 0))
        return {};
    if (unsupported > 0)
        notes.push_back(
            "note: " + Count(static_cast<std::size_t>(unsupported), "picture is", "pictures are") +
            " damaged or in a format " + label + " cannot hold, and left out");
    // Beyond what a FLAC metadata block can hold; no cover art comes near it.
    const auto tooLarge = std::remove_if(pictures.begin(), pictures.end(), [](const Picture& p) {
        return BlockSize(p) > kMaxFlacBlock;
    });
    if (tooLarge != pictures.end()) {
        notes.push_back("note: " +
                        Count(static_cast<std::size_t>(pictures.end() - tooLarge), "picture is",
                              "pictures are") +
                        " larger than 16 MiB, and left out");
        pictures.erase(tooLarge, pictures.end());
    }
    // The OGG writer keeps one comment of a name, so one picture: the front cover if any.
    if (format.pictures == PictureWay::VorbisComment && pictures.size() > 1) {
        const auto front = std::find_if(pictures.begin(), pictures.end(),
                                        [](const Picture& p) { return p.type == kFrontCover; });
        Picture kept = front != pictures.end() ? *front : pictures.front();
        notes.push_back("note: " + label + " keeps one picture; " +
                        Count(pictures.size() - 1, "other is", "others are") + " left out");
        pictures = {std::move(kept)};
    }
    return pictures;
}

std::string FlacPictureBlock(const Picture& picture) {
    const AVPacket& image = picture.image();
    std::string block;
    block.reserve(BlockSize(picture));
    PutBe32(block, static_cast<std::uint32_t>(picture.type));
    PutSized(block, picture.mime);
    PutSized(block, picture.description);
    PutBe32(block, static_cast<std::uint32_t>(picture.width));
    PutBe32(block, static_cast<std::uint32_t>(picture.height));
    PutBe32(block, static_cast<std::uint32_t>(picture.depth));
    PutBe32(block, 0); // colours: only indexed images count them
    PutSized(block, std::string_view(reinterpret_cast<const char*>(image.data),
                                     static_cast<std::size_t>(image.size)));
    return block;
}

AvTextPtr Base64(std::string_view bytes) {
    if (bytes.size() > kMaxFlacBlock)
        return nullptr;
    const std::size_t size = AV_BASE64_SIZE(bytes.size());
    AvTextPtr text(static_cast<char*>(av_malloc(size)));
    if (text && !av_base64_encode(text.get(), static_cast<int>(size),
                                  reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                  static_cast<int>(bytes.size())))
        return nullptr;
    return text;
}

} // namespace conv
