// Prints how long the main window takes to add 100,000 entries and to remove them all, and
// how long a fresh process takes to show its first painted main window and how much memory
// it holds then. Each figure comes with a baseline measured in the same run.
//
//   ui_bench               all figures (run under xvfb-run for a real X server)
//   ui_bench --first-paint [bare]   one start-up: prints "<monotonic ns> <rss kB>" and quits

#include "app/files/file_list.h"
#include "gui/window/frm_main.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

constexpr int kEntries = 100000;

long long monotonicNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

long rssKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

class FirstPaint final : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            // Report once the paint has been flushed to the window.
            QTimer::singleShot(0, [] {
                std::printf("%lld %ld\n", monotonicNs(), rssKb());
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool seen_ = false;
};

int firstPaint(int argc, char** argv, bool bare) {
    QApplication app(argc, argv);
    FirstPaint probe;
    FileList list;
    std::unique_ptr<QWidget> window;
    if (bare) {
        window = std::make_unique<QWidget>();
        window->resize(699, 499);
    } else {
        window = std::make_unique<frmMain>(list);
    }
    window->installEventFilter(&probe);
    window->show();
    return app.exec();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

std::vector<QByteArray> samplePaths() {
    std::vector<QByteArray> paths;
    paths.reserve(kEntries);
    for (int i = 0; i < kEntries; ++i)
        paths.push_back(QStringLiteral("/home/user/Music/Artist %1/Album %2/%3 - Track title.mp3")
                            .arg(i / 500)
                            .arg(i / 20)
                            .arg(i, 6, 10, QLatin1Char('0'))
                            .toUtf8());
    return paths;
}

void settle() {
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

void listFigures() {
    const std::vector<QByteArray> paths = samplePaths();
    FileList model;
    frmMain window(model);
    window.show();
    settle();
    FileList* list = &model;

    std::vector<double> baseline, add, clear;
    for (int round = 0; round < 3; ++round) {
        // Baseline: the same paths copied into a plain vector.
        QElapsedTimer t;
        t.start();
        std::vector<QByteArray> copy;
        for (const QByteArray& p : paths)
            copy.push_back(p);
        baseline.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);

        t.restart();
        for (const QByteArray& p : paths)
            list->AddFileEntry(p);
        list->UpdateDropHint();
        settle(); // the list lays itself out and repaints
        add.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
        if (list->count() != kEntries)
            std::printf("unexpected count %d\n", list->count());

        t.restart();
        list->RemoveAll();
        settle();
        clear.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
    }
    std::printf("add %d entries:        %8.1f ms  (baseline vector copy %.1f ms, ratio %.1f)\n",
                kEntries, median(add), median(baseline), median(add) / median(baseline));
    std::printf("remove all %d entries: %8.1f ms  (ratio to baseline %.1f)\n", kEntries,
                median(clear), median(clear) / median(baseline));
}

struct Start {
    double ms = 0;
    long rss = 0;
};

bool startOnce(const QString& self, bool bare, Start& out) {
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QStringList args{QStringLiteral("--first-paint")};
    if (bare)
        args << QStringLiteral("bare");
    const long long t0 = monotonicNs();
    child.start(self, args);
    if (!child.waitForFinished(30000))
        return false;
    const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
    if (fields.size() != 2)
        return false;
    out.ms = static_cast<double>(fields[0].toLongLong() - t0) / 1e6;
    out.rss = fields[1].toLong();
    return true;
}

void startFigures(const QString& self) {
    std::vector<double> main, bare, rss, bareRss;
    for (int i = 0; i < 7; ++i) {
        Start s;
        if (startOnce(self, false, s)) {
            main.push_back(s.ms);
            rss.push_back(static_cast<double>(s.rss));
        }
        if (startOnce(self, true, s)) {
            bare.push_back(s.ms);
            bareRss.push_back(static_cast<double>(s.rss));
        }
    }
    if (main.empty() || bare.empty()) {
        std::printf("start-up: could not measure\n");
        return;
    }
    std::printf("start to first paint:   %8.1f ms  (bare Qt window %.1f ms, ratio %.2f)\n",
                median(main), median(bare), median(main) / median(bare));
    std::printf("resident memory then:   %8.1f MB  (bare Qt window %.1f MB, ratio %.2f)\n",
                median(rss) / 1024.0, median(bareRss) / 1024.0, median(rss) / median(bareRss));
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::string_view(argv[1]) == "--first-paint")
        return firstPaint(argc, argv, argc >= 3 && std::string_view(argv[2]) == "bare");

    QApplication app(argc, argv);
    std::printf("platform: %s\n", qPrintable(QGuiApplication::platformName()));
    listFigures();
    startFigures(QCoreApplication::applicationFilePath());
    return 0;
}
