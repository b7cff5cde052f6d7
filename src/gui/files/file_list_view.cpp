#include "gui/files/file_list_view.h"

#include "app/files/file_list.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QMouseEvent>
#include <QStyledItemDelegate>

namespace {

// A file a run could not convert is written in red: its tip says why.
class FailedInRed final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.data(FileList::FailedRole).toBool()) {
            const QColor red(0xc0, 0x20, 0x20);
            option->palette.setColor(QPalette::Text, red);
            option->palette.setColor(QPalette::HighlightedText, red);
        }
    }
};

} // namespace

namespace filelist {

bool acceptFileDrag(QDropEvent* event) {
    const QMimeData* data = event->mimeData();
    if (data == nullptr || FileList::droppedPaths(*data).empty()) {
        event->ignore();
        return false;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    return true;
}

void takeFileDrop(FileList& list, QDropEvent* event) {
    if (!acceptFileDrag(event))
        return; // no file list in it (dragged text, say): nothing to add
    list.AddDroppedFiles(*event->mimeData());
}

} // namespace filelist

FileListView::FileListView(FileList* list, QWidget* parent) : QTreeView(parent), list_(list) {
    setModel(list);
    setItemDelegate(new FailedInRed(this));
    setSelectionModel(list->selectionModel());
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTextElideMode(Qt::ElideMiddle);
    setSortingEnabled(false);
    setDragDropMode(QAbstractItemView::DropOnly);
    setDropIndicatorShown(false);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    header()->setSectionsMovable(false);
    header()->setStretchLastSection(true);
    header()->setHighlightSections(false);
}

void FileListView::dragEnterEvent(QDragEnterEvent* event) {
    filelist::acceptFileDrag(event);
}

void FileListView::dragMoveEvent(QDragMoveEvent* event) {
    filelist::acceptFileDrag(event);
}

void FileListView::dragLeaveEvent(QDragLeaveEvent* event) {
    event->accept();
}

void FileListView::dropEvent(QDropEvent* event) {
    filelist::takeFileDrop(*list_, event);
}

DropZone::DropZone(FileList* list, QWidget* parent) : QWidget(parent), list_(list) {
    setAcceptDrops(true);
}

void DropZone::dragEnterEvent(QDragEnterEvent* event) {
    filelist::acceptFileDrag(event);
}

void DropZone::dragMoveEvent(QDragMoveEvent* event) {
    filelist::acceptFileDrag(event);
}

void DropZone::dropEvent(QDropEvent* event) {
    filelist::takeFileDrop(*list_, event);
}

void DropZone::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void DropZone::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click)
        emit clicked();
}
