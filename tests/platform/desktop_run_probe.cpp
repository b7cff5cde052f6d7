// Converts two files through the window and its desktop services, with no one looking, and
// ends: 0 when the run ended and emptied the list. Prints nothing of its own.
#include "core/system/runtime_dir.h"
#include "platform/run_face.h"

#include <QApplication>

int main(int argc, char** argv) {
    platform::ProvideRuntimeDir(); // as the program does
    QApplication app(argc, argv);
    RunFace face;
    face.add({"one.wav", "broken.wav"});
    if (!face.ok || !face.run())
        return 1;
    // The end of the run reaches the desktop from the event loop.
    QTest::qWait(200);
    return face.window.fileList()->count() == 0 ? 0 : 1;
}
