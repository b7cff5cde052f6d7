#include "app_test_support.h"

#include "app/files/file_list.h"
#include "gui/window/widgets.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <vector>

namespace {

TEST(Commands, SavedChoicesAreShownAndExitWritesThemBackByteForByteEveryTime) {
    AppFixture app;
    const QString setup = app.program.filePath("setup.ini");
    writeFile(setup, "\"0\"\r\n\"7\"\r\n\"0\"\r\n\"\"\r\n\"8\"\r\n");
    app.controller->Load();
    EXPECT_EQ(app.window->cmbBR()->currentText(), "32");
    EXPECT_EQ(app.window->cmbR()->currentText(), "8000");
    EXPECT_EQ(app.window->cmbChannel()->currentText(), "Mono");
    EXPECT_EQ(app.window->cmbOF()->currentText(), "MPG");
    EXPECT_EQ(app.window->txtPath()->text(), app.program.path() + "/output") << "empty: default";
    EXPECT_EQ(app.window->lblVersion()->text().toStdString(), "Ver " PELKORA_PROJECT_VERSION);

    app.window->cmbOF()->setCurrentIndex(4);
    app.window->txtPath()->setText("/home/u/My Music, new");
    int exits = 0;
    QObject::connect(app.controller.get(), &MainController::exitRequested, [&] { ++exits; });
    app.controller->Exit();
    EXPECT_EQ(readFile(setup), "\"0\"\r\n\"7\"\r\n\"0\"\r\n\"/home/u/My Music, new\"\r\n\"4\"\r\n");
    QFile::remove(setup);
    app.controller->setTxtAction("menuExit");
    EXPECT_TRUE(QFile::exists(setup));
    EXPECT_EQ(exits, 2);
}

TEST(Commands, AddFolderAndADroppedFolderSayWhatTheSearchLimitLeftOut) {
    AppFixture app;
    QTemporaryDir music;
    for (int i = 0; i < 205; ++i)
        ASSERT_TRUE(QDir(music.path()).mkpath(QString::number(i)));
    app.dialogs.replies = {music.path()};
    app.controller->commands().addFolder();
    app.controller->fileList().AddPaths({QFile::encodeName(music.path())});
    QCoreApplication::processEvents(); // a drop's box waits until the drop has returned
    ASSERT_EQ(app.boxes.shown.size(), 2u);
    for (const auto& box : app.boxes.shown) {
        EXPECT_TRUE(box.text.startsWith("5 sub-folders were left out")) << box.text.toStdString();
        EXPECT_EQ(box.icon, platform::MsgIcon::Exclamation);
    }
}

// Cancel in the folder dialog is no choice: the folder chosen before stays, in the box and in
// what Exit saves.
TEST(Commands, CancellingTheOutputFolderDialogKeepsTheFolderChosenBefore) {
    AppFixture app;
    app.controller->Load();
    const QString loaded = app.window->txtPath()->text();
    const QString cancel; // a null reply is a cancel
    struct Step {
        QString reply;
        QString shown;
    };
    const std::vector<Step> steps = {{cancel, loaded},
                                     {"/home/u/Converted", "/home/u/Converted"},
                                     {cancel, "/home/u/Converted"},
                                     {"/srv/music out", "/srv/music out"},
                                     {cancel, "/srv/music out"}};
    for (const Step& step : steps) {
        app.dialogs.replies = {step.reply};
        app.controller->Browse();
        EXPECT_EQ(app.window->txtPath()->text(), step.shown)
            << "reply " << step.reply.toStdString();
        EXPECT_EQ(QFile::decodeName(app.controller->choices().value().outputFolder), step.shown);
    }
}

// The program folder holds no converter: the run ends at once, says why, and keeps the list.
TEST(Commands, AConverterThatCannotStartIsShownInABoxAndTheListStays) {
    AppFixture app;
    app.controller->Load();
    QTemporaryDir music;
    writeFile(music.filePath("a.wav"), "RIFF");
    app.controller->fileList().AddFileEntry(QFile::encodeName(music.filePath("a.wav")));
    app.controller->Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !app.controller->runActive(); }, 60'000));
    ASSERT_EQ(app.boxes.shown.size(), 1u);
    EXPECT_EQ(app.boxes.shown[0].text, "File or command not found");
    EXPECT_EQ(app.boxes.shown[0].icon, platform::MsgIcon::Critical);
    EXPECT_EQ(app.boxes.shown[0].title, "Pelkora");
    EXPECT_EQ(app.controller->fileList().count(), 1);
    EXPECT_EQ(app.window->lblPB()->text(), "0%");
    EXPECT_TRUE(app.window->imgConvert()->isEnabled());
    EXPECT_TRUE(app.shell.opened.empty()) << "no output folder to show";
}

} // namespace
