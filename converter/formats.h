#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace conv {

// The encoders we know how to drive, and so how their values are fitted.
enum class CodecKind { Mp3, Wma, Vorbis, Pcm, Flac, Ac3, Aac, AmrNb, Mp2, Opus, Alac };

// Where an output type keeps cover art.
enum class PictureWay {
    None,
    Stream,        // an attached-picture stream the muxer turns into APIC or PICTURE
    VorbisComment, // a METADATA_BLOCK_PICTURE comment we build ourselves
};

// One output type, chosen by the output name's extension.
struct FormatInfo {
    std::string_view extension;  // ".mp3"
    std::string_view label;      // shown in notes
    std::string_view muxer;      // libavformat short name
    std::string_view demuxer;    // the name libavformat reads it back as
    std::string_view encoder;    // default encoder
    std::int64_t defaultBitRate; // 0: the encoder decides
    PictureWay pictures;
    std::string_view muxerOptions; // "key=value:key=value"
    // Tag text stored as UTF-16 with a 16-bit length in bytes, its zero included (ASF).
    bool shortUtf16Tags;
};

// Encoder name the libraries know, or kAmrNbEncoder for our own AMR-NB path.
inline constexpr std::string_view kAmrNbEncoder = "libopencore_amrnb";

// Format for an output path by its extension (any letter case); nothing when unsupported.
[[nodiscard]] const FormatInfo* FindFormat(std::string_view outputPath);
// ".mp3, .wma, ... or .mpg"
[[nodiscard]] std::string SupportedExtensions();
// The encoder to use for a -acodec name with this format; nothing when it does not fit.
[[nodiscard]] std::optional<std::string_view> ResolveCodec(const FormatInfo& format,
                                                           std::string_view requested);
// How an encoder's values are fitted.
[[nodiscard]] CodecKind KindOfEncoder(std::string_view encoder);

} // namespace conv
