#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTimer>
#include <QWidget>

#include "core/files/folder_search.h"
#include "dialogs/fake_dialogs.h"
#include "filelist/temp_tree.h"
#include "gui/dialogs/common_dialogs.h"
#include "gui/dialogs/filter_list.h"
#include "gui/files/add_file.h"
#include "gui/files/add_folder.h"

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
                [this](const QString& text) { calls.push_back("hint " + text.toStdString()); },
                [this](const QString& text) { calls.push_back("told " + text.toStdString()); }};
    }
};

} // namespace

TEST(AddFile, FirstPickInTheWorkingFolderThenInTheLastFolderCancelAddsNothing) {
    FakeDialogs fake;
    CCommonDialogs shared{fake};
    ListRecorder list;
    AddFileCommand addFile(shared, list.hooks());
    // Colons and backslashes are ordinary characters of a name.
    fake.replies = {"/srv/rock/a:b\\c.mp3", QString(), "/srv/rock/a:b\\c.mp3", "/srv/other/b.wav"};
    for (int i = 0; i < 4; ++i)
        addFile.run();

    ASSERT_EQ(fake.files.size(), 4u);
    EXPECT_EQ(fake.files[0].folder, QDir::currentPath());
    EXPECT_EQ(fake.files[3].folder, "/srv/rock/");
    EXPECT_TRUE(fake.files[3].fileName.isEmpty());
    // The same file twice gives two rows; the cancel in between touches nothing.
    EXPECT_EQ(list.calls, (Calls{"add /srv/rock/a:b\\c.mp3", "update", "add /srv/rock/a:b\\c.mp3",
                                 "update", "add /srv/other/b.wav", "update"}));

    // The drop zone's dialog opens in the program folder and takes typed names of missing files.
    const QString name = QString::fromUtf8("/nowhere/caf\u00e9 \u266b.mp3");
    fake.replies = {name, QString()};
    list.calls.clear();
    DropZoneClick(fake, nullptr, list.hooks());
    DropZoneClick(fake, nullptr, list.hooks());
    EXPECT_EQ(fake.files[4].folder, QCoreApplication::applicationDirPath());
    EXPECT_FALSE(fake.files[4].mustExist);
    EXPECT_EQ(list.calls, (Calls{"add " + QFile::encodeName(name).toStdString(), "update"}));
}

TEST(AddFile, SeveralFilesAtOnceJoinInTheirOrderWithAllSupportedFilesOfferedFirst) {
    FakeDialogs fake;
    CCommonDialogs shared{fake};
    ListRecorder list;
    AddFileCommand addFile(shared, list.hooks());
    fake.replies = {"/srv/b/zeta.flac\n/srv/b/alpha.mp3\n/srv/b/mid.wav"};
    addFile.run();
    EXPECT_EQ(list.calls, (Calls{"add /srv/b/zeta.flac", "add /srv/b/alpha.mp3",
                                 "add /srv/b/mid.wav", "update"}));
    ASSERT_EQ(fake.files.size(), 1u);
    const QStringList filters = fake.files[0].nameFilters;
    ASSERT_FALSE(filters.isEmpty());
    EXPECT_TRUE(filters[0].startsWith("All supported files (*.wav *.flac *.mp3 "))
        << filters[0].toStdString();
    EXPECT_EQ(fake.files[0].selectedFilter, filters[0]);
    EXPECT_EQ(filters.mid(1), ConvertFilter(QString::fromLatin1(kAddFileFilter)).filters)
        << "the type filters follow in their order";
    // Every type of the single filters is among the supported ones.
    for (const QString& filter : filters.mid(1, filters.size() - 2)) {
        const QString pattern = filter.section('(', -1).chopped(1);
        EXPECT_TRUE(filters[0].contains(pattern)) << pattern.toStdString();
    }
    fake.replies = {"/srv/c/next.wav"};
    addFile.run();
    EXPECT_EQ(fake.files[1].folder, "/srv/b/") << "the next pick starts where the first was";
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

    const std::string searching = "hint Searching Files...", idle = "hint Drag & Drop Files Here";
    EXPECT_EQ(list.calls,
              (Calls{searching, idle, "update", searching, idle, "update", searching,
                     "add " + own + " in " + root, "add " + deep + " in " + root, idle, "update"}));

    // Past the window's limit of sub-folders the command says what it left out, once the
    // list is complete.
    for (std::size_t i = 0; i <= kMaxSearchedSubFolders; ++i)
        t.file("many/" + std::to_string(i) + "/x.mp3");
    fake.replies = {QString::fromStdString(t.path("many"))};
    list.calls.clear();
    AddFolder(fake, nullptr, list.hooks());
    ASSERT_EQ(list.calls.size(), kMaxSearchedSubFolders + 4);
    EXPECT_EQ(list.calls[list.calls.size() - 2], "update");
    EXPECT_EQ(list.calls.back(), "told 1 sub-folder was left out, with everything below it: only "
                                 "the first 200 sub-folders of any one folder are searched.");

    // An owner that goes away during the search stops it before the list is touched.
    auto* owner = new QWidget;
    QTimer::singleShot(0, owner, [owner] { delete owner; });
    list.calls.clear();
    fake.replies = {t.dir.path()};
    AddFolder(fake, owner, list.hooks());
    EXPECT_EQ(list.calls, Calls{searching});
}
