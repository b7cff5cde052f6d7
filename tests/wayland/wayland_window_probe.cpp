// The window as main() builds it, with the desktop's own services, on a Wayland desktop.
//   wayland_window_probe convert INPUT OUTPUT-FOLDER  converts INPUT with the real converter
//   wayland_window_probe move                         says where the pointer is over the
//                                                     window until standard input ends
// Exit 0 when that worked; what went wrong goes to standard output, so that standard error
// holds only what Qt and the program say.
#include "gui/desktop/desktop_services.h"
#include "gui/window/frm_main.h"
#include "gui/window/main_controller.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QMouseEvent>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <cstring>

#include <unistd.h>

namespace {

constexpr int kDeadlineMs = 120'000;

int Fail(const char* what) {
    std::printf("%s\n", what);
    return 1;
}

// Says a box's text and closes it, so that no box holds the probe up.
void CloseBoxesAsTheyOpen(QTimer& timer) {
    QObject::connect(&timer, &QTimer::timeout, [] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(w); box != nullptr && box->isVisible()) {
                std::printf("box: %s\n", qPrintable(box->text()));
                box->reject();
            }
        }
    });
    timer.start(50);
}

int Convert(MainController& controller, const char* input, const char* output) {
    // No file manager or sound device is this test's business, and a bare machine has neither.
    ConversionChoices choices = controller.choices().value();
    choices.outputFolder = QByteArray(output);
    choices.openFolderWhenDone = false;
    choices.options.FinishSound = 1;
    controller.choices().set(choices);
    controller.fileList().AddFileEntry(QByteArray(input));
    bool ended = false;
    QObject::connect(&controller, &MainController::runEnded, [&] { ended = true; });
    controller.Start();
    if (!QTest::qWaitFor([&] { return ended; }, kDeadlineMs))
        return Fail("the run did not end");
    return controller.fileList().count() == 0 ? 0 : Fail("the file is still in the list");
}

// Says where the pointer is over the window whenever it moves there.
class PointerReport final : public QObject {
protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseMove) {
            const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
            std::printf("pointer %d %d\n", at.x(), at.y());
            std::fflush(stdout);
        }
        return false;
    }
};

// Runs until standard input ends, while the test drags the window with the real pointer.
int Move(QApplication& app, frmMain& window) {
    PointerReport report;
    window.windowHandle()->installEventFilter(&report);
    const QPoint start = window.pos();
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char byte = 0;
        if (::read(STDIN_FILENO, &byte, 1) <= 0)
            app.quit();
    });
    app.exec();
    // On Wayland a window moved by hand only moves where Qt thinks it is.
    return window.pos() == start ? 0 : Fail("the window was moved by hand");
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const bool convert = argc == 4 && std::strcmp(argv[1], "convert") == 0;
    if (!convert && !(argc == 2 && std::strcmp(argv[1], "move") == 0))
        return Fail("usage: wayland_window_probe convert INPUT OUTPUT | move");
    if (QGuiApplication::platformName() != QStringLiteral("wayland"))
        return Fail("not on Wayland");

    // A program folder of its own, with the real converter beside it.
    QTemporaryDir program;
    if (!program.isValid() || !QDir(program.path()).mkpath(QStringLiteral("data")) ||
        !QFile::copy(QStringLiteral(PELKORA_CONV), program.filePath(QStringLiteral("data/conv"))))
        return Fail("no program folder");
    platform::DesktopServices desktop;
    MainController controller(program.path(), desktop.services());
    frmMain& window = controller.window();
    desktop.setMainWindow(&window);
    QTimer boxes;
    CloseBoxesAsTheyOpen(boxes);
    controller.Load();
    window.show();
    if (!QTest::qWaitForWindowExposed(&window, kDeadlineMs))
        return Fail("the window was never shown");
    return convert ? Convert(controller, argv[2], argv[3]) : Move(app, window);
}
