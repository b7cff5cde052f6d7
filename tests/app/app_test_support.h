#pragma once

#include "common/platform_fakes.h"
#include "dialogs/fake_dialogs.h"
#include "settings/settings_file.h"
#include "ui/frm_main.h"
#include "ui/main_controller.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <memory>
#include <optional>

// A program folder of its own (settings files land there), a window and its controller.
struct AppFixture {
    AppFixture() {
        window = std::make_unique<frmMain>();
        controller = std::make_unique<MainController>(
            *window, program.path(), platform::Services{boxes, shell, sound, dialogs});
    }

    // Makes the real converter reachable as data/conv of the program folder.
    void InstallConverter() {
        QDir(program.path()).mkpath("data");
        QFile::link(QStringLiteral(PELKORA_PROGRAM_DIR "/data/conv"),
                    program.filePath("data/conv"));
    }

    QByteArray ReadFile(const QString& name) const {
        QFile f(program.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir program;
    FakeMessageBoxes boxes;
    FakeShell shell;
    FakeSound sound;
    FakeDialogs dialogs;
    std::unique_ptr<frmMain> window;
    std::unique_ptr<MainController> controller;
};

// A one-second sine tone made by the ffmpeg program.
inline bool MakeTone(const QString& path, double seconds = 1.0) {
    return QProcess::execute(QStringLiteral("ffmpeg"),
                             {"-v", "error", "-y", "-f", "lavfi", "-i",
                              QStringLiteral("sine=frequency=440:duration=%1").arg(seconds),
                              path}) == 0;
}

// codec_name, sample_rate, channels of the first audio stream, as ffprobe states them.
inline QString Probe(const QString& path) {
    QProcess p;
    p.start(QStringLiteral("ffprobe"),
            {"-v", "error", "-select_streams", "a:0", "-show_entries",
             "stream=codec_name,sample_rate,channels", "-of", "csv=p=0", path});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}
