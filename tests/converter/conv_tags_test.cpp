// Tags and cover art: carried from every kind of tagged input into every output that has a
// place for them, with the window's own command lines.
#include "conv_test_support.h"

#include "converter/pictures.h"

#include "core/engine/command_line.h"

#include <gtest/gtest.h>
#include <taglib/fileref.h>
#include <taglib/tpropertymap.h>

#include <map>
#include <memory>
#include <set>
#include <tuple>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/base64.h>
}

using namespace convtest;

namespace {

using Tags = std::map<std::string, std::string>;

// Known keys with text from several scripts.
const Tags kTags = {{"title", "Sigur Rós – Ágætis byrjun"},
                    {"artist", "Sigur Rós"},
                    {"album", "Ágætis byrjun"},
                    {"date", "1999"},
                    {"genre", "Post-rock"},
                    {"comment", "Kommentar: 日本語のテキスト"},
                    {"copyright", "© 1999 Smekkleysa"},
                    {"track", "3/10"},
                    {"album_artist", "Sigur Rós & 坂本龍一"},
                    {"composer", "Jónsi Birgisson"},
                    {"disc", "1/2"}};

// What a WAV file's INFO list holds of them.
const std::set<std::string> kWavKeys = {"title", "artist",    "album", "date",
                                        "genre", "copyright", "track", "comment"};

struct Input {
    const char* name;
    const char* image; // "" for none
    const char* kind;  // ffmpeg writes the M4A picture without one: a front cover is assumed
    const char* caption;
};

const Input kInputs[] = {{"from_mp3.mp3", "cover.png", "Cover (back)", "Rückseite 裏"},
                         {"from_flac.flac", "cover.png", "Cover (front)", "Vorderseite"},
                         {"from_m4a.m4a", "cover.jpg", "Cover (front)", ""},
                         {"from_ogg.ogg", "cover.png", "Cover (front)", "Omslag ö"},
                         {"from_wma.wma", "", "", ""}};

std::string Cover(const std::string& name) {
    return Made(name, name.ends_with(".png") ? "color=red:s=8x8" : "color=blue:s=8x8",
                {"-frames:v", "1"});
}

// A tone in the input's format, with every tag and its picture.
std::string Tagged(const Input& in) {
    const std::string name = in.name;
    std::vector<std::string> args;
    if (name.ends_with(".ogg")) {
        // ffmpeg writes no pictures into OGG: the picture block is made here.
        const std::string block =
            FlacPicture("image/png", in.caption, 8, 24, ReadFile(Cover(in.image)));
        std::string text(AV_BASE64_SIZE(block.size()), '\0');
        EXPECT_TRUE(av_base64_encode(text.data(), int(text.size()),
                                     reinterpret_cast<const std::uint8_t*>(block.data()),
                                     int(block.size())));
        args = {"-metadata", "METADATA_BLOCK_PICTURE=" + text};
    } else if (*in.image) {
        args = {"-i",   Cover(in.image), "-map",           "0",           "-map", "1",
                "-c:v", "copy",          "-disposition:v", "attached_pic"};
        if (name.ends_with(".m4a"))
            args.insert(args.end(), {"-c:a", "aac"});
        else
            args.insert(args.end(), {"-metadata:s:v", std::string("comment=") + in.kind,
                                     "-metadata:s:v", std::string("title=") + in.caption});
    } else {
        args = {"-c:a", "wmav2"};
    }
    for (const auto& [key, value] : kTags)
        args.insert(args.end(), {"-metadata", key + "=" + value});
    return Made(name, "sine=duration=0.5", args);
}

} // namespace

TEST(ConvTags, EveryOutputKeepsWhatItsContainerCanHold) {
    ScratchDir out;
    const std::string extensions[] = {".mp3", ".wma", ".ogg", ".wav", ".flac",
                                      ".ac3", ".aac", ".amr", ".mpg"};
    for (const Input& in : kInputs) {
        const std::vector<std::string> picture =
            *in.image ? std::vector<std::string>{std::string(in.image[6] == 'p' ? "png" : "mjpeg") +
                                                 " " + in.kind + "|" + in.caption + "|" +
                                                 ReadFile(Cover(in.image))}
                      : std::vector<std::string>{};
        // The nine formats as the window asks for them, then FLAC with a cut, which names no
        // tag map.
        for (int run = 0; run < 10; ++run) {
            const std::string& extension = extensions[run < 9 ? run : 4];
            SCOPED_TRACE(std::string(in.name) + " to " + extension + (run == 9 ? " cut" : ""));
            const BuiltCommand built = BuildCommandLine(Tagged(in),
                                                        {std::int16_t(run < 9 ? run : 4), "128",
                                                         "44100", 1, out.path(), run == 9, 0, 1},
                                                        "")
                                           .value();
            const RunResult r = RunConv(built.arguments);
            ASSERT_EQ(r.exitCode, 0) << r.output;
            const MediaInfo got = Probe(built.outputPath);
            ASSERT_TRUE(got.ok);
            for (const auto& [key, value] : kTags) {
                const bool held =
                    extension == ".wav"
                        ? kWavKeys.count(key)
                        : std::string(".mp3.wma.ogg.flac").find(extension) != std::string::npos;
                const auto found = got.tags.find(key);
                EXPECT_EQ(found != got.tags.end() ? found->second : "(none)",
                          held ? value : "(none)")
                    << key;
            }
            // What described only the old container is not carried.
            for (const char* key : {"major_brand", "handler_name", "vendor_id", "language"})
                EXPECT_EQ(got.tags.count(key), 0u) << key;
            EXPECT_EQ(got.otherVideo, 0);
            const bool pictured =
                extension == ".mp3" || extension == ".flac" || extension == ".ogg";
            EXPECT_EQ(got.pictures, pictured ? picture : std::vector<std::string>{});
        }
    }
}

// ID3v1 holds ISO-8859-1 in fields of 30 bytes: the UTF-8 text is converted, not copied.
TEST(ConvTags, Mp3KeepsAnId3v1TagInLatin1) {
    ScratchDir out;
    ASSERT_EQ(RunConv({"-i", Tagged(kInputs[1]), "-y", out.file("x.mp3")}).exitCode, 0);
    const std::string file = ReadFile(out.file("x.mp3"));
    ASSERT_GT(file.size(), 128u);
    const std::string tag = file.substr(file.size() - 128);
    EXPECT_EQ(tag.substr(0, 3), "TAG");
    EXPECT_EQ(tag.substr(3, 30),
              std::string("Sigur R\xF3s ? \xC1g\xE6tis byrjun") + std::string(5, '\0'));
    EXPECT_EQ(tag.substr(33, 9), "Sigur R\xF3s");
    EXPECT_EQ(tag.substr(93, 4), "1999");
    EXPECT_EQ(static_cast<unsigned char>(tag[126]), 3); // the track
}

// Several pictures: each output keeps what it can hold and says what it left out.
TEST(ConvPictures, EachOutputKeepsWhatItCan) {
    const auto kinds = [](const std::vector<conv::Picture>& pictures) {
        std::vector<int> kinds;
        for (const auto& p : pictures)
            kinds.push_back(p.type);
        return kinds;
    };
    const std::unique_ptr<AVFormatContext, void (*)(AVFormatContext*)> context(
        avformat_alloc_context(), avformat_free_context);
    const std::tuple<AVCodecID, const char*, std::size_t> added[] = {
        {AV_CODEC_ID_PNG, "Cover (back)", 10},
        {AV_CODEC_ID_MJPEG, "cover (FRONT)", 10},
        {AV_CODEC_ID_H264, "Cover (front)", 10}, // no image format a tag can name
        {AV_CODEC_ID_PNG, nullptr, 10},          // says nothing: a front cover
        {AV_CODEC_ID_PNG, "Leaflet page", conv::kMaxFlacBlock}};
    for (const auto& [codec, kind, bytes] : added) {
        AVStream* stream = avformat_new_stream(context.get(), nullptr);
        stream->codecpar->codec_type = AVMEDIA_TYPE_VIDEO;
        stream->codecpar->codec_id = codec;
        stream->disposition = AV_DISPOSITION_ATTACHED_PIC;
        ASSERT_EQ(av_new_packet(&stream->attached_pic, static_cast<int>(bytes)), 0);
        av_dict_set(&stream->metadata, "comment", kind, 0);
    }
    int unsupported = 0;
    const std::vector<conv::Picture> all = conv::AttachedPictures(*context, unsupported);
    EXPECT_EQ(unsupported, 1);
    EXPECT_EQ(kinds(all), (std::vector<int>{4, 3, 3, 5}));
    std::vector<std::string> notes;
    const auto kept = [&](const char* output) {
        notes.clear();
        return kinds(conv::PicturesFor(*conv::FindFormat(output), all, unsupported, notes));
    };
    for (const char* output : {"x.mp3", "x.flac"}) {
        EXPECT_EQ(kept(output), (std::vector<int>{4, 3, 3})) << output;
        EXPECT_EQ(notes.size(), 2u) << output; // the H.264 one, and the one of 16 MiB
    }
    EXPECT_EQ(kept("x.ogg"), std::vector<int>{3}); // the first front cover
    EXPECT_EQ(notes.back(), "note: OGG keeps one picture; 2 others are left out");
    EXPECT_EQ(kept("x.wma"), std::vector<int>{});
    EXPECT_EQ(notes, std::vector<std::string>{});
}

// Opus, and AAC and Apple Lossless in M4A, from every tagged input: the tags as TagLib reads
// them (a reader that shares nothing with the converter), and the front cover.
TEST(ConvTags, OpusAndM4aKeepTheTagsAndTheCover) {
    ScratchDir out;
    const std::map<std::string, std::string> expected = {{"TITLE", kTags.at("title")},
                                                         {"ARTIST", kTags.at("artist")},
                                                         {"ALBUM", kTags.at("album")},
                                                         {"DATE", kTags.at("date")},
                                                         {"GENRE", kTags.at("genre")},
                                                         {"COMMENT", kTags.at("comment")},
                                                         {"COMPOSER", kTags.at("composer")},
                                                         {"ALBUMARTIST", kTags.at("album_artist")},
                                                         {"TRACKNUMBER", "3/10"},
                                                         {"DISCNUMBER", "1/2"}};
    for (const Input& in : kInputs) {
        for (const auto& [name, codec] : {std::pair<const char*, const char*>{"x.opus", "libopus"},
                                          {"x.m4a", "aac"},
                                          {"y.m4a", "alac"}}) {
            SCOPED_TRACE(std::string(in.name) + " to " + name + " " + codec);
            const RunResult r = RunConv({"-i", Tagged(in), "-y", "-acodec", codec, out.file(name)});
            ASSERT_EQ(r.exitCode, 0) << r.output;
            const TagLib::FileRef file(out.file(name).c_str(), false);
            ASSERT_FALSE(file.isNull());
            const TagLib::PropertyMap properties = file.file()->properties();
            for (const auto& [key, value] : expected) {
                // The Ogg writer keeps a comment as a DESCRIPTION, as for OGG.
                const bool ogg = std::string(name).ends_with(".opus");
                const auto found = properties.find(ogg && key == "COMMENT" ? "DESCRIPTION" : key);
                EXPECT_EQ(found == properties.end() ? std::string("(none)")
                                                    : found->second.toString(";").to8Bit(true),
                          value)
                    << key;
            }
            const MediaInfo got = Probe(out.file(name));
            EXPECT_EQ(got.pictures.size(), *in.image ? 1u : 0u);
        }
    }
}
