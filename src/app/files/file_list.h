#pragma once

#include <QAbstractTableModel>
#include <QByteArray>
#include <QString>

#include <deque>
#include <vector>

class QItemSelectionModel;
class QMimeData;

// The batch the user collects: full paths in the order they were added, shown as the rows
// "FileName" and "Format". One store serves both the visible rows and the path list, so the
// two can never drift apart.
//
// Paths are kept as the file system's bytes (a name need not be valid UTF-8) and are only
// decoded for display. Appends are announced to views in batches: count() and path() see an
// entry at once, rowCount() once the batch is committed (by UpdateDropHint, by any removal,
// or by the event loop).
class FileList final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { FileNameColumn = 0, FormatColumn = 1, ColumnCount = 2 };
    // True for an entry a run could not convert; a view shows it apart.
    static constexpr int FailedRole = Qt::UserRole + 1;

    explicit FileList(QObject* parent = nullptr);
    ~FileList() override;

    // The short type tag of a path: its last three characters once surrounding blanks are
    // trimmed, upper-cased ("song.flac" gives "LAC").
    [[nodiscard]] static QString FormatTag(const QString& text);
    [[nodiscard]] static QString idleHintText();
    [[nodiscard]] static QString searchingHintText();

    // Local paths carried by a drop, in the order of the drag source; bytes are exact.
    [[nodiscard]] static std::vector<QByteArray> droppedPaths(const QMimeData& data);

    // `root` is the folder the entry was found in by a folder search (empty for a file added
    // on its own), so that a run can keep the folder's tree.
    void AddFileEntry(const QByteArray& path, const QByteArray& root = {});
    [[nodiscard]] int count() const { return static_cast<int>(entries_.size()); }
    [[nodiscard]] QByteArray path(int index) const;
    [[nodiscard]] QByteArray root(int index) const;
    // Stays with its entry while entries before it come and go; 0 outside the list.
    [[nodiscard]] quint64 entryId(int index) const;
    [[nodiscard]] QString format(int index) const;

    // Drops the entry with this id, if it is still there, without touching the hint: a run
    // calls this as each file ends.
    void RemoveEntry(quint64 id);
    // A run could not convert the entry: its row shows it, with the reason as its tip, until
    // it is tried again.
    void markFailed(quint64 id, const QString& reason);
    void clearFailure(quint64 id);
    [[nodiscard]] bool failed(int index) const;
    // Removes the current row of the selection model, if there is one.
    void RemoveSelected();
    void RemoveAll();
    // Appends every local file of a drop, and the files found in every folder of it; returns
    // how many entries were added. What the folder searches left out is told by searchLeftOut.
    int AddDroppedFiles(const QMimeData& data);
    // The same for paths from elsewhere (the command line, another copy of the program).
    int AddPaths(const std::vector<QByteArray>& paths);

    // The hint over the empty list.
    void UpdateDropHint();
    [[nodiscard]] bool hintVisible() const { return hintVisible_; }
    [[nodiscard]] QString hintText() const { return hintText_; }
    void setHintVisible(bool visible);
    void setHintText(const QString& text);
    // Shows the hint with this text whatever the list holds (a folder search in progress).
    void ShowDropHint(const QString& text);

    // The current row lives here so that removal does not depend on a particular view.
    [[nodiscard]] QItemSelectionModel* selectionModel() const { return selection_; }

    // Announces pending appends to views now.
    void commitRows();

    // QAbstractItemModel
    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                      int role) const override;
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    void hintChanged();
    // A sentence or two for the user: the sub-folders and folders a search of AddPaths left out.
    void searchLeftOut(const QString& text);

private:
    struct Entry {
        QByteArray path;
        QString format;
        QByteArray root;
        quint64 id = 0;
        bool failed = false;
        QString failure;
    };

    void removeRow(std::size_t row);
    [[nodiscard]] int rowOf(quint64 id) const;
    void setFailure(quint64 id, bool failed, const QString& reason);

    void scheduleCommit();

    // A run removes from the front, one entry at a time.
    std::deque<Entry> entries_;
    int committed_ = 0; // rows views know about
    quint64 nextId_ = 1;
    bool commitQueued_ = false;
    bool hintVisible_ = true;
    QString hintText_;
    QItemSelectionModel* selection_ = nullptr;
};
