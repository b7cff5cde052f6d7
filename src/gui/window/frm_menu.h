#pragma once

#include <QObject>
#include <QString>

class FileList;
class QAction;
class QMenu;
class QWidget;

// The popup menus of the main window. Each entry hands its command word to whoever listens
// on commandWord(); "Remove All" empties the list itself.
class frmMenu final : public QObject {
    Q_OBJECT
public:
    frmMenu(FileList* list, QWidget* owner);
    ~frmMenu() override;

    [[nodiscard]] QMenu* menuFile() const { return menuFile_; }
    [[nodiscard]] QMenu* menuOptions() const { return menuOptions_; }
    [[nodiscard]] QMenu* menuAbout() const { return menuAbout_; }
    [[nodiscard]] QMenu* menuRemove() const { return menuRemove_; }

    // Entries, by their names on the form.
    QAction* menuAddaFile = nullptr;
    QAction* menuAddaFolder = nullptr;
    QAction* menuS = nullptr;
    QAction* menuExit = nullptr;
    QAction* menuOption = nullptr;
    QAction* menuHelp = nullptr;
    QAction* menuA = nullptr;
    QAction* menuRemoveSelected = nullptr;
    QAction* menuRemoveAll = nullptr;

signals:
    void commandWord(const QString& word);

private:
    QAction* addEntry(QMenu* menu, const QString& caption, const QString& word);

    FileList* list_;
    QMenu* menuFile_;
    QMenu* menuOptions_;
    QMenu* menuAbout_;
    QMenu* menuRemove_;
};
