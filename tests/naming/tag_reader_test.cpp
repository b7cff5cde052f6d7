#include "core/naming/tag_reader.h"

#include "converter/conv_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <sys/stat.h>

using convtest::Made;
using convtest::Shared;

namespace {

const std::string kTitle = "T\xC3\xA9st \xE6\x97\xA5\xE6\x9C\xAC"; // "Tést" and two CJK characters

std::vector<std::string> TagArgs() {
    return {"-metadata", "artist=AC/DC",    "-metadata", "album_artist=Various",
            "-metadata", "album=Attack",    "-metadata", "title=" + kTitle,
            "-metadata", "track=2/9",       "-metadata", "disc=1/2",
            "-metadata", "date=1999-05-01", "-metadata", "genre=Rock"};
}

std::vector<std::string> Plus(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::string Tagged(const std::string& ext, const std::vector<std::string>& codec) {
    return Made("tagged." + ext, "sine=duration=1", Plus(codec, TagArgs()));
}

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Write(const std::string& name, const std::string& bytes) {
    const std::string path = Shared().file(name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

struct Format {
    std::string ext;
    std::vector<std::string> codec;
};

const std::vector<Format>& Formats() {
    static const std::vector<Format> formats = {{"mp3", {"-c:a", "libmp3lame"}},
                                                {"flac", {"-c:a", "flac"}},
                                                {"ogg", {"-c:a", "libvorbis"}},
                                                {"m4a", {"-c:a", "aac"}}};
    return formats;
}

TEST(TagReaderTest, ReadsEveryFieldOfEachFormat) {
    for (const Format& format : Formats()) {
        SCOPED_TRACE(format.ext);
        const auto tags = ReadTrackTags(Tagged(format.ext, format.codec));
        ASSERT_TRUE(tags.has_value());
        EXPECT_EQ(tags->artist, "AC/DC");
        EXPECT_EQ(tags->albumArtist, "Various");
        EXPECT_EQ(tags->album, "Attack");
        EXPECT_EQ(tags->title, kTitle);
        EXPECT_EQ(tags->track, "2/9");
        EXPECT_EQ(tags->disc, "1/2");
        EXPECT_EQ(tags->date, "1999-05-01");
        EXPECT_EQ(tags->genre, "Rock");
    }
}

TEST(TagReaderTest, PlayingTimeOfEachFormatAndNothingForWhatIsNotMedia) {
    for (const Format& format : Formats()) {
        SCOPED_TRACE(format.ext);
        const auto seconds =
            ReadPlayingSeconds(Made("long." + format.ext, "sine=duration=7", format.codec));
        ASSERT_TRUE(seconds.has_value());
        EXPECT_NEAR(*seconds, 7.0, 0.2);
    }
    EXPECT_NEAR(ReadPlayingSeconds(Made("long.wav", "sine=duration=7")).value_or(0), 7.0, 0.01);
    EXPECT_FALSE(ReadPlayingSeconds(Write("text.mp3", "just some words, no audio\n")));
    EXPECT_FALSE(ReadPlayingSeconds(Shared().file("missing.flac")));
    const std::string fifo = Shared().file("pipe.flac");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(ReadPlayingSeconds(fifo)) << "a fifo is never read";
}

TEST(TagReaderTest, NothingForFilesWithoutTagsOrNotMedia) {
    std::vector<std::pair<std::string, std::string>> cases;
    for (const Format& format : Formats()) {
        cases.emplace_back("untagged " + format.ext,
                           Made("untagged." + format.ext, "sine=duration=1",
                                Plus(format.codec, {"-map_metadata", "-1"})));
    }
    cases.emplace_back("text", Write("notes.txt", "artist=AC/DC\n"));
    cases.emplace_back("text named as MP3", Write("notes.mp3", "ID3 artist=AC/DC\n"));
    cases.emplace_back("empty file", Write("empty.flac", ""));
    cases.emplace_back("missing file", Shared().file("missing.mp3"));
    cases.emplace_back("folder", Shared().path());
    cases.emplace_back("empty path", "");
    // A fifo would block TagLib until something writes to it.
    const std::string fifo = Shared().file("fifo.mp3");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    cases.emplace_back("fifo", fifo);
    for (const auto& [what, path] : cases)
        EXPECT_FALSE(ReadTrackTags(path).has_value()) << what;
}

TEST(TagReaderTest, TruncatedFilesKeepTheirTagsOrGiveNothing) {
    // The FLAC tags sit in metadata blocks in front of the audio, so a cut in the audio keeps
    // them; a cut inside the tags leaves no file TagLib accepts.
    const std::string whole = Bytes(Tagged("flac", {"-c:a", "flac"}));
    std::size_t blocksEnd = 4;
    for (bool last = false; !last && blocksEnd + 4 <= whole.size();) {
        const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(whole[i]); };
        last = (byte(blocksEnd) & 0x80) != 0;
        blocksEnd += 4 + (std::size_t{byte(blocksEnd + 1)} << 16 |
                          std::size_t{byte(blocksEnd + 2)} << 8 | byte(blocksEnd + 3));
    }
    ASSERT_LT(blocksEnd + 100, whole.size());
    const auto keeps = ReadTrackTags(Write("cut-audio.flac", whole.substr(0, blocksEnd + 100)));
    ASSERT_TRUE(keeps.has_value());
    EXPECT_EQ(keeps->artist, "AC/DC");
    const std::size_t inTags = whole.find("Attack");
    ASSERT_NE(inTags, std::string::npos);
    EXPECT_FALSE(ReadTrackTags(Write("cut-tags.flac", whole.substr(0, inTags))));

    // Cuts at every length through the start of each format: tags read back are never
    // garbled, only complete or absent.
    for (const Format& format : Formats()) {
        const std::string bytes = Bytes(Tagged(format.ext, format.codec));
        for (std::size_t length = 0; length < bytes.size(); length += 97) {
            const auto tags = ReadTrackTags(Write("cut." + format.ext, bytes.substr(0, length)));
            if (tags && !tags->artist.empty()) {
                EXPECT_EQ(tags->artist, "AC/DC") << format.ext << " cut at " << length;
            }
        }
    }
}

TEST(TagReaderTest, DescribeSourceSplitsThePath) {
    struct Case {
        std::string input, root;
        std::string name, stem, folder;
    };
    const std::vector<Case> cases = {
        {"/m/in/rock/70s/01. The Testers - Song.flac", "/m/in", "01", "01. The Testers - Song",
         "rock/70s"},
        {"/m/in/a.flac", "/m/in/", "a", "a", ""},
        {"/m/in/x/a.flac", "", "a", "a", ""},
        {"/m/other/x/a.flac", "/m/in", "a", "a", ""},
        {"/m/in2/x/a.flac", "/m/in", "a", "a", ""},
        {"/m/in/./x//y/a.b.c", "/m/in", "a", "a.b", "x/y"},
        {"/m/in/../etc/a.flac", "/m/in", "a", "a", ""},
        {"/m/in/x/.hidden", "/m/in", "", ".hidden", "x"},
        {"/m/in/x/noext", "/m/in", "noext", "noext", "x"},
        {"in/x/a.mp3", "in", "a", "a", "x"},
        {"in/x/a.mp3", "/in", "a", "a", ""},
        {"/in/x/a.mp3", "in", "a", "a", ""},
        {"", "/in", "", "", ""},
    };
    for (const Case& c : cases) {
        const NameSource source = DescribeSource(c.input, c.root);
        EXPECT_EQ(source.name, c.name) << c.input;
        EXPECT_EQ(source.stem, c.stem) << c.input;
        EXPECT_EQ(source.folder, c.folder) << c.input << " below " << c.root;
        EXPECT_TRUE(source.tags.artist.empty() && source.tags.title.empty()) << c.input;
    }
}

TEST(TagReaderTest, DescribeSourceReadsTheTags) {
    const std::string path = Tagged("mp3", {"-c:a", "libmp3lame"});
    const NameSource source = DescribeSource(path, Shared().path());
    EXPECT_EQ(source.name, "tagged");
    EXPECT_EQ(source.folder, "");
    EXPECT_EQ(source.tags.artist, "AC/DC");
    const auto pattern = NamePattern::Parse("{artist}/{album}/{track} - {title}");
    ASSERT_TRUE(pattern.has_value());
    EXPECT_EQ(pattern->Render(source, 10),
              (std::vector<std::string>{"AC-DC", "Attack", "02 - " + kTitle}));
}

} // namespace
