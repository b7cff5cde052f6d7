#include "gui/window/frm_menu.h"

#include "app/files/file_list.h"

#include <QAction>
#include <QMenu>

frmMenu::frmMenu(FileList* list, QWidget* owner)
    : QObject(owner), list_(list), menuFile_(new QMenu(QStringLiteral("File"), owner)),
      menuOptions_(new QMenu(QStringLiteral("Options"), owner)),
      menuAbout_(new QMenu(QStringLiteral("About"), owner)),
      menuRemove_(new QMenu(QStringLiteral("Remove"), owner)) {
    menuAddaFile =
        addEntry(menuFile_, QStringLiteral("Add a File(&A)"), QStringLiteral("AddaFile"));
    menuAddaFolder =
        addEntry(menuFile_, QStringLiteral("Add a Folder(&F)"), QStringLiteral("menuAddaFolder"));
    menuS = menuFile_->addSeparator();
    menuExit = addEntry(menuFile_, QStringLiteral("Exit(&E)"), QStringLiteral("menuExit"));

    menuOption =
        addEntry(menuOptions_, QStringLiteral("Options(&O)"), QStringLiteral("menuOption"));

    menuHelp = addEntry(menuAbout_, QStringLiteral("Help(&H)"), QStringLiteral("menuHelp"));
    menuA = addEntry(menuAbout_, QStringLiteral("About(&A)"), QStringLiteral("A"));

    menuRemoveSelected =
        addEntry(menuRemove_, QStringLiteral("Remove Selected"), QStringLiteral("RemoveSelected"));
    menuRemoveAll = menuRemove_->addAction(QStringLiteral("Remove All"));
    connect(menuRemoveAll, &QAction::triggered, this, [this] { list_->RemoveAll(); });
}

frmMenu::~frmMenu() = default;

QAction* frmMenu::addEntry(QMenu* menu, const QString& caption, const QString& word) {
    QAction* action = menu->addAction(caption);
    connect(action, &QAction::triggered, this, [this, word] { emit commandWord(word); });
    return action;
}
