// Prints how long Add-folder takes on a generated tree of 100,000 empty files in 1,000
// folders, against `find DIR -type f` listing the same tree, and the longest time the
// event loop went unserved while Add-folder ran.
// Usage: add_folder_bench [rounds]   (each time is the median of the rounds)
#include "gui/dialogs/dialog_backend.h"
#include "gui/files/add_folder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QList>
#include <QProcess>
#include <QStringList>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int kTopFolders = 10;
constexpr int kSubFoldersEach = 99; // below the 200 limit, so every folder is searched
constexpr int kFilesPerFolder = 100;

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// 10 top folders, each with 99 sub-folders; every one of the 1,000 holds 100 empty files.
long MakeTree(const fs::path& root) {
    long files = 0;
    auto fill = [&files](const fs::path& folder) {
        fs::create_directories(folder);
        for (int f = 0; f < kFilesPerFolder; ++f) {
            const std::string name = (folder / ("track" + std::to_string(f) + ".mp3")).native();
            const int fd = ::open(name.c_str(), O_CREAT | O_WRONLY, 0644);
            if (fd >= 0) {
                ::close(fd);
                ++files;
            }
        }
    };
    for (int t = 0; t < kTopFolders; ++t) {
        const fs::path top = root / ("album" + std::to_string(t));
        fill(top);
        for (int s = 0; s < kSubFoldersEach; ++s)
            fill(top / ("disc" + std::to_string(s)));
    }
    return files;
}

// Answers the folder browser with the tree.
class TreeChooser final : public dialogs::Backend {
public:
    explicit TreeChooser(QString folder) : folder_(std::move(folder)) {}
    std::optional<QString> chooseFile(QWidget*, const dialogs::FileRequest&) override {
        return std::nullopt;
    }
    std::optional<QString> chooseFolder(QWidget*, const QString&, const QString&) override {
        return folder_;
    }
    std::optional<QColor> chooseColor(QWidget*, const QColor&, bool) override {
        return std::nullopt;
    }
    std::optional<QFont> chooseFont(QWidget*, const QFont&) override { return std::nullopt; }
    bool choosePrinter(QWidget*) override { return false; }
    void showPrinterProperties(QWidget*) override {}

private:
    QString folder_;
};

// Does roughly what the list model does per entry: keeps the path, and a row with the
// decoded path and its three-letter tag.
struct ModelLikeSink {
    QList<QByteArray> paths;
    QList<QPair<QString, QString>> rows;

    FileListHooks hooks() {
        return {[this](const QByteArray& path, const QByteArray&) {
                    paths.append(path);
                    const QString text = QFile::decodeName(path);
                    rows.append({text, text.trimmed().right(3).toUpper()});
                },
                [] {}, [](const QString&) {}, [](const QString&) {}};
    }
};

struct AddFolderRun {
    double seconds = 0;
    double longestGapMs = 0;
    qsizetype added = 0;
};

AddFolderRun TimeAddFolder(dialogs::Backend& chooser) {
    ModelLikeSink sink;
    QElapsedTimer clock;
    qint64 lastServed = 0;
    qint64 longestGap = 0;
    // A zero-interval timer fires whenever the event loop gets a turn.
    QTimer served;
    served.setInterval(0);
    QObject::connect(&served, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longestGap = std::max(longestGap, now - lastServed);
        lastServed = now;
    });
    served.start();
    clock.start();
    AddFolder(chooser, nullptr, sink.hooks());
    const qint64 end = clock.nsecsElapsed();
    served.stop();
    longestGap = std::max(longestGap, end - lastServed);
    return {double(end) / 1e9, double(longestGap) / 1e6, sink.paths.size()};
}

double TimeFind(const QString& root) {
    QProcess find;
    find.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    find.start(QStringLiteral("find"), {root, QStringLiteral("-type"), QStringLiteral("f")});
    find.waitForFinished(-1);
    return double(clock.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

    std::string pattern = (fs::temp_directory_path() / "pelkora-bench-XXXXXX").native();
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const fs::path root = pattern;
    const QString rootText = QFile::decodeName(QByteArray::fromStdString(root.native()));

    QElapsedTimer making;
    making.start();
    const long files = MakeTree(root);
    std::printf("tree: %ld files in %d folders, made in %.2f s\n", files,
                kTopFolders * (1 + kSubFoldersEach), double(making.elapsed()) / 1000);

    TreeChooser chooser(rootText);
    TimeFind(rootText); // warm the directory cache for both
    TimeAddFolder(chooser);

    std::vector<double> findTimes;
    std::vector<double> addTimes;
    double longestGap = 0;
    qsizetype added = 0;
    for (int r = 0; r < rounds; ++r) {
        findTimes.push_back(TimeFind(rootText));
        const AddFolderRun run = TimeAddFolder(chooser);
        addTimes.push_back(run.seconds);
        longestGap = std::max(longestGap, run.longestGapMs);
        added = run.added;
    }

    const double findTime = Median(findTimes);
    const double addTime = Median(addTimes);
    std::printf("find DIR -type f:   %.3f s (median of %d)\n", findTime, rounds);
    std::printf("AddFolder:          %.3f s (median of %d), %lld files added\n", addTime, rounds,
                static_cast<long long>(added));
    std::printf("ratio AddFolder/find: %.2f (target <= 2)\n", addTime / findTime);
    std::printf("longest time without processing events: %.1f ms (target < 100 ms)\n", longestGap);

    std::error_code ec;
    fs::remove_all(root, ec);
    if (ec) {
        std::fprintf(stderr, "could not remove %s: %s\n", root.c_str(), ec.message().c_str());
        return 1;
    }
    return added == files ? 0 : 1;
}
