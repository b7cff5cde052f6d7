#pragma once

#include "app/services/message_box.h"
#include "gui/dialogs/dialog_backend.h"
#include "gui/services/reporting_shell.h"
#include "gui/services/services.h"
#include "gui/services/shell.h"
#include "gui/services/sound.h"

#include <QPointer>
#include <QWidget>

#include <memory>

namespace platform {

// Each box is transient for the modal dialog it rises over, else for the main window, so the
// desktop centres it there; the window with the focus is no guide (on Wayland there may be none).
class QtMessageBoxes final : public MessageBoxes {
public:
    void setMainWindow(QWidget* window) { mainWindow_ = window; }
    void show(const QString& text, MsgIcon icon, const QString& title) override;
    bool ask(const QString& text, const QString& title) override;

private:
    [[nodiscard]] QWidget* owner() const;

    QPointer<QWidget> mainWindow_;
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
    // The window the boxes belong to.
    void setMainWindow(QWidget* window) { boxes_.setMainWindow(window); }

private:
    QtMessageBoxes boxes_;
    DesktopShell shell_;
    ReportingShell reportingShell_{shell_, boxes_};
    QtSound sound_;
    std::unique_ptr<dialogs::Backend> dialogs_;
};

} // namespace platform
