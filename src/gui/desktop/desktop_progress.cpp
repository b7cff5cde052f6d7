#include "gui/desktop/desktop_progress.h"

#include "app/files/file_list.h"
#include "app/run/batch_run.h"
#include "core/system/run_end_text.h"
#include "gui/desktop/bring_to_front.h"

#include <QWidget>

namespace platform {

DesktopProgress::DesktopProgress(const BatchRun& run, const FileList& list, QWidget& window,
                                 QDBusConnection bus, QObject* parent)
    : QObject(parent), run_(run), list_(list), window_(window), launcher_(bus), notifier_(bus) {
    // The taskbar always shows the whole run, whatever the window's bar shows.
    connect(&run, &BatchRun::fileStarted, this, &DesktopProgress::showProgress);
    connect(&run, &BatchRun::runProgress, this, &DesktopProgress::showProgress);
    connect(&run, &BatchRun::fileFinished, this, &DesktopProgress::onFileFinished);
    // Queued: the window may hold its end in a message box, and the desktop should hear of
    // the end when it happens, not when the box is closed.
    connect(&run, &BatchRun::runFinished, this, &DesktopProgress::onRunFinished,
            Qt::QueuedConnection);
    // A stopped run has no end to announce, but the taskbar must not keep its bar.
    connect(&run, &BatchRun::stopped, this, [this] { launcher_.clear(); });
    connect(&notifier_, &DesktopNotifier::activated, this, [this] { BringToFront(window_); });
}

void DesktopProgress::showProgress() {
    launcher_.show(run_.runFraction(), list_.count());
}

void DesktopProgress::onFileFinished() {
    lookedAtEnd_ = userIsLooking();
    showProgress();
}

void DesktopProgress::onRunFinished(const RunReport& report) {
    launcher_.clear();
    const int failed = static_cast<int>(report.failures.size());
    const bool announce = report.converted + failed > 0 && !report.aborted() && !lookedAtEnd_;
    lookedAtEnd_ = true;
    if (!announce)
        return;
    notifier_.notify(QStringLiteral("Pelkora"),
                     QString::fromStdString(RunEndText(report.converted, failed)));
}

bool DesktopProgress::userIsLooking() const {
    return window_.isActiveWindow() && !window_.isMinimized();
}

} // namespace platform
