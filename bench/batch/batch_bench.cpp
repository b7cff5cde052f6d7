// Batch conversion to MP3, one and two conversions at a time, each figure against a baseline
// measured in the same run on the same inputs:
//   100 one-second WAV files through the window's controller against a shell loop of `conv`
//   and against `xargs -P 2`; four 60-second files, two at a time against one at a time; the
//   peak memory of the program and its converters; the windowless mode against the same.
// Every timing is the median of several rounds, so one noisy moment does not decide it.
// Usage: QT_QPA_PLATFORM=offscreen batch_bench [rounds]      (default 3)
#include "tree_memory.h"

#include "app/files/file_list.h"
#include "core/settings/settings_file.h"
#include "gui/desktop/desktop_services.h"
#include "gui/window/frm_main.h"
#include "gui/window/main_controller.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <sys/resource.h>

namespace {

constexpr int kShortFiles = 100;
constexpr int kLongFiles = 4;
constexpr int kLongSeconds = 60;

// The converter's arguments as the program gives them for MP3, 128k, 44100 Hz, stereo.
// IN, OUT and CONV come from the environment.
const char* const kLoop =
    "set -e; mkdir -p \"$OUT\"; for f in \"$IN\"/*.wav; do b=${f##*/}; b=${b%.wav}; "
    "\"$CONV\" -i \"$f\" -y -vn -ab 128k -ar 44100 -ac 2 -map_meta_data \"$f:$OUT/$b.mp3\" "
    "\"$OUT/$b.mp3\" 2>/dev/null; done";
const char* const kXargs =
    "mkdir -p \"$OUT\"; printf '%s\\0' \"$IN\"/*.wav | xargs -0 -n 1 -P 2 sh -c "
    "'b=${1##*/}; b=${b%.wav}; exec \"$CONV\" -i \"$1\" -y -vn -ab 128k -ar 44100 -ac 2 "
    "-map_meta_data \"$1:$OUT/$b.mp3\" \"$OUT/$b.mp3\" 2>/dev/null' _";

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

double CpuSeconds(int who) {
    rusage usage{};
    ::getrusage(who, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

int Outputs(const QString& folder) {
    return static_cast<int>(QDir(folder).entryList({"*.mp3"}, QDir::Files).size());
}

class Bench {
public:
    Bench(const platform::Services& services, QString work)
        : services_(services), work_(std::move(work)),
          program_(QStringLiteral(PELKORA_PROGRAM_DIR)),
          conv_(program_ + QStringLiteral("/data/conv")) {}

    bool MakeInputs() {
        QDir(work_).mkpath("short");
        QDir(work_).mkpath("long");
        if (!Tone("short/tone.wav", 1) || !Tone(QStringLiteral("long/tone.wav"), kLongSeconds))
            return false;
        for (int i = 1; i < kShortFiles; ++i)
            QFile::copy(Path("short/tone.wav"), Path(QStringLiteral("short/tone%1.wav").arg(i)));
        for (int i = 1; i < kLongFiles; ++i)
            QFile::copy(Path("long/tone.wav"), Path(QStringLiteral("long/tone%1.wav").arg(i)));
        return true;
    }

    // The run through the window's controller; memory is sampled only when asked for, as the
    // sampling itself takes time.
    double Window(const QString& set, int jobs, TreeMemory* memory = nullptr) {
        const QString out = FreshOutput();
        MainController controller(program_, services_);
        frmMain& window = controller.window();
        settings::OptionsRecords soundOff;
        soundOff.FinishSound = 1;
        controller.choices().setOptions(soundOff);
        controller.choices().setJobs(jobs);
        window.txtPath()->setText(out);
        for (const QString& input : Inputs(set))
            controller.fileList().AddFileEntry(QFile::encodeName(input));
        QEventLoop wait;
        QObject::connect(&controller, &MainController::runEnded, &wait, &QEventLoop::quit);
        if (memory)
            memory->start();
        const double selfBefore = CpuSeconds(RUSAGE_SELF);
        const double childrenBefore = CpuSeconds(RUSAGE_CHILDREN);
        QElapsedTimer clock;
        clock.start();
        controller.Start();
        wait.exec();
        const double seconds = Seconds(clock);
        lastProgramCpu_ = CpuSeconds(RUSAGE_SELF) - selfBefore;
        lastConverterCpu_ = CpuSeconds(RUSAGE_CHILDREN) - childrenBefore;
        return Finish(set, out, seconds);
    }

    double Shell(const QString& set, const char* script) {
        const QString out = FreshOutput();
        QProcess sh;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("IN", Path(set));
        env.insert("OUT", out);
        env.insert("CONV", conv_);
        sh.setProcessEnvironment(env);
        QElapsedTimer clock;
        clock.start();
        sh.start("/bin/sh", {"-c", QString::fromLatin1(script)});
        sh.waitForFinished(-1);
        return Finish(set, out, Seconds(clock));
    }

    double Headless(const QString& set, int jobs) {
        const QString out = FreshOutput();
        QStringList args{"--batch",  "-q",    "-j",         QString::number(jobs),
                         "--format", "MP3",   "--bitrate",  "128",
                         "--rate",   "44100", "--channels", "Stereo",
                         "--output", out};
        args += Inputs(set);
        QProcess p;
        p.setProcessChannelMode(QProcess::ForwardedChannels);
        QElapsedTimer clock;
        clock.start();
        p.start(program_ + QStringLiteral("/pelkora"), args);
        p.waitForFinished(-1);
        const double seconds = Seconds(clock);
        if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
            std::printf("  windowless run ended with status %d\n", p.exitCode());
        return Finish(set, out, seconds);
    }

    [[nodiscard]] bool HasHeadless() const {
        return QFileInfo(program_ + QStringLiteral("/pelkora")).isExecutable();
    }
    [[nodiscard]] int Missing() const { return missing_; }
    // CPU seconds of the last window run: the program itself, and the converters it ran.
    [[nodiscard]] double LastProgramCpu() const { return lastProgramCpu_; }
    [[nodiscard]] double LastConverterCpu() const { return lastConverterCpu_; }

private:
    bool Tone(const QString& name, int seconds) {
        return QProcess::execute("ffmpeg",
                                 {"-v", "error", "-y", "-f", "lavfi", "-i",
                                  QStringLiteral("sine=frequency=440:duration=%1").arg(seconds),
                                  "-ac", "2", Path(name)}) == 0;
    }

    QString Path(const QString& name) const { return work_ + QLatin1Char('/') + name; }

    QStringList Inputs(const QString& set) const {
        QStringList paths;
        for (const QString& name : QDir(Path(set)).entryList({"*.wav"}, QDir::Files, QDir::Name))
            paths << Path(set + QLatin1Char('/') + name);
        return paths;
    }

    QString FreshOutput() { return Path(QStringLiteral("out%1").arg(++runs_)); }

    // Counts the outputs (a run that skipped files would look fast) and clears them away.
    double Finish(const QString& set, const QString& out, double seconds) {
        const int expected = static_cast<int>(Inputs(set).size());
        const int made = Outputs(out);
        if (made != expected) {
            std::printf("  %s: %d of %d outputs made\n", qPrintable(out), made, expected);
            ++missing_;
        }
        QDir(out).removeRecursively();
        return seconds;
    }

    platform::Services services_;
    QString work_;
    QString program_;
    QString conv_;
    int runs_ = 0;
    int missing_ = 0;
    double lastProgramCpu_ = 0.0;
    double lastConverterCpu_ = 0.0;
};

// Times of every case, one entry per round.
using Times = std::map<std::string, std::vector<double>>;

// The median of the per-round ratios: the two runs of a ratio are close together in time, so
// a load that comes and goes on a shared machine moves both alike.
void Line(const Times& times, const char* what, const std::string& value, const char* against,
          const std::string& baseline, double target) {
    const std::vector<double>& a = times.at(value);
    const std::vector<double>& b = times.at(baseline);
    std::vector<double> ratios;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        ratios.push_back(a[i] / b[i]);
    const double ratio = Median(ratios);
    std::printf("%-34s %7.3f s against %-22s %7.3f s  ratio %.3f", what, Median(a), against,
                Median(b), ratio);
    if (target > 0)
        std::printf(" (target <= %.2f)%s", target, ratio <= target ? "" : "  MISSED");
    std::printf("\n");
}

void MemoryLine(const char* what, const TreeMemory::Peak& peak) {
    std::printf("%-44s peak %6.1f MB together, converters %6.1f MB (%d at once)\n", what,
                static_cast<double>(peak.totalKb) / 1024.0,
                static_cast<double>(peak.childrenKb) / 1024.0, peak.mostChildren);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    NoShell shell;
    NoBoxes boxes;
    platform::DesktopServices desktop;
    const platform::Services real = desktop.services();
    const platform::Services services{boxes, shell, real.sound, real.dialogs};

    QTemporaryDir work;
    Bench bench(services, work.path());
    if (!bench.MakeInputs()) {
        std::fprintf(stderr, "batch_bench: ffmpeg could not make the input files\n");
        return 1;
    }
    const bool headless = bench.HasHeadless();

    // Each case in every round, in a fixed order that keeps the runs of one ratio close
    // together; the warm-up run fills the caches.
    Times cpu;
    const auto window = [&](const char* set, int jobs, const char* name) {
        const double seconds = bench.Window(set, jobs);
        cpu[std::string(name) + " program"].push_back(bench.LastProgramCpu());
        cpu[std::string(name) + " converters"].push_back(bench.LastConverterCpu());
        return seconds;
    };
    const std::vector<std::pair<std::string, std::function<double()>>> cases = {
        {"loop", [&] { return bench.Shell("short", kLoop); }},
        {"window1", [&] { return window("short", 1, "window1"); }},
        {"batch1", [&] { return headless ? bench.Headless("short", 1) : 1.0; }},
        {"xargs", [&] { return bench.Shell("short", kXargs); }},
        {"window2", [&] { return window("short", 2, "window2"); }},
        {"batch2", [&] { return headless ? bench.Headless("short", 2) : 1.0; }},
        {"long1", [&] { return bench.Window("long", 1); }},
        {"long2", [&] { return bench.Window("long", 2); }},
    };
    (void)bench.Shell("short", kLoop);
    Times times;
    for (int round = 0; round < rounds; ++round)
        for (const auto& [name, run] : cases)
            times[name].push_back(run());

    std::printf("%d one-second WAV files and %d files of %d s to MP3 128k; median of %d rounds, "
                "ratios are medians of the rounds' own ratios.\n",
                kShortFiles, kLongFiles, kLongSeconds, rounds);
    Line(times, "window, 1 at a time", "window1", "shell loop", "loop", 1.10);
    Line(times, "window, 2 at a time", "window2", "window, 1 at a time", "window1", 0.60);
    Line(times, "window, 2 at a time", "window2", "xargs -P 2", "xargs", 1.10);
    Line(times, "window, 60 s files, 2 at a time", "long2", "1 at a time", "long1", 0.60);
    if (headless) {
        Line(times, "pelkora --batch -j 1", "batch1", "shell loop", "loop", 1.05);
        Line(times, "pelkora --batch -j 2", "batch2", "-j 1", "batch1", 0.60);
        Line(times, "pelkora --batch -j 2", "batch2", "xargs -P 2", "xargs", 1.10);
    } else {
        std::printf("windowless mode: skipped, %s/pelkora is not built\n", PELKORA_PROGRAM_DIR);
    }
    // What two processes at a time gain on this machine now: near 0.5 on two idle cores.
    Line(times, "reference: xargs -P 2", "xargs", "shell loop", "loop", 0);
    for (const char* name : {"window1", "window2"})
        std::printf("CPU of a window run, %s at a time: the program %.3f s, its converters %.3f s "
                    "(%.1f%%)\n",
                    name[6] == '1' ? "1" : "2", Median(cpu[std::string(name) + " program"]),
                    Median(cpu[std::string(name) + " converters"]),
                    100.0 * Median(cpu[std::string(name) + " program"]) /
                        Median(cpu[std::string(name) + " converters"]));

    std::printf("Memory: resident set of this process plus its running converters, sampled "
                "every 5 ms from /proc (shared library pages count in each process).\n");
    TreeMemory memory;
    (void)bench.Window("long", 1, &memory);
    MemoryLine("window, 60 s files, 1 at a time", memory.stop());
    (void)bench.Window("long", 2, &memory);
    MemoryLine("window, 60 s files, 2 at a time", memory.stop());
    (void)bench.Window("short", 1, &memory);
    MemoryLine("window, one-second files, 1 at a time", memory.stop());
    (void)bench.Window("short", 2, &memory);
    MemoryLine("window, one-second files, 2 at a time", memory.stop());
    rusage self{}, children{};
    ::getrusage(RUSAGE_SELF, &self);
    ::getrusage(RUSAGE_CHILDREN, &children);
    std::printf("getrusage: this process's own peak %.1f MB; largest single finished child "
                "(a converter, a shell or ffmpeg) %.1f MB\n",
                static_cast<double>(self.ru_maxrss) / 1024.0,
                static_cast<double>(children.ru_maxrss) / 1024.0);
    if (bench.Missing() > 0) {
        std::printf("%d runs made fewer outputs than inputs: their figures mean nothing\n",
                    bench.Missing());
        return 1;
    }
    return 0;
}
