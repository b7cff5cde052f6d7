#include "platform/desktop_progress.h"

#include "engine/batch_run.h"
#include "engine/progress_parser.h"
#include "filelist/file_list.h"
#include "platform/bring_to_front.h"
#include "platform/run_end_text.h"
#include "settings/choices.h"

#include <QWidget>

namespace platform {

DesktopProgress::DesktopProgress(BatchRun& run, const FileList& list, const Choices& choices,
                                 QWidget& window, QDBusConnection bus, QObject* parent)
    : QObject(parent), list_(list), choices_(choices), window_(window), launcher_(bus),
      notifier_(bus) {
    connect(&run, &BatchRun::fileStarted, this, [this] {
        if (finished_ == 0 && list_.count() > 0)
            onProgress(0.0f);
    });
    connect(&run, &BatchRun::progressChanged, this,
            [this](float width, const QString&) { onProgress(width); });
    connect(&run, &BatchRun::fileFinished, this, &DesktopProgress::onFileFinished);
    // Queued: the window may hold its end in a message box, and the desktop should hear of
    // the end when it happens, not when the box is closed.
    connect(&run, &BatchRun::runFinished, this, &DesktopProgress::onRunFinished,
            Qt::QueuedConnection);
    connect(&notifier_, &DesktopNotifier::activated, this, [this] { BringToFront(window_); });
}

void DesktopProgress::onProgress(float barWidthTwips) {
    const double bar = static_cast<double>(barWidthTwips / kProgressBarFullWidth);
    const int total = finished_ + list_.count();
    // One file at a time, the bar shows the file; with several, the whole run.
    const double progress =
        choices_.value().jobs > 1 ? bar : (total > 0 ? (finished_ + bar) / total : 1.0);
    launcher_.show(progress, list_.count());
}

void DesktopProgress::onFileFinished() {
    ++finished_;
    lookedAtEnd_ = userIsLooking();
    const int total = finished_ + list_.count();
    if (choices_.value().jobs <= 1)
        launcher_.show(static_cast<double>(finished_) / total, list_.count());
}

void DesktopProgress::onRunFinished(const RunReport& report) {
    launcher_.clear();
    const bool announce = finished_ > 0 && !report.aborted && !lookedAtEnd_;
    finished_ = 0;
    lookedAtEnd_ = true;
    if (!announce)
        return;
    const int failed = static_cast<int>(report.failures.size());
    notifier_.notify(QStringLiteral("Pelkora"),
                     QString::fromStdString(RunEndText(report.converted, failed)));
}

bool DesktopProgress::userIsLooking() const {
    return window_.isActiveWindow() && !window_.isMinimized();
}

} // namespace platform
