#include "gui/desktop/desktop_services.h"

#include <QApplication>
#include <QMessageBox>

namespace platform {
namespace {

QMessageBox::Icon toQt(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::Critical:
        return QMessageBox::Critical;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::Exclamation:
        return QMessageBox::Warning;
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

QWidget* QtMessageBoxes::owner() const {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return mainWindow_;
}

void QtMessageBoxes::show(const QString& text, MsgIcon icon, const QString& title) {
    QMessageBox box(toQt(icon), title, text, QMessageBox::Ok, owner());
    box.exec();
}

bool QtMessageBoxes::ask(const QString& text, const QString& title) {
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No,
                    owner());
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

} // namespace platform
