#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QWidget>

#include "dialogs/common_dialogs.h"
#include "dialogs/fake_dialogs.h"
#include "dialogs/filter_list.h"
#include "filelist/add_file.h"

namespace {

class CommonDialogsTest : public testing::Test {
protected:
    FakeDialogs fake;
    QWidget owner;
    CCommonDialogs cd{fake};

    void SetUp() override { cd.Init(&owner); }
};

} // namespace

TEST_F(CommonDialogsTest, FileTextsReadUpToTheFirstNulOthersAsStored) {
    const QString padding = QString(3, QChar(0)) + " ";
    cd.setTitle("Open" + padding);
    cd.setPath("/music" + padding);
    cd.setFileTitle("a.mp3" + padding);
    cd.setFileName("/music/a.mp3" + padding);
    cd.setFilter("x" + padding);
    EXPECT_EQ(cd.Title(), "Open");
    EXPECT_EQ(cd.Path(), "/music");
    EXPECT_EQ(cd.FileTitle(), "a.mp3");
    EXPECT_EQ(cd.FileName(), "/music/a.mp3");
    EXPECT_EQ(cd.Filter(), "x" + padding);
}

TEST_F(CommonDialogsTest, ShowOpenStartsInPathOrTheWorkingFolderAndSplitsTheChoice) {
    cd.setFilter("Wave|*.wav|All|*.*");
    fake.replies = {QString(), "/srv/music/rock/a b.mp3", "/a.mp3"};
    EXPECT_FALSE(cd.ShowOpen());
    EXPECT_TRUE(fake.files[0].mustExist);
    EXPECT_EQ(fake.files[0].selectedFilter, "Wave (*.wav)");
    EXPECT_EQ(fake.owner, &owner);

    cd.setPath("/srv/music");
    ASSERT_TRUE(cd.ShowOpen());
    EXPECT_EQ(fake.files[1].folder, "/srv/music");
    EXPECT_EQ(cd.FileName(), "/srv/music/rock/a b.mp3");
    EXPECT_EQ(cd.FileTitle(), "a b.mp3");
    EXPECT_EQ(cd.Path(), "/srv/music/rock");
    ASSERT_TRUE(cd.ShowOpen());
    EXPECT_EQ(cd.Path(), "/"); // the root stays a folder
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

TEST_F(CommonDialogsTest, ShowSaveFallsBackToTheProgramFolder) {
    QTemporaryDir existing;
    for (const QString& path : {QString(), existing.path(), existing.path() + "/gone"}) {
        cd.setPath(path);
        EXPECT_FALSE(cd.ShowSave());
    }
    EXPECT_EQ(fake.files[0].folder, QCoreApplication::applicationDirPath());
    EXPECT_EQ(fake.files[1].folder, existing.path() + "/");
    EXPECT_EQ(fake.files[2].folder, QCoreApplication::applicationDirPath());
    EXPECT_EQ(fake.files[0].nameFilters, QStringList{"*.* (*)"});
}

TEST_F(CommonDialogsTest, FolderAndColourResults) {
    cd.setFileName("x.mp3");
    fake.replies = {"/srv/music"};
    ASSERT_TRUE(cd.ShowFolder());
    EXPECT_EQ(cd.Path(), "/srv/music");
    EXPECT_TRUE(cd.FileName().isEmpty());

    // Red lives in the low byte.
    cd.setColor(0x0000FF);
    fake.colorReply = QColor(0x10, 0x80, 0xFF);
    ASSERT_TRUE(cd.ShowColor(false));
    EXPECT_EQ(fake.colorShown, QColor(255, 0, 0));
    EXPECT_EQ(cd.Color(), 0xFF8010u);
}

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
