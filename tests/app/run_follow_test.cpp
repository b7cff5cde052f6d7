// Following a run in the window: the status line, Stop (button and Esc), the question on
// closing, failed files kept for the next Convert, and the output folder left shut.
#include "app_test_support.h"

#include "app/files/file_list.h"
#include "gui/window/widgets.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>

#include <cstdlib>

static void PrintTo(const QStringList& list, std::ostream* os) {
    *os << '[' << list.join(", ").toStdString() << ']';
}

namespace {

constexpr int kDeadlineMs = 240'000;

// With PELKORA_SHOT_DIR set, the window is saved there as a picture.
void Shot(QWidget* window, const char* name) {
    if (const char* dir = std::getenv("PELKORA_SHOT_DIR"))
        window->grab().save(QString::fromLocal8Bit(dir) + '/' + name);
}

class RunFollow : public testing::Test {
protected:
    void SetUp() override {
        app.controller->Load();
        app.window->txtPath()->setText(out.filePath("converted"));
        QDir(app.program.path()).mkpath("data");
        QFile::link(QStringLiteral(PELKORA_PROGRAM_DIR "/data/conv"),
                    app.program.filePath("data/conv"));
        app.window->show();
    }

    QByteArray Tone(const QString& name, double seconds = 1.0) {
        const QString path = in.filePath(name);
        EXPECT_TRUE(MakeTone(path, seconds));
        return QFile::encodeName(path);
    }
    // Half an hour of silence: small to make, long enough to stop halfway.
    QByteArray Long(const QString& name) {
        const QString path = in.filePath(name);
        EXPECT_EQ(QProcess::execute("ffmpeg", {"-v", "error", "-y", "-f", "lavfi", "-i",
                                               "anullsrc=r=44100:cl=stereo", "-t", "1800", path}),
                  0);
        return QFile::encodeName(path);
    }
    // The listed files' names, in order.
    QStringList Listed() {
        QStringList names;
        for (int i = 0; i < list().count(); ++i)
            names << QFileInfo(QFile::decodeName(list().path(i))).fileName();
        return names;
    }
    QStringList OutputFolder() {
        return QDir(out.filePath("converted"))
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }
    QString Status() { return app.window->lblStatus()->text(); }
    // Starts the run and waits until the long file is being converted and its time left shows.
    void ConvertUntilTheLongFileRuns(const QByteArray& longFile) {
        ASSERT_FALSE(app.window->showsStop());
        emit app.window->imgConvert()->clicked();
        ASSERT_TRUE(app.controller->runActive());
        EXPECT_TRUE(app.window->showsStop());
        EXPECT_EQ(app.window->imgConvert()->accessibleName(), "Stop");
        EXPECT_TRUE(app.window->imgConvert()->isEnabled());
        bool longStarted = false;
        QObject::connect(&app.controller->batch(), &BatchRun::fileStarted,
                         [&](const QByteArray& path) { longStarted |= path == longFile; });
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return longStarted && Status().contains("left"); }, kDeadlineMs))
            << Status().toStdString();
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                return OutputFolder().join(' ').contains(".part") &&
                       app.window->lblPB()->text() != "0%";
            },
            kDeadlineMs))
            << "the converter has begun writing";
    }

    FileList& list() { return app.controller->fileList(); }

    AppFixture app;
    QTemporaryDir in, out;
};

enum class StopBy { Button, Escape };

class StopRun : public RunFollow, public testing::WithParamInterface<StopBy> {};

TEST_P(StopRun, StopEndsTheConverterLeavesNoPartAndKeepsWhatWasNotConverted) {
    const QByteArray one = Tone("one.wav"), longFile = Long("long.flac"), two = Tone("two.wav");
    for (const QByteArray& path : {one, longFile, two})
        list().AddFileEntry(path);
    ConvertUntilTheLongFileRuns(longFile);
    EXPECT_TRUE(Status().startsWith(QString::fromUtf8("File 2 of 3 \u00b7 about ")))
        << Status().toStdString();
    Shot(app.window, "status-mid-run.png");

    if (GetParam() == StopBy::Button) {
        emit app.window->imgConvert()->clicked();
    } else {
        app.window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(app.window));
        QTest::keyClick(app.window, Qt::Key_Escape);
    }
    EXPECT_FALSE(app.controller->runActive());
    EXPECT_FALSE(app.controller->batch().isActive());
    EXPECT_EQ(app.controller->batch().runningCount(), 0);
    EXPECT_EQ(Status(), "Stopped: 1 of 3 converted");
    Shot(app.window, "stop-pressed.png");
    EXPECT_FALSE(app.window->showsStop());
    EXPECT_EQ(app.window->imgConvert()->accessibleName(), "Convert");
    EXPECT_EQ(OutputFolder(), QStringList{"one.mp3"})
        << "no partial file, the finished output stays";
    EXPECT_EQ(Listed(), (QStringList{"long.flac", "two.wav"}))
        << "the stopped file and the waiting one stay, in order";
    QTest::qWait(300); // anything the stop left queued
    EXPECT_TRUE(app.boxes.shown.empty()) << "no Done box";
    EXPECT_TRUE(app.sound.played.empty());
    EXPECT_TRUE(app.shell.opened.empty()) << "no folder opened";
    EXPECT_TRUE(app.window->imgToolbar(0)->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Both, StopRun, testing::Values(StopBy::Button, StopBy::Escape),
                         [](const auto& info) {
                             return info.param == StopBy::Button ? "Button" : "Escape";
                         });

TEST_F(RunFollow, ClosingDuringARunAsksNoGoesOnYesStopsAndExits) {
    const QByteArray longFile = Long("long.flac");
    list().AddFileEntry(longFile);
    ConvertUntilTheLongFileRuns(longFile);
    int exits = 0;
    QObject::connect(app.controller.get(), &MainController::exitRequested, [&] { ++exits; });

    app.boxes.answers = {false};
    app.window->close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return app.boxes.asked.size() == 1; }, kDeadlineMs));
    EXPECT_EQ(app.boxes.asked[0].text, "Stop converting and exit?");
    EXPECT_EQ(app.boxes.asked[0].title, "Pelkora");
    EXPECT_TRUE(app.window->isVisible());
    EXPECT_TRUE(app.controller->batch().isActive()) << "No: the run goes on";
    EXPECT_EQ(app.controller->batch().runningCount(), 1);
    EXPECT_EQ(exits, 0);

    app.boxes.answers = {true};
    app.controller->commands().exit();
    EXPECT_EQ(app.boxes.asked.size(), 2u);
    EXPECT_EQ(exits, 1);
    EXPECT_FALSE(app.controller->batch().isActive());
    EXPECT_TRUE(OutputFolder().isEmpty()) << OutputFolder().join(", ").toStdString();
    EXPECT_EQ(Listed(), QStringList{"long.flac"});
    EXPECT_TRUE(app.boxes.shown.empty());
    EXPECT_TRUE(app.shell.opened.empty());

    // Without a run, exit asks nothing.
    app.controller->commands().exit();
    EXPECT_EQ(app.boxes.asked.size(), 2u);
    EXPECT_EQ(exits, 2);
}

TEST_F(RunFollow, FailedFilesStayMarkedAndTheNextConvertTriesThemAgain) {
    writeFile(in.filePath("broken.wav"), "this is not audio at all, just text\n");
    const QByteArray broken = QFile::encodeName(in.filePath("broken.wav"));
    list().AddFileEntry(Tone("one.wav"));
    list().AddFileEntry(broken);
    list().AddFileEntry(Tone("two.wav"));
    std::vector<QByteArray> started;
    QObject::connect(&app.controller->batch(), &BatchRun::fileStarted,
                     [&](const QByteArray& path) { started.push_back(path); });
    const auto convert = [&] {
        emit app.window->imgConvert()->clicked();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !app.controller->runActive(); }, kDeadlineMs));
    };
    convert();
    Shot(app.window, "status-at-end.png");

    EXPECT_EQ(started.size(), 3u) << "the failed file is not tried twice in one run";
    ASSERT_EQ(Listed(), QStringList{"broken.wav"});
    EXPECT_TRUE(list().failed(0));
    const QModelIndex row = list().index(0, FileList::FileNameColumn);
    EXPECT_TRUE(row.data(Qt::ToolTipRole).toString().startsWith("failed: conv: "))
        << row.data(Qt::ToolTipRole).toString().toStdString();
    EXPECT_TRUE(row.data(FileList::FailedRole).toBool());
    EXPECT_TRUE(
        QRegularExpression("^2 converted in 0:\\d\\d, 1 failed$").match(Status()).hasMatch())
        << Status().toStdString();
    EXPECT_EQ(app.window->lblPB()->text(), "Done.");
    EXPECT_FALSE(app.window->showsStop()) << "Convert again at the end";
    ASSERT_EQ(app.boxes.shown.size(), 1u);
    EXPECT_TRUE(app.boxes.shown[0].text.startsWith("This file could not be converted:\n\n" +
                                                   QFile::decodeName(broken)));
    EXPECT_EQ(app.shell.opened.size(), 1u) << "the folder opens by default";

    // Without the folder at the end, the next Convert tries the failed file again.
    app.controller->choices().setOpenFolderWhenDone(false);
    convert();
    EXPECT_EQ(started.size(), 4u);
    EXPECT_EQ(started.back(), broken);
    EXPECT_EQ(Listed(), QStringList{"broken.wav"});
    EXPECT_TRUE(list().failed(0));
    EXPECT_EQ(app.shell.opened.size(), 1u) << "the folder stays shut";
    EXPECT_EQ(app.boxes.shown.size(), 2u) << "the box still lists the failure";
    EXPECT_TRUE(Status().endsWith(", 1 failed")) << Status().toStdString();
}

} // namespace
