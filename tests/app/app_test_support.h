#pragma once

#include "common/platform_fakes.h"
#include "common/qt_files.h"
#include "dialogs/fake_dialogs.h"
#include "gui/window/frm_main.h"
#include "gui/window/main_controller.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <memory>

// A program folder of its own (settings files land there), and the controller with its window.
struct AppFixture {
    AppFixture() {
        controller = std::make_unique<MainController>(
            program.path(), platform::Services{boxes, shell, sound, dialogs});
        window = &controller->window();
    }

    QTemporaryDir program;
    FakeMessageBoxes boxes;
    FakeShell shell;
    FakeSound sound;
    FakeDialogs dialogs;
    std::unique_ptr<MainController> controller;
    frmMain* window = nullptr; // the controller's
};

// A sine tone made by the ffmpeg program.
inline bool MakeTone(const QString& path, double seconds = 1.0) {
    return QProcess::execute(QStringLiteral("ffmpeg"),
                             {"-v", "error", "-y", "-f", "lavfi", "-i",
                              QStringLiteral("sine=frequency=440:duration=%1").arg(seconds),
                              path}) == 0;
}

// What ffprobe states: codec_name, sample_rate, channels of the first audio stream.
inline QString Probe(const QString& path) {
    QProcess p;
    p.start(QStringLiteral("ffprobe"),
            {"-v", "error", "-select_streams", "a:0", "-show_entries",
             "stream=codec_name,sample_rate,channels", "-of", "csv=p=0", path});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}
