#pragma once

#include <QPoint>

class QMouseEvent;
class QWidget;

// Moves a frameless window while the left button, pressed on its background, is held.
// The window manager does the move where it offers one; otherwise the window follows the
// pointer by hand.
class WindowDrag final {
public:
    explicit WindowDrag(QWidget* window) : window_(window) {}

    void press(const QMouseEvent& event);
    // Returns true while this move belongs to a drag.
    bool move(const QMouseEvent& event);
    void release();

    [[nodiscard]] bool active() const { return armed_ || manual_; }

private:
    QWidget* window_;
    bool armed_ = false;  // pressed on the background, no move yet
    bool manual_ = false; // following the pointer by hand
    QPoint pressGlobal_;
    QPoint windowAtPress_;
};
