#include "engine/batch_run.h"

#include "common/platform_fakes.h"
#include "engine/progress_parser.h"
#include "filelist/file_list.h"
#include "settings/choices.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>

namespace {

class BatchRunTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDir(program.path()).mkpath("data"));
        ASSERT_TRUE(QFile::copy(FAKE_CONV, program.filePath("data/conv")));
        ConversionChoices c;
        c.formatIndex = 3; // WAV
        c.outputFolder = QFile::encodeName(out.filePath("converted"));
        choices.set(c);
        QObject::connect(&run, &BatchRun::fileStarted,
                         [this] { maxRunning = std::max(maxRunning, run.runningCount()); });
        QObject::connect(&run, &BatchRun::fileFinished,
                         [this](const QByteArray& path, const QByteArray&, const FileOutcome& o) {
                             finished.push_back(path);
                             outcomes.push_back(o);
                             countsAfterEach.push_back(list.count());
                         });
        QObject::connect(&run, &BatchRun::progressChanged, [this](float width, const QString& c) {
            widths.push_back(width);
            captions.push_back(c);
        });
        QObject::connect(&run, &BatchRun::runFinished, [this](const RunReport& r) {
            report = r;
            ++runsFinished;
        });
    }

    QByteArray input(const QString& name) { return QFile::encodeName(in.filePath(name)); }
    QString output(const QString& name) { return out.filePath("converted/" + name); }

    void RunToEnd() {
        QEventLoop loop;
        QObject::connect(&run, &BatchRun::runFinished, &loop, &QEventLoop::quit);
        QTimer::singleShot(60000, &loop, &QEventLoop::quit);
        ASSERT_TRUE(run.Start());
        loop.exec();
        ASSERT_EQ(runsFinished, 1) << "the run did not end within a minute";
    }

    QTemporaryDir program, in, out;
    FakeMessageBoxes boxes;
    FileList list;
    Choices choices;
    BatchRun run{list, choices, boxes, program.path()};

    std::vector<QByteArray> finished;
    std::vector<FileOutcome> outcomes;
    std::vector<int> countsAfterEach;
    std::vector<float> widths;
    std::vector<QString> captions;
    RunReport report;
    int runsFinished = 0;
    int maxRunning = 0;
};

TEST_F(BatchRunTest, ConvertsInListOrderAndEachEntryLeavesAsItsFileEnds) {
    for (const char* name : {"one.wav", "two.x.flac", "three"})
        list.AddFileEntry(input(name));
    RunToEnd();

    EXPECT_EQ(finished,
              (std::vector<QByteArray>{input("one.wav"), input("two.x.flac"), input("three")}));
    EXPECT_EQ(countsAfterEach, (std::vector<int>{2, 1, 0}));
    for (const char* name : {"one.wav", "two.wav", "three.wav"})
        EXPECT_TRUE(QFile::exists(output(name))) << name << " in a folder the run created";
    EXPECT_EQ(report.converted, 3);
    EXPECT_EQ(report.outputFolder, choices.value().outputFolder);
    EXPECT_TRUE(report.failures.empty() && report.renamings.empty() && report.warnings.empty());
    EXPECT_NE(std::find(captions.begin(), captions.end(), "50%"), captions.end())
        << "progress shown from the converter's output";
    EXPECT_EQ(maxRunning, 1);
    EXPECT_TRUE(boxes.shown.empty()) << "the run itself shows nothing";
}

TEST_F(BatchRunTest, EmptyListDoesNotStart) {
    EXPECT_FALSE(run.Start());
    EXPECT_FALSE(run.isActive());
}

TEST_F(BatchRunTest, FilesAddedAndChoicesChangedDuringTheRunApplyFromTheNextFile) {
    list.AddFileEntry(input("slow1.wav"));
    list.AddFileEntry(input("slow2.wav"));
    bool changed = false;
    QObject::connect(&run, &BatchRun::progressChanged, [&] {
        if (!changed) {
            changed = true;
            list.AddFileEntry(input("dropped.wav"));
            choices.setFormatIndex(0); // MP3 from the next file on
        }
    });
    RunToEnd();
    EXPECT_TRUE(QFile::exists(output("slow1.wav")));
    EXPECT_TRUE(QFile::exists(output("slow2.mp3")));
    EXPECT_TRUE(QFile::exists(output("dropped.mp3")));
    EXPECT_FALSE(QFile::exists(output("slow2.wav")));
}

TEST_F(BatchRunTest, CutToTheEndMeasuresTheRestOfTheFile) {
    list.AddFileEntry(input("slow.wav")); // its two progress lines come apart
    ConversionChoices c = choices.value();
    c.options.CutEnabled = 1;
    c.options.CutStart = 2;
    c.options.CutLength = 0;
    choices.set(c);
    RunToEnd();
    // The fake file lasts 10 s, so 8 s are left after the cut start: "time=5.00" is 5/8 of it.
    ASSERT_GE(captions.size(), 2u);
    EXPECT_EQ(captions[0].toStdString(), "62.5%");
    EXPECT_FLOAT_EQ(widths[0], kProgressBarFullWidth * 5.0f / 8.0f);
    EXPECT_EQ(captions[1].toStdString(), "100%");
}

TEST_F(BatchRunTest, FailuresAndWarningsAreReportedUnderTheirOwnFile) {
    for (const char* name : {"good.wav", "broken.wav", "damaged.wav", "last.wav"})
        list.AddFileEntry(input(name));
    RunToEnd();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(report.converted, 3);
    ASSERT_EQ(report.failures.size(), 1u);
    EXPECT_EQ(report.failures[0].path, input("broken.wav"));
    EXPECT_TRUE(report.failures[0].text.startsWith("conv: "))
        << report.failures[0].text.toStdString();
    ASSERT_EQ(report.warnings.size(), 1u);
    EXPECT_EQ(report.warnings[0].path, input("damaged.wav"));
    EXPECT_TRUE(report.warnings[0].text.contains(": warning: input ends at 0:05"));
    EXPECT_TRUE(QFile::exists(output("damaged.wav"))) << "what could be read is kept";
    ASSERT_EQ(outcomes.size(), 4u);
    EXPECT_EQ(outcomes[1].kind, FileOutcome::Kind::Failed);
    EXPECT_EQ(outcomes[2].kind, FileOutcome::Kind::ConvertedWithWarnings);
}

class CollisionTest : public BatchRunTest, public testing::WithParamInterface<int> {};

TEST_P(CollisionTest, SameBaseNameInOneRunIsNumberedButAnEarlierFileIsReplaced) {
    choices.setJobs(GetParam());
    ASSERT_TRUE(QDir(in.path()).mkpath("a") && QDir(in.path()).mkpath("b"));
    ASSERT_TRUE(QDir().mkpath(out.filePath("converted")));
    {
        QFile before(output("Old.wav"));
        ASSERT_TRUE(before.open(QIODevice::WriteOnly));
        before.write("from an earlier run");
    }
    for (const char* name :
         {"a/slow Intro.flac", "b/slow Intro.flac", "slow Intro.v2.wav", "Old.mp3"})
        list.AddFileEntry(input(name));
    RunToEnd();
    for (const char* name : {"slow Intro.wav", "slow Intro (2).wav", "slow Intro (3).wav"})
        EXPECT_TRUE(QFile::exists(output(name))) << name;
    EXPECT_FALSE(QFile::exists(output("slow Intro (4).wav")));
    EXPECT_FALSE(QFile::exists(output("Old (2).wav"))) << "a file from before the run is replaced";
    QFile old(output("Old.wav"));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_NE(old.readAll(), "from an earlier run");
    ASSERT_EQ(report.renamings.size(), 2u);
    EXPECT_TRUE(report.renamings[0].text.endsWith("slow Intro (2).wav") ||
                report.renamings[0].text.endsWith("slow Intro (3).wav"));
    EXPECT_TRUE(BatchRun::ReportText(report).contains("slow Intro (3).wav"));
}

INSTANTIATE_TEST_SUITE_P(OneAndTwoJobs, CollisionTest, testing::Values(1, 2));

TEST_F(BatchRunTest, SeveralJobsRunAtOnceAndTheWholeRunsProgressOnlyGrows) {
    choices.setJobs(3);
    for (int i = 0; i < 7; ++i)
        list.AddFileEntry(input(QStringLiteral("slow%1.wav").arg(i)));
    RunToEnd();
    EXPECT_EQ(maxRunning, 3);
    EXPECT_EQ(report.converted, 7);
    for (int i = 0; i < 7; ++i)
        EXPECT_TRUE(QFile::exists(output(QStringLiteral("slow%1.wav").arg(i))));
    EXPECT_EQ(countsAfterEach, (std::vector<int>{6, 5, 4, 3, 2, 1, 0}));
    ASSERT_FALSE(widths.empty());
    EXPECT_TRUE(std::is_sorted(widths.begin(), widths.end())) << "progress went backwards";
    EXPECT_EQ(captions.back(), "100%");
    EXPECT_FLOAT_EQ(widths.back(), kProgressBarFullWidth);
}

TEST_F(BatchRunTest, StopEndsEveryConverterAndConvertsNothingMore) {
    choices.setJobs(2);
    for (const char* name : {"slow1.wav", "slow2.wav", "slow3.wav"})
        list.AddFileEntry(input(name));
    QEventLoop loop;
    QObject::connect(&run, &BatchRun::fileStarted, &loop, [&] {
        if (run.runningCount() == 2)
            loop.quit();
    });
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    ASSERT_TRUE(run.Start());
    loop.exec();
    ASSERT_EQ(run.runningCount(), 2);
    run.stop();
    EXPECT_EQ(run.runningCount(), 0);
    EXPECT_FALSE(run.isActive());
    QTimer::singleShot(500, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_EQ(runsFinished, 0);
    EXPECT_EQ(list.count(), 3) << "nothing stopped leaves the list";
    EXPECT_FALSE(QFile::exists(output("slow3.wav")));
}

TEST_F(BatchRunTest, TemporaryFilesOfKilledConvertersAreClearedFromTheOutputFolder) {
    ASSERT_TRUE(QDir().mkpath(out.filePath("converted")));
    {
        QFile orphan(output(".song.wav.conv-Ab12Cd.part"));
        ASSERT_TRUE(orphan.open(QIODevice::WriteOnly));
    }
    list.AddFileEntry(input("one.wav"));
    RunToEnd();
    EXPECT_FALSE(QFile::exists(output(".song.wav.conv-Ab12Cd.part")));
    EXPECT_EQ(report.orphansRemoved, 1);
}

TEST(RunReportText, ListsTwentyThenCountsAndKeepsTheKindsApart) {
    RunReport report;
    for (int i = 0; i < 23; ++i)
        report.failures.push_back({QByteArray("/m/f") + QByteArray::number(i), "bad"});
    report.renamings.push_back({"/m/b/Intro.flac", "/out/Intro (2).mp3"});
    report.warnings.push_back({"/m/short.mp3", "conv: /m/short.mp3: warning: input ends early"});
    const QString text = BatchRun::ReportText(report);
    const qsizetype warned = text.indexOf("Converted with warnings");
    EXPECT_GT(warned, text.indexOf("and 3 more"));
    EXPECT_TRUE(text.mid(warned).contains("/m/short.mp3\n    conv: /m/short.mp3: warning:"));
    EXPECT_TRUE(text.startsWith("These files could not be converted:"));
    EXPECT_TRUE(text.contains("/m/f19"));
    EXPECT_FALSE(text.contains("/m/f20"));
    EXPECT_TRUE(text.contains("and 3 more"));
    const qsizetype renamed = text.indexOf("Renamed");
    EXPECT_GT(renamed, text.indexOf("and 3 more"));
    EXPECT_TRUE(text.mid(renamed).contains("/out/Intro (2).mp3"));
    EXPECT_TRUE(BatchRun::ReportText({}).isEmpty());
}

} // namespace
