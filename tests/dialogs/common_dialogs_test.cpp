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

    void presetFileMembers() {
        cd.setFileName("keep.mp3");
        cd.setFileTitle("keep");
        cd.setPath("/keep");
    }
    void expectFileMembersKept() {
        EXPECT_EQ(cd.FileName(), "keep.mp3");
        EXPECT_EQ(cd.FileTitle(), "keep");
        EXPECT_EQ(cd.Path(), "/keep");
    }
};

QString Padded(const char* text) {
    return QString::fromLatin1(text) + QString(3, QChar(0)) + "  ";
}

} // namespace

TEST_F(CommonDialogsTest, StartsEmptyAndTextReadersCutAtTheFirstNul) {
    CCommonDialogs fresh;
    EXPECT_TRUE(fresh.FileName().isEmpty());
    EXPECT_TRUE(fresh.Filter().isEmpty());
    EXPECT_EQ(fresh.Color(), 0u);
    EXPECT_EQ(fresh.FontSize(), 0);
    EXPECT_FALSE(fresh.FontBold() || fresh.FontItalic() || fresh.FontUnderline());

    cd.setTitle(Padded("Open"));
    cd.setPath(Padded("/music"));
    cd.setFileTitle(Padded("a.mp3"));
    cd.setFileName(Padded("/music/a.mp3"));
    EXPECT_EQ(cd.Title(), "Open");
    EXPECT_EQ(cd.Path(), "/music");
    EXPECT_EQ(cd.FileTitle(), "a.mp3");
    EXPECT_EQ(cd.FileName(), "/music/a.mp3");
    // The other texts return what was stored.
    cd.setFilter(Padded("x"));
    cd.setFontName(Padded("Tahoma"));
    EXPECT_EQ(cd.Filter(), Padded("x"));
    EXPECT_EQ(cd.FontName(), Padded("Tahoma"));
}

TEST_F(CommonDialogsTest, ShowOpenStartsInPathOrTheWorkingFolder) {
    cd.setTitle("Open Files");
    cd.setDefExt("mp3");
    cd.setFilter("Wave|*.wav|All|*.*");
    EXPECT_FALSE(cd.ShowOpen());
    cd.setPath(Padded("/srv/music"));
    EXPECT_FALSE(cd.ShowOpen());
    cd.setPath("   ");
    EXPECT_FALSE(cd.ShowOpen());

    ASSERT_EQ(fake.fileRequests.size(), 3u);
    const auto& first = fake.fileRequests[0];
    EXPECT_EQ(first.folder, QDir::currentPath());
    EXPECT_EQ(first.title, "Open Files");
    EXPECT_EQ(first.defaultSuffix, "mp3");
    EXPECT_TRUE(first.mustExist);
    EXPECT_FALSE(first.save);
    EXPECT_EQ(first.nameFilters, (QStringList{"Wave (*.wav)", "All (*)"}));
    EXPECT_EQ(first.selectedFilter, "Wave (*.wav)");
    EXPECT_EQ(fake.fileOwners[0], &owner);
    EXPECT_EQ(fake.fileRequests[1].folder, "/srv/music");
    EXPECT_EQ(fake.fileRequests[2].folder, QDir::currentPath());
}

TEST_F(CommonDialogsTest, ShowOpenConfirmSetsNameTitleAndFolder) {
    cd.setFileName("preset.wav");
    fake.fileReplies = {"/srv/music/rock/a b.mp3", "/a.mp3"};
    ASSERT_TRUE(cd.ShowOpen());
    EXPECT_EQ(fake.fileRequests[0].fileName, "preset.wav");
    EXPECT_EQ(cd.FileName(), "/srv/music/rock/a b.mp3");
    EXPECT_EQ(cd.FileTitle(), "a b.mp3");
    EXPECT_EQ(cd.Path(), "/srv/music/rock");
    // A file in the root keeps the root as its folder.
    ASSERT_TRUE(cd.ShowOpen());
    EXPECT_EQ(cd.Path(), "/");
    EXPECT_EQ(cd.FileTitle(), "a.mp3");
}

TEST_F(CommonDialogsTest, CancelledDialogsReturnFalseAndChangeNothing) {
    presetFileMembers();
    cd.setColor(0x123456);
    cd.setFontName("Tahoma");
    cd.setFontSize(9);
    EXPECT_FALSE(cd.ShowOpen());
    EXPECT_FALSE(cd.ShowSave());
    EXPECT_FALSE(cd.ShowFolder());
    EXPECT_FALSE(cd.ShowColor(true));
    EXPECT_FALSE(cd.ShowFont());
    EXPECT_FALSE(cd.ShowPrinter());
    expectFileMembersKept();
    EXPECT_EQ(cd.Color(), 0x123456u);
    EXPECT_EQ(cd.FontName(), "Tahoma");
    EXPECT_EQ(cd.FontSize(), 9);
}

TEST_F(CommonDialogsTest, ShowSaveStartFolderTitleAndFilter) {
    QTemporaryDir existing;
    ASSERT_TRUE(existing.isValid());
    const QString programFolder = QCoreApplication::applicationDirPath();
    cd.setFileName("ignored.mp3");
    cd.setTitle("not used");
    EXPECT_FALSE(cd.ShowSave()); // blank path
    cd.setPath(existing.path());
    EXPECT_FALSE(cd.ShowSave());
    cd.setPath(existing.path() + "/missing");
    EXPECT_FALSE(cd.ShowSave());

    ASSERT_EQ(fake.fileRequests.size(), 3u);
    EXPECT_EQ(fake.fileRequests[0].folder, programFolder);
    EXPECT_EQ(fake.fileRequests[1].folder, existing.path() + "/");
    EXPECT_EQ(fake.fileRequests[2].folder, programFolder);
    for (const auto& r : fake.fileRequests) {
        EXPECT_EQ(r.title, "Save");
        EXPECT_TRUE(r.save);
        EXPECT_FALSE(r.mustExist);
        EXPECT_TRUE(r.fileName.isEmpty());
        EXPECT_EQ(r.nameFilters, QStringList{"*.* (*)"});
        EXPECT_EQ(r.selectedFilter, "*.* (*)");
    }

    fake.fileReplies = {"/tmp/out/x.wav"};
    ASSERT_TRUE(cd.ShowSave());
    EXPECT_EQ(cd.FileName(), "/tmp/out/x.wav");
    EXPECT_EQ(cd.FileTitle(), "x.wav");
    EXPECT_EQ(cd.Path(), "/tmp/out");
}

TEST_F(CommonDialogsTest, ShowFolderSetsPathAndEmptiesTheFileMembers) {
    presetFileMembers();
    cd.setTitle(Padded("Pick one"));
    fake.folderReplies = {"/srv/music"};
    ASSERT_TRUE(cd.ShowFolder());
    ASSERT_EQ(fake.folderCalls.size(), 1u);
    EXPECT_EQ(fake.folderCalls[0].title, "Pick one");
    EXPECT_EQ(fake.folderCalls[0].owner, &owner);
    EXPECT_EQ(cd.Path(), "/srv/music");
    EXPECT_TRUE(cd.FileName().isEmpty());
    EXPECT_TRUE(cd.FileTitle().isEmpty());
}

TEST_F(CommonDialogsTest, ShowColorKeepsRedInTheLowByte) {
    cd.setColor(0x0000FF);
    fake.colorReply = QColor(0x10, 0x80, 0xFF);
    ASSERT_TRUE(cd.ShowColor(true));
    EXPECT_EQ(fake.colorInitial, QColor(255, 0, 0));
    EXPECT_TRUE(fake.colorFullOpen);
    EXPECT_EQ(cd.Color(), 0xFF8010u);
    cd.ShowColor(false);
    EXPECT_FALSE(fake.colorFullOpen);
}

TEST_F(CommonDialogsTest, ShowFontRoundTrip) {
    cd.setFontName("DejaVu Sans");
    cd.setFontSize(11);
    cd.setFontBold(true);
    cd.setFontUnderline(true);
    QFont chosen("DejaVu Serif");
    chosen.setPointSizeF(12.7);
    chosen.setItalic(true);
    fake.fontReply = chosen;
    ASSERT_TRUE(cd.ShowFont());
    EXPECT_EQ(fake.fontInitial.family(), "DejaVu Sans");
    EXPECT_EQ(fake.fontInitial.pointSize(), 11);
    EXPECT_TRUE(fake.fontInitial.bold());
    EXPECT_FALSE(fake.fontInitial.italic());
    EXPECT_TRUE(fake.fontInitial.underline());
    EXPECT_EQ(cd.FontName(), "DejaVu Serif");
    EXPECT_EQ(cd.FontSize(), 12); // truncated, not rounded
    EXPECT_FALSE(cd.FontBold());
    EXPECT_TRUE(cd.FontItalic());
    EXPECT_FALSE(cd.FontUnderline());
}

TEST_F(CommonDialogsTest, PrinterDialogsReachTheBackendWithTheOwner) {
    fake.printerReply = true;
    EXPECT_TRUE(cd.ShowPrinter());
    cd.ShowPrinterProperties();
    EXPECT_EQ(fake.printerCalls, 1);
    EXPECT_EQ(fake.propertiesCalls, 1);
    EXPECT_EQ(fake.lastOwner, &owner);
}
