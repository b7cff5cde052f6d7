// Hostile tags: floods of them, text no container can hold as it is, and text that tries to
// pass for the converter's own lines.
#include "conv_test_support.h"

#include "converter/decoder.h"
#include "converter/fd_io.h"
#include "converter/formats.h"
#include "converter/tags.h"
#include "converter/utf8_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <utility>

#include <fcntl.h>

extern "C" {
#include <libavutil/dict.h>
#include <libavutil/log.h>
}

using namespace convtest;

namespace {

std::string Le32(std::size_t v) {
    return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
            static_cast<char>(v >> 24)};
}

// A FLAC file like `plain` whose Vorbis comment holds exactly these "NAME=value" fields, byte
// for byte: ffmpeg would not write everything a hostile file can hold.
std::string FlacWithComments(const std::string& plain, const std::vector<std::string>& fields) {
    std::string body = Le32(4) + "test" + Le32(fields.size());
    for (const std::string& field : fields)
        body += Le32(field.size()) + field;
    std::vector<std::pair<int, std::string>> blocks;
    std::size_t pos = 4;
    for (bool last = false; !last;) {
        const auto header = static_cast<unsigned char>(plain.at(pos));
        const std::size_t length = static_cast<unsigned char>(plain.at(pos + 1)) << 16 |
                                   static_cast<unsigned char>(plain.at(pos + 2)) << 8 |
                                   static_cast<unsigned char>(plain.at(pos + 3));
        last = (header & 0x80) != 0;
        if ((header & 0x7F) != 4) // an earlier comment
            blocks.emplace_back(header & 0x7F, plain.substr(pos + 4, length));
        pos += 4 + length;
    }
    blocks.insert(blocks.begin() + 1, {4, body}); // right after the stream information
    std::string file = "fLaC";
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const std::size_t size = blocks[i].second.size();
        file += static_cast<char>(blocks[i].first | (i + 1 == blocks.size() ? 0x80 : 0));
        file +=
            {static_cast<char>(size >> 16), static_cast<char>(size >> 8), static_cast<char>(size)};
        file += blocks[i].second;
    }
    return file + plain.substr(pos);
}

std::vector<std::string> NumberedFields(int count, const std::string& value = "v") {
    std::vector<std::string> fields;
    for (int i = 0; i < count; ++i)
        fields.push_back("KEY" + std::to_string(i) + "=" + value);
    return fields;
}

int CountNumbered(const std::map<std::string, std::string>& tags) {
    int count = 0;
    for (const auto& entry : tags)
        count += entry.first.starts_with("key") ? 1 : 0;
    return count;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::string Repeat(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += text;
    return out;
}

class ConvTagLimits : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        av_log_set_level(AV_LOG_QUIET);
        dir_ = std::make_unique<ScratchDir>();
        ASSERT_TRUE(Ffmpeg(
            {"-f", "lavfi", "-i", "sine=duration=0.5", "-ac", "2", dir_->file("plain.flac")}));
        plain_ = ReadFile(dir_->file("plain.flac"));
    }
    static void TearDownTestSuite() { dir_.reset(); }

    static std::string input(const std::string& name, const std::vector<std::string>& fields) {
        const std::string path = dir_->file(name);
        WriteFile(path, FlacWithComments(plain_, fields));
        return path;
    }

    static std::unique_ptr<ScratchDir> dir_;
    static std::string plain_;
};

std::unique_ptr<ScratchDir> ConvTagLimits::dir_;
std::string ConvTagLimits::plain_;

} // namespace

// Beyond 1000 tags or 1 MiB of their text, the rest are left out, and a note says how many.
// Containers without tags get none, and no note.
TEST_F(ConvTagLimits, TagsBeyondTheLimitsAreLeftOutWithANote) {
    const struct {
        const char* name;
        std::vector<std::string> fields;
        int kept;
        const char* note;
    } cases[] = {
        {"many.flac", NumberedFields(1500), 1000,
         "note: 500 tags are beyond the first 1000 tags or 1 MiB of tag text, and left out"},
        // 34 of 30 kB fit in 1 MiB.
        {"large.flac", NumberedFields(40, std::string(30000, 'x')), 34,
         "note: 6 tags are beyond the first 1000 tags or 1 MiB of tag text, and left out"},
        {"within.flac", NumberedFields(1000), 1000, nullptr},
    };
    ScratchDir out;
    for (const auto& c : cases) {
        const std::string source = input(c.name, c.fields);
        for (const std::string name : {"x.flac", "x.mp3", "x.ogg", "x.wma", "x.ac3"}) {
            SCOPED_TRACE(std::string(c.name) + " to " + name);
            const RunResult r = RunConv({"-i", source, "-y", out.file(name)});
            ASSERT_EQ(r.exitCode, 0) << r.output;
            const bool holds = name != "x.ac3";
            EXPECT_EQ(CountNumbered(Probe(out.file(name)).tags), holds ? c.kept : 0);
            EXPECT_EQ(Contains(r.output, "left out"), holds && c.note) << r.output;
            if (holds && c.note) {
                EXPECT_TRUE(Contains(r.output, c.note)) << r.output;
            }
        }
    }
}

// A flood of tags (a 1 MB file) converts: the libraries never see more than are carried, as
// they file each tag with a search through those before it.
TEST_F(ConvTagLimits, HundredThousandTagsConvert) {
    ScratchDir out;
    const std::string source = input("flood.flac", NumberedFields(100000));
    const RunResult r = RunConv({"-i", source, "-y", out.file("x.wma")});
    ASSERT_FALSE(r.timedOut);
    ASSERT_EQ(r.exitCode, 0) << r.output;
    EXPECT_TRUE(Contains(r.output, "note: 99000 tags are beyond the first 1000 tags")) << r.output;
    const FfprobeTags read = ReadTagsWithFfprobe(out.file("x.wma"));
    EXPECT_TRUE(read.clean) << read.complaints;
    EXPECT_EQ(CountNumbered(read.tags), 1000);

    // The same in ID3 (the frames past those carried read as padding) and in OGG.
    std::string frames;
    for (const std::string& field : NumberedFields(5000))
        frames += Id3Frame("TXXX", '\x03' + field.substr(0, field.find('=')) + '\0' + "v");
    ASSERT_TRUE(Ffmpeg({"-f", "lavfi", "-i", "sine=duration=0.5", "-id3v2_version", "0",
                        dir_->file("plain.mp3")}));
    WriteFile(dir_->file("flood.mp3"), Id3Tag(frames) + ReadFile(dir_->file("plain.mp3")));
    std::string metadata = ";FFMETADATA1\n";
    for (const std::string& field : NumberedFields(5000))
        metadata += field + "\n";
    WriteFile(dir_->file("meta.txt"), metadata);
    input("flood.flac", NumberedFields(5000));
    // ffmpeg adds a comment of its own to those in OGG.
    const struct {
        const char* name;
        std::size_t hidden;
        const char* codec; // made by ffmpeg
    } floods[] = {{"flood.flac", 4000, nullptr},
                  {"flood.mp3", 4000, nullptr},
                  {"flood.ogg", 4001, "libvorbis"},
                  {"flood.opus", 4001, "libopus"},
                  {"flood.oga", 4001, "flac"}};
    for (const auto& [name, hidden, codec] : floods) {
        SCOPED_TRACE(name);
        const std::string path = dir_->file(name);
        if (codec) {
            ASSERT_TRUE(
                Ffmpeg({"-f", "lavfi", "-i", "sine=duration=0.5", "-i", dir_->file("meta.txt"),
                        "-map_metadata", "1", "-c:a", codec, path}));
        }
        const conv::UniqueFd fd(::open(path.c_str(), O_RDONLY));
        conv::InputFile file;
        ASSERT_FALSE(file.open(name, fd.get()));
        EXPECT_EQ(av_dict_count(file.formatTags()) + av_dict_count(file.streamTags()), 1000);
        EXPECT_EQ(file.tagsNotRead(), hidden);
        EXPECT_NEAR(static_cast<double>(file.durationUs()) / 1e6, 0.5, 0.1) << "the rest is read";
    }
}

// Another reader finds every tag as written: WMA cuts names as well as values to its 16-bit
// lengths, and no container gets broken UTF-8 (WMA would turn it into broken UTF-16).
TEST_F(ConvTagLimits, EveryOutputReadsBackInAnotherReader) {
    const std::string longKey = Repeat("K", 40000), umlautKey = Repeat("\xC3\xBC", 40000);
    const std::string replaced = "\xEF\xBF\xBD";
    const std::string source =
        input("hostile.flac", {longKey + "=one", umlautKey + "=two",
                               "TITLE=a\xFF"
                               "b\xED\xA0\x80"
                               "c\xF4\x90\x80\x80"
                               "d\xC0\xAF",
                               "ARTIST=Sigur R\xC3\xB3s \xF0\x9F\x8E\xB5", "A=B=c"});
    const std::map<std::string, std::string> expected = {
        {Repeat("k", 40000), "one"},
        {umlautKey, "two"},
        {"title", "a" + replaced + "b" + replaced + "c" + replaced + "d" + replaced},
        {"artist", "Sigur R\xC3\xB3s \xF0\x9F\x8E\xB5"},
        {"a", "B=c"}};
    ScratchDir out;
    for (const std::string name : {"x.wma", "x.mp3", "x.ogg", "x.flac"}) {
        SCOPED_TRACE(name);
        const bool wma = name == "x.wma";
        const RunResult r = RunConv({"-i", source, "-y", out.file(name)});
        ASSERT_EQ(r.exitCode, 0) << r.output;
        const FfprobeTags read = ReadTagsWithFfprobe(out.file(name));
        EXPECT_TRUE(read.clean) << read.complaints;
        for (const auto& [key, value] : expected) {
            // The WMA reader keeps about the first kilobyte of a name.
            const auto found = std::find_if(read.tags.begin(), read.tags.end(), [&](auto& tag) {
                return tag.first == key || (wma && tag.first.size() >= 1000 &&
                                            tag.first.compare(0, 1000, key, 0, 1000) == 0);
            });
            EXPECT_TRUE(found != read.tags.end() && found->second == value)
                << key.substr(0, 20) << " (" << key.size() << " bytes)";
        }
        EXPECT_EQ(read.tags.size(), expected.size() + 1); // and the writer's own "encoder"
        // ffprobe shows broken UTF-8 as U+FFFD itself: the bytes are checked here.
        EXPECT_EQ(Probe(out.file(name)).tags["title"], expected.at("title"));
        for (const std::string& shown : {Repeat("K", 60), Repeat("\xC3\xBC", 30)})
            EXPECT_EQ(Contains(r.output, "note: WMA holds at most 64 KiB of text in a tag; the " +
                                             shown + "\xE2\x80\xA6 tag is cut there"),
                      wma)
                << r.output;
    }
}

// A tag name quoted in a note cannot add a line of its own (a false warning the window
// would show), nor send control sequences to a terminal.
TEST_F(ConvTagLimits, TagTextInNotesStaysOnItsLine) {
    // MP3 keeps a name's letter case, as the window's parser would see it.
    const std::string forged = "conv: /a.mp3: warning: x";
    const std::string key = "X\n" + forged + "\r" + forged + "\x1B[2J\xC2\x9B" + "31m";
    ScratchDir out;
    ASSERT_TRUE(Ffmpeg({"-i", dir_->file("plain.flac"), "-metadata",
                        key + "=" + std::string(70000, 'v'), out.file("forged.mp3")}));
    const RunResult r = RunConv({"-i", out.file("forged.mp3"), "-y", out.file("x.wma")});
    ASSERT_EQ(r.exitCode, 0) << r.output;
    EXPECT_TRUE(Contains(r.output, "the X\\x0A" + forged + "\\x0D" + forged +
                                       "\\x1B[2J\\xC2\\x9B31m tag is cut there"))
        << r.output;
    for (const std::string& raw :
         {"\n" + forged, "\r" + forged, std::string("\x1B"), std::string("\xC2\x9B")})
        EXPECT_FALSE(Contains(r.output, raw)) << r.output;
}

// Broken UTF-8 becomes one U+FFFD per broken sequence; valid text is kept byte for byte.
TEST(Utf8Text, BrokenSequencesAreReplaced) {
    const std::string r = "\xEF\xBF\xBD";
    const std::pair<std::string, std::string> cases[] = {
        {"Ágætis byrjun 日本 🎵", "Ágætis byrjun 日本 🎵"},
        {"a\xC3", "a" + r},                      // cut short at the end
        {"\xC3\x41", r + "A"},                   // a lead byte without its continuation
        {"\x80\x80x", r + "x"},                  // stray continuation bytes
        {"\xC0\xAF", r},                         // an overlong '/'
        {"\xE0\x80\xAF", r},                     // the same, three bytes long
        {"\xED\xA0\x80\xED\xB0\x80", r + r},     // surrogates written as UTF-8
        {"\xF4\x90\x80\x80", r},                 // past U+10FFFF
        {"\xF8\x88\x80\x80\x80", r},             // five bytes
        {"\xEF\xBF\xBD", "\xEF\xBF\xBD"},        // U+FFFD itself is fine
        {"\xF4\x8F\xBF\xBF", "\xF4\x8F\xBF\xBF"} // the last character
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(conv::ValidUtf8(in), out) << in;
}

// Names are made to fit each container, and kept once in any letter case: the first wins.
TEST(TagsForOutput, NamesFitTheContainer) {
    // Long names are compared by their length.
    const auto shown = [](const std::string& key) {
        return key.size() > 100 ? key.substr(0, 3) + "... " + std::to_string(key.size()) : key;
    };
    const std::string longKey(40000, 'k');
    AVDictionary* file = nullptr;
    for (const auto& [key, value] : {std::pair<std::string, std::string>{"a=b", "1"},
                                     {"Title", "first"},
                                     {"TITLE", "second"},
                                     {longKey, "v"},
                                     {"encoder", "Lavf"}})
        av_dict_set(&file, key.c_str(), value.c_str(), AV_DICT_MULTIKEY);
    AVDictionary* stream = nullptr;
    av_dict_set(&stream, "title", "third", 0);
    const conv::DictPtr owned(file), ownedStream(stream);
    const struct {
        const char* output;
        std::vector<std::string> keys;
        std::vector<std::string> cut;
    } cases[] = {
        {"x.ogg", {"a_b", "Title", "kkk... 40000"}, {}}, // a Vorbis comment's name ends at '='
        {"x.flac", {"a_b", "Title", "kkk... 40000"}, {}},
        {"x.mp3", {"a=b", "Title", "kkk... 40000"}, {}},
        {"x.wma", {"a=b", "Title", "kkk... 32766"}, {"kkk... 32766"}},
        {"x.ac3", {}, {}},
    };
    for (const auto& c : cases) {
        const conv::OutputTags got = conv::TagsForOutput(*conv::FindFormat(c.output), file, stream);
        std::vector<std::string> keys, cut;
        for (const conv::Tag& tag : got.tags)
            keys.push_back(shown(tag.key));
        for (const std::string& key : got.cut)
            cut.push_back(shown(key));
        EXPECT_EQ(keys, c.keys) << c.output;
        EXPECT_EQ(cut, c.cut) << c.output;
        if (!got.tags.empty()) {
            EXPECT_EQ(got.tags[1].value, "first") << c.output;
        }
    }
}
