#include <gtest/gtest.h>

#include <QWidget>

#include "dialogs/fake_dialogs.h"
#include "gui/dialogs/common_dialogs.h"
#include "gui/dialogs/filter_list.h"
#include "gui/files/add_file.h"

namespace {

class CommonDialogsTest : public testing::Test {
protected:
    FakeDialogs fake;
    QWidget owner;
    CCommonDialogs cd{fake};

    void SetUp() override { cd.Init(&owner); }
};

} // namespace

TEST_F(CommonDialogsTest, ShowOpenIsTrueOnAChoiceWhichItSplitsInFolderAndTitle) {
    cd.setFilter("Wave|*.wav|All|*.*");
    cd.setPath("/srv/music");
    fake.replies = {"/srv/music/rock/a b.mp3", "/a.mp3"};
    ASSERT_TRUE(cd.ShowOpen());
    EXPECT_EQ(fake.owner, &owner);
    EXPECT_TRUE(fake.files[0].mustExist);
    EXPECT_EQ(fake.files[0].folder, "/srv/music");
    EXPECT_EQ(fake.files[0].selectedFilter, "Wave (*.wav)");
    EXPECT_EQ(cd.FileName(), "/srv/music/rock/a b.mp3");
    EXPECT_EQ(cd.FileTitle(), "a b.mp3");
    EXPECT_EQ(cd.Path(), "/srv/music/rock");
    ASSERT_TRUE(cd.ShowOpen());
    EXPECT_EQ(cd.Path(), "/"); // the root stays a folder

    fake.replies = {"/srv/other"};
    ASSERT_TRUE(cd.ShowFolder());
    EXPECT_EQ(cd.Path(), "/srv/other");
    EXPECT_TRUE(cd.FileName().isEmpty());

    // Red lives in the low byte.
    cd.setColor(0x0000FF);
    fake.colorReply = QColor(0x10, 0x80, 0xFF);
    ASSERT_TRUE(cd.ShowColor(false));
    EXPECT_EQ(fake.colorShown, QColor(255, 0, 0));
    EXPECT_EQ(cd.Color(), 0xFF8010u);
}

TEST_F(CommonDialogsTest, CancelReturnsFalseAndChangesNothing) {
    cd.setFileName("keep.mp3");
    cd.setPath("/keep");
    cd.setColor(0x123456);
    cd.setFontSize(9);
    EXPECT_FALSE(cd.ShowOpen() || cd.ShowSave() || cd.ShowFolder() || cd.ShowColor(true) ||
                 cd.ShowFont() || cd.ShowPrinter());
    EXPECT_EQ(cd.FileName(), "keep.mp3");
    EXPECT_EQ(cd.Path(), "/keep");
    EXPECT_EQ(cd.Color(), 0x123456u);
    EXPECT_EQ(cd.FontSize(), 9);
}

TEST(FilterConversion, PairsBecomeQtFiltersWithTheFirstSelected) {
    const NameFilters f = ConvertFilter(QString::fromLatin1(kAddFileFilter));
    ASSERT_EQ(f.filters.size(), 14);
    EXPECT_EQ(f.selected, "WAVE Files(*.wav) (*.wav)");
    // "*.*" must also show names without a dot.
    EXPECT_EQ(f.filters.back(), "All Media Formats(*.*) (*)");
    EXPECT_EQ(ConvertFilter("Audio|*.mp3;*.wav| |*.ogg|Any||Lonely").filters,
              (QStringList{"Audio (*.mp3 *.wav)", "*.ogg (*.ogg)", "Any (*)"}));
    EXPECT_TRUE(ConvertFilter("").selected.isEmpty());
}
