#include <gtest/gtest.h>

#include <string>

#include "filelist/path_text.h"

using namespace std::string_literals;

TEST(ParsePath, WindowsFolderPartKeepsItsTrailingSeparator) {
    EXPECT_EQ(ParsePath("C:\\Music\\a.mp3", '\\'), "C:\\Music\\");
    EXPECT_EQ(ParsePath("\\\\server\\share\\Music\\a b.mp3", '\\'), "\\\\server\\share\\Music\\");
    EXPECT_EQ(ParsePath("C:\\Music\\", '\\'), "C:\\Music\\");
    EXPECT_EQ(ParsePath("C:a.mp3", '\\'), "C:");
    EXPECT_EQ(ParsePath("a.mp3", '\\'), "");
    EXPECT_EQ(ParsePath("", '\\'), "");
    // Forward slashes are no separator in this style.
    EXPECT_EQ(ParsePath("C:\\x/y.mp3", '\\'), "C:\\");
}

TEST(ParsePath, NativeFolderPartIgnoresColonsAndBackslashesInNames) {
    EXPECT_EQ(ParsePath("/home/u/Music/a.mp3"), "/home/u/Music/");
    EXPECT_EQ(ParsePath("/a.mp3"), "/");
    EXPECT_EQ(ParsePath("/home/u/Mu:sic/a\\b:c.mp3"), "/home/u/Mu:sic/");
    EXPECT_EQ(ParsePath("a.mp3"), "");
}

TEST(StripPadding, RemovesOnlyTrailingNulsAndSpaces) {
    EXPECT_EQ(StripPadding("song.mp3\0\0\0"s), "song.mp3");
    EXPECT_EQ(StripPadding("song.mp3 \0 \0  "s), "song.mp3");
    EXPECT_EQ(StripPadding("  my song .mp3"s), "  my song .mp3");
    EXPECT_EQ(StripPadding("a\0b\0"s), "a\0b"s);
    EXPECT_EQ(StripPadding(" \0 \0"s), "");
    EXPECT_EQ(StripPadding(""), "");
}
