#pragma once

#include "platform/desktop_notifier.h"
#include "platform/launcher_entry.h"

#include <QObject>

class BatchRun;
class Choices;
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
    DesktopProgress(BatchRun& run, const FileList& list, const Choices& choices, QWidget& window,
                    QDBusConnection bus, QObject* parent = nullptr);

private:
    void onProgress(float barWidthTwips);
    void onFileFinished();
    void onRunFinished(const RunReport& report);
    [[nodiscard]] bool userIsLooking() const;

    const FileList& list_;
    const Choices& choices_;
    QWidget& window_;
    LauncherEntry launcher_;
    DesktopNotifier notifier_;
    int finished_ = 0;        // files of this run that have ended
    bool lookedAtEnd_ = true; // whether the user had the window when the last file ended
};

} // namespace platform
