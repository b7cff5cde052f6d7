#pragma once

#include "gui/desktop/desktop_notifier.h"
#include "gui/desktop/launcher_entry.h"

#include <QObject>

class BatchRun;
class FileList;
class QWidget;
struct RunReport;

namespace platform {

// What the desktop shows of a run outside the window: progress and files left on the
// taskbar entry while it lasts, and a notification at its end when the user is looking
// elsewhere (the window minimised or not active). A click on the notification brings the
// window back.
class DesktopProgress final : public QObject {
    Q_OBJECT
public:
    DesktopProgress(const BatchRun& run, const FileList& list, QWidget& window, QDBusConnection bus,
                    QObject* parent = nullptr);

private:
    void showProgress();
    void onFileFinished();
    void onRunFinished(const RunReport& report);
    [[nodiscard]] bool userIsLooking() const;

    const BatchRun& run_;
    const FileList& list_;
    QWidget& window_;
    LauncherEntry launcher_;
    DesktopNotifier notifier_;
    bool lookedAtEnd_ = true; // whether the user had the window when the last file ended
};

} // namespace platform
