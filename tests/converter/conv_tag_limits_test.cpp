// Hostile tags: floods of them, text no container can hold as it is, and text that tries to
// pass for the converter's own lines.
#include "conv_test_support.h"

#include "converter/decoder.h"
#include "converter/fd_io.h"
#include "converter/formats.h"
#include "converter/tags.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <utility>

#include <fcntl.h>

extern "C" {
#include <libavutil/dict.h>
}

using namespace convtest;
using namespace std::string_literals;

namespace {

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

std::string Plain() {
    return Made("plain.flac", "sine=duration=0.5");
}

// A FLAC file whose Vorbis comment holds exactly these "NAME=value" fields, byte for byte:
// ffmpeg would not write everything a hostile file can hold.
std::string Input(const std::string& name, const std::vector<std::string>& fields) {
    std::string comment = Le32(4) + "test" + Le32(fields.size());
    for (const std::string& field : fields)
        comment += Le32(field.size()) + field;
    WriteFile(Shared().file(name), FlacWithBlocks(ReadFile(Plain()), {{4, comment}}));
    return Shared().file(name);
}

} // namespace

// Beyond 1000 tags or 1 MiB of their text, the rest are left out, and a note says how many.
// Containers without tags get none, and no note.
TEST(ConvTagLimits, TagsBeyondTheLimitsAreLeftOutWithANote) {
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
        const std::string source = Input(c.name, c.fields);
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
TEST(ConvTagLimits, HundredThousandTagsConvert) {
    ScratchDir out;
    const std::string source = Input("flood.flac", NumberedFields(100000));
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
                        Shared().file("plain.mp3")}));
    WriteFile(Shared().file("flood.mp3"), Id3Tag(frames) + ReadFile(Shared().file("plain.mp3")));
    std::string metadata = ";FFMETADATA1\n";
    for (const std::string& field : NumberedFields(5000))
        metadata += field + "\n";
    WriteFile(Shared().file("meta.txt"), metadata);
    Input("flood.flac", NumberedFields(5000));
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
        const std::string path = Shared().file(name);
        if (codec) {
            ASSERT_TRUE(
                Ffmpeg({"-f", "lavfi", "-i", "sine=duration=0.5", "-i", Shared().file("meta.txt"),
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

// Another reader finds every tag as written. WMA holds 64 KiB of UTF-16 in a name or a value
// and cuts there, never within a character or a surrogate pair; no container gets broken UTF-8
// (WMA would turn it into broken UTF-16).
TEST(ConvTagLimits, EveryOutputReadsBackInAnotherReader) {
    const std::string longKey = Repeat("K", 40000), umlautKey = Repeat("\xC3\xBC", 40000);
    const std::string umlauts = Repeat("ü", 40000), notes = Repeat("🎵", 20000);
    const std::string replaced = "\xEF\xBF\xBD";
    const std::string source =
        Input("hostile.flac", {longKey + "=one", umlautKey + "=two",
                               "TITLE=a\xFF"
                               "b\xED\xA0\x80"
                               "c\xF4\x90\x80\x80"
                               "d\xC0\xAF",
                               "ARTIST=Sigur R\xC3\xB3s \xF0\x9F\x8E\xB5", "A=B=c",
                               "COMMENT=" + umlauts, "LYRICIST=" + notes});
    // Key, value, and the value WMA keeps: 32766 units, as many umlauts, half as many notes.
    const std::tuple<std::string, std::string, std::string> expected[] = {
        {Repeat("k", 40000), "one", "one"},
        {umlautKey, "two", "two"},
        {"title", "a" + replaced + "b" + replaced + "c" + replaced + "d" + replaced, ""},
        {"artist", "Sigur R\xC3\xB3s \xF0\x9F\x8E\xB5", ""},
        {"a", "B=c", ""},
        {"comment", umlauts, umlauts.substr(0, 2 * 32766)},
        {"lyricist", notes, notes.substr(0, 4 * 16383)}};
    ScratchDir out;
    for (const std::string name : {"x.wma", "x.mp3", "x.ogg", "x.flac"}) {
        SCOPED_TRACE(name);
        const bool wma = name == "x.wma";
        const RunResult r = RunConv({"-i", source, "-y", out.file(name)});
        ASSERT_EQ(r.exitCode, 0) << r.output;
        const FfprobeTags read = ReadTagsWithFfprobe(out.file(name));
        EXPECT_TRUE(read.clean) << read.complaints;
        for (const auto& [key, value, inWma] : expected) {
            // The WMA reader keeps about the first kilobyte of a name.
            const auto found = std::find_if(read.tags.begin(), read.tags.end(), [&](auto& tag) {
                return tag.first == key || (wma && tag.first.size() >= 1000 &&
                                            tag.first.compare(0, 1000, key, 0, 1000) == 0);
            });
            EXPECT_TRUE(found != read.tags.end() &&
                        found->second == (wma && !inWma.empty() ? inWma : value))
                << key.substr(0, 20) << " (" << key.size() << " bytes)";
        }
        EXPECT_EQ(read.tags.size(), std::size(expected) + 1); // and the writer's own "encoder"
        // ffprobe shows broken UTF-8 as U+FFFD itself: the bytes are checked here.
        EXPECT_EQ(Probe(out.file(name)).tags["title"], std::get<1>(expected[2]));
        for (const std::string& shown : {Repeat("K", 60), Repeat("\xC3\xBC", 30), "COMMENT"s})
            EXPECT_EQ(Contains(r.output, "note: WMA holds at most 64 KiB of text in a tag; the " +
                                             shown + (shown == "COMMENT" ? "" : "\xE2\x80\xA6") +
                                             " tag is cut there"),
                      wma)
                << r.output;
    }
}

// A tag name quoted in a note cannot add a line of its own (a false warning the window
// would show), nor send control sequences to a terminal.
TEST(ConvTagLimits, TagTextInNotesStaysOnItsLine) {
    // MP3 keeps a name's letter case, as the window's parser would see it.
    const std::string forged = "conv: /a.mp3: warning: x";
    const std::string key = "X\n" + forged + "\r" + forged + "\x1B[2J\xC2\x9B" + "31m";
    ScratchDir out;
    ASSERT_TRUE(Ffmpeg(
        {"-i", Plain(), "-metadata", key + "=" + std::string(70000, 'v'), out.file("forged.mp3")}));
    const RunResult r = RunConv({"-i", out.file("forged.mp3"), "-y", out.file("x.wma")});
    ASSERT_EQ(r.exitCode, 0) << r.output;
    EXPECT_TRUE(Contains(r.output, "the X\\x0A" + forged + "\\x0D" + forged +
                                       "\\x1B[2J\\xC2\\x9B31m tag is cut there"))
        << r.output;
    for (const std::string& raw :
         {"\n" + forged, "\r" + forged, std::string("\x1B"), std::string("\xC2\x9B")})
        EXPECT_FALSE(Contains(r.output, raw)) << r.output;
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
