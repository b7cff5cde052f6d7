#pragma once

#include <QString>

class QWidget;

namespace platform {

enum class MsgIcon { None, Critical, Question, Exclamation, Information };

// Every message box of the program goes through this interface so that tests can record
// what would have been shown instead of blocking on a modal box.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual void show(const QString& text, MsgIcon icon, const QString& title) = 0;
};

// The application's title, used where a box carries "the program's title".
[[nodiscard]] QString applicationTitle();

[[nodiscard]] MessageBoxes& messageBoxes();
// Replaces the service (nullptr restores the real one). The caller keeps ownership.
void setMessageBoxes(MessageBoxes* replacement);

} // namespace platform
