#include "app/run/batch_run.h"

#include "app/files/file_list.h"
#include "app/settings/choices.h"
#include "common/qt_files.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <utility>

namespace {

constexpr int kDeadlineMs = 60'000;

class BatchRunTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDir(program.path()).mkpath("data"));
        ASSERT_TRUE(QFile::copy(FAKE_CONV, program.filePath("data/conv")));
        ConversionChoices c;
        c.formatIndex = 3; // WAV
        c.outputFolder = QFile::encodeName(output(""));
        choices.set(c);
        QObject::connect(&run, &BatchRun::fileStarted,
                         [this](const QByteArray& path) { started.push_back(path); });
        QObject::connect(&run, &BatchRun::fileProgress,
                         [this](const QByteArray&, double f) { fileShares.push_back(f); });
        QObject::connect(&run, &BatchRun::runFinished, [this](const RunReport& r) {
            report = r;
            ++runsFinished;
        });
    }

    QByteArray input(const QString& name) { return QFile::encodeName(in.filePath(name)); }
    QString output(const QString& name) { return out.filePath(name); }
    void add(std::initializer_list<const char*> names) {
        for (const char* name : names)
            list.AddFileEntry(input(name));
    }
    void runToEnd() {
        ASSERT_TRUE(run.Start());
        ASSERT_TRUE(QTest::qWaitFor([this] { return runsFinished == 1; }, kDeadlineMs));
    }

    QTemporaryDir program, in, out;
    FileList list;
    Choices choices;
    BatchRun run{list, choices, program.path()};

    std::vector<QByteArray> started;
    std::vector<double> fileShares;
    RunReport report;
    int runsFinished = 0;
};

// Order, several jobs at once and the run's progress are seen through the window
// (parallel_road_test).
TEST_F(BatchRunTest, AnEmptyListDoesNotStartAndLeftoversOfKilledConvertersGo) {
    EXPECT_FALSE(run.Start());
    EXPECT_FALSE(run.isActive());
    ASSERT_TRUE(QFile(output(".song.wav.conv-Ab12Cd.part")).open(QIODevice::WriteOnly));
    add({"one.wav", "two.x.flac"});
    runToEnd();
    for (const char* name : {"one.wav", "two.wav"})
        EXPECT_TRUE(QFile::exists(output(name))) << name;
    EXPECT_EQ(report.converted, 2);
    EXPECT_FALSE(QFile::exists(output(".song.wav.conv-Ab12Cd.part")));
    EXPECT_EQ(report.orphansRemoved, 1);
}

// Files dropped during the run are seen through the window (parallel_road_test).
TEST_F(BatchRunTest, ChoicesChangedDuringTheRunApplyFromTheNextFile) {
    add({"one.wav", "two.wav"});
    ConversionChoices c = choices.value();
    c.options.CutEnabled = 1;
    c.options.CutStart = 2;
    c.options.CutLength = 0; // to the end
    choices.set(c);
    bool changed = false;
    QObject::connect(&run, &BatchRun::fileProgress, [&] {
        if (!std::exchange(changed, true))
            choices.setFormatIndex(0); // MP3
    });
    runToEnd();
    for (const char* name : {"one.wav", "two.mp3"})
        EXPECT_TRUE(QFile::exists(output(name))) << name;
    EXPECT_FALSE(QFile::exists(output("two.wav")));
    // The fake file lasts 10 s, 8 s are left after the cut start: "time=5.00" is 5/8 of it.
    // Its two progress lines arrive one at a time, whenever the converter writes them.
    ASSERT_GE(fileShares.size(), 2u);
    EXPECT_DOUBLE_EQ(fileShares[0], 0.625);
    EXPECT_DOUBLE_EQ(fileShares[1], 1.0);
}

// The status tells a failure from a warning, whatever the file's name holds.
TEST_F(BatchRunTest, FailuresAndWarningsAreReportedUnderTheirOwnFile) {
    add({"good.wav", "broken: warning: odd.wav", "damaged.wav", "last.wav"});
    runToEnd();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(report.converted, 3);
    ASSERT_EQ(report.failures.size(), 1u);
    EXPECT_EQ(report.failures[0].path, input("broken: warning: odd.wav"));
    EXPECT_EQ(report.failures[0].text.toStdString(),
              "conv: " + input("broken: warning: odd.wav").toStdString() +
                  ": Invalid data found when processing input");
    ASSERT_EQ(report.warnings.size(), 1u);
    EXPECT_EQ(report.warnings[0].path, input("damaged.wav"));
    EXPECT_TRUE(report.warnings[0].text.contains(": warning: input ends at 0:05"));
    EXPECT_TRUE(QFile::exists(output("damaged.wav"))) << "what could be read is kept";
}

TEST_F(BatchRunTest, SameBaseNameInOneRunIsNumberedButAnEarlierFileIsReplaced) {
    choices.setJobs(2);
    ASSERT_TRUE(QDir(in.path()).mkpath("a") && QDir(in.path()).mkpath("b"));
    writeFile(output("Old.wav"), "from an earlier run");
    add({"a/slow Intro.flac", "b/slow Intro.flac", "slow Intro.v2.wav", "Old.mp3"});
    runToEnd();
    // The fake converter writes its arguments into the output: each names its own input.
    const std::pair<const char*, const char*> outputs[] = {
        {"slow Intro.wav", "a/slow Intro.flac"},
        {"slow Intro (2).wav", "b/slow Intro.flac"},
        {"slow Intro (3).wav", "slow Intro.v2.wav"}};
    for (const auto& [name, from] : outputs)
        EXPECT_TRUE(readFile(output(name)).contains(input(from) + '\n')) << name;
    EXPECT_FALSE(QFile::exists(output("Old (2).wav"))) << "a file from before the run is replaced";
    QFile old(output("Old.wav"));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_NE(old.readAll(), "from an earlier run");
    EXPECT_EQ(report.renamings.size(), 2u);
}

// Output names take the base name up to the first dot, so an input of the run can carry the
// very name another input's output would get; here the outputs go into the inputs' folder.
TEST_F(BatchRunTest, NoOutputReplacesAnInputOfTheRunHoweverTheFolderIsSpelled) {
    const struct {
        const char* name;
        int format;
        std::vector<const char*> inputs; // the first is reached through a link to the folder
        std::vector<const char*> outputs;
    } cases[] = {
        {"later", 0, {"a.b.mp3", "a.mp3"}, {"a (2).mp3", "a (3).mp3"}},
        {"done", 0, {"a.mp3", "a.b.mp3"}, {"a (2).mp3", "a (3).mp3"}},
        // Refused as its own output, the failed file must not free the name for the next.
        {"itself", 3, {"song.wav", "song.flac"}, {"song (2).wav", "song (3).wav"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString folder = in.filePath(QString::fromLatin1(c.name));
        ASSERT_TRUE(QDir().mkpath(folder + "/sub"));
        ASSERT_TRUE(QFile::link(folder, folder + "-link"));
        for (const char* name : c.inputs)
            writeFile(folder + "/" + name, QByteArray("original ") + name);
        choices.setFormatIndex(c.format);
        choices.setOutputFolder(QFile::encodeName(folder + "/sub/.."));
        list.AddFileEntry(QFile::encodeName(folder + "-link/" + c.inputs[0]));
        list.AddFileEntry(QFile::encodeName(folder + "/" + c.inputs[1]));
        const int before = runsFinished;
        ASSERT_TRUE(run.Start());
        ASSERT_TRUE(QTest::qWaitFor([&] { return runsFinished > before; }, kDeadlineMs));

        for (const char* name : c.inputs)
            EXPECT_EQ(readFile(folder + "/" + name), QByteArray("original ") + name);
        for (const char* name : c.outputs)
            EXPECT_TRUE(QFile::exists(folder + "/" + name)) << name;
        EXPECT_EQ(report.converted, 2);
        EXPECT_EQ(report.renamings.size(), 2u);
    }
}

TEST_F(BatchRunTest, FilesJoiningDuringTheRunAreInputsToo) {
    choices.setFormatIndex(0); // MP3
    choices.setOutputFolder(QFile::encodeName(in.path()));
    for (const char* name : {"a.b.mp3", "a.mp3"})
        writeFile(in.filePath(name), name);
    add({"slow.wav"});
    bool joined = false;
    QObject::connect(&run, &BatchRun::fileProgress, [&] {
        if (!std::exchange(joined, true))
            add({"a.b.mp3", "a.mp3"});
    });
    runToEnd();
    EXPECT_EQ(readFile(in.filePath("a.mp3")), "a.mp3");
    EXPECT_TRUE(QFile::exists(in.filePath("a (3).mp3")));
}

// Nothing of a failed file is put in place, so its name stays free for the next one.
TEST_F(BatchRunTest, AFailedFileLeavesItsOutputNameToTheNextOfTheSameName) {
    ASSERT_TRUE(QDir(in.path()).mkpath("broken") && QDir(in.path()).mkpath("fine"));
    add({"broken/Intro.flac", "fine/Intro.flac"});
    runToEnd();
    EXPECT_EQ(report.failures.size(), 1u);
    EXPECT_TRUE(QFile::exists(output("Intro.wav")));
    EXPECT_FALSE(QFile::exists(output("Intro (2).wav")));
    EXPECT_TRUE(report.renamings.empty());
}

// The running entries are known by identity, not by their place at the top of the list.
TEST_F(BatchRunTest, TheNextFileIsTheFirstWaitingEntryWhereverTheRunningOnesAre) {
    choices.setJobs(2);
    add({"slow1.wav"});
    bool moved = false;
    QObject::connect(&run, &BatchRun::fileProgress, [&] {
        if (std::exchange(moved, true))
            return;
        list.RemoveEntry(list.entryId(0)); // the running entry leaves the list early
        add({"slow2.wav", "slow3.wav"});
    });
    runToEnd();
    EXPECT_EQ(started, (std::vector<QByteArray>{input("slow1.wav"), input("slow2.wav"),
                                                input("slow3.wav")}));
    EXPECT_EQ(report.converted, 3);
}

// Rows dropped while a converter ends are shown when its entry goes, and may start at once:
// the ending job must survive the others starting beside it.
TEST_F(BatchRunTest, FilesShownWhileAConverterEndsStartBesideIt) {
    choices.setJobs(3);
    add({"slow1.wav", "slow2.wav"});
    bool waited = false, dropped = false;
    QObject::connect(&run, &BatchRun::fileProgress, [&](const QByteArray& path, double share) {
        if (path != input("slow1.wav"))
            return;
        if (share < 1.0 && !std::exchange(waited, true)) {
            // Hold the loop until the converter is done, so that its last line and its end
            // arrive together.
            QDeadlineTimer deadline(kDeadlineMs);
            while (!QFile::exists(output("slow1.wav")) && !deadline.hasExpired())
                QThread::msleep(5);
            QThread::msleep(100);
        } else if (share == 1.0 && !std::exchange(dropped, true)) {
            add({"three.wav", "four.wav"});
        }
    });
    runToEnd();
    EXPECT_TRUE(dropped);
    EXPECT_EQ(report.converted, 4);
    for (const char* name : {"slow1.wav", "slow2.wav", "three.wav", "four.wav"})
        EXPECT_TRUE(QFile::exists(output(name))) << name;
}

TEST_F(BatchRunTest, StopEndsEveryConverterAndConvertsNothingMore) {
    choices.setJobs(2);
    add({"slow1.wav", "slow2.wav", "slow3.wav"});
    ASSERT_TRUE(run.Start());
    ASSERT_TRUE(QTest::qWaitFor([this] { return run.runningCount() == 2; }, kDeadlineMs));
    run.stop();
    EXPECT_EQ(run.runningCount(), 0);
    EXPECT_FALSE(run.isActive());
    // A next file would start from a queued call: give it its turn.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(run.runningCount(), 0);
    EXPECT_EQ(started.size(), 2u);
    EXPECT_EQ(runsFinished, 0);
    EXPECT_EQ(list.count(), 3) << "nothing stopped leaves the list";
    EXPECT_FALSE(QFile::exists(output("slow3.wav")));
}

} // namespace

// An album is the files of one run: a failure that kept a folder's albums from their values in
// one run does not keep them from it in the next. (The stand-in's outputs are no media files,
// so writing the album's tags is seen by the warning it gives.)
TEST_F(BatchRunTest, EachRunGathersItsOwnAlbums) {
    for (const char* name : {"a1.wav", "b1.wav", "broken1.wav"})
        ASSERT_EQ(QProcess::execute("ffmpeg", {"-nostdin", "-loglevel", "error", "-y", "-f",
                                               "lavfi", "-i", "sine=duration=0.2", "-metadata",
                                               "album=X", in.filePath(name)}),
                  0);
    ConversionChoices c = choices.value();
    c.replayGain = true;
    choices.set(c);
    const auto albumWarnings = [this] {
        int count = 0;
        for (const auto& item : report.warnings)
            count += item.text.contains(QStringLiteral("album's gain tags"));
        return count;
    };

    add({"broken1.wav", "a1.wav"});
    runToEnd();
    EXPECT_EQ(report.failures.size(), 1u);
    EXPECT_EQ(albumWarnings(), 0); // a track failed: no album values

    runsFinished = 0;
    add({"a1.wav", "b1.wav"});
    runToEnd();
    EXPECT_EQ(report.failures.size(), 0u);
    EXPECT_EQ(albumWarnings(), 2); // both tracks' album tags were tried
}
