#pragma once

#include "app/services/message_box.h"
#include "gui/services/shell.h"

namespace platform {

// A shell that says in a box when the desktop took nothing it was given (no xdg-open, no
// program for the type): otherwise F1 or the finished run's folder would silently do nothing.
class ReportingShell final : public Shell {
public:
    ReportingShell(Shell& shell, MessageBoxes& boxes) : shell_(shell), boxes_(boxes) {}
    bool openUrl(const QUrl& url) override;

private:
    Shell& shell_;
    MessageBoxes& boxes_;
};

} // namespace platform
