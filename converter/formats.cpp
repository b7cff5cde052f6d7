#include "formats.h"

#include <array>
#include <cctype>

namespace conv {

namespace {

constexpr std::array<FormatInfo, 11> kFormats = {{
    // ID3v2.4 holds UTF-8 text and pictures; ID3v1 is for players that know nothing newer.
    {".mp3", "MP3", "mp3", "mp3", "libmp3lame", 128000, PictureWay::Stream,
     "id3v2_version=4:write_id3v1=1", false},
    {".wma", "WMA", "asf", "asf", "wmav1", 128000, PictureWay::None, "", true},
    {".ogg", "OGG", "ogg", "ogg", "libvorbis", 0, PictureWay::VorbisComment, "", false},
    {".wav", "WAV", "wav", "wav", "pcm_s16le", 0, PictureWay::None, "", false},
    {".flac", "FLAC", "flac", "flac", "flac", 0, PictureWay::Stream, "", false},
    {".ac3", "AC3", "ac3", "ac3", "ac3", 0, PictureWay::None, "", false},
    {".aac", "AAC", "adts", "aac", "aac", 0, PictureWay::None, "", false},
    {".amr", "AMR", "amr", "amr", kAmrNbEncoder, 12200, PictureWay::None, "", false},
    {".mpg", "MPG", "mpeg", "mpeg", "mp2", 192000, PictureWay::None, "", false},
    {".opus", "OPUS", "opus", "ogg", "libopus", 128000, PictureWay::VorbisComment, "", false},
    // The iPod flavour of MP4 brands the file M4A and holds iTunes tags and cover art; the
    // index goes to the front so players can start before the whole file is there.
    {".m4a", "M4A", "ipod", "mov,mp4,m4a,3gp,3g2,mj2", "aac", 192000, PictureWay::Stream,
     "movflags=+faststart", false},
}};

struct Alias {
    std::string_view extension;
    std::string_view name;    // as written after -acodec
    std::string_view encoder; // what is opened
};

constexpr std::array<Alias, 22> kAliases = {{
    {".mp3", "libmp3lame", "libmp3lame"},
    {".mp3", "mp3", "libmp3lame"},
    {".wma", "wmav1", "wmav1"},
    {".wma", "wmav2", "wmav2"},
    {".ogg", "libvorbis", "libvorbis"},
    {".ogg", "vorbis", "libvorbis"},
    {".wav", "pcm_s16le", "pcm_s16le"},
    {".wav", "pcm_u8", "pcm_u8"},
    {".wav", "pcm_s24le", "pcm_s24le"},
    {".wav", "pcm_s32le", "pcm_s32le"},
    {".wav", "pcm_f32le", "pcm_f32le"},
    {".flac", "flac", "flac"},
    {".ac3", "ac3", "ac3"},
    {".aac", "aac", "aac"},
    {".amr", "amr_nb", kAmrNbEncoder},
    {".amr", "libopencore_amrnb", kAmrNbEncoder},
    {".mpg", "mp2", "mp2"},
    {".mpg", "mp2fixed", "mp2fixed"},
    {".opus", "libopus", "libopus"},
    {".opus", "opus", "libopus"},
    {".m4a", "aac", "aac"},
    {".m4a", "alac", "alac"},
}};

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

} // namespace

const FormatInfo* FindFormat(std::string_view outputPath) {
    const auto slash = outputPath.rfind('/');
    const auto name = slash == std::string_view::npos ? outputPath : outputPath.substr(slash + 1);
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return nullptr;
    const auto extension = name.substr(dot);
    for (const auto& format : kFormats) {
        if (EqualsIgnoringCase(extension, format.extension))
            return &format;
    }
    return nullptr;
}

std::string SupportedExtensions() {
    std::string text;
    for (std::size_t i = 0; i < kFormats.size(); ++i) {
        if (i > 0)
            text += i + 1 == kFormats.size() ? " or " : ", ";
        text += kFormats[i].extension;
    }
    return text;
}

std::optional<std::string_view> ResolveCodec(const FormatInfo& format, std::string_view requested) {
    for (const auto& alias : kAliases) {
        if (alias.extension == format.extension && alias.name == requested)
            return alias.encoder;
    }
    return std::nullopt;
}

CodecKind KindOfEncoder(std::string_view encoder) {
    if (encoder == "libmp3lame")
        return CodecKind::Mp3;
    if (encoder == "wmav1" || encoder == "wmav2")
        return CodecKind::Wma;
    if (encoder == "libvorbis")
        return CodecKind::Vorbis;
    if (encoder == "flac")
        return CodecKind::Flac;
    if (encoder == "ac3")
        return CodecKind::Ac3;
    if (encoder == "aac")
        return CodecKind::Aac;
    if (encoder == kAmrNbEncoder)
        return CodecKind::AmrNb;
    if (encoder == "mp2" || encoder == "mp2fixed")
        return CodecKind::Mp2;
    if (encoder == "libopus")
        return CodecKind::Opus;
    if (encoder == "alac")
        return CodecKind::Alac;
    return CodecKind::Pcm;
}

} // namespace conv
