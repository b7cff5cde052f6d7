#include "filelist/file_list.h"
#include "filelist/file_list_view.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QDropEvent>
#include <QFile>
#include <QItemSelectionModel>
#include <QMimeData>
#include <QUrl>

#include <vector>

namespace {

// Both stores agree: same length, entry k is row k, and each row shows its own path.
void expectAligned(const FileList& list) {
    ASSERT_EQ(list.rowCount(), list.count());
    for (int k = 0; k < list.count(); ++k) {
        EXPECT_EQ(list.data(list.index(k, FileList::FileNameColumn), Qt::DisplayRole).toString(),
                  QFile::decodeName(list.path(k)))
            << "row " << k;
        EXPECT_EQ(list.data(list.index(k, FileList::FormatColumn), Qt::DisplayRole).toString(),
                  list.format(k))
            << "row " << k;
    }
}

std::vector<QByteArray> paths(const FileList& list) {
    std::vector<QByteArray> out;
    for (int k = 0; k < list.count(); ++k)
        out.push_back(list.path(k));
    return out;
}

// The row count a view would believe in, built from the model's notifications alone.
class RowShadow {
public:
    explicit RowShadow(const FileList& list) {
        QObject::connect(
            &list, &QAbstractItemModel::rowsInserted,
            [this](const QModelIndex&, int first, int last) { rows_ += last - first + 1; });
        QObject::connect(
            &list, &QAbstractItemModel::rowsRemoved,
            [this](const QModelIndex&, int first, int last) { rows_ -= last - first + 1; });
        QObject::connect(&list, &QAbstractItemModel::modelReset,
                         [this, &list] { rows_ = list.rowCount(); });
    }
    [[nodiscard]] int rows() const { return rows_; }

private:
    int rows_ = 0;
};

class FileListTest : public testing::Test {
protected:
    FileListTest()
        : tester_(&list_, QAbstractItemModelTester::FailureReportingMode::Fatal), shadow_(list_) {}

    void TearDown() override { EXPECT_EQ(shadow_.rows(), list_.rowCount()); }

    void addAll(std::initializer_list<const char*> items) {
        for (const char* p : items)
            list_.AddFileEntry(QByteArray(p));
        list_.UpdateDropHint();
    }

    void expectShown() {
        expectAligned(list_);
        EXPECT_EQ(shadow_.rows(), list_.rowCount()) << "views were not told of a change";
    }

    void makeCurrent(int row) {
        list_.selectionModel()->setCurrentIndex(list_.index(row, 0),
                                                QItemSelectionModel::ClearAndSelect);
    }

    FileList list_;
    QAbstractItemModelTester tester_; // checks every model notification for consistency
    RowShadow shadow_;
};

} // namespace

TEST(FormatTag, LastThreeCharactersUpperCased) {
    EXPECT_EQ(FileList::FormatTag("/music/song.mp3"), "MP3");
    EXPECT_EQ(FileList::FormatTag("/music/b.flac"), "LAC");
    EXPECT_EQ(FileList::FormatTag("/video/x.3gp"), "3GP");
    EXPECT_EQ(FileList::FormatTag("/video/movie.mpeg"), "PEG");
    EXPECT_EQ(FileList::FormatTag("/video/clip.rm"), ".RM");
    EXPECT_EQ(FileList::FormatTag("/music/Mixed.Ogg"), "OGG");
    EXPECT_EQ(FileList::FormatTag("/music/folder"), "DER");
}

TEST(FormatTag, ShortPathsAndBlanks) {
    EXPECT_EQ(FileList::FormatTag("ab"), "AB");
    EXPECT_EQ(FileList::FormatTag("a"), "A");
    EXPECT_EQ(FileList::FormatTag(""), "");
    EXPECT_EQ(FileList::FormatTag("   "), "");
    EXPECT_EQ(FileList::FormatTag("  /m/song.wav   "), "WAV");
    EXPECT_EQ(FileList::FormatTag(" x "), "X");
}

TEST(FormatTag, NeverSplitsACharacterOutsideTheBasicPlane) {
    // U+1D11E (musical G clef) takes two UTF-16 units; it counts as one character.
    const QString clef = QString::fromUtf8("/m/ab\xF0\x9D\x84\x9E");
    EXPECT_EQ(FileList::FormatTag(clef), QString::fromUtf8("AB\xF0\x9D\x84\x9E"));
}

TEST_F(FileListTest, AddsInOrderWithDuplicatesAndKeepsStoresAligned) {
    addAll({"/a/one.mp3", "/a/two.flac", "/a/one.mp3", "/b/clip.rm", "x"});
    ASSERT_EQ(list_.count(), 5);
    expectShown();
    EXPECT_EQ(paths(list_), (std::vector<QByteArray>{"/a/one.mp3", "/a/two.flac", "/a/one.mp3",
                                                     "/b/clip.rm", "x"}));
    EXPECT_EQ(list_.format(1), "LAC");
    EXPECT_EQ(list_.format(3), ".RM");
    EXPECT_EQ(list_.format(4), "X");
    EXPECT_EQ(list_.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "FileName");
    EXPECT_EQ(list_.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "Format");
    EXPECT_EQ(list_.columnCount(), 2);
}

TEST_F(FileListTest, KeepsNamesThatAreNotUtf8ByteForByte) {
    const QByteArray latin1Name("/music/caf\xe9 \xff.wav");
    list_.AddFileEntry(latin1Name);
    list_.UpdateDropHint();
    EXPECT_EQ(list_.path(0), latin1Name);
    EXPECT_EQ(list_.format(0), "WAV");
    expectShown();
}

TEST_F(FileListTest, AppendsReachViewsWithoutWaitingForTheCaller) {
    list_.AddFileEntry("/a/one.mp3");
    list_.AddFileEntry("/a/two.mp3");
    EXPECT_EQ(list_.count(), 2);
    QCoreApplication::processEvents(); // a caller that never asks for the hint
    EXPECT_EQ(list_.rowCount(), 2);
    expectShown();
}

TEST_F(FileListTest, HintFollowsTheCommandsButNotTheBatchRun) {
    EXPECT_TRUE(list_.hintVisible());
    EXPECT_EQ(list_.hintText(), "Drag & Drop Files Here");

    list_.AddFileEntry("/a/one.mp3");
    EXPECT_TRUE(list_.hintVisible()) << "adding alone leaves the hint to the caller";
    list_.UpdateDropHint();
    EXPECT_FALSE(list_.hintVisible());

    // The batch run empties the list without bringing the hint back.
    list_.RemoveFirstEntry();
    EXPECT_EQ(list_.count(), 0);
    EXPECT_FALSE(list_.hintVisible());
    // The next command does.
    list_.RemoveSelected();
    EXPECT_TRUE(list_.hintVisible());
}

TEST_F(FileListTest, SearchHintShowsWhateverTheListHoldsUntilRemoveAllRestoresIt) {
    addAll({"/a/one.mp3"});
    list_.ShowDropHint(FileList::searchingHintText());
    EXPECT_TRUE(list_.hintVisible());
    EXPECT_EQ(list_.hintText(), "Searching Files...");
    list_.RemoveAll();
    EXPECT_TRUE(list_.hintVisible());
    EXPECT_EQ(list_.hintText(), "Drag & Drop Files Here");
}

TEST_F(FileListTest, RemoveFirstEntryTakesTheHeadOfBothStores) {
    addAll({"/1.mp3", "/2.mp3", "/3.mp3"});
    list_.RemoveFirstEntry();
    EXPECT_EQ(paths(list_), (std::vector<QByteArray>{"/2.mp3", "/3.mp3"}));
    expectShown();
    list_.RemoveFirstEntry();
    list_.RemoveFirstEntry();
    list_.RemoveFirstEntry(); // nothing left: harmless
    EXPECT_EQ(list_.count(), 0);
    expectShown();
}

TEST_F(FileListTest, RemoveSelectedTakesTheCurrentRowOnly) {
    addAll({"/1.mp3", "/2.mp3", "/3.mp3", "/4.mp3", "/5.mp3"});
    makeCurrent(2);
    list_.RemoveSelected();
    EXPECT_EQ(paths(list_), (std::vector<QByteArray>{"/1.mp3", "/2.mp3", "/4.mp3", "/5.mp3"}));
    expectShown();
    EXPECT_FALSE(list_.hintVisible());

    // Without a current row nothing goes.
    list_.selectionModel()->clearCurrentIndex();
    list_.RemoveSelected();
    EXPECT_EQ(list_.count(), 4);
}

TEST_F(FileListTest, RemovingTheOnlyRowShowsTheHint) {
    addAll({"/only.mp3"});
    makeCurrent(0);
    list_.RemoveSelected();
    EXPECT_EQ(list_.count(), 0);
    EXPECT_TRUE(list_.hintVisible());

    // On an empty list it removes nothing and the hint stays.
    list_.RemoveSelected();
    EXPECT_EQ(list_.count(), 0);
    EXPECT_TRUE(list_.hintVisible());
}

TEST_F(FileListTest, RemoveAllEmptiesEverything) {
    addAll({"/1.mp3", "/2.mp3", "/3.mp3"});
    makeCurrent(1);
    list_.RemoveAll();
    EXPECT_EQ(list_.count(), 0);
    expectShown();
    EXPECT_TRUE(list_.hintVisible());
    EXPECT_FALSE(list_.selectionModel()->currentIndex().isValid());

    list_.RemoveAll(); // on an empty list only the hint is touched
    EXPECT_TRUE(list_.hintVisible());
    EXPECT_EQ(list_.hintText(), "Drag & Drop Files Here");

    // Entries added but not yet shown go too.
    list_.AddFileEntry("/late.mp3");
    list_.RemoveAll();
    QCoreApplication::processEvents();
    EXPECT_EQ(list_.count(), 0);
    expectShown();
}

TEST(DroppedPaths, LocalFilesInOrderOthersIgnored) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile("/music/b.mp3"), QUrl::fromLocalFile("/music/a.mp3"),
                  QUrl("https://example.org/c.mp3"), QUrl("file://otherhost/share/d.mp3"),
                  QUrl("file://localhost/music/e.mp3"),
                  QUrl::fromLocalFile("/music/with space & hash#.mp3")});
    EXPECT_EQ(FileList::droppedPaths(data),
              (std::vector<QByteArray>{"/music/b.mp3", "/music/a.mp3", "/music/e.mp3",
                                       "/music/with space & hash#.mp3"}));
}

TEST(DroppedPaths, PercentEncodedBytesStayExact) {
    QMimeData data;
    data.setData("text/uri-list", "file:///music/caf%E9.wav\r\nfile:///m/%C3%BCber.mp3\r\n");
    EXPECT_EQ(FileList::droppedPaths(data),
              (std::vector<QByteArray>{QByteArray("/music/caf\xe9.wav"), QByteArray("/m/\xc3\xbc"
                                                                                    "ber.mp3")}));
}

TEST(DroppedPaths, TextCarriesNoFiles) {
    QMimeData data;
    data.setText("/music/song.mp3");
    EXPECT_TRUE(FileList::droppedPaths(data).empty());
}

TEST_F(FileListTest, DropsAppendAndHideTheHint) {
    addAll({"/first.mp3"});
    list_.RemoveAll();
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile("/d/1.mp3"), QUrl::fromLocalFile("/d/2.ogg"),
                   QUrl::fromLocalFile("/d/3.wav"), QUrl::fromLocalFile("/d/folder")});
    EXPECT_EQ(list_.AddDroppedFiles(files), 4);
    EXPECT_EQ(paths(list_),
              (std::vector<QByteArray>{"/d/1.mp3", "/d/2.ogg", "/d/3.wav", "/d/folder"}));
    EXPECT_EQ(list_.format(3), "DER");
    EXPECT_FALSE(list_.hintVisible());
    expectShown();
}

TEST_F(FileListTest, TextDropOnEmptyListChangesNothing) {
    QMimeData text;
    text.setText("hello");
    EXPECT_EQ(list_.AddDroppedFiles(text), 0);
    EXPECT_EQ(list_.count(), 0);
    EXPECT_TRUE(list_.hintVisible());
}

namespace {

// What the platform does for a drop: an enter, and the drop itself if the enter was taken.
struct DropResult {
    bool entered = false;
    Qt::DropAction action = Qt::IgnoreAction;
};

DropResult dropOn(QWidget* target, QMimeData& data) {
    const QPoint at(20, 20);
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    DropResult result;
    result.entered = enter.isAccepted();
    if (!result.entered)
        return result;
    QDropEvent drop(QPointF(at), offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    result.action = drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
    return result;
}

} // namespace

TEST(FileListViewDrops, ViewAndDropZoneTakeFilesAndRefuseText) {
    FileList list;
    FileListView view(&list);
    DropZone zone(&list);

    QMimeData text;
    text.setText("/music/song.mp3");
    EXPECT_FALSE(dropOn(view.viewport(), text).entered);
    EXPECT_FALSE(dropOn(&zone, text).entered);
    EXPECT_EQ(list.count(), 0);

    QMimeData three;
    three.setUrls({QUrl::fromLocalFile("/m/1.mp3"), QUrl::fromLocalFile("/m/2.mp3"),
                   QUrl::fromLocalFile("/m/3.mp3")});
    const DropResult onView = dropOn(view.viewport(), three);
    EXPECT_TRUE(onView.entered);
    EXPECT_EQ(onView.action, Qt::CopyAction) << "dragged files stay where they are";
    EXPECT_EQ(dropOn(&zone, three).action, Qt::CopyAction);

    EXPECT_EQ(paths(list), (std::vector<QByteArray>{"/m/1.mp3", "/m/2.mp3", "/m/3.mp3", "/m/1.mp3",
                                                    "/m/2.mp3", "/m/3.mp3"}));
    EXPECT_EQ(view.model()->rowCount(), 6);
    EXPECT_FALSE(list.hintVisible());
}
