#pragma once

#include <QString>

namespace platform {

enum class MsgIcon { None, Critical, Question, Exclamation, Information };

// Every message box of the program goes through this interface, passed in where it is used:
// the window shows boxes, the batch mode prints lines, tests record what would be shown.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual void show(const QString& text, MsgIcon icon, const QString& title) = 0;
    // A question with Yes and No; true for Yes. A face that cannot ask answers No, so that
    // nothing ends that the user did not agree to.
    virtual bool ask(const QString& text, const QString& title) {
        (void)text;
        (void)title;
        return false;
    }
};

// The application's title, used where a box carries "the program's title".
[[nodiscard]] inline QString applicationTitle() {
    return QStringLiteral("Pelkora");
}

} // namespace platform
