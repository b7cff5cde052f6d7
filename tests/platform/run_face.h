#pragma once

#include "app/files/file_list.h"
#include "common/platform_fakes.h"
#include "dialogs/fake_dialogs.h"
#include "gui/desktop/desktop_progress.h"
#include "gui/window/frm_main.h"
#include "gui/window/main_controller.h"

#include <QDBusConnection>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The window as main() builds it, with the desktop services, and the fake converter.
struct RunFace {
    RunFace() {
        ok = program.isValid() && inputs.isValid() &&
             QDir(program.path()).mkpath(QStringLiteral("data")) &&
             QFile::copy(QStringLiteral(FAKE_CONV), program.filePath(QStringLiteral("data/conv")));
        controller.Load();
    }

    // Files whose names steer the fake converter: "slow" takes a while, "broken" fails.
    void add(std::initializer_list<const char*> names) {
        for (const char* name : names) {
            QFile file(inputs.filePath(QString::fromLatin1(name)));
            ok = ok && file.open(QIODevice::WriteOnly);
            window.fileList()->AddFileEntry(QFile::encodeName(file.fileName()));
        }
    }
    // Converts the list; false when the run did not end within the deadline.
    bool run(int deadlineMs = 60'000) {
        bool ended = false;
        const auto connection =
            QObject::connect(&controller, &MainController::runEnded, [&] { ended = true; });
        controller.Start();
        const bool done = QTest::qWaitFor([&] { return ended; }, deadlineMs);
        QObject::disconnect(connection);
        return done;
    }

    bool ok = false;
    QTemporaryDir program, inputs;
    FakeMessageBoxes boxes;
    FakeShell shell;
    FakeSound sound;
    FakeDialogs dialogs;
    MainController controller{program.path(), {boxes, shell, sound, dialogs}};
    frmMain& window = controller.window();
    platform::DesktopProgress desktop{controller.batch(), controller.fileList(), window,
                                      QDBusConnection::sessionBus()};
};
