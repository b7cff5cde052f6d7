#include "platform/shell.h"

#include <QDesktopServices>

namespace platform {
namespace {

class DesktopShell final : public Shell {
public:
    bool openUrl(const QUrl& url) override { return QDesktopServices::openUrl(url); }
};

Shell* replacement = nullptr;

} // namespace

Shell& shell() {
    static DesktopShell real;
    return replacement ? *replacement : real;
}

void setShell(Shell* r) {
    replacement = r;
}

} // namespace platform
