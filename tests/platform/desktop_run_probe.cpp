// Converts two files through the window and its desktop services, with no one looking, and
// ends: 0 when the run ended and left only the failed file in the list. Prints nothing of its
// own.
#include "core/system/runtime_dir.h"
#include "platform/run_face.h"

#include <QApplication>

int main(int argc, char** argv) {
    platform::ProvideRuntimeDir(); // as the program does
    QApplication app(argc, argv);
    RunFace face;
    face.add({"one.wav", "broken.wav"});
    // The desktop hears of the end through a queued call; one queued after it marks that done.
    bool desktopTold = false;
    QObject::connect(
        &face.controller.batch(), &BatchRun::runFinished, &app, [&] { desktopTold = true; },
        Qt::QueuedConnection);
    if (!face.ok || !face.run() || !QTest::qWaitFor([&] { return desktopTold; }, 60'000))
        return 1;
    const FileList& list = *face.window.fileList();
    return list.count() == 1 && list.failed(0) ? 0 : 1;
}
