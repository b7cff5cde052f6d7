#include <gtest/gtest.h>

#include <QTimer>
#include <QWidget>

#include "dialogs/fake_dialogs.h"
#include "filelist/add_folder.h"
#include "filelist/list_recorder.h"
#include "filelist/temp_tree.h"

using Calls = std::vector<std::string>;

TEST(AddFolder, AddsAfterTheSearchAndAlwaysRestoresTheIdleHint) {
    TempTree t, empty;
    const std::string own = t.file("own.mp3"), deep = t.file("sub/deeper/x.wav");
    FakeDialogs fake;
    fake.replies = {QString(), empty.dir.path(), t.dir.path()};
    ListRecorder list;
    for (int i = 0; i < 3; ++i)
        AddFolder(nullptr, list.hooks());

    EXPECT_EQ(fake.folderTitles.front(), "Please select a folder:");
    const Calls nothing = {"hint Searching Files...", "hint Drag && Drop Files Here", "update"};
    Calls expected = nothing;
    expected.insert(expected.end(), nothing.begin(), nothing.end());
    expected.insert(expected.end(), {"hint Searching Files...", "add " + own, "add " + deep,
                                     "hint Drag && Drop Files Here", "update"});
    EXPECT_EQ(list.calls, expected);
}

TEST(AddFolder, StopsWithoutTouchingTheListWhenTheOwnerGoesAway) {
    TempTree t;
    t.file("a.mp3");
    FakeDialogs fake;
    fake.replies = {t.dir.path()};
    ListRecorder list;
    auto* owner = new QWidget;
    QTimer::singleShot(0, owner, [owner] { delete owner; });
    AddFolder(owner, list.hooks());
    EXPECT_EQ(list.calls, Calls{"hint Searching Files..."});
}
