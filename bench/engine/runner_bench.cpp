// Prints how the console runner compares with plain process starts on this machine:
//   (a) 100 short commands through the runner against a shell loop running the same command;
//   (b) a child printing 10 MB of progress lines through the runner against the same child
//       writing to /dev/null; for scale also the bare cost of any pipe (the child into `cat`).
// The runner is driven as the batch run drives it: Start(), every line through the progress
// parser, the next command started from the event loop after CommandOver. The blocking
// ExecuteCommand() is measured beside it.
// Usage: runner_bench [rounds]   (each figure is the median of the rounds)
#include "app/run/dos_outputs.h"
#include "core/engine/progress_parser.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace {

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

template <typename F> double Seconds(F&& f) {
    QElapsedTimer clock;
    clock.start();
    f();
    return static_cast<double>(clock.nsecsElapsed()) / 1e9;
}

double RunnerLoop(const char* program, const std::vector<std::string>& args, int count) {
    return Seconds([&] {
        DOSOutputs dos;
        for (int i = 0; i < count; ++i) {
            dos.setCommand(QString::fromLatin1(program), program, args);
            dos.ExecuteCommand();
        }
    });
}

// As the batch run does it: event-driven, output parsed line by line.
double EventLoopRuns(const char* program, const std::vector<std::string>& args, int count) {
    return Seconds([&] {
        DOSOutputs dos;
        QEventLoop loop;
        std::int32_t total = 0;
        int left = count;
        bool failed = false;
        const auto start = [&] {
            dos.setCommand(QString::fromLatin1(program), program, args);
            total = 0;
            if (const StartError error = dos.Start(); error != StartError::None) {
                std::fprintf(stderr, "%s\n", qPrintable(StartErrorText(error)));
                failed = true;
                loop.quit();
            }
        };
        QObject::connect(&dos, &DOSOutputs::ReceiveOutputs, [&](const QByteArray& line) {
            total =
                ParseProgressChunk(std::string_view(line.constData(), line.size()), total, false, 0)
                    .totalSeconds;
        });
        QObject::connect(&dos, &DOSOutputs::CommandOver, [&] {
            if (--left > 0)
                QTimer::singleShot(0, &dos, start);
            else
                loop.quit();
        });
        start();
        if (!failed)
            loop.exec();
        if (failed || left > 0)
            std::fprintf(stderr, "runner_bench: %s could not be run\n", program);
    });
}

double ShellCommand(const QString& script) {
    return Seconds([&] { QProcess::execute(QStringLiteral("/bin/sh"), {"-c", script}); });
}

} // namespace

// The child of (b): prints converter-like progress lines until 10 MB are written.
int PrintProgressLines(long total) {
    char line[128];
    long written = 0;
    for (long i = 0; written < total; ++i) {
        const int n = std::snprintf(
            line, sizeof line, "size=%8ldkB time=%ld.%02ld bitrate= 128.0kbits/s speed=40.1x\r",
            i / 8, i / 100, i % 100);
        const long take = std::min<long>(n, total - written);
        std::fwrite(line, 1, static_cast<size_t>(take), stdout);
        written += take;
    }
    return 0;
}

int main(int argc, char** argv) {
    if (argc > 2 && std::string(argv[1]) == "--child")
        return PrintProgressLines(std::atol(argv[2]));
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const char* bytes = "10485760";
    const std::string self = QCoreApplication::applicationFilePath().toStdString();
    const QString child = QStringLiteral("%1 --child %2").arg(QString::fromStdString(self), bytes);

    std::vector<double> event100, sync100, shell100, eventBig, syncBig, nullBig, pipeBig;
    for (int r = 0; r < rounds; ++r) {
        event100.push_back(EventLoopRuns("/bin/true", {}, 100));
        sync100.push_back(RunnerLoop("/bin/true", {}, 100));
        shell100.push_back(
            ShellCommand("i=0; while [ $i -lt 100 ]; do /bin/true; i=$((i+1)); done"));
        eventBig.push_back(EventLoopRuns(self.c_str(), {"--child", bytes}, 1));
        syncBig.push_back(RunnerLoop(self.c_str(), {"--child", bytes}, 1));
        nullBig.push_back(ShellCommand(child + " >/dev/null"));
        pipeBig.push_back(ShellCommand(child + " | cat >/dev/null"));
    }
    const double a = Median(event100), as = Median(sync100), b = Median(shell100);
    const double c = Median(eventBig), cs = Median(syncBig), d = Median(nullBig);
    const double e = Median(pipeBig);
    std::printf("(a) 100 short commands: runner %.3f s, shell loop %.3f s, ratio %.2f "
                "(target <= 1.10)\n",
                a, b, a / b);
    std::printf("    blocking ExecuteCommand %.3f s, ratio %.2f\n", as, as / b);
    std::printf("(b) 10 MB of output:     runner %.3f s, to /dev/null %.3f s, ratio %.2f "
                "(target <= 1.5)\n",
                c, d, c / d);
    std::printf("    blocking ExecuteCommand %.3f s, ratio %.2f\n", cs, cs / d);
    std::printf(
        "    for scale: the same child into a pipe read by cat %.3f s, ratio %.2f to /dev/null\n",
        e, e / d);
    return 0;
}
