#include "app_test_support.h"

#include "filelist/file_list.h"
#include "filelist/file_list_view.h"
#include "ui/widgets.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

namespace {

class ConversionRoad : public testing::Test {
protected:
    void SetUp() override {
        app.controller->Load();
        app.window->txtPath()->setText(out.filePath("converted"));
    }

    QByteArray Tone(const QString& name) {
        const QString path = in.filePath(name);
        EXPECT_TRUE(MakeTone(path)) << "ffmpeg could not make " << name.toStdString();
        return QFile::encodeName(path);
    }

    // Presses Convert and waits for the run to end; a run that does not end fails the test.
    void Convert() {
        QEventLoop loop;
        QObject::connect(app.controller.get(), &MainController::runEnded, &loop, &QEventLoop::quit);
        QTimer::singleShot(240000, &loop, &QEventLoop::quit);
        emit app.window->imgConvert()->clicked();
        disabledAtOnce =
            !app.window->imgConvert()->isEnabled() && !app.window->imgToolbar(0)->isEnabled() &&
            !app.window->imgMenu(0)->isEnabled() && !app.window->lblFeed()->isEnabled();
        if (app.controller->runActive())
            loop.exec();
        if (app.controller->runActive())
            ADD_FAILURE() << "the run did not end within four minutes";
    }

    QString Output(const QString& name) { return out.filePath("converted/" + name); }

    FileList& list() { return *app.window->fileList(); }

    AppFixture app;
    QTemporaryDir in, out;
    bool disabledAtOnce = false;
};

TEST_F(ConversionRoad, ThreeFilesInListOrderThenAnEmptyListAndDone) {
    app.InstallConverter();
    for (const char* name : {"first.wav", "second.tone.wav", "third.flac"})
        list().AddFileEntry(Tone(name));
    std::vector<int> countsAfterEachFile;
    QObject::connect(&app.controller->batch(), &BatchRun::fileFinished,
                     [&] { countsAfterEachFile.push_back(list().count()); });
    Convert();

    EXPECT_TRUE(disabledAtOnce) << "controls shown disabled before the first file starts";
    EXPECT_EQ(countsAfterEachFile, (std::vector<int>{2, 1, 0})) << "top row gone after each";
    EXPECT_EQ(list().count(), 0);
    EXPECT_TRUE(app.window->picDrag()->isVisibleTo(app.window.get()));
    EXPECT_EQ(app.window->imgPB()->width(), 0);
    EXPECT_EQ(app.window->lblPB()->text(), "Done.");
    EXPECT_TRUE(app.window->imgConvert()->isEnabled());
    EXPECT_TRUE(app.window->imgToolbar(6)->isEnabled());
    for (const char* name : {"first.mp3", "second.mp3", "third.mp3"})
        EXPECT_EQ(Probe(Output(name)), "mp3,44100,2") << name;
    ASSERT_EQ(app.shell.opened.size(), 1u);
    EXPECT_EQ(app.shell.opened[0].toLocalFile(), out.filePath("converted"));
    EXPECT_TRUE(app.boxes.shown.empty());
}

TEST_F(ConversionRoad, DroppedFileAndNewFormatApplyWithinTheSameRun) {
    app.InstallConverter();
    list().AddFileEntry(Tone("a.wav"));
    list().AddFileEntry(Tone("b.wav"));
    const QByteArray dropped = Tone("c.wav");
    bool changed = false;
    QObject::connect(&app.controller->batch(), &BatchRun::progressChanged, [&] {
        if (changed)
            return;
        changed = true;
        list().AddFileEntry(dropped);
        app.window->cmbOF()->setCurrentIndex(4); // FLAC from the next file on
    });
    Convert();
    EXPECT_EQ(Probe(Output("a.mp3")), "mp3,44100,2");
    EXPECT_EQ(Probe(Output("b.flac")), "flac,44100,1") << "the source is mono; FLAC keeps it";
    EXPECT_EQ(Probe(Output("c.flac")), "flac,44100,1");
    EXPECT_FALSE(QFile::exists(Output("b.mp3")));
}

TEST_F(ConversionRoad, EmptyListOnlyAsksForAFile) {
    Convert();
    ASSERT_EQ(app.boxes.shown.size(), 1u);
    EXPECT_EQ(app.boxes.shown[0].text, "Please add a file");
    EXPECT_TRUE(app.window->imgConvert()->isEnabled());
    EXPECT_TRUE(app.window->imgToolbar(0)->isEnabled());
    EXPECT_FALSE(app.controller->runActive());
}

TEST_F(ConversionRoad, AFailingFileIsReportedAndTheOthersConverted) {
    app.InstallConverter();
    list().AddFileEntry(Tone("good.wav"));
    const QString broken = in.filePath("broken.wav");
    {
        QFile f(broken);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("this is not audio at all, just text\n");
    }
    list().AddFileEntry(QFile::encodeName(broken));
    list().AddFileEntry(Tone("also good.wav"));
    Convert();

    EXPECT_EQ(list().count(), 0);
    EXPECT_EQ(app.window->lblPB()->text(), "Done.");
    EXPECT_EQ(Probe(Output("good.mp3")), "mp3,44100,2");
    EXPECT_EQ(Probe(Output("also good.mp3")), "mp3,44100,2");
    EXPECT_FALSE(QFile::exists(Output("broken.mp3"))) << "no half-written output";
    ASSERT_EQ(app.boxes.shown.size(), 1u);
    EXPECT_EQ(app.boxes.shown[0].title, "Pelkora");
    EXPECT_EQ(app.boxes.shown[0].icon, platform::MsgIcon::Exclamation);
    // The entry's own line names the file; the converter's reason follows it, indented.
    const QStringList report = app.boxes.shown[0].text.split('\n');
    ASSERT_EQ(report.size(), 4) << report.join('\n').toStdString();
    EXPECT_EQ(report[0], "This file could not be converted:");
    EXPECT_EQ(report[2], broken);
    EXPECT_TRUE(report[3].startsWith("    conv: ")) << report[3].toStdString();
}

TEST_F(ConversionRoad, MissingConverterEndsTheRunAndKeepsTheList) {
    list().AddFileEntry(Tone("a.wav"));
    list().AddFileEntry(Tone("b.wav"));
    Convert();
    ASSERT_EQ(app.boxes.shown.size(), 1u);
    EXPECT_EQ(app.boxes.shown[0].text, "File or command not found");
    EXPECT_EQ(list().count(), 2);
    EXPECT_TRUE(app.window->imgConvert()->isEnabled());
    EXPECT_FALSE(app.controller->runActive());
}

TEST_F(ConversionRoad, ClosingTheWindowDuringARunLeavesNoPartialFile) {
    app.InstallConverter();
    const QString long_ = in.filePath("long.wav");
    ASSERT_TRUE(MakeTone(long_, 600));
    list().AddFileEntry(QFile::encodeName(long_));
    QEventLoop loop;
    bool converting = false;
    QObject::connect(&app.controller->batch(), &BatchRun::progressChanged, &loop, [&] {
        converting = true;
        loop.quit();
    });
    QTimer::singleShot(120000, &loop, &QEventLoop::quit);
    emit app.window->imgConvert()->clicked();
    loop.exec();
    EXPECT_TRUE(converting) << "the converter printed nothing within two minutes";
    app.controller.reset();
    app.window.reset();
    EXPECT_TRUE(QDir(out.filePath("converted"))
                    .entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot)
                    .isEmpty())
        << "the stopped converter took its temporary file with it";
}

} // namespace
