#include "app/files/file_list.h"

#include "app/files/hint_texts.h"
#include "core/files/folder_search.h"

#include <QCoreApplication>
#include <QFile>
#include <QItemSelectionModel>
#include <QMetaObject>
#include <QMimeData>
#include <QUrl>

#include <algorithm>

#include <sys/stat.h>

FileList::FileList(QObject* parent)
    : QAbstractTableModel(parent), hintText_(idleHintText()),
      selection_(new QItemSelectionModel(this, this)) {}

FileList::~FileList() = default;

QString FileList::idleHintText() {
    return QCoreApplication::translate("FileList", kDropHintIdleText);
}

QString FileList::searchingHintText() {
    return QCoreApplication::translate("FileList", kSearchingFilesText);
}

QString FileList::FormatTag(const QString& text) {
    // Only blanks are trimmed: a tab or newline at the end is part of the name.
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == u' ')
        ++begin;
    while (end > begin && text.at(end - 1) == u' ')
        --end;
    // Three characters, not three UTF-16 units: never split a surrogate pair.
    qsizetype start = end;
    for (int taken = 0; taken < 3 && start > begin; ++taken) {
        --start;
        if (text.at(start).isLowSurrogate() && start > begin &&
            text.at(start - 1).isHighSurrogate())
            --start;
    }
    return text.mid(start, end - start).toUpper();
}

std::vector<QByteArray> FileList::droppedPaths(const QMimeData& data) {
    std::vector<QByteArray> paths;
    if (!data.hasUrls())
        return paths;
    const QList<QUrl> urls = data.urls();
    paths.reserve(static_cast<std::size_t>(urls.size()));
    for (const QUrl& url : urls) {
        if (url.scheme().compare(u"file", Qt::CaseInsensitive) != 0)
            continue;
        const QString host = url.host();
        if (!host.isEmpty() && host.compare(u"localhost", Qt::CaseInsensitive) != 0)
            continue;
        // Decode the percent-encoded form ourselves: toLocalFile() would push the bytes
        // through UTF-8 and mangle names that are not valid UTF-8.
        QByteArray path = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
        if (!path.isEmpty())
            paths.push_back(std::move(path));
    }
    return paths;
}

void FileList::AddFileEntry(const QByteArray& path, const QByteArray& root) {
    entries_.push_back(Entry{path, FormatTag(QFile::decodeName(path)), root, nextId_++, false, {}});
    scheduleCommit();
}

QByteArray FileList::root(int index) const {
    if (index < 0 || index >= count())
        return {};
    return entries_[static_cast<std::size_t>(index)].root;
}

quint64 FileList::entryId(int index) const {
    if (index < 0 || index >= count())
        return 0;
    return entries_[static_cast<std::size_t>(index)].id;
}

int FileList::rowOf(quint64 id) const {
    // Entries only join at the end, with growing ids: the list is sorted by id.
    const auto found =
        std::lower_bound(entries_.begin(), entries_.end(), id,
                         [](const Entry& e, quint64 wanted) { return e.id < wanted; });
    if (found != entries_.end() && found->id == id)
        return static_cast<int>(found - entries_.begin());
    return -1;
}

void FileList::RemoveEntry(quint64 id) {
    if (const int row = rowOf(id); row >= 0)
        removeRow(static_cast<std::size_t>(row));
}

void FileList::markFailed(quint64 id, const QString& reason) {
    setFailure(id, true, reason);
}

void FileList::clearFailure(quint64 id) {
    setFailure(id, false, {});
}

void FileList::setFailure(quint64 id, bool failed, const QString& reason) {
    const int row = rowOf(id);
    if (row < 0)
        return;
    Entry& e = entries_[static_cast<std::size_t>(row)];
    if (e.failed == failed && e.failure == reason)
        return;
    e.failed = failed;
    e.failure = reason;
    if (row < committed_)
        emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

bool FileList::failed(int index) const {
    if (index < 0 || index >= count())
        return false;
    return entries_[static_cast<std::size_t>(index)].failed;
}

void FileList::removeRow(std::size_t row) {
    commitRows();
    const int r = static_cast<int>(row);
    beginRemoveRows({}, r, r);
    entries_.erase(entries_.begin() + r);
    --committed_;
    endRemoveRows();
}

QByteArray FileList::path(int index) const {
    if (index < 0 || index >= count())
        return {};
    return entries_[static_cast<std::size_t>(index)].path;
}

QString FileList::format(int index) const {
    if (index < 0 || index >= count())
        return {};
    return entries_[static_cast<std::size_t>(index)].format;
}

void FileList::RemoveSelected() {
    commitRows();
    if (count() > 0) {
        const QModelIndex current = selection_->currentIndex();
        if (current.isValid() && current.model() == this && current.row() < count()) {
            removeRow(static_cast<std::size_t>(current.row()));
        }
    }
    if (count() == 0)
        UpdateDropHint();
}

void FileList::RemoveAll() {
    // One reset instead of a row at a time: a long list empties at once and the window
    // never shows a half-cleared list whose rows no longer match the paths.
    if (!entries_.empty()) {
        beginResetModel();
        entries_.clear();
        entries_.shrink_to_fit();
        committed_ = 0;
        endResetModel();
    }
    setHintText(idleHintText());
    setHintVisible(true);
}

int FileList::AddDroppedFiles(const QMimeData& data) {
    return AddPaths(droppedPaths(data));
}

int FileList::AddPaths(const std::vector<QByteArray>& paths) {
    const int before = count();
    SearchOutcome outcome;
    for (const QByteArray& p : paths) {
        struct stat st = {};
        if (::stat(p.constData(), &st) == 0 && S_ISDIR(st.st_mode)) {
            // A folder brings its files, found as Add Folder finds them, with itself as root.
            outcome.add(SearchFolder(p.toStdString(), [this, &p](const std::string& found) {
                AddFileEntry(QByteArray::fromStdString(found), p);
            }));
        } else {
            AddFileEntry(p);
        }
    }
    if (count() > 0)
        UpdateDropHint();
    const std::string leftOut = LeftOutText(outcome);
    if (!leftOut.empty())
        emit searchLeftOut(QString::fromStdString(leftOut));
    return count() - before;
}

void FileList::UpdateDropHint() {
    commitRows();
    setHintVisible(count() == 0);
}

void FileList::setHintVisible(bool visible) {
    if (hintVisible_ == visible)
        return;
    hintVisible_ = visible;
    emit hintChanged();
}

void FileList::setHintText(const QString& text) {
    if (hintText_ == text)
        return;
    hintText_ = text;
    emit hintChanged();
}

void FileList::ShowDropHint(const QString& text) {
    setHintText(text);
    setHintVisible(true);
}

void FileList::scheduleCommit() {
    if (commitQueued_)
        return;
    commitQueued_ = true;
    QMetaObject::invokeMethod(this, &FileList::commitRows, Qt::QueuedConnection);
}

void FileList::commitRows() {
    commitQueued_ = false;
    if (committed_ >= count())
        return;
    beginInsertRows({}, committed_, count() - 1);
    committed_ = count();
    endInsertRows();
}

int FileList::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : committed_;
}

int FileList::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant FileList::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= committed_)
        return {};
    const Entry& e = entries_[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        if (index.column() == FileNameColumn)
            return QFile::decodeName(e.path);
        return e.format;
    case Qt::ToolTipRole:
        if (e.failed)
            return tr("failed: %1").arg(e.failure);
        return QFile::decodeName(e.path);
    case FailedRole:
        return e.failed;
    case Qt::TextAlignmentRole:
        if (index.column() == FormatColumn)
            return QVariant::fromValue(Qt::AlignCenter);
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant FileList::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::DisplayRole)
        return section == FileNameColumn ? tr("FileName") : tr("Format");
    if (role == Qt::TextAlignmentRole && section == FormatColumn)
        return QVariant::fromValue(Qt::AlignCenter);
    return {};
}

Qt::ItemFlags FileList::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
}
