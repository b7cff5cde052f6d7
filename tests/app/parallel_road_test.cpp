// The whole road, through the window and its controller with the real converter, one and
// several conversions at a time.
#include "app_test_support.h"

#include "app/files/file_list.h"
#include "gui/window/widgets.h"

#include <gtest/gtest.h>

#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <algorithm>

#include <unistd.h>

namespace {

// Processes of this test that are still there: children of ours, or any whose command line
// names `marker` (a folder only this test uses).
QStringList OurProcesses(const QByteArray& marker) {
    QStringList found;
    const QByteArray self = QByteArray::number(::getpid());
    QDirIterator it(QStringLiteral("/proc"), QDir::Dirs | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        const QString dir = it.next();
        QFile cmdline(dir + "/cmdline");
        QFile status(dir + "/status");
        if (it.fileName().toUtf8() == self || !cmdline.open(QIODevice::ReadOnly) ||
            !status.open(QIODevice::ReadOnly))
            continue;
        const QByteArray command = cmdline.readAll();
        if (command.contains(marker) || status.readAll().contains("\nPPid:\t" + self + "\n"))
            found << it.fileName() + ": " + QString::fromLocal8Bit(command).replace('\0', ' ');
    }
    return found;
}

// File names, in order, as one readable line.
std::string Names(const std::vector<QByteArray>& paths) {
    QStringList names;
    for (const QByteArray& path : paths)
        names << QFileInfo(QFile::decodeName(path)).fileName();
    return names.join(", ").toStdString();
}

class Road : public testing::TestWithParam<int> {
protected:
    void SetUp() override {
        app.controller->Load();
        app.window->txtPath()->setText(out.filePath("converted"));
        app.controller->choices().setJobs(GetParam());
        QDir(app.program.path()).mkpath("data");
        QFile::link(QStringLiteral(PELKORA_PROGRAM_DIR "/data/conv"),
                    app.program.filePath("data/conv"));
        QObject::connect(
            &app.controller->batch(), &BatchRun::fileStarted, [this](const QByteArray& path) {
                started.push_back(path);
                mostAtOnce = std::max(mostAtOnce, app.controller->batch().runningCount());
            });
        // The bar as the window shows it, after the window has heard of the change.
        const auto noteBar = [this] { widths.push_back(app.window->imgPB()->width()); };
        QObject::connect(&app.controller->batch(), &BatchRun::fileProgress, noteBar);
        QObject::connect(&app.controller->batch(), &BatchRun::runProgress, noteBar);
    }

    QByteArray Tone(const QString& name, double seconds = 1.0) {
        const QString path = in.filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        EXPECT_TRUE(MakeTone(path, seconds)) << "ffmpeg could not make " << name.toStdString();
        return QFile::encodeName(path);
    }

    // Presses Convert and waits for the run to end; a run that does not end fails the test.
    void Convert() {
        emit app.window->imgConvert()->clicked();
        if (!QTest::qWaitFor([this] { return !app.controller->runActive(); }, 240000))
            ADD_FAILURE() << "the run did not end within four minutes";
    }

    QString Output(const QString& name) { return out.filePath("converted/" + name); }
    // Everything in the output folder, hidden files included, sorted.
    std::string OutputFolder() {
        QStringList names = QDir(out.filePath("converted"))
                                .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        names.sort();
        return names.join(", ").toStdString();
    }
    QString BoxText() { return app.boxes.shown.empty() ? QString() : app.boxes.shown[0].text; }

    FileList& list() { return app.controller->fileList(); }

    AppFixture app;
    QTemporaryDir in, out;
    std::vector<QByteArray> started;
    int mostAtOnce = 0;
    std::vector<int> widths;
};

TEST_P(Road, EveryFileOnceInListOrderTheListShrinksByOneAndAFailureIsReported) {
    const int jobs = GetParam();
    // The broken file ends first while the long one beside it is still being converted.
    writeFile(in.filePath("broken.wav"), "this is not audio at all, just text\n");
    const QByteArray broken = QFile::encodeName(in.filePath("broken.wav"));
    std::vector<QByteArray> inputs{Tone("one.wav", 30), broken};
    for (const char* name : {"two.wav", "three.flac", "five.wav", "six.wav"})
        inputs.push_back(Tone(name));
    for (const QByteArray& path : inputs)
        list().AddFileEntry(path);
    std::vector<QByteArray> left = inputs;
    QObject::connect(&app.controller->batch(), &BatchRun::fileFinished,
                     [&](const QByteArray& path) {
                         if (path != broken)
                             std::erase(left, path);
                         std::vector<QByteArray> listed;
                         for (int i = 0; i < list().count(); ++i)
                             listed.push_back(list().path(i));
                         EXPECT_EQ(Names(listed), Names(left))
                             << "the finished file's own entry leaves, the others and the "
                                "failed one stay";
                     });
    // The end of the run in order: folder opened, sound, then the window restored and the box.
    QObject::connect(&app.controller->batch(), &BatchRun::runFinished, [&] {
        EXPECT_EQ(app.shell.opened.size(), 1u);
        EXPECT_EQ(app.sound.played.size(), 1u);
        EXPECT_FALSE(app.window->imgToolbar(0)->isEnabled()) << "restored before the sound ended";
        EXPECT_TRUE(app.boxes.shown.empty());
    });
    Convert();

    EXPECT_EQ(mostAtOnce, jobs) << "as many converters at once as chosen, never more";
    EXPECT_EQ(Names(started), Names(inputs)) << "each file started once, in list order";
    EXPECT_EQ(Names(left), Names({broken})) << "the failed file stays to be tried again";
    for (const char* name : {"one.mp3", "two.mp3", "three.mp3", "five.mp3", "six.mp3"})
        EXPECT_EQ(Probe(Output(name)), "mp3,44100,2") << name;
    EXPECT_EQ(OutputFolder(), "five.mp3, one.mp3, six.mp3, three.mp3, two.mp3")
        << "no output for the broken file, no temporary file left";
    ASSERT_EQ(app.shell.opened.size(), 1u);
    EXPECT_EQ(app.shell.opened[0].toLocalFile(), out.filePath("converted"));

    // The entry's own line names the file; the converter's reason follows it, indented.
    ASSERT_EQ(app.boxes.shown.size(), 1u);
    const QStringList report = BoxText().split('\n');
    ASSERT_EQ(report.size(), 4) << BoxText().toStdString();
    EXPECT_EQ(report[0], "This file could not be converted:");
    EXPECT_EQ(report[2], QFile::decodeName(broken));
    EXPECT_TRUE(report[3].startsWith("    conv: ")) << report[3].toStdString();

    // With several at a time the bar shows the whole run.
    ASSERT_FALSE(widths.empty());
    if (jobs > 1) {
        EXPECT_TRUE(std::is_sorted(widths.begin(), widths.end())) << "the bar went back";
    }
    EXPECT_EQ(app.window->lblPB()->text(), "Done.");
    EXPECT_EQ(app.window->imgPB()->width(), 0);
    EXPECT_TRUE(app.window->imgConvert()->isEnabled());
}

TEST_P(Road, FilesDroppedDuringTheRunAreConverted) {
    list().AddFileEntry(Tone("a.wav"));
    list().AddFileEntry(Tone("b.wav"));
    const QByteArray c = Tone("c.wav"), d = Tone("d.wav"), last = Tone("last.wav");
    bool droppedTwo = false, droppedLast = false;
    QObject::connect(&app.controller->batch(), &BatchRun::fileFinished, [&] {
        if (!droppedTwo) {
            droppedTwo = true;
            list().AddFileEntry(c);
            list().AddFileEntry(d);
        } else if (!droppedLast && list().count() == 0 &&
                   app.controller->batch().runningCount() == 0) {
            // The very end of the run: nothing listed and nothing running.
            droppedLast = true;
            list().AddFileEntry(last);
        }
    });
    Convert();

    EXPECT_TRUE(droppedLast);
    EXPECT_EQ(list().count(), 0);
    EXPECT_EQ(OutputFolder(), "a.mp3, b.mp3, c.mp3, d.mp3, last.mp3");
    for (const char* name : {"c.mp3", "last.mp3"})
        EXPECT_EQ(Probe(Output(name)), "mp3,44100,2") << name;
    EXPECT_TRUE(app.boxes.shown.empty()) << BoxText().toStdString();
}

TEST_P(Road, ClosingDuringARunLeavesNoTemporaryFileAndNoConverter) {
    const int jobs = GetParam();
    // Long enough that every converter is still at work when the window goes.
    const QByteArray first = Tone("long.wav", 600);
    list().AddFileEntry(first);
    for (int i = 2; i <= jobs + 1; ++i) {
        const QString copy = in.filePath(QStringLiteral("long%1.wav").arg(i));
        ASSERT_TRUE(QFile::link(QFile::decodeName(first), copy));
        list().AddFileEntry(QFile::encodeName(copy));
    }
    emit app.window->imgConvert()->clicked();
    const auto temporaries = [this] {
        return QDir(out.filePath("converted"))
            .entryList({"*.part"}, QDir::Files | QDir::Hidden)
            .size();
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return temporaries() == jobs; }, 120000))
        << "the converters did not start writing within two minutes";
    ASSERT_FALSE(OurProcesses(in.path().toUtf8()).isEmpty()) << "the scan sees running converters";

    app.controller.reset(); // the window with it
    EXPECT_EQ(OurProcesses(in.path().toUtf8()).join('\n').toStdString(), "")
        << "a converter outlived the window";
    EXPECT_EQ(OutputFolder(), "") << "no partial output, no temporary file";
}

// The Options row on: a second run of the same list converts nothing and says so.
TEST_P(Road, ASyncRunLeavesFilesThatAreUpToDateAsTheyWere) {
    app.controller->choices().setSync(true);
    const QByteArray a = Tone("a.wav"), b = Tone("b.wav");
    list().AddFileEntry(a);
    list().AddFileEntry(b);
    Convert();
    ASSERT_TRUE(QFile::exists(Output("a.mp3")) && QFile::exists(Output("b.mp3")));
    EXPECT_TRUE(app.boxes.shown.empty()) << BoxText().toStdString();
    const QDateTime made = QFileInfo(Output("a.mp3")).lastModified();

    const QByteArray c = Tone("c.wav");
    for (const QByteArray& path : {a, b, c})
        list().AddFileEntry(path);
    Convert();
    EXPECT_TRUE(QFile::exists(Output("c.mp3")));
    EXPECT_EQ(QFileInfo(Output("a.mp3")).lastModified(), made);
    EXPECT_EQ(list().count(), 0);
    ASSERT_EQ(app.boxes.shown.size(), 1u);
    EXPECT_EQ(BoxText(), "2 files were up to date and left as they were.");
    EXPECT_EQ(app.boxes.shown[0].icon, platform::MsgIcon::Information);
}

INSTANTIATE_TEST_SUITE_P(Jobs, Road, testing::Values(1, 2, 3),
                         [](const auto& info) { return std::to_string(info.param) + "AtATime"; });

} // namespace
