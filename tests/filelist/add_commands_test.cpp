#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include "dialogs/common_dialogs.h"
#include "dialogs/fake_dialogs.h"
#include "filelist/add_file.h"
#include "filelist/add_folder.h"
#include "filelist/temp_tree.h"

namespace {

using Calls = std::vector<std::string>;

// Stands in for the file list: records the commands' calls in order.
struct ListRecorder {
    Calls calls;
    FileListHooks hooks() {
        return {[this](const QByteArray& p, const QByteArray& root) {
                    calls.push_back("add " + p.toStdString() +
                                    (root.isEmpty() ? "" : " in " + root.toStdString()));
                },
                [this] { calls.push_back("update"); },
                [this](const QString& text) { calls.push_back("hint " + text.toStdString()); }};
    }
};

} // namespace

TEST(AddFile, FirstPickInTheWorkingFolderThenInTheLastFolderCancelAddsNothing) {
    FakeDialogs fake;
    CCommonDialogs shared{fake};
    ListRecorder list;
    AddFileCommand addFile(shared, list.hooks());
    fake.replies = {"/srv/rock/a.mp3", QString(), "/srv/rock/a.mp3", "/srv/other/b.wav"};
    for (int i = 0; i < 4; ++i)
        addFile.run();

    ASSERT_EQ(fake.files.size(), 4u);
    EXPECT_EQ(fake.files[0].folder, QDir::currentPath());
    EXPECT_EQ(fake.files[1].folder, "/srv/rock/");
    EXPECT_EQ(fake.files[3].folder, "/srv/rock/");
    EXPECT_EQ(addFile.LastFolder(), "/srv/other/");
    EXPECT_EQ(fake.files[3].title, "Open Files");
    EXPECT_TRUE(fake.files[3].fileName.isEmpty());
    EXPECT_EQ(fake.files[3].selectedFilter, "WAVE Files(*.wav) (*.wav)");
    // The same file twice gives two rows; the cancel in between touches nothing.
    EXPECT_EQ(list.calls, (Calls{"add /srv/rock/a.mp3", "update", "add /srv/rock/a.mp3", "update",
                                 "add /srv/other/b.wav", "update"}));
}

TEST(AddFile, DropZoneOpensInTheProgramFolderAndTakesTypedMissingNames) {
    FakeDialogs fake;
    ListRecorder list;
    const QString name = QString::fromUtf8("/nowhere/caf\u00e9 \u266b.mp3");
    fake.replies = {name, QString()};
    DropZoneClick(fake, nullptr, list.hooks());
    DropZoneClick(fake, nullptr, list.hooks());
    EXPECT_EQ(fake.files[0].folder, QCoreApplication::applicationDirPath());
    EXPECT_FALSE(fake.files[0].mustExist);
    EXPECT_EQ(fake.files[0].nameFilters, QStringList{"*.* (*)"});
    EXPECT_EQ(list.calls, (Calls{"add " + QFile::encodeName(name).toStdString(), "update"}));
}

TEST(AddFile, OpenFileDialogSettlesTheInitialFolder) {
    FakeDialogs fake;
    QTemporaryDir dir;
    const QString programFolder = QCoreApplication::applicationDirPath();
    QString folder = dir.path();
    OpenFileDialog(fake, nullptr, "T", folder, "", dialogs::kOfnFileMustExist);
    EXPECT_EQ(folder, dir.path() + "/");
    EXPECT_TRUE(fake.files.back().mustExist);
    for (const QString& unusable : {dir.path() + "/gone", QString("  ")}) {
        folder = unusable;
        fake.replies = {"/x/y.mp3"};
        EXPECT_EQ(OpenFileDialog(fake, nullptr, "T", folder), "/x/y.mp3");
        EXPECT_EQ(folder, programFolder);
    }
}

TEST(AddFolder, AddsAfterTheSearchAndAlwaysRestoresTheIdleHint) {
    TempTree t, empty;
    const std::string own = t.file("own.mp3"), deep = t.file("sub/deeper/x.wav");
    // Each entry keeps the folder it was found from, so a run can keep the tree.
    const std::string root = t.dir.path().toStdString();
    FakeDialogs fake;
    fake.replies = {QString(), empty.dir.path(), t.dir.path()};
    ListRecorder list;
    for (int i = 0; i < 3; ++i)
        AddFolder(fake, nullptr, list.hooks());

    EXPECT_EQ(fake.folderTitles.front(), "Please select a folder:");
    const std::string searching = "hint Searching Files...", idle = "hint Drag & Drop Files Here";
    EXPECT_EQ(list.calls,
              (Calls{searching, idle, "update", searching, idle, "update", searching,
                     "add " + own + " in " + root, "add " + deep + " in " + root, idle, "update"}));
}

TEST(AddFolder, StopsWithoutTouchingTheListWhenTheOwnerGoesAway) {
    TempTree t;
    t.file("a.mp3");
    FakeDialogs fake;
    fake.replies = {t.dir.path()};
    ListRecorder list;
    auto* owner = new QWidget;
    QTimer::singleShot(0, owner, [owner] { delete owner; });
    AddFolder(fake, owner, list.hooks());
    EXPECT_EQ(list.calls, Calls{"hint Searching Files..."});
}
