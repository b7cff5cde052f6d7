#include "filelist/file_list.h"

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

    void TearDown() override { expectShown(); }

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

    void makeCurrent(int row) {
        list.selectionModel()->setCurrentIndex(list.index(row, 0),
                                               QItemSelectionModel::ClearAndSelect);
    }

    FileList list;
    // Checks every model notification for consistency.
    QAbstractItemModelTester tester{&list, QAbstractItemModelTester::FailureReportingMode::Fatal};
    QSortFilterProxyModel view;
};

} // namespace

TEST(FormatTag, LastThreeCharactersOfTheTrimmedPathUpperCased) {
    // clang-format off
    const std::pair<const char*, const char*> cases[] = {
        {"/music/song.mp3", "MP3"}, {"/music/b.flac", "LAC"},     {"/video/x.3gp", "3GP"},
        {"/video/movie.mpeg", "PEG"}, {"/video/clip.rm", ".RM"},  {"/music/Mixed.Ogg", "OGG"},
        {"/music/folder", "DER"},   {"ab", "AB"}, {"a", "A"},     {"", ""}, {"   ", ""},
        {"  /m/song.wav   ", "WAV"}, {" x ", "X"},
        // U+1D11E takes two UTF-16 units; it counts as one character.
        {"/m/ab\xF0\x9D\x84\x9E", "AB\xF0\x9D\x84\x9E"}};
    // clang-format on
    for (const auto& [path, tag] : cases)
        EXPECT_EQ(FileList::FormatTag(QString::fromUtf8(path)).toStdString(), tag) << path;
}

TEST_F(FileListTest, AddsInOrderWithDuplicatesAndKeepsNamesByteForByte) {
    const QByteArray latin1("/music/caf\xe9 \xff.wav");
    addAll({"/a/one.mp3", "/a/two.flac", "/a/one.mp3", latin1.constData()});
    EXPECT_EQ(paths(), (Paths{"/a/one.mp3", "/a/two.flac", "/a/one.mp3", latin1}));
    EXPECT_EQ(list.format(1), "LAC");
    EXPECT_EQ(list.format(3), "WAV");
    EXPECT_EQ(list.headerData(0, Qt::Horizontal, Qt::DisplayRole), "FileName");
    EXPECT_EQ(list.headerData(1, Qt::Horizontal, Qt::DisplayRole), "Format");
    expectShown();

    // A caller that never asks for the hint still gets its rows shown.
    list.AddFileEntry("/late.mp3");
    EXPECT_EQ(list.count(), 5);
    QCoreApplication::processEvents();
}

TEST_F(FileListTest, HintFollowsTheCommandsButNotTheBatchRun) {
    EXPECT_TRUE(list.hintVisible());
    EXPECT_EQ(list.hintText(), "Drag & Drop Files Here");
    list.AddFileEntry("/a/one.mp3");
    EXPECT_TRUE(list.hintVisible()) << "adding alone leaves the hint to the caller";
    list.UpdateDropHint();
    EXPECT_FALSE(list.hintVisible());
    makeCurrent(0);
    list.RemoveSelected(); // the only row
    EXPECT_TRUE(list.hintVisible());

    // The batch run empties the list without bringing the hint back; the next command does.
    addAll({"/a/two.mp3"});
    list.RemoveFirstEntry();
    EXPECT_FALSE(list.hintVisible());
    list.RemoveSelected();
    EXPECT_TRUE(list.hintVisible());

    // The search hint shows whatever the list holds, until Remove All restores the idle one.
    addAll({"/a/three.mp3"});
    list.ShowDropHint(FileList::searchingHintText());
    EXPECT_TRUE(list.hintVisible());
    EXPECT_EQ(list.hintText(), "Searching Files...");
    list.RemoveAll();
    EXPECT_TRUE(list.hintVisible());
    EXPECT_EQ(list.hintText(), "Drag & Drop Files Here");
}

TEST_F(FileListTest, RemovalsTakeTheirRowsFromBothStores) {
    addAll({"/1.mp3", "/2.mp3", "/3.mp3", "/4.mp3", "/5.mp3"});
    makeCurrent(2);
    list.RemoveSelected();
    EXPECT_EQ(paths(), (Paths{"/1.mp3", "/2.mp3", "/4.mp3", "/5.mp3"}));
    expectShown();
    list.selectionModel()->clearCurrentIndex();
    list.RemoveSelected(); // without a current row nothing goes
    list.RemoveFirstEntry();
    EXPECT_EQ(paths(), (Paths{"/2.mp3", "/4.mp3", "/5.mp3"}));
    expectShown();

    makeCurrent(1);
    list.RemoveAll();
    EXPECT_EQ(list.count(), 0);
    expectShown();
    EXPECT_FALSE(list.selectionModel()->currentIndex().isValid());

    // On an empty list every removal is harmless.
    list.RemoveFirstEntry();
    list.RemoveSelected();
    list.RemoveAll();

    // Entries added but not yet shown go too.
    list.AddFileEntry("/late.mp3");
    list.RemoveAll();
    QCoreApplication::processEvents();
    EXPECT_EQ(list.count(), 0);
}

TEST(DroppedPaths, LocalFilesOnlyByteForByte) {
    QMimeData data; // only local files count
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
