#pragma once

#include <QTreeView>

class FileList;

// The visible list: two columns, one row per entry, open for drops of local files and
// folders from a file manager (also while a batch runs).
class FileListView final : public QTreeView {
    Q_OBJECT
public:
    explicit FileListView(FileList* list, QWidget* parent = nullptr);

    [[nodiscard]] FileList* fileList() const { return list_; }

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    FileList* list_;
};

// An invisible drop target: takes the same drops as the list and reports clicks.
class DropZone final : public QWidget {
    Q_OBJECT
public:
    explicit DropZone(FileList* list, QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    FileList* list_;
    bool pressed_ = false;
};

namespace filelist {
// Accepts a drag as a copy when it carries local files; refuses it otherwise.
bool acceptFileDrag(QDropEvent* event);
// Appends the files of a drop to the list; the dragged files stay where they are.
void takeFileDrop(FileList& list, QDropEvent* event);
} // namespace filelist
