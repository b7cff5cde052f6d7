#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "dialogs/common_dialogs.h"
#include "dialogs/fake_dialogs.h"
#include "filelist/add_file.h"
#include "filelist/list_recorder.h"

namespace {

class AddFileTest : public testing::Test {
protected:
    FakeDialogs fake;
    CCommonDialogs shared;
    ListRecorder list;
    AddFileCommand addFile{shared, list.hooks()};
};

} // namespace

TEST_F(AddFileTest, FirstPickStartsInTheWorkingFolderLaterOnesInTheLastFolder) {
    fake.fileReplies = {"/srv/music/rock/a.mp3", "/srv/other/b.wav", QString()};
    addFile.run();
    EXPECT_EQ(addFile.LastFolder(), "/srv/music/rock/");
    addFile.run();
    EXPECT_EQ(addFile.LastFolder(), "/srv/other/");
    addFile.run(); // cancelled: the folder stays

    ASSERT_EQ(fake.fileRequests.size(), 3u);
    EXPECT_EQ(fake.fileRequests[0].folder, QDir::currentPath());
    EXPECT_EQ(fake.fileRequests[1].folder, "/srv/music/rock/");
    EXPECT_EQ(fake.fileRequests[2].folder, "/srv/other/");
    EXPECT_EQ(addFile.LastFolder(), "/srv/other/");
    for (const auto& r : fake.fileRequests) {
        EXPECT_EQ(r.title, "Open Files");
        EXPECT_TRUE(r.fileName.isEmpty());
        EXPECT_TRUE(r.mustExist);
        EXPECT_EQ(r.nameFilters.size(), 14);
        EXPECT_EQ(r.selectedFilter, "WAVE Files(*.wav) (*.wav)");
    }
    EXPECT_EQ(list.entries, (std::vector<QByteArray>{"/srv/music/rock/a.mp3", "/srv/other/b.wav"}));
    EXPECT_EQ(list.calls, (std::vector<std::string>{"add", "update", "add", "update"}));
}

TEST_F(AddFileTest, SameFileTwiceGivesTwoEntriesAndNamesKeepTheirBytes) {
    const QString name = QString::fromUtf8("/srv/m\u00fcsic/caf\u00e9 \u266b.mp3");
    fake.fileReplies = {name, name};
    addFile.run();
    addFile.run();
    ASSERT_EQ(list.entries.size(), 2u);
    EXPECT_EQ(list.entries[0], QFile::encodeName(name));
    EXPECT_EQ(list.entries[1], list.entries[0]);
}

TEST_F(AddFileTest, CancelAddsNothingAndLeavesTheHintAlone) {
    addFile.run();
    EXPECT_TRUE(list.calls.empty());
    EXPECT_TRUE(addFile.LastFolder().isEmpty());
}

TEST_F(AddFileTest, DropZoneOpensInTheProgramFolderAndTakesMissingFiles) {
    ListRecorder drops;
    fake.fileReplies = {"/nowhere/typed name.mp3", QString()};
    DropZoneClick(nullptr, drops.hooks());
    DropZoneClick(nullptr, drops.hooks());
    ASSERT_EQ(fake.fileRequests.size(), 2u);
    const auto& r = fake.fileRequests[0];
    EXPECT_EQ(r.folder, QCoreApplication::applicationDirPath());
    EXPECT_EQ(r.title, "Open Files");
    EXPECT_FALSE(r.mustExist);
    EXPECT_EQ(r.nameFilters, QStringList{"*.* (*)"});
    EXPECT_EQ(drops.entries, std::vector<QByteArray>{"/nowhere/typed name.mp3"});
    EXPECT_EQ(drops.calls, (std::vector<std::string>{"add", "update"}));
}

TEST_F(AddFileTest, OpenFileDialogFixesTheInitialFolderInPlace) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString programFolder = QCoreApplication::applicationDirPath();

    QString folder = dir.path();
    OpenFileDialog(nullptr, "T", folder, "", dialogs::kOfnFileMustExist);
    EXPECT_EQ(folder, dir.path() + "/");
    EXPECT_EQ(fake.fileRequests.back().folder, dir.path() + "/");
    EXPECT_TRUE(fake.fileRequests.back().mustExist);
    EXPECT_EQ(fake.fileRequests.back().nameFilters, QStringList{"*.* (*)"});

    folder = dir.path() + "/gone";
    OpenFileDialog(nullptr, "T", folder, "Wave|*.wav");
    EXPECT_EQ(folder, programFolder);
    EXPECT_EQ(fake.fileRequests.back().nameFilters, QStringList{"Wave (*.wav)"});
    EXPECT_FALSE(fake.fileRequests.back().mustExist);

    folder = "  ";
    fake.fileReplies = {"/x/y.mp3"};
    EXPECT_EQ(OpenFileDialog(nullptr, "T", folder), "/x/y.mp3");
    EXPECT_EQ(folder, programFolder);
}
