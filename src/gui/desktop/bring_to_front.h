#pragma once

class QWidget;

namespace platform {

// Shows the window restored from the taskbar, above the others, with the keyboard. The
// window manager may still decline to hand over the focus.
void BringToFront(QWidget& window);

} // namespace platform
