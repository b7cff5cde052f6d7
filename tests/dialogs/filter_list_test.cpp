#include <gtest/gtest.h>

#include "dialogs/fake_dialogs.h"
#include "dialogs/filter_list.h"
#include "filelist/add_file.h"

TEST(FilterConversion, PairsBecomeQtFiltersWithTheFirstSelected) {
    const NameFilters f = ConvertFilter(QString::fromLatin1(kAddFileFilter));
    ASSERT_EQ(f.filters.size(), 14);
    EXPECT_EQ(f.selected, "WAVE Files(*.wav) (*.wav)");
    EXPECT_EQ(f.filters[11], "Real Video(*.rm) (*.rm)");
    // "*.*" must also show names without a dot.
    EXPECT_EQ(f.filters.back(), "All Media Formats(*.*) (*)");
    EXPECT_EQ(ConvertFilter("*.*|*.*").filters, QStringList{"*.* (*)"});

    EXPECT_EQ(ConvertFilter("Audio|*.mp3;*.wav| |*.ogg|Any||Lonely").filters,
              (QStringList{"Audio (*.mp3 *.wav)", "*.ogg (*.ogg)", "Any (*)"}));
    EXPECT_TRUE(ConvertFilter("").selected.isEmpty());
}
