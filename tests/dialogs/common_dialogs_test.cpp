#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QWidget>

#include "dialogs/common_dialogs.h"
#include "dialogs/fake_dialogs.h"

namespace {

class CommonDialogsTest : public testing::Test {
protected:
    FakeDialogs fake;
    QWidget owner;
    CCommonDialogs cd;

    void SetUp() override { cd.Init(&owner); }
};

QString Padded(const char* text) {
    return QString::fromLatin1(text) + QString(3, QChar(0)) + " ";
}

} // namespace

TEST_F(CommonDialogsTest, FileTextsReadUpToTheFirstNulOthersAsStored) {
    cd.setTitle(Padded("Open"));
    cd.setPath(Padded("/music"));
    cd.setFileTitle(Padded("a.mp3"));
    cd.setFileName(Padded("/music/a.mp3"));
    cd.setFilter(Padded("x"));
    EXPECT_EQ(cd.Title(), "Open");
    EXPECT_EQ(cd.Path(), "/music");
    EXPECT_EQ(cd.FileTitle(), "a.mp3");
    EXPECT_EQ(cd.FileName(), "/music/a.mp3");
    EXPECT_EQ(cd.Filter(), Padded("x"));
}

TEST_F(CommonDialogsTest, ShowOpenStartsInPathOrTheWorkingFolderAndSplitsTheChoice) {
    cd.setFilter("Wave|*.wav|All|*.*");
    fake.replies = {QString(), "/srv/music/rock/a b.mp3", "/a.mp3"};
    EXPECT_FALSE(cd.ShowOpen());
    EXPECT_EQ(fake.files[0].folder, QDir::currentPath());
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
    const QString programFolder = QCoreApplication::applicationDirPath();
    for (const QString& path : {QString(), existing.path(), existing.path() + "/gone"}) {
        cd.setPath(path);
        cd.ShowSave();
    }
    EXPECT_EQ(fake.files[0].folder, programFolder);
    EXPECT_EQ(fake.files[1].folder, existing.path() + "/");
    EXPECT_EQ(fake.files[2].folder, programFolder);
    EXPECT_EQ(fake.files[0].title, "Save");
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
