#include "platform/single_instance.h"
#include "ui/frm_main.h"
#include "ui/main_controller.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString programFolder = QCoreApplication::applicationDirPath();
    // A second copy ends before it shows anything or touches a settings file.
    if (!platform::AcquireSingleInstance(programFolder))
        return 0;

    frmMain window;
    MainController controller(window, programFolder);
    QObject::connect(&controller, &MainController::exitRequested, &app, &QApplication::quit);
    controller.Load();
    window.show();
    return app.exec();
}
