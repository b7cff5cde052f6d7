#include "gui/window/window_drag.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

void WindowDrag::press(const QMouseEvent& event) {
    armed_ = event.button() == Qt::LeftButton;
    manual_ = false;
    pressGlobal_ = event.globalPosition().toPoint();
    windowAtPress_ = window_->window()->pos();
}

bool WindowDrag::move(const QMouseEvent& event) {
    if (!(event.buttons() & Qt::LeftButton)) {
        armed_ = false;
        manual_ = false;
        return false;
    }
    if (armed_) {
        armed_ = false;
        QWindow* handle = window_->window()->windowHandle();
        if (handle != nullptr && handle->startSystemMove())
            return true; // the window manager owns the move from here on
        manual_ = true;
    }
    if (!manual_)
        return false;
    window_->window()->move(windowAtPress_ + event.globalPosition().toPoint() - pressGlobal_);
    return true;
}

void WindowDrag::release() {
    armed_ = false;
    manual_ = false;
}
