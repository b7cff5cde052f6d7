#include "headless/batch_arguments.h"
#include "headless/headless_run.h"
#include "platform/desktop_services.h"
#include "platform/single_instance.h"
#include "ui/frm_main.h"
#include "ui/main_controller.h"

#include <QApplication>

int main(int argc, char** argv) {
    // The batch mode needs no display: it must not even try to open one.
    if (headless::IsBatchInvocation(argc, argv))
        return RunHeadless(argc, argv);

    QApplication app(argc, argv);
    const QString programFolder = QCoreApplication::applicationDirPath();
    // A second copy ends before it shows anything or touches a settings file.
    if (!platform::AcquireSingleInstance(programFolder))
        return 0;

    platform::DesktopServices desktop;
    frmMain window;
    MainController controller(window, programFolder, desktop.services());
    QObject::connect(&controller, &MainController::exitRequested, &app, &QApplication::quit);
    controller.Load();
    window.show();
    return app.exec();
}
