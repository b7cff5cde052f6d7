#include <gtest/gtest.h>

#include "filelist/path_text.h"

using namespace std::string_literals;

TEST(PathText, ParsePathKeepsTheSeparatorAndTheDriveColon) {
    EXPECT_EQ(ParsePath("C:\\Music\\a.mp3", '\\'), "C:\\Music\\");
    EXPECT_EQ(ParsePath("\\\\srv\\share\\Music\\", '\\'), "\\\\srv\\share\\Music\\");
    EXPECT_EQ(ParsePath("C:a.mp3", '\\'), "C:");
    EXPECT_EQ(ParsePath("a.mp3", '\\'), "");
    // On Linux colons and backslashes are ordinary characters of a name.
    EXPECT_EQ(ParsePath("/home/u/Mu:sic/a\\b:c.mp3"), "/home/u/Mu:sic/");
    EXPECT_EQ(ParsePath("/a.mp3"), "/");
}

TEST(PathText, StripPaddingRemovesOnlyTrailingNulsAndSpaces) {
    EXPECT_EQ(StripPadding("song.mp3 \0 \0  "s), "song.mp3");
    EXPECT_EQ(StripPadding("  my song .mp3"s), "  my song .mp3");
    EXPECT_EQ(StripPadding("a\0b\0"s), "a\0b"s);
    EXPECT_EQ(StripPadding(" \0 \0"s), "");
}
