#include <gtest/gtest.h>

#include "dialogs/fake_dialogs.h"
#include "dialogs/filter_list.h"
#include "filelist/add_file.h"

TEST(FilterConversion, AddFileFilterGivesFourteenPairsWithTheFirstSelected) {
    const NameFilters f = ConvertFilter(QString::fromLatin1(kAddFileFilter));
    ASSERT_EQ(f.filters.size(), 14);
    EXPECT_EQ(f.filters.front(), "WAVE Files(*.wav) (*.wav)");
    EXPECT_EQ(f.selected, f.filters.front());
    EXPECT_EQ(f.filters[2], "MP3 Audio(*.mp3) (*.mp3)");
    EXPECT_EQ(f.filters[11], "Real Video(*.rm) (*.rm)");
    // The last pair must show every file, also those without a dot.
    EXPECT_EQ(f.filters.back(), "All Media Formats(*.*) (*)");
}

TEST(FilterConversion, PatternOnlyPairShowsThePatternAsDescription) {
    const NameFilters f = ConvertFilter("*.*|*.*");
    ASSERT_EQ(f.filters.size(), 1);
    EXPECT_EQ(f.filters.front(), "*.* (*)");
    EXPECT_EQ(f.selected, "*.* (*)");
}

TEST(FilterConversion, OddShapesStayUsable) {
    // Several patterns in one pair.
    EXPECT_EQ(ConvertFilter("Audio|*.mp3;*.wav; *.ogg").filters,
              QStringList{"Audio (*.mp3 *.wav *.ogg)"});
    // An empty pattern shows everything rather than nothing.
    EXPECT_EQ(ConvertFilter("Anything|").filters, QStringList{"Anything (*)"});
    // A blank description borrows its pattern.
    EXPECT_EQ(ConvertFilter(" |*.flac").filters, QStringList{"*.flac (*.flac)"});
    // An unpaired last description is dropped, the pairs before it kept.
    EXPECT_EQ(ConvertFilter("Wave|*.wav|Lonely").filters, QStringList{"Wave (*.wav)"});
    const NameFilters none = ConvertFilter("");
    EXPECT_TRUE(none.filters.isEmpty());
    EXPECT_TRUE(none.selected.isEmpty());
}
