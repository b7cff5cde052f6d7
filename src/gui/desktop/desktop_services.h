#pragma once

#include "app/services/message_box.h"
#include "gui/dialogs/dialog_backend.h"
#include "gui/services/reporting_shell.h"
#include "gui/services/services.h"
#include "gui/services/shell.h"
#include "gui/services/sound.h"

#include <memory>

namespace platform {

class QtMessageBoxes final : public MessageBoxes {
public:
    void show(const QString& text, MsgIcon icon, const QString& title) override;
    bool ask(const QString& text, const QString& title) override;
};

class DesktopShell final : public Shell {
public:
    bool openUrl(const QUrl& url) override;
};

// Plays through Qt Multimedia; where no audio device exists, `done` follows at once.
class QtSound final : public Sound {
public:
    void playToEnd(const QString& path, std::function<void()> done) override;
};

// The real services of a desktop session, made once by the window's main().
class DesktopServices final {
public:
    DesktopServices() : dialogs_(dialogs::CreateDesktopDialogs()) {}
    [[nodiscard]] Services services() { return {boxes_, reportingShell_, sound_, *dialogs_}; }

private:
    QtMessageBoxes boxes_;
    DesktopShell shell_;
    ReportingShell reportingShell_{shell_, boxes_};
    QtSound sound_;
    std::unique_ptr<dialogs::Backend> dialogs_;
};

} // namespace platform
