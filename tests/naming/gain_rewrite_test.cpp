// Album gains written into finished files: tags only, in one step, and never through a link.
#include "core/files/gain_rewrite.h"

#include "converter/conv_test_support.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <filesystem>

using namespace convtest;

namespace {

struct stat StatOf(const std::string& path) {
    struct stat st = {};
    EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
    return st;
}

gain_tags::GainValues Album(double lufs, double peak) {
    gain_tags::GainValues values;
    values.album = gain_tags::Measured{lufs, peak};
    return values;
}

} // namespace

TEST(GainRewrite, AlbumTagsGoInAndNothingElseChanges) {
    const struct {
        const char* name;
        const char* key;
        const char* value;
    } files[] = {{"a.mp3", "replaygain_album_gain", "-8.00 dB"},
                 {"a.flac", "replaygain_album_gain", "-8.00 dB"},
                 {"a.ogg", "replaygain_album_gain", "-8.00 dB"},
                 {"a.m4a", "replaygain_album_gain", "-8.00 dB"},
                 {"a.wma", "replaygain_album_gain", "-8.00 dB"},
                 {"a.opus", "r128_album_gain", "-3328"}};
    for (const auto& file : files) {
        SCOPED_TRACE(file.name);
        ScratchDir dir;
        const std::string path = dir.file(file.name);
        ASSERT_TRUE(Ffmpeg({"-f", "lavfi", "-i", "sine=duration=1", "-ac", "2", "-metadata",
                            "title=Kept", "-metadata", "album=Kept too", path}));
        const MediaInfo before = Probe(path);
        ASSERT_TRUE(before.ok);
        ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
        const timespec past[2] = {{1000000000, 5}, {1000000000, 7}};
        ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), past, 0), 0);
        const struct stat old = StatOf(path);

        const auto error = RewriteGainTags(path, Album(-10.0, 0.5));
        ASSERT_FALSE(error) << *error;

        const MediaInfo after = Probe(path);
        EXPECT_EQ(after.samples, before.samples);
        EXPECT_EQ(after.tags.count(file.key) ? after.tags.at(file.key) : "(none)", file.value);
        EXPECT_EQ(after.tags.at("title"), "Kept");
        const struct stat now = StatOf(path);
        EXPECT_NE(now.st_ino, old.st_ino); // a new file took the name
        EXPECT_EQ(now.st_mode & 07777, 0640u);
        EXPECT_EQ(now.st_mtim.tv_sec, old.st_mtim.tv_sec);
        EXPECT_EQ(now.st_mtim.tv_nsec, old.st_mtim.tv_nsec);
        EXPECT_EQ(dir.entries(), std::vector<std::string>{file.name});
    }
}

TEST(GainRewrite, ALinkOrAFileWithoutTagsIsLeftAsItWas) {
    ScratchDir dir;
    const std::string target = dir.file("target.flac");
    ASSERT_TRUE(Ffmpeg({"-f", "lavfi", "-i", "sine=duration=1", target}));
    const std::string before = ReadFile(target);
    std::filesystem::create_symlink(target, dir.file("link.flac"));
    const auto linked = RewriteGainTags(dir.file("link.flac"), Album(-10.0, 0.5));
    ASSERT_TRUE(linked);
    EXPECT_EQ(ReadFile(target), before);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.flac")));

    WriteFile(dir.file("notes.mp3"), "not audio at all");
    const auto refused = RewriteGainTags(dir.file("notes.mp3"), Album(-10.0, 0.5));
    ASSERT_TRUE(refused);
    EXPECT_EQ(ReadFile(dir.file("notes.mp3")), "not audio at all");
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"link.flac", "notes.mp3", "target.flac"}));
}
