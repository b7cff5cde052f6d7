#include "app_test_support.h"

#include "filelist/file_list.h"
#include "ui/frm_menu.h"
#include "ui/widgets.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace {

TEST(Startup, FirstStartShowsDefaultsVersionAndName) {
    AppFixture app;
    app.controller->Load();
    EXPECT_EQ(app.window->cmbOF()->currentText(), "MP3");
    EXPECT_EQ(app.window->cmbBR()->currentText(), "128");
    EXPECT_EQ(app.window->cmbR()->currentText(), "44100");
    EXPECT_EQ(app.window->cmbChannel()->currentText(), "Stereo");
    EXPECT_EQ(app.window->txtPath()->text(), app.program.path() + "/output");
    EXPECT_EQ(app.window->lblVersion()->text().toStdString(), "Ver " PELKORA_PROJECT_VERSION);
    EXPECT_EQ(app.window->lblWeb()->text(), "Pelkora");
    EXPECT_FALSE(QFile::exists(app.program.filePath("output"))) << "made by the run, not here";
}

TEST(Startup, SavedChoicesAreAppliedAndAnEmptyFolderFallsBack) {
    AppFixture app;
    {
        QFile f(app.program.filePath("setup.ini"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("\"0\"\r\n\"7\"\r\n\"0\"\r\n\"\"\r\n\"8\"\r\n");
    }
    {
        QFile f(app.program.filePath("options.ini"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("0\r\n1\r\n90\r\n45\r\n");
    }
    app.controller->Load();
    EXPECT_EQ(app.window->cmbBR()->currentText(), "32");
    EXPECT_EQ(app.window->cmbR()->currentText(), "8000");
    EXPECT_EQ(app.window->cmbChannel()->currentText(), "Mono");
    EXPECT_EQ(app.window->cmbOF()->currentText(), "MPG");
    EXPECT_EQ(app.window->txtPath()->text(), app.program.path() + "/output");
    const auto& options = app.controller->choices().value().options;
    EXPECT_EQ(options.CutEnabled, 1);
    EXPECT_EQ(options.CutStart, 90);
    EXPECT_EQ(options.CutLength, 45);
}

TEST(Commands, ExitWritesSetupByteForByteEveryTime) {
    AppFixture app;
    app.controller->Load();
    app.window->cmbOF()->setCurrentIndex(4);
    app.window->txtPath()->setText("/home/u/My Music, new");
    int exits = 0;
    QObject::connect(app.controller.get(), &MainController::exitRequested, [&] { ++exits; });
    app.controller->Exit();
    EXPECT_EQ(app.ReadFile("setup.ini"),
              QByteArray("\"7\"\r\n\"1\"\r\n\"1\"\r\n\"/home/u/My Music, new\"\r\n\"4\"\r\n"));
    EXPECT_EQ(exits, 1);
    QFile::remove(app.program.filePath("setup.ini"));
    app.controller->setTxtAction("menuExit");
    EXPECT_TRUE(QFile::exists(app.program.filePath("setup.ini")));
    EXPECT_EQ(exits, 2);
}

TEST(Commands, MenuWordsRunTheirCommandAndTheSameEntryTwiceRunsTwice) {
    AppFixture app;
    std::vector<std::string> ran;
    auto& c = app.controller->commands();
    c.addFile = [&] { ran.push_back("addFile"); };
    c.addFolder = [&] { ran.push_back("addFolder"); };
    c.removeSelected = [&] { ran.push_back("removeSelected"); };
    c.options = [&] { ran.push_back("options"); };
    c.help = [&] { ran.push_back("help"); };
    c.about = [&] { ran.push_back("about"); };
    c.exit = [&] { ran.push_back("exit"); };

    for (const char* word : {"RemoveSelected", "A", "AddaFile", "menuAddaFolder", "menuExit",
                             "menuHelp", "menuOption", "menuOption", "Unknown", "a"})
        app.controller->setTxtAction(QString::fromLatin1(word));
    EXPECT_EQ(ran, (std::vector<std::string>{"removeSelected", "about", "addFile", "addFolder",
                                             "exit", "help", "options", "options"}));
    EXPECT_TRUE(app.controller->txtAction().isEmpty()) << "cleared after each choice";

    ran.clear();
    for (int index : {0, 6, 2, 3, 4})
        app.controller->imgToolbar_Click(index);
    EXPECT_EQ(ran, (std::vector<std::string>{"addFile", "addFolder", "options", "help", "exit"}));

    ran.clear();
    emit app.window->menus()->commandWord("A");
    emit app.window->menus()->commandWord("A");
    EXPECT_EQ(ran, (std::vector<std::string>{"about", "about"})) << "through the menu form";
}

TEST(Commands, AboutHelpAndLinks) {
    AppFixture app;
    app.controller->setTxtAction("A");
    ASSERT_EQ(app.boxes.shown.size(), 1u);
    EXPECT_EQ(app.boxes.shown[0].title, "Pelkora");
    EXPECT_EQ(app.boxes.shown[0].text.count("\r\n"), 2) << "three lines";

    app.controller->setTxtAction("menuHelp");
    emit app.window->lblFeed()->clicked();
    emit app.window->lblWeb()->clicked();
    ASSERT_EQ(app.shell.opened.size(), 3u);
    EXPECT_TRUE(app.shell.opened[0].isLocalFile());
    EXPECT_TRUE(app.shell.opened[0].toLocalFile().endsWith("help/tutorial.html"));
    EXPECT_EQ(app.shell.opened[1].scheme(), "mailto");
    EXPECT_EQ(app.shell.opened[2].scheme(), "https");
}

TEST(Commands, BrowseTakesTheChoiceAndCancelSetsTheDefaultFolder) {
    AppFixture app;
    app.controller->Load();
    app.dialogs.replies = {"/media/usb/converted"};
    app.controller->Browse();
    EXPECT_EQ(app.window->txtPath()->text(), "/media/usb/converted");
    app.controller->Browse();
    EXPECT_EQ(app.window->txtPath()->text(), app.program.path() + "/output");
}

TEST(Commands, CancelledFolderSearchShowsTheIdleHintAsTheListDoes) {
    AppFixture app;
    app.controller->imgToolbar_Click(6);
    EXPECT_EQ(app.window->lblText()->text(), "Drag & Drop Files Here");
    EXPECT_TRUE(app.window->picText()->isVisibleTo(app.window.get()));
}

} // namespace
