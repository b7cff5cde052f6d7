// Tags and cover art: carried from every kind of tagged input into every output that has a
// place for them, with the window's own command lines, and the pieces that make this work.
#include "conv_test_support.h"

#include "converter/output_check.h"
#include "converter/pictures.h"
#include "converter/tags.h"

#include "engine/command_line.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <memory>
#include <set>

#include <fcntl.h>
#include <unistd.h>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/base64.h>
#include <libavutil/log.h>
}

using namespace convtest;

namespace {

using Tags = std::map<std::string, std::string>;

// Known keys and free ones, with text from several scripts.
const Tags kTags = {
    {"title", "Sigur Rós – Ágætis byrjun"},
    {"artist", "Sigur Rós"},
    {"album", "Ágætis byrjun"},
    {"album_artist", "Sigur Rós & 坂本龍一"},
    {"track", "3/10"},
    {"disc", "1/2"},
    {"date", "1999"},
    {"genre", "Post-rock"},
    {"comment", "Kommentar: 日本語のテキスト"},
    {"composer", "Jónsi Birgisson"},
    {"copyright", "© 1999 Smekkleysa"},
    {"lyricist", "Jón Þór Birgisson"},
};

// What a WAV file's INFO list holds of them.
const std::set<std::string> kWavKeys = {"title", "artist",    "album", "date",
                                        "genre", "copyright", "track", "comment"};

struct PictureRead {
    std::string codec;
    std::string bytes;
    std::string kind;    // the "comment" libavformat gives it
    std::string caption; // its "title"
};

struct FileRead {
    bool ok = false;
    Tags tags; // lower-case keys, of the file and of its audio stream
    std::vector<PictureRead> pictures;
    int otherVideo = 0;
};

std::string Lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string TagOf(const AVDictionary* tags, const char* key) {
    const AVDictionaryEntry* entry = av_dict_get(tags, key, nullptr, 0);
    return entry ? entry->value : "";
}

FileRead Read(const std::string& path) {
    FileRead read;
    AVFormatContext* format = nullptr;
    if (avformat_open_input(&format, ("file:" + path).c_str(), nullptr, nullptr) < 0)
        return read;
    read.ok = avformat_find_stream_info(format, nullptr) >= 0;
    const auto take = [&](const AVDictionary* tags) {
        const AVDictionaryEntry* entry = nullptr;
        while ((entry = av_dict_get(tags, "", entry, AV_DICT_IGNORE_SUFFIX)))
            read.tags.emplace(Lower(entry->key), entry->value);
    };
    take(format->metadata);
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        const AVStream* stream = format->streams[i];
        if (stream->codecpar->codec_type == AVMEDIA_TYPE_AUDIO) {
            take(stream->metadata);
        } else if (stream->disposition & AV_DISPOSITION_ATTACHED_PIC) {
            const AVPacket& image = stream->attached_pic;
            read.pictures.push_back({avcodec_get_name(stream->codecpar->codec_id),
                                     std::string(reinterpret_cast<const char*>(image.data),
                                                 static_cast<std::size_t>(image.size)),
                                     TagOf(stream->metadata, "comment"),
                                     TagOf(stream->metadata, "title")});
        } else if (stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO) {
            ++read.otherVideo;
        }
    }
    avformat_close_input(&format);
    return read;
}

std::string Be32(std::uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
            static_cast<char>(v)};
}

// A FLAC picture block written out by hand, independent of the converter's own.
std::string HandMadeBlock(std::uint32_t type, const std::string& mime, const std::string& caption,
                          const std::string& image) {
    return Be32(type) + Be32(static_cast<std::uint32_t>(mime.size())) + mime +
           Be32(static_cast<std::uint32_t>(caption.size())) + caption + Be32(8) + Be32(8) +
           Be32(24) + Be32(0) + Be32(static_cast<std::uint32_t>(image.size())) + image;
}

struct Input {
    const char* name;
    bool picture; // one is attached
    const char* image;
    const char* kind;
    const char* caption;
};

// The ffmpeg program writes the M4A picture without a kind: a front cover is assumed.
const Input kInputs[] = {
    {"from_mp3.mp3", true, "cover.png", "Cover (back)", "Rückseite 裏"},
    {"from_flac.flac", true, "cover.png", "Cover (front)", "Vorderseite"},
    {"from_m4a.m4a", true, "cover.jpg", "Cover (front)", ""},
    {"from_ogg.ogg", true, "cover.png", "Cover (front)", "Omslag ö"},
    {"from_wma.wma", false, "", "", ""},
};

class ConvTags : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        av_log_set_level(AV_LOG_QUIET);
        dir_ = std::make_unique<ScratchDir>();
        const auto file = [](const char* name) { return dir_->file(name); };
        ASSERT_TRUE(
            Ffmpeg({"-f", "lavfi", "-i", "sine=duration=0.5", "-ac", "2", file("tone.wav")}));
        ASSERT_TRUE(
            Ffmpeg({"-f", "lavfi", "-i", "color=red:s=8x8", "-frames:v", "1", file("cover.png")}));
        ASSERT_TRUE(
            Ffmpeg({"-f", "lavfi", "-i", "color=blue:s=8x8", "-frames:v", "1", file("cover.jpg")}));
        std::vector<std::string> tags;
        for (const auto& [key, value] : kTags)
            tags.insert(tags.end(), {"-metadata", key + "=" + value});
        const auto make = [&](const char* name, std::vector<std::string> args) {
            args.insert(args.begin(), {"-i", file("tone.wav")});
            args.insert(args.end(), tags.begin(), tags.end());
            args.push_back(file(name));
            return Ffmpeg(args);
        };
        const auto withPicture = [&](const Input& in) {
            std::vector<std::string> args = {
                "-i",   file(in.image), "-map",           "0",           "-map", "1",
                "-c:v", "copy",         "-disposition:v", "attached_pic"};
            if (std::string(in.name).ends_with(".m4a"))
                args.insert(args.end(), {"-c:a", "aac"});
            else
                args.insert(args.end(), {"-metadata:s:v", std::string("comment=") + in.kind,
                                         "-metadata:s:v", std::string("title=") + in.caption});
            return args;
        };
        for (const Input& in : kInputs) {
            const std::string name = in.name;
            if (name.ends_with(".ogg")) {
                // ffmpeg writes no pictures into OGG; the comment is built here.
                const std::string block =
                    HandMadeBlock(3, "image/png", in.caption, ReadFile(file(in.image)));
                std::string text(AV_BASE64_SIZE(block.size()), '\0');
                ASSERT_TRUE(av_base64_encode(text.data(), static_cast<int>(text.size()),
                                             reinterpret_cast<const std::uint8_t*>(block.data()),
                                             static_cast<int>(block.size())));
                ASSERT_TRUE(make(in.name, {"-metadata", "METADATA_BLOCK_PICTURE=" + text}));
            } else if (in.picture) {
                ASSERT_TRUE(make(in.name, withPicture(in)));
            } else {
                ASSERT_TRUE(make(in.name, {"-c:a", "wmav2"}));
            }
            // The inputs hold what the test expects of them.
            const FileRead read = Read(file(in.name));
            ASSERT_TRUE(read.ok) << name;
            for (const char* key : {"title", "artist", "album", "album_artist", "track", "disc",
                                    "date", "genre", "comment", "composer"})
                ASSERT_EQ(read.tags.count(key) ? read.tags.at(key) : "", kTags.at(key))
                    << name << " " << key;
            ASSERT_EQ(read.pictures.size(), in.picture ? 1u : 0u) << name;
            if (in.picture) {
                ASSERT_EQ(read.pictures[0].bytes, ReadFile(file(in.image))) << name;
                ASSERT_EQ(read.pictures[0].caption, in.caption) << name;
            }
        }
    }
    static void TearDownTestSuite() { dir_.reset(); }
    static std::unique_ptr<ScratchDir> dir_;
};

std::unique_ptr<ScratchDir> ConvTags::dir_;

} // namespace

TEST_F(ConvTags, EveryOutputKeepsWhatItsContainerCanHold) {
    ScratchDir out;
    const char* extensions[] = {".mp3", ".wma", ".ogg", ".wav", ".flac",
                                ".ac3", ".aac", ".amr", ".mpg"};
    for (const Input& in : kInputs) {
        const std::string input = dir_->file(in.name);
        const FileRead source = Read(input);
        // The nine formats as the window asks for them, then FLAC with a cut, which names no
        // tag map.
        for (int run = 0; run < 10; ++run) {
            const int format = run < 9 ? run : 4;
            ConversionSettings settings{std::int16_t(format), "128", "44100", 1, out.path()};
            if (run == 9)
                settings = {4, "128", "44100", 1, out.path(), true, 0, 1};
            const std::string extension = extensions[format];
            SCOPED_TRACE(std::string(in.name) + " to " + extension + (run == 9 ? " cut" : ""));
            const BuiltCommand built = BuildCommandLine(input, settings, "").value();
            const RunResult r = RunConv(built.arguments);
            ASSERT_EQ(r.exitCode, 0) << r.output;
            const FileRead got = Read(built.outputPath);
            ASSERT_TRUE(got.ok);

            const bool tagged = extension == ".mp3" || extension == ".wma" || extension == ".ogg" ||
                                extension == ".flac" || extension == ".wav";
            for (const auto& [key, value] : kTags) {
                const bool held = tagged && (extension != ".wav" || kWavKeys.count(key)) &&
                                  source.tags.count(key);
                const auto found = got.tags.find(key);
                if (held)
                    EXPECT_EQ(found != got.tags.end() ? found->second : "(none)", value) << key;
                else
                    EXPECT_EQ(found, got.tags.end()) << key;
            }

            EXPECT_EQ(got.otherVideo, 0);
            const bool pictured =
                extension == ".mp3" || extension == ".flac" || extension == ".ogg";
            ASSERT_EQ(got.pictures.size(), pictured && in.picture ? 1u : 0u);
            if (got.pictures.empty())
                continue;
            const PictureRead& picture = got.pictures[0];
            EXPECT_EQ(picture.bytes, ReadFile(dir_->file(in.image)));
            EXPECT_EQ(picture.codec, std::string(in.image).ends_with(".png") ? "png" : "mjpeg");
            EXPECT_EQ(picture.kind, in.kind);
            EXPECT_EQ(picture.caption, in.caption);
        }
    }
}

// Tags are whole up to the container's own limit: 64 KiB of UTF-16 in WMA, none here in the
// others.
TEST_F(ConvTags, LongTagsAreCutOnlyWhereTheContainerEnds) {
    ScratchDir out;
    std::string umlauts, notes;
    for (int i = 0; i < 40000; ++i)
        umlauts += "ü";
    for (int i = 0; i < 20000; ++i)
        notes += "🎵";
    ASSERT_TRUE(
        Ffmpeg({"-i", dir_->file("tone.wav"), "-metadata", "comment=" + umlauts, "-metadata",
                "lyricist=" + notes, "-metadata", "title=Short", out.file("long.flac")}));
    for (const char* name : {"x.mp3", "x.flac", "x.ogg", "x.wma"}) {
        const RunResult r = RunConv({"-i", out.file("long.flac"), "-y", out.file(name)});
        ASSERT_EQ(r.exitCode, 0) << r.output;
        const FileRead got = Read(out.file(name));
        const bool wma = std::string(name) == "x.wma";
        EXPECT_EQ(got.tags.at("title"), "Short") << name;
        // 32766 units: as many umlauts, half as many notes (each a surrogate pair).
        EXPECT_EQ(got.tags.at("comment"), wma ? umlauts.substr(0, 2 * 32766) : umlauts) << name;
        EXPECT_EQ(got.tags.at("lyricist"), wma ? notes.substr(0, 4 * 16383) : notes) << name;
        EXPECT_EQ(r.output.find("note: WMA holds at most 64 KiB of text in a tag; the comment "
                                "tag is cut there") != std::string::npos,
                  wma)
            << r.output;
    }
}

// ID3v1 holds ISO-8859-1 in fields of 30 bytes: the UTF-8 text is converted, not copied.
TEST_F(ConvTags, Mp3KeepsAnId3v1TagInLatin1) {
    ScratchDir out;
    ASSERT_EQ(RunConv({"-i", dir_->file("from_flac.flac"), "-y", out.file("x.mp3")}).exitCode, 0);
    const std::string file = ReadFile(out.file("x.mp3"));
    ASSERT_GT(file.size(), 128u);
    const std::string tag = file.substr(file.size() - 128);
    ASSERT_EQ(tag.substr(0, 3), "TAG");
    EXPECT_EQ(tag.substr(3, 30),
              std::string("Sigur R\xF3s ? \xC1g\xE6tis byrjun") + std::string(5, '\0'));
    EXPECT_EQ(tag.substr(33, 9), "Sigur R\xF3s");
    EXPECT_EQ(tag.substr(93, 4), "1999");
    EXPECT_EQ(static_cast<unsigned char>(tag[126]), 3); // the track
}

// The check before an output is put in place takes cover art beside the audio, and nothing
// else.
TEST_F(ConvTags, OutputCheckTakesPicturesButNoOtherStreams) {
    ScratchDir out;
    ASSERT_TRUE(Ffmpeg({"-i", dir_->file("tone.wav"), "-f", "lavfi", "-i",
                        "testsrc=duration=0.5:size=64x48:rate=10", "-map", "0", "-map", "1", "-c:a",
                        "libvorbis", "-c:v", "libtheora", out.file("video.ogg")}));
    ASSERT_EQ(RunConv({"-i", dir_->file("from_ogg.ogg"), "-y", out.file("pic.ogg")}).exitCode, 0);
    for (const auto& [name, accepted] : {std::pair{"pic.ogg", true}, {"video.ogg", false}}) {
        const int fd = ::open(out.file(name).c_str(), O_RDONLY | O_CLOEXEC);
        ASSERT_GE(fd, 0);
        const MediaInfo audio = Probe(out.file(name));
        const conv::Status failed = conv::VerifyWritten(
            fd, {"ogg", AV_CODEC_ID_VORBIS, audio.sampleRate, audio.channels, audio.seconds(), 0.1},
            name);
        ::close(fd);
        EXPECT_EQ(!failed, accepted) << name << ": " << (failed ? failed->reason : "accepted");
        if (failed) {
            EXPECT_NE(failed->reason.find("2 streams"), std::string::npos) << failed->reason;
        }
    }
}

TEST(ConvTagText, Latin1ForId3v1) {
    using conv::Utf8ToLatin1;
    EXPECT_EQ(Utf8ToLatin1("plain ASCII"), "plain ASCII");
    EXPECT_EQ(Utf8ToLatin1("Sigur Rós ÿ"), "Sigur R\xF3s \xFF");
    EXPECT_EQ(Utf8ToLatin1("日本 🎵 €"), "?? ? ?");
    // Broken text gives one mark per broken sequence and never a character not written.
    EXPECT_EQ(Utf8ToLatin1("a\xC3"), "a?");
    EXPECT_EQ(Utf8ToLatin1("\xC3"
                           "A"),
              "?A");
    EXPECT_EQ(Utf8ToLatin1("\xE6\x97"
                           "b"),
              "?b");
    EXPECT_EQ(Utf8ToLatin1("\x80\x80x"), "?x");
    EXPECT_EQ(Utf8ToLatin1("\xC1\x81"), "?");     // overlong 'A'
    EXPECT_EQ(Utf8ToLatin1("\xE0\x81\x81"), "?"); // overlong 'A'
    EXPECT_EQ(Utf8ToLatin1("\xF8\x88\x80\x80\x80"), "?");
}

TEST(ConvTagText, Utf16LimitsCutOnWholeCharacters) {
    using conv::Utf16Prefix;
    EXPECT_EQ(Utf16Prefix("abc", 2), 2u);
    EXPECT_EQ(Utf16Prefix("abc", 5), 3u);
    EXPECT_EQ(Utf16Prefix("aü日", 2), 3u); // one unit each
    EXPECT_EQ(Utf16Prefix("aü日", 3), 6u);
    EXPECT_EQ(Utf16Prefix("a🎵b", 2), 1u); // a surrogate pair is not split
    EXPECT_EQ(Utf16Prefix("a🎵b", 3), 5u);
    EXPECT_EQ(Utf16Prefix("\xE6\x97", 1), 2u); // a broken end is taken whole

    AVDictionary* tags = nullptr;
    av_dict_set(&tags, "title", "short", 0);
    av_dict_set(&tags, "comment", std::string(conv::kMaxShortUtf16Units + 1, 'x').c_str(), 0);
    EXPECT_EQ(conv::CutToShortUtf16(&tags), std::vector<std::string>{"comment"});
    EXPECT_EQ(TagOf(tags, "comment").size(), conv::kMaxShortUtf16Units);
    EXPECT_EQ(TagOf(tags, "title"), "short");
    av_dict_free(&tags);
}

TEST(ConvTagText, TheRecordingsTagsWithoutTheOldContainers) {
    AVDictionary* file = nullptr;
    AVDictionary* stream = nullptr;
    av_dict_set(&file, "title", "From the file", 0);
    av_dict_set(&file, "major_brand", "M4A ", 0);
    av_dict_set(&file, "encoder", "Lavf", 0);
    av_dict_set(&stream, "TITLE", "From the stream", 0);
    av_dict_set(&stream, "ARTIST", "Only on the stream", 0);
    av_dict_set(&stream, "handler_name", "SoundHandler", 0);
    av_dict_set(&stream, "language", "und", 0);
    av_dict_set(&stream, "iTunSMPB", "00000000 00000840", 0);
    av_dict_set(&stream, "DURATION", "00:00:01.000", 0);
    av_dict_set(&file, "TLEN", "1000", 0);
    av_dict_set(&stream, "METADATA_BLOCK_PICTURE", "AAAA", 0);
    av_dict_set(&stream, "REPLAYGAIN_TRACK_GAIN", "-3.2 dB", 0);
    const conv::DictPtr tags = conv::RecordingTags(file, stream);
    Tags kept;
    const AVDictionaryEntry* entry = nullptr;
    while ((entry = av_dict_get(tags.get(), "", entry, AV_DICT_IGNORE_SUFFIX)))
        kept.emplace(Lower(entry->key), entry->value);
    EXPECT_EQ(kept, (Tags{{"title", "From the file"},
                          {"artist", "Only on the stream"},
                          {"replaygain_track_gain", "-3.2 dB"}}));
    av_dict_set(&stream, "language", "isl", 0);
    EXPECT_EQ(TagOf(conv::RecordingTags(file, stream).get(), "language"), "isl");
    av_dict_free(&file);
    av_dict_free(&stream);
}

namespace {

// Attached pictures on a context of their own.
class PictureSet {
public:
    PictureSet() : context_(avformat_alloc_context()) {}
    ~PictureSet() { avformat_free_context(context_); }
    PictureSet(const PictureSet&) = delete;
    PictureSet& operator=(const PictureSet&) = delete;

    void add(AVCodecID codec, const char* kind, std::size_t bytes, const char* caption = "") {
        AVStream* stream = avformat_new_stream(context_, nullptr);
        stream->codecpar->codec_type = AVMEDIA_TYPE_VIDEO;
        stream->codecpar->codec_id = codec;
        stream->codecpar->width = 16;
        stream->codecpar->height = 9;
        stream->disposition = AV_DISPOSITION_ATTACHED_PIC;
        ASSERT_EQ(av_new_packet(&stream->attached_pic, static_cast<int>(bytes)), 0);
        for (std::size_t i = 0; i < bytes; ++i)
            stream->attached_pic.data[i] = static_cast<std::uint8_t>(i);
        if (kind)
            av_dict_set(&stream->metadata, "comment", kind, 0);
        av_dict_set(&stream->metadata, "title", caption, 0);
    }
    [[nodiscard]] std::vector<conv::Picture> pictures(int& unsupported) const {
        return conv::AttachedPictures(*context_, unsupported);
    }

private:
    AVFormatContext* context_;
};

std::vector<int> Kinds(const std::vector<conv::Picture>& pictures) {
    std::vector<int> kinds;
    for (const auto& p : pictures)
        kinds.push_back(p.type);
    return kinds;
}

} // namespace

TEST(ConvPictures, EachOutputKeepsWhatItCan) {
    PictureSet set;
    set.add(AV_CODEC_ID_PNG, "Cover (back)", 10);
    set.add(AV_CODEC_ID_MJPEG, "cover (FRONT)", 10);
    set.add(AV_CODEC_ID_H264, "Cover (front)", 10); // no image format a tag can name
    set.add(AV_CODEC_ID_PNG, nullptr, 10);          // says nothing: a front cover
    set.add(AV_CODEC_ID_PNG, "Leaflet page", conv::kMaxFlacBlock);
    int unsupported = 0;
    const std::vector<conv::Picture> all = set.pictures(unsupported);
    EXPECT_EQ(unsupported, 1);
    EXPECT_EQ(Kinds(all), (std::vector<int>{4, 3, 3, 5}));
    EXPECT_EQ(all[0].mime, "image/png");
    EXPECT_EQ(all[1].mime, "image/jpeg");

    std::vector<std::string> notes;
    const auto kept = [&](const char* output) {
        notes.clear();
        return Kinds(conv::PicturesFor(*conv::FindFormat(output), all, unsupported, notes));
    };
    EXPECT_EQ(kept("x.mp3"), (std::vector<int>{4, 3, 3}));
    EXPECT_EQ(notes, (std::vector<std::string>{
                         "note: 1 picture is in a format MP3 cannot hold, and left out",
                         "note: 1 picture is larger than 16 MiB, and left out"}));
    EXPECT_EQ(kept("x.flac"), (std::vector<int>{4, 3, 3}));
    // OGG keeps one: the first front cover.
    EXPECT_EQ(kept("x.ogg"), std::vector<int>{3});
    ASSERT_EQ(notes.size(), 3u);
    EXPECT_EQ(notes[2], "note: OGG keeps one picture; 2 others are left out");
    for (const char* none : {"x.wma", "x.wav", "x.aac"}) {
        EXPECT_EQ(kept(none), std::vector<int>{}) << none;
        EXPECT_TRUE(notes.empty()) << none;
    }

    // Without a front cover OGG keeps the first picture.
    PictureSet back;
    back.add(AV_CODEC_ID_PNG, "Cover (back)", 4);
    back.add(AV_CODEC_ID_PNG, "Other", 4);
    EXPECT_EQ(
        Kinds(conv::PicturesFor(*conv::FindFormat("x.ogg"), back.pictures(unsupported), 0, notes)),
        std::vector<int>{4});
}

TEST(ConvPictures, TheFlacBlockLaysOutEveryField) {
    PictureSet set;
    set.add(AV_CODEC_ID_PNG, "Cover (back)", 3, "Rück");
    int unsupported = 0;
    const std::vector<conv::Picture> pictures = set.pictures(unsupported);
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(conv::FlacPictureBlock(pictures[0]),
              Be32(4) + Be32(9) + "image/png" + Be32(5) + "Rück" + Be32(16) + Be32(9) + Be32(0) +
                  Be32(0) + Be32(3) + std::string("\0\1\2", 3));
    EXPECT_EQ(conv::Base64(std::string("\0\1\2\3", 4)), "AAECAw==");
}
