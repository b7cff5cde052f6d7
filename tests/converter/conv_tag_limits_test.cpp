// Hostile tags: floods of them, text no container can hold as it is, and text that tries to
// pass for the converter's own lines.
#include "conv_test_support.h"

#include "converter/formats.h"
#include "converter/tags.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <utility>

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
// A flood of them converts in little memory in every container family: the rest are not even
// read, as the libraries file each tag with a search through those before it. Containers
// without tags get none, and no note.
TEST(ConvTagLimits, TagsBeyondTheLimitsAreLeftOutWithANote) {
    std::string frames = Id3Frame("TSSE", "\x03x"), metadata = ";FFMETADATA1\n";
    for (const std::string& field : NumberedFields(5000)) {
        frames += Id3Frame("TXXX", '\x03' + field.substr(0, field.find('=')) + '\0' + "v");
        metadata += field + "\n";
    }
    const std::string mp3 = Shared().file("flood.mp3"), meta = Shared().file("meta.txt");
    WriteFile(mp3, Id3Tag(frames) +
                       ReadFile(Made("plain.mp3", "sine=duration=0.5", {"-id3v2_version", "0"})));
    WriteFile(meta, metadata);
    const auto ogg = [&](const char* name, const char* codec) {
        return Made(name, "sine=duration=0.5", {"-i", meta, "-map_metadata", "1", "-c:a", codec});
    };
    const std::string beyond = " are beyond the first 1000 tags or 1 MiB of tag text, and left out";
    // Each flood starts with an encoder tag, which is not carried (ffmpeg writes it into OGG):
    // when only the first 1000 tags are read, one fewer is kept than when all are.
    std::vector<std::string> flood = NumberedFields(100000);
    flood.insert(flood.begin(), "ENCODER=x");
    const struct {
        std::string source;
        int kept;
        std::string note;
    } cases[] = {
        {Input("many.flac", NumberedFields(1500)), 1000, "note: 500 tags" + beyond},
        // 34 of 30 kB fit in 1 MiB.
        {Input("large.flac", NumberedFields(40, std::string(30000, 'x'))), 34,
         "note: 6 tags" + beyond},
        {Input("within.flac", NumberedFields(1000)), 1000, ""},
        {Input("flood.flac", flood), 999, "note: 99001 tags" + beyond},
        {mp3, 999, "note: 4001 tags" + beyond}, // the frames past those read count as padding
        {ogg("flood.ogg", "libvorbis"), 999, "note: 4001 tags" + beyond},
        {ogg("flood.opus", "libopus"), 999, "note: 4001 tags" + beyond}};
    ScratchDir out;
    for (const auto& c : cases) {
        for (const std::string name : {"x.flac", "x.mp3", "x.ogg", "x.wma", "x.ac3"}) {
            SCOPED_TRACE(c.source + " to " + name);
            const RunResult r = RunConv({"-i", c.source, "-y", out.file(name)});
            ASSERT_EQ(r.exitCode, 0) << r.output;
            EXPECT_LT(r.peakKb, PeakLimitKb(150));
            const bool holds = name != "x.ac3";
            // Read by another process: this one's peak would be the next run's floor.
            const FfprobeTags read = ReadTagsWithFfprobe(out.file(name));
            EXPECT_TRUE(read.clean) << read.complaints;
            EXPECT_EQ(CountNumbered(read.tags), holds ? c.kept : 0);
            EXPECT_TRUE(Contains(r.output, " time=0.50 ")) << "the audio after the tags is read";
            EXPECT_EQ(Contains(r.output, "left out"), holds && !c.note.empty()) << r.output;
            EXPECT_EQ(Contains(r.output, c.note), holds || c.note.empty()) << r.output;
        }
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

// A Vorbis comment's name ends at its first '=', and a name is kept once in any letter case:
// the first wins, as the file's tags come before the stream's.
TEST(TagsForOutput, NamesFitTheContainer) {
    AVDictionary* file = nullptr;
    for (const char* key : {"a=b", "Title", "TITLE"})
        av_dict_set(&file, key, key, AV_DICT_MULTIKEY);
    AVDictionary* stream = nullptr;
    av_dict_set(&stream, "title", "stream", 0);
    const conv::DictPtr owned(file), ownedStream(stream);
    for (const auto& [output, name] :
         {std::pair{"x.ogg", "a_b"}, {"x.flac", "a_b"}, {"x.mp3", "a=b"}}) {
        std::vector<std::string> kept;
        for (const conv::Tag& tag :
             conv::TagsForOutput(*conv::FindFormat(output), file, stream).tags)
            kept.push_back(tag.key + ":" + tag.value);
        EXPECT_EQ(kept, (std::vector<std::string>{name + std::string(":a=b"), "Title:Title"}))
            << output;
    }
}
