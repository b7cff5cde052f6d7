#include "gui/desktop/desktop_services.h"

#include <QDesktopServices>

namespace platform {

bool DesktopShell::openUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

} // namespace platform
