#include <gtest/gtest.h>

#include <QWidget>

#include "dialogs/fake_dialogs.h"
#include "gui/dialogs/common_dialogs.h"
#include "gui/dialogs/filter_list.h"
#include "gui/files/add_file.h"

TEST(CommonDialogs, OpenSplitsTheChoiceInFileAndFolderAndACancelChangesNothing) {
    FakeDialogs fake;
    QWidget owner;
    CCommonDialogs cd{fake};
    cd.Init(&owner);
    cd.setFilter("Wave|*.wav|All|*.*");
    cd.setPath("/srv/music");
    fake.replies = {"/srv/music/rock/a b.mp3", "/a.mp3", QString()};
    ASSERT_TRUE(cd.ShowOpen());
    EXPECT_EQ(fake.owner, &owner);
    EXPECT_TRUE(fake.files[0].mustExist);
    EXPECT_EQ(fake.files[0].folder, "/srv/music");
    EXPECT_EQ(fake.files[0].selectedFilter, "Wave (*.wav)");
    EXPECT_EQ(cd.FileName(), "/srv/music/rock/a b.mp3");
    EXPECT_EQ(cd.Path(), "/srv/music/rock");
    ASSERT_TRUE(cd.ShowOpen());
    EXPECT_EQ(cd.Path(), "/"); // the root stays a folder
    EXPECT_FALSE(cd.ShowOpen());
    EXPECT_EQ(cd.FileName(), "/a.mp3");
    EXPECT_EQ(cd.Path(), "/");
}

TEST(FilterConversion, PairsBecomeQtFiltersWithTheFirstSelected) {
    const NameFilters f = ConvertFilter(QString::fromLatin1(kAddFileFilter));
    EXPECT_EQ(f.selected, f.filters.front());
    // "*.*" must also show names without a dot.
    EXPECT_EQ(f.filters.back(), "All Media Formats(*.*) (*)");
    EXPECT_EQ(ConvertFilter("Audio|*.mp3;*.wav| |*.ogg|Any||Lonely").filters,
              (QStringList{"Audio (*.mp3 *.wav)", "*.ogg (*.ogg)", "Any (*)"}));
    EXPECT_TRUE(ConvertFilter("").selected.isEmpty());
}
