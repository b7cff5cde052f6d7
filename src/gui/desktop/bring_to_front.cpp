#include "gui/desktop/bring_to_front.h"

#include <QWidget>

namespace platform {

void BringToFront(QWidget& window) {
    window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window.show();
    window.raise();
    window.activateWindow();
}

} // namespace platform
