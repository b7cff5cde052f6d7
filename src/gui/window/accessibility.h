#pragma once

#include <QPoint>

#include <optional>

class QAbstractButton;
class QMenu;
class QWidget;

namespace accessibility {

// Gives the screen reader what the skinned controls are: the window a frame, each combo box
// its caption as its name (its choice as its value), the progress fill a progress bar, the
// links links. Call before the first window is made; later calls do nothing.
void install();

// Enter or Return that no control in the dialog took clicks the button; a focused button
// takes its own. Esc stays the dialog's.
void setDefaultButton(QWidget& dialog, QAbstractButton& button);

// Where a popup opened from a button goes: at the pointer when the pointer is on the button
// (a click), otherwise below the button's left edge (the keyboard, a reader's press).
[[nodiscard]] QPoint popupPlace(const QWidget& button, QPoint pointer);

// Opens the button's menu at the place given, or at popupPlace() for the pointer. Opened from
// the keyboard, its first entry is current, so arrows and the reader start there.
void popUp(QMenu& menu, const QWidget& button, std::optional<QPoint> at = std::nullopt);

} // namespace accessibility
