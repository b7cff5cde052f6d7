// Prints the wall time of a batch of one-second WAV files converted to MP3 by the program
// (its window and controller, headless) against a shell loop running the converter on the
// same files, and their ratio.
// Usage: QT_QPA_PLATFORM=offscreen batch_bench [files]      (default 100)
#include "filelist/file_list.h"
#include "platform/desktop_services.h"
#include "settings/settings_file.h"
#include "ui/frm_main.h"
#include "ui/main_controller.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

class NoShell final : public platform::Shell {
public:
    bool openUrl(const QUrl&) override { return true; }
};

class NoBoxes final : public platform::MessageBoxes {
public:
    void show(const QString& text, platform::MsgIcon, const QString&) override {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
};

double Seconds(const QElapsedTimer& t) {
    return static_cast<double>(t.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int files = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100;
    NoShell shell;
    NoBoxes boxes;
    platform::DesktopServices desktop;
    const platform::Services real = desktop.services();
    const platform::Services services{boxes, shell, real.sound, real.dialogs};

    QTemporaryDir work;
    const QString program = QStringLiteral(PELKORA_PROGRAM_DIR);
    const QString conv = program + QStringLiteral("/data/conv");
    QDir(work.path()).mkpath("in");
    QProcess::execute("ffmpeg",
                      {"-v", "error", "-y", "-f", "lavfi", "-i", "sine=frequency=440:duration=1",
                       "-ac", "2", work.filePath("in/tone.wav")});
    for (int i = 1; i < files; ++i)
        QFile::copy(work.filePath("in/tone.wav"),
                    work.filePath(QStringLiteral("in/tone%1.wav").arg(i)));
    const QStringList inputs =
        QDir(work.filePath("in")).entryList({"*.wav"}, QDir::Files, QDir::Name);

    // The shell loop: the converter with the same arguments the program gives it.
    QString script =
        QStringLiteral("set -e; mkdir -p '%1'; for f in '%2'/*.wav; do b=$(basename \"$f\" .wav); "
                       "'%3' -i \"$f\" -y -vn -ab 128k -ar 44100 -ac 2 -map_meta_data "
                       "\"$f:%1/$b.mp3\" \"%1/$b.mp3\" 2>/dev/null; done")
            .arg(work.filePath("loop"), work.filePath("in"), conv);
    QElapsedTimer clock;
    clock.start();
    QProcess::execute("/bin/sh", {"-c", script});
    const double loop = Seconds(clock);

    frmMain window;
    MainController controller(window, program, services);
    settings::OptionsRecords soundOff;
    soundOff.FinishSound = 1;
    controller.choices().setOptions(soundOff);
    window.txtPath()->setText(work.filePath("program"));
    for (const QString& name : inputs)
        window.fileList()->AddFileEntry(QFile::encodeName(work.filePath("in/" + name)));
    QEventLoop wait;
    QObject::connect(&controller, &MainController::runEnded, &wait, &QEventLoop::quit);
    clock.restart();
    controller.Start();
    wait.exec();
    const double run = Seconds(clock);

    const int made = static_cast<int>(QDir(work.filePath("program")).entryList({"*.mp3"}).size());
    std::printf("%d one-second WAV files to MP3: program %.3f s (%d outputs), shell loop %.3f s, "
                "ratio %.3f (target <= 1.10)\n",
                files, run, made, loop, run / loop);
    return 0;
}
