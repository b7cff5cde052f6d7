#include <gtest/gtest.h>

#include <QTimer>
#include <QWidget>

#include "dialogs/fake_dialogs.h"
#include "filelist/add_folder.h"
#include "filelist/list_recorder.h"
#include "filelist/temp_tree.h"

namespace {

const std::string kSearching = "hint:Searching Files...";
const std::string kIdle = "hint:Drag && Drop Files Here";

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

TEST(AddFolder, CancelAddsNothingAndRestoresTheIdleHint) {
    FakeDialogs fake;
    ListRecorder list;
    QWidget owner;
    AddFolder(&owner, list.hooks());
    ASSERT_EQ(fake.folderCalls.size(), 1u);
    EXPECT_EQ(fake.folderCalls[0].title, "Please select a folder:");
    EXPECT_EQ(fake.folderCalls[0].owner, &owner);
    EXPECT_EQ(list.calls, (std::vector<std::string>{kSearching, kIdle, "update"}));
}

TEST(AddFolder, AddsTheFoundFilesAfterTheSearchThenUpdatesTheHint) {
    TempTree t;
    const auto own = t.file("own.mp3");
    const auto deep = t.file("sub/deeper/x.wav");
    TempTree empty;
    FakeDialogs fake;
    fake.folderReplies = {Q(t.root().native()), Q(empty.root().native())};
    ListRecorder list;

    AddFolder(nullptr, list.hooks());
    EXPECT_EQ(list.entries, (std::vector<QByteArray>{QByteArray::fromStdString(own),
                                                     QByteArray::fromStdString(deep)}));
    EXPECT_EQ(list.calls, (std::vector<std::string>{kSearching, "add", "add", kIdle, "update"}));

    list.calls.clear();
    AddFolder(nullptr, list.hooks());
    EXPECT_EQ(list.entries.size(), 2u);
    EXPECT_EQ(list.calls, (std::vector<std::string>{kSearching, kIdle, "update"}));
}

TEST(AddFolder, StopsWithoutTouchingTheListWhenTheOwnerGoesAway) {
    TempTree t;
    t.file("a.mp3");
    FakeDialogs fake;
    fake.folderReplies = {Q(t.root().native())};
    ListRecorder list;
    auto* owner = new QWidget;
    QTimer::singleShot(0, owner, [owner] { delete owner; });

    AddFolder(owner, list.hooks());
    EXPECT_TRUE(list.entries.empty());
    EXPECT_EQ(list.calls, std::vector<std::string>{kSearching});
}
