#include "platform/message_box.h"

#include <QApplication>
#include <QMessageBox>

namespace platform {
namespace {

class QtMessageBoxes final : public MessageBoxes {
public:
    void show(const QString& text, MsgIcon icon, const QString& title) override {
        QMessageBox box(toQt(icon), title, text, QMessageBox::Ok, QApplication::activeWindow());
        box.exec();
    }

private:
    static QMessageBox::Icon toQt(MsgIcon icon) {
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
};

MessageBoxes* replacement = nullptr;

} // namespace

QString applicationTitle() {
    return QStringLiteral("Pelkora");
}

MessageBoxes& messageBoxes() {
    static QtMessageBoxes real;
    return replacement ? *replacement : real;
}

void setMessageBoxes(MessageBoxes* r) {
    replacement = r;
}

} // namespace platform
