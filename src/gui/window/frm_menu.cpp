#include "gui/window/frm_menu.h"

#include "app/files/file_list.h"

#include <QAction>
#include <QMenu>

frmMenu::frmMenu(FileList* list, QWidget* owner)
    : QObject(owner), list_(list), menuFile_(new QMenu(tr("File"), owner)),
      menuOptions_(new QMenu(tr("Options"), owner)), menuAbout_(new QMenu(tr("About"), owner)),
      menuRemove_(new QMenu(tr("Remove"), owner)) {
    // A reader names a popup after its window title.
    for (QMenu* menu : {menuFile_, menuOptions_, menuAbout_, menuRemove_})
        menu->setWindowTitle(menu->title());
    menuAddaFile = addEntry(menuFile_, tr("Add a File(&A)"), QStringLiteral("AddaFile"));
    menuAddaFolder = addEntry(menuFile_, tr("Add a Folder(&F)"), QStringLiteral("menuAddaFolder"));
    menuS = menuFile_->addSeparator();
    menuExit = addEntry(menuFile_, tr("Exit(&E)"), QStringLiteral("menuExit"));

    menuOption = addEntry(menuOptions_, tr("Options(&O)"), QStringLiteral("menuOption"));

    menuHelp = addEntry(menuAbout_, tr("Help(&H)"), QStringLiteral("menuHelp"));
    menuA = addEntry(menuAbout_, tr("About(&A)"), QStringLiteral("A"));

    menuRemoveSelected =
        addEntry(menuRemove_, tr("Remove &Selected"), QStringLiteral("RemoveSelected"));
    menuRemoveAll = menuRemove_->addAction(tr("Remove &All"));
    connect(menuRemoveAll, &QAction::triggered, this, [this] { list_->RemoveAll(); });
}

frmMenu::~frmMenu() = default;

QAction* frmMenu::addEntry(QMenu* menu, const QString& caption, const QString& word) {
    QAction* action = menu->addAction(caption);
    connect(action, &QAction::triggered, this, [this, word] { emit commandWord(word); });
    return action;
}
