#include "app/files/file_list.h"

#include "core/files/folder_search.h"
#include "filelist/temp_tree.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QCoreApplication>
#include <QFile>
#include <QItemSelectionModel>
#include <QMimeData>
#include <QSortFilterProxyModel>
#include <QUrl>

#include <vector>

namespace {

using Paths = std::vector<QByteArray>;

class FileListTest : public testing::Test {
protected:
    FileListTest() {
        view.setSourceModel(&list);
        view.rowCount(); // from now on its row map follows the model's notifications only
    }

    void TearDown() override {
        QCoreApplication::processEvents();
        expectShown();
    }

    // What a view believes matches both stores: entry k is row k, with its own path and tag.
    void expectShown() {
        ASSERT_EQ(view.rowCount(), list.count()) << "views were not told of a change";
        for (int k = 0; k < list.count(); ++k) {
            EXPECT_EQ(view.index(k, FileList::FileNameColumn).data(),
                      QFile::decodeName(list.path(k)));
            EXPECT_EQ(view.index(k, FileList::FormatColumn).data(), list.format(k));
        }
    }

    void addAll(std::initializer_list<const char*> items) {
        for (const char* p : items)
            list.AddFileEntry(QByteArray(p));
        list.UpdateDropHint();
    }

    Paths paths() const {
        Paths out;
        for (int k = 0; k < list.count(); ++k)
            out.push_back(list.path(k));
        return out;
    }

    void removeSelected(int row) {
        list.selectionModel()->setCurrentIndex(list.index(row, 0),
                                               QItemSelectionModel::ClearAndSelect);
        list.RemoveSelected();
    }

    FileList list;
    // Checks every model notification for consistency.
    QAbstractItemModelTester tester{&list, QAbstractItemModelTester::FailureReportingMode::Fatal};
    QSortFilterProxyModel view;
};

} // namespace

TEST_F(FileListTest, AddsInOrderWithDuplicatesAndKeepsNamesByteForByte) {
    const QByteArray latin1("/music/caf\xe9 \xff.wav");
    addAll({"/a/one.mp3", "/a/two.flac", "/a/one.mp3", latin1.constData()});
    EXPECT_EQ(paths(), (Paths{"/a/one.mp3", "/a/two.flac", "/a/one.mp3", latin1}));
    EXPECT_EQ(list.format(1), "LAC"); // the last three characters
    EXPECT_EQ(list.format(3), "WAV");
    // A caller that never asks for the hint still gets its rows shown (checked at the end).
    list.AddFileEntry("/late.mp3");
}

TEST_F(FileListTest, HintFollowsTheCommandsButNotTheBatchRun) {
    list.AddFileEntry("/a/one.mp3");
    EXPECT_TRUE(list.hintVisible()) << "adding alone leaves the hint to the caller";
    list.UpdateDropHint();
    EXPECT_FALSE(list.hintVisible());
    // The batch run empties the list without bringing the hint back; the next command does.
    list.RemoveEntry(list.entryId(0));
    EXPECT_FALSE(list.hintVisible());
    list.RemoveSelected();
    EXPECT_TRUE(list.hintVisible());
    // The search hint shows whatever the list holds, until Remove All restores the idle one.
    addAll({"/a/three.mp3"});
    list.ShowDropHint("Searching Files...");
    list.RemoveAll();
    EXPECT_EQ(list.hintText(), "Drag & Drop Files Here");
}

TEST_F(FileListTest, RemovalsTakeTheirRowsFromBothStores) {
    addAll({"/1.mp3", "/2.mp3", "/3.mp3", "/4.mp3", "/5.mp3"});
    removeSelected(2);
    list.selectionModel()->clearCurrentIndex();
    list.RemoveSelected(); // without a current row nothing goes
    const quint64 second = list.entryId(1);
    list.RemoveEntry(list.entryId(0));
    EXPECT_EQ(list.entryId(0), second) << "an id stays with its entry";
    list.RemoveEntry(second + 1000); // gone already: nothing happens
    EXPECT_EQ(paths(), (Paths{"/2.mp3", "/4.mp3", "/5.mp3"}));
    expectShown();
    list.RemoveAll();
    EXPECT_EQ(list.count(), 0);
    // Entries added but not yet shown go too.
    list.AddFileEntry("/late.mp3");
    list.RemoveAll();
    EXPECT_EQ(list.count(), 0);
}

TEST_F(FileListTest, FoldersOfADropBeyondTheSearchLimitAreToldOfOnce) {
    TempTree t;
    for (std::size_t i = 0; i < kMaxSearchedSubFolders + 3; ++i)
        t.file("drop/" + std::to_string(i) + "/x.mp3");
    const std::string file = t.file("alone.wav");
    std::vector<QString> told;
    QObject::connect(&list, &FileList::searchLeftOut,
                     [&told](const QString& text) { told.push_back(text); });
    const auto folder = QByteArray::fromStdString(t.path("drop"));
    EXPECT_EQ(list.AddPaths({QByteArray::fromStdString(file), folder, folder}),
              1 + 2 * static_cast<int>(kMaxSearchedSubFolders));
    ASSERT_EQ(told.size(), 1u);
    EXPECT_TRUE(told[0].startsWith("6 sub-folders were left out")) << told[0].toStdString();
    list.AddPaths({QByteArray::fromStdString(file)});
    EXPECT_EQ(told.size(), 1u) << "nothing left out, nothing said";
}

TEST(DroppedPaths, LocalFilesOnlyByteForByte) {
    QMimeData data;
    data.setUrls({QUrl("https://example.org/c.mp3"), QUrl("file://otherhost/share/d.mp3"),
                  QUrl("file://localhost/music/e.mp3"),
                  QUrl::fromLocalFile("/music/with space & hash#.mp3")});
    EXPECT_EQ(FileList::droppedPaths(data),
              (Paths{"/music/e.mp3", "/music/with space & hash#.mp3"}));
    QMimeData encoded;
    encoded.setData("text/uri-list", "file:///music/caf%E9.wav\r\nfile:///m/%C3%BCber.mp3\r\n");
    EXPECT_EQ(FileList::droppedPaths(encoded), (Paths{"/music/caf\xe9.wav", "/m/\xc3\xbc"
                                                                            "ber.mp3"}));
}
