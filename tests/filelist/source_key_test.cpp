// A source's name in a library, and the share of a shard it falls in.
#include "core/files/source_key.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

TEST(SourceKey, IsThePathBelowTheFolderWhereverTheLibraryIsMounted) {
    EXPECT_EQ(SourceKey("/mnt/nas/music/Artist/01.flac", "/mnt/nas/music"), "Artist/01.flac");
    EXPECT_EQ(SourceKey("/home/ann/music//Artist/01.flac", "/home/ann/music/"), "Artist/01.flac");
    EXPECT_EQ(SourceKey("music/Artist/01.flac", "music"), "Artist/01.flac");
    // A file added on its own, or one whose folder is only a prefix of the name: its name.
    EXPECT_EQ(SourceKey("/tmp/song.wav", ""), "song.wav");
    EXPECT_EQ(SourceKey("/mnt/music2/a.flac", "/mnt/music"), "a.flac");
    EXPECT_EQ(SourceKey("/mnt/music", "/mnt/music"), "music");
}

// Runs of different builds and machines must agree on every share, or a source is converted
// twice or never: the shares of a few keys are pinned.
TEST(ShareOf, IsFixedForAKeyAndSpreadsALibraryEvenly) {
    EXPECT_EQ(ShareOf("Artist/Album/01 Song.flac", 1), 1);
    EXPECT_EQ(ShareOf("", 5), ShareOf("", 5));
    const std::array<int, 4> pinned = {ShareOf("a.wav", 7), ShareOf("b/c.flac", 7),
                                       ShareOf("Ünïcode/ß.ogg", 7), ShareOf("x", 1000000)};
    EXPECT_EQ(pinned, (std::array<int, 4>{4, 4, 5, 347272}));

    std::array<int, 4> counts = {};
    for (int i = 0; i < 4000; ++i) {
        const int share =
            ShareOf("Album " + std::to_string(i / 12) + "/" + std::to_string(i % 12) + ".flac", 4);
        ASSERT_GE(share, 1);
        ASSERT_LE(share, 4);
        ++counts[static_cast<std::size_t>(share - 1)];
    }
    for (const int count : counts)
        EXPECT_NEAR(count, 1000, 150);
}

} // namespace
