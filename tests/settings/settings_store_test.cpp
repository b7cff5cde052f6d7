#include "app/settings/settings_store.h"

#include "common/platform_fakes.h"
#include "common/qt_files.h"
#include "gui/dialogs/options_controller.h"
#include "gui/window/frm_options.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <algorithm>
#include <array>
#include <chrono>
#include <future>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace settings;

namespace {

// The choices setup.ini keeps, read and written in a private settings folder.
class SetupFile : public testing::Test {
protected:
    QString path() const { return SetupFilePath(place); }
    void read() { c = ReadChoices(place, boxes); }
    WriteResult write() { return WriteSetup(place, c, boxes); }

    QTemporaryDir dir;
    SettingsPlace place{dir.path(), "/default/out", true, {}};
    ConversionChoices c;
    FakeMessageBoxes boxes;
};

// The controller on the real dialog's controls, in their design state.
class OptionsDialog : public testing::Test {
protected:
    void SetUp() override {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    OptionsController& open(const QString& folder = {}) {
        dialog = std::make_unique<OptionsController>(
            OptionsControls{window.cmbSR(), chkMC, boxes[0], boxes[1], boxes[2], boxes[3], boxes[4],
                            boxes[5], window.cmbJobs(), window.chkKeep(), window.cmbNames(),
                            window.lblNameExample(), window.chkSync(), window.chkReplayGain(),
                            window.chkOpenFolder()},
            choices, SettingsPlace{folder.isEmpty() ? dir.path() : folder, {}, true, {}}, messages);
        if (!exampleInput.isEmpty())
            dialog->setExampleInput(exampleInput, exampleRoot);
        dialog->Load();
        return *dialog;
    }
    QStringList texts(const QStringList& enter = {}) {
        QStringList t;
        for (int i = 0; i < 6; ++i) {
            if (!enter.isEmpty())
                boxes[i]->setText(enter[i]);
            t << boxes[i]->text();
        }
        return t;
    }
    QByteArray fileBytes() const { return readFile(dir.filePath("options.ini")); }
    const OptionsRecords& options() const { return choices.value().options; }
    // The one warning the last OK showed.
    std::string shown() {
        EXPECT_EQ(messages.shown.size(), 1u);
        const auto m = messages.shown.empty() ? FakeMessageBoxes::Shown{} : messages.shown.back();
        messages.shown.clear();
        EXPECT_EQ(m.icon, platform::MsgIcon::Exclamation);
        return (m.title + ": " + m.text).toStdString();
    }

    QTemporaryDir dir;
    frmOptions window;
    QCheckBox* chkMC = window.chkMC();
    QLineEdit* boxes[6] = {window.txtFromH(), window.txtFromM(), window.txtFromS(),
                           window.txtToH(),   window.txtToM(),   window.txtToS()};
    Choices choices;
    std::unique_ptr<OptionsController> dialog;
    FakeMessageBoxes messages;
    QByteArray exampleInput; // the list's first file, with the folder it was added with
    QByteArray exampleRoot;
};

} // namespace

TEST_F(SetupFile, FolderBytesThatAreNotUtf8GoThroughLoadAndSaveUnchanged) {
    const QByteArray folder("/music/caf\xe9 \xff\xfe/out"); // Latin-1, not UTF-8
    const QByteArray file = "\"7\"\r\n\"1\"\r\n\"1\"\r\n\"" + folder + "\"\r\n\"0\"\r\n";
    writeFile(path(), file);
    read();
    EXPECT_EQ(c.outputFolder, folder);
    QFile::remove(path());
    ASSERT_TRUE(write());
    EXPECT_EQ(readFile(path()), file);
}

// A record that does not fit its list (or no selection, which would fail every file) gives
// the default: bitrate 7, rate 1, stereo, the default folder, MP3.
TEST_F(SetupFile, RecordsOutOfTheirRangeGiveTheirDefault) {
    const struct {
        QByteArray text;
        std::array<int, 4> indexes; // bitrate, rate, channels, format
        QByteArray folder;
    } cases[] = {
        {"\"12\"\r\n\"abc\"\r\n\"0\"\r\n\"/music\"\r\n\"2.5\"\r\n", {7, 1, 0, 2}, "/music"},
        {"\"5\"\r\n\"40000\"\r\n\"0\"\r\n\"/mnt/Aud", {5, 1, 0, 0}, "/default/out"},
        {"\"-1\"\r\n\"-1\"\r\n\"2\"\r\n\"\"\r\n\"-1\"\r\n", {7, 1, 1, 0}, "/default/out"},
    };
    for (const auto& k : cases) {
        writeFile(path(), k.text);
        read();
        EXPECT_EQ((std::array{c.bitrateIndex, c.rateIndex, c.channelIndex, c.formatIndex}),
                  k.indexes)
            << k.text.constData();
        EXPECT_EQ(c.outputFolder, k.folder) << k.text.constData();
    }
}

// setup.ini stores positions in the whole bitrate list whatever the format, so a file of the
// nine formats reads as before; a new format's bitrate is fitted only when converting.
TEST_F(SetupFile, FormatAndBitrateReadAsStoredAndConvertWithABitrateTheFormatTakes) {
    const struct {
        int format, bitrate;
        std::string converted; // the bitrate of the command line
    } cases[] = {
        {4, 11, "320"}, {0, 0, "32"},  {8, 11, "320"},  {9, 11, "256"},
        {9, 3, "64"},   {10, 0, "64"}, {10, 11, "320"}, {11, 11, "320"},
    };
    for (const auto& k : cases) {
        const QByteArray file = "\"" + QByteArray::number(k.bitrate) +
                                "\"\r\n\"1\"\r\n\"1\"\r\n\"/m\"\r\n\"" +
                                QByteArray::number(k.format) + "\"\r\n";
        SCOPED_TRACE(file.constData());
        writeFile(path(), file);
        read();
        EXPECT_EQ(c.formatIndex, k.format);
        EXPECT_EQ(c.bitrateIndex, k.bitrate);
        EXPECT_EQ(c.conversionSettings().bitrate, k.converted);
        QFile::remove(path());
        ASSERT_TRUE(write());
        EXPECT_EQ(readFile(path()), file);
    }
}

TEST_F(SetupFile, OptionsAndOwnSettingsOutOfTheirRangeGiveTheirDefault) {
    writeFile(dir.filePath("options.ini"), "2\r\n1\r\n-5\r\n-1\r\n");
    writeFile(dir.filePath("pelkora.ini"),
              "[Conversion]\nSimultaneousConversions=0\n[Output]\nKeepSubFolders=maybe\n");
    read();
    EXPECT_EQ(c.options, (OptionsRecords{0, 1, 0, 0})) << "sound on, no negative time";
    EXPECT_EQ(c.jobs, 1);
    EXPECT_FALSE(c.keepTree);
    // Such choices convert: a format, a bitrate and a rate to ask for, and no negative cut.
    const ConversionSettings s = c.conversionSettings();
    EXPECT_EQ(s.formatIndex, 0);
    EXPECT_EQ(s.bitrate, "128");
    EXPECT_EQ(s.cutStart, 0);
    EXPECT_TRUE(boxes.shown.empty());

    writeFile(dir.filePath("pelkora.ini"),
              "[Conversion]\nSimultaneousConversions=100000\n[Output]\nKeepSubFolders=true\n");
    read();
    EXPECT_EQ(c.jobs, std::max(1, QThread::idealThreadCount())) << "as many as the list offers";
    EXPECT_TRUE(c.keepTree);
}

// What is not an ordinary settings file of a sane size is named once, neither holds up the
// start nor is read into memory, and is still there, unchanged, after every save.
TEST_F(SetupFile, SettingsThatAreNotOrdinaryFilesOrTooLargeAreNamedAndLeftAlone) {
    const QByteArray big = "[Conversion]\nSimultaneousConversions=2\n" +
                           QByteArray(int(kMaxSettingsFileBytes), '#') + "\n";
    const std::pair<const char*, char> cases[] = {
        {"pelkora.ini", 'p'},
        {"pelkora.ini", 'b'},
        {"pelkora.ini", 'd'},
        {"setup.ini", 'p'},
        {"options.ini", 'p'}}; // a pipe, a big file, a folder
    for (const auto& [name, kind] : cases) {
        SCOPED_TRACE(std::string(name) + " as " + kind);
        QTemporaryDir folder;
        const SettingsPlace at{folder.path(), "/default/out", true, {}};
        const QString file = folder.filePath(name);
        const QByteArray fileName = QFile::encodeName(file);
        if (kind == 'p')
            ASSERT_EQ(::mkfifo(fileName.constData(), 0600), 0);
        else if (kind == 'd')
            ASSERT_TRUE(QDir().mkdir(file));
        else
            writeFile(file, big);

        FakeMessageBoxes shown;
        auto reading = std::async(std::launch::async, [&] { return ReadChoices(at, shown); });
        if (reading.wait_for(std::chrono::seconds(60)) != std::future_status::ready) {
            ADD_FAILURE() << "the start is held up";
            ::close(::open(fileName.constData(), O_WRONLY | O_NONBLOCK));
        }
        const ConversionChoices read = reading.get();
        EXPECT_EQ(read.jobs, 1);
        ASSERT_EQ(shown.shown.size(), 1u);
        EXPECT_EQ(shown.shown[0].text,
                  file + (kind == 'b' ? ": larger than 1024 KiB" : ": not an ordinary file") +
                      ", so it is ignored and left as it is; the defaults are used.");

        // Each save refuses to replace its file, and says why.
        const std::string_view n = name;
        EXPECT_EQ(bool(WriteSetup(at, read, shown)), n != "setup.ini");
        const WriteResult options = WriteOptions(at, read);
        EXPECT_EQ(bool(options), n != "options.ini");
        EXPECT_TRUE(options || options.error.find("options.ini: it is not an ordinary file, and "
                                                  "is left as it is") != std::string::npos)
            << options.error;
        EXPECT_EQ(WriteOwnSettings(at, read), n != "pelkora.ini");
        QFileInfo after(file);
        after.setCaching(false);
        EXPECT_EQ(after.isDir(), kind == 'd');
        EXPECT_EQ(after.isFile(), kind == 'b');
        EXPECT_TRUE(kind != 'b' || readFile(file) == big);
    }
}

TEST_F(SetupFile, FolderTheFileCannotHoldKeepsTheStoredOneAndTheOtherRecordsAreSaved) {
    c.outputFolder = "/music/kept";
    ASSERT_TRUE(write());
    c.formatIndex = 4;
    c.outputFolder = "/music/\"live\"";
    ASSERT_TRUE(write());
    EXPECT_EQ(readFile(path()), "\"7\"\r\n\"1\"\r\n\"1\"\r\n\"/music/kept\"\r\n\"4\"\r\n");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_TRUE(boxes.shown[0].text.endsWith("line break:\n/music/\"live\""))
        << boxes.shown[0].text.toStdString();

    // Without a stored folder the default goes in; nothing else is left in the folder.
    QFile::remove(path());
    c.outputFolder = "/music\n/x";
    ASSERT_TRUE(write());
    EXPECT_TRUE(readFile(path()).contains("\"/default/out\"\r\n\"4\""));
    EXPECT_EQ(QDir(dir.path()).count(), 3u); // ".", "..", setup.ini
}

TEST_F(OptionsDialog, MessagesAndFocusFollowTheOrderOfTheChecks) {
    choices.setOptions({0, 1, 0, 10});
    auto& d = open();
    texts({"600000", "60", "75", "-1e300", "61", "99"});
    const std::string minutes = "Min: Minutes must less than 60";
    const std::string seconds = "Min: Seconds must less than 60";
    const std::string hours = "Hour: Time must be less than 596523 hours";
    // Each round fixes the box the message was about; 59.5 minutes are still too many.
    const std::tuple<std::string, int, const char*> rounds[] = {
        {minutes, 1, "59.5"}, {minutes, 1, "59"}, {minutes, 4, "59"}, {seconds, 2, "59"},
        {seconds, 5, "59"},   {hours, 0, "0"},    {hours, 3, "0"}};
    for (const auto& [message, box, fix] : rounds) {
        EXPECT_FALSE(d.imgOK_Click());
        EXPECT_EQ(shown(), message);
        EXPECT_EQ(QApplication::focusWidget(), boxes[box]) << message;
        EXPECT_EQ(options().CutLength, 10);
        EXPECT_EQ(fileBytes(), "<missing>");
        boxes[box]->setText(fix);
    }
    EXPECT_TRUE(d.imgOK_Click());
    EXPECT_EQ(options().CutStart, 59 * 60 + 59);

    // A disabled box takes no focus; the message is shown all the same.
    chkMC->click();
    boxes[1]->setText("75");
    window.cmbSR()->setFocus();
    EXPECT_FALSE(d.imgOK_Click());
    EXPECT_EQ(shown(), minutes);
    EXPECT_EQ(QApplication::focusWidget(), window.cmbSR());
}

TEST_F(OptionsDialog, OpensWithTheValuesHoursHaveNoLimitAllZeroOrCutterOffStoresZeros) {
    choices.setOptions({0, 2, -5, 45}); // any non-zero value means on, as in the conversion
    auto& d = open();
    EXPECT_EQ(window.cmbSR()->currentText(), "ON");
    EXPECT_TRUE(chkMC->isChecked());
    EXPECT_EQ(texts(), (QStringList{"-1", "59", "55", "0", "0", "45"}));
    EXPECT_TRUE(d.imgOK_Click());
    EXPECT_EQ(options().CutStart, -5) << "negative times split down and add up again";
    window.cmbSR()->setCurrentIndex(1);
    texts({"100", "0", "0", "0", "1", "30"});
    EXPECT_TRUE(d.imgOK_Click());
    EXPECT_EQ(fileBytes(), "1\r\n1\r\n360000\r\n90\r\n");

    texts({"0", "0", "0", "0", "0", "0"});
    EXPECT_TRUE(d.imgOK_Click());
    EXPECT_FALSE(chkMC->isChecked());
    EXPECT_EQ(options().CutEnabled, 0);

    choices.setOptions({0, 0, 5400, 45});
    EXPECT_TRUE(open().imgOK_Click());
    EXPECT_EQ(fileBytes(), "0\r\n0\r\n0\r\n0\r\n"); // written even when nothing changed

    // A failed write still closes the dialog and keeps the values for this session.
    choices.setOptions({0, 1, 0, 7});
    auto& unwritable = open(dir.filePath("missing/folder"));
    boxes[5]->setText("8");
    EXPECT_TRUE(unwritable.imgOK_Click());
    EXPECT_FALSE(unwritable.lastWrite());
    EXPECT_EQ(options().CutLength, 8);
}

TEST_F(OptionsDialog, OurOwnChoicesGoToTheirOwnFileAndOptionsIniKeepsItsFormat) {
    if (window.cmbJobs()->count() < 2)
        GTEST_SKIP() << "one core: nothing to choose";
    ConversionChoices c;
    c.keepTree = true;
    choices.set(c);
    auto& d = open();
    EXPECT_EQ(window.cmbJobs()->currentText(), "1");
    EXPECT_TRUE(window.chkKeep()->isChecked());
    window.cmbJobs()->setCurrentIndex(1);
    window.chkKeep()->setChecked(false);
    EXPECT_TRUE(d.imgOK_Click());
    EXPECT_EQ(fileBytes(), "0\r\n0\r\n0\r\n0\r\n");
    // A later start reads them back from pelkora.ini.
    const ConversionChoices read =
        ReadChoices(SettingsPlace{dir.path(), "/out", true, {}}, messages);
    EXPECT_EQ(read.jobs, 2);
    EXPECT_FALSE(read.keepTree);
    EXPECT_TRUE(QFile::exists(dir.filePath("pelkora.ini")));
}

TEST_F(OptionsDialog, OnlyNewAndChangedFilesIsOffUntilCheckedAndKeptInOurOwnFile) {
    const auto stored = [&] {
        return ReadChoices(SettingsPlace{dir.path(), "/out", true, {}}, messages).sync;
    };
    auto& d = open();
    EXPECT_FALSE(window.chkSync()->isChecked());
    window.chkSync()->setChecked(true);
    ASSERT_TRUE(d.imgOK_Click());
    EXPECT_TRUE(choices.value().sync);
    EXPECT_TRUE(stored());
    window.chkSync()->setChecked(false);
    auto& again = open();
    EXPECT_TRUE(window.chkSync()->isChecked()) << "shown as stored";
    window.chkSync()->setChecked(false);
    ASSERT_TRUE(again.imgOK_Click());
    EXPECT_FALSE(stored());
}

TEST_F(OptionsDialog, ReplayGainTagsAreOffUntilCheckedAndKeptInOurOwnFile) {
    const auto stored = [&] {
        return ReadChoices(SettingsPlace{dir.path(), "/out", true, {}}, messages).replayGain;
    };
    auto& d = open();
    EXPECT_FALSE(window.chkReplayGain()->isChecked());
    EXPECT_EQ(window.chkReplayGain()->accessibleName(), "ReplayGain tags");
    window.chkReplayGain()->setChecked(true);
    ASSERT_TRUE(d.imgOK_Click());
    EXPECT_TRUE(choices.value().replayGain);
    EXPECT_FALSE(choices.value().sync) << "a row of its own";
    EXPECT_TRUE(stored());
    EXPECT_TRUE(readFile(dir.filePath("pelkora.ini")).contains("ReplayGainTags=true"));
    EXPECT_EQ(fileBytes(), "0\r\n0\r\n0\r\n0\r\n") << "options.ini keeps its format";
    window.chkReplayGain()->setChecked(false);
    auto& again = open();
    EXPECT_TRUE(window.chkReplayGain()->isChecked()) << "shown as stored";
    window.chkReplayGain()->setChecked(false);
    ASSERT_TRUE(again.imgOK_Click());
    EXPECT_FALSE(stored());
    // Only true or false is read; anything else leaves it off.
    writeFile(dir.filePath("pelkora.ini"), "[Output]\nReplayGainTags=1\n");
    EXPECT_FALSE(stored());
    writeFile(dir.filePath("pelkora.ini"), "[Output]\nReplayGainTags=true\n");
    EXPECT_TRUE(stored());
}

TEST_F(OptionsDialog, OpeningTheOutputFolderIsOnUntilUncheckedAndKeptInOurOwnFile) {
    const auto stored = [&] {
        return ReadChoices(SettingsPlace{dir.path(), "/out", true, {}}, messages)
            .openFolderWhenDone;
    };
    EXPECT_TRUE(stored()) << "without a file, as before the option existed";
    auto& d = open();
    EXPECT_TRUE(window.chkOpenFolder()->isChecked());
    EXPECT_EQ(window.chkOpenFolder()->text(), "Open the output folder when done");
    window.chkOpenFolder()->setChecked(false);
    ASSERT_TRUE(d.imgOK_Click());
    EXPECT_FALSE(choices.value().openFolderWhenDone);
    EXPECT_FALSE(choices.value().replayGain) << "a row of its own";
    EXPECT_FALSE(stored());
    EXPECT_TRUE(readFile(dir.filePath("pelkora.ini")).contains("OpenFolderWhenDone=false"));
    EXPECT_EQ(fileBytes(), "0\r\n0\r\n0\r\n0\r\n") << "options.ini keeps its format";
    window.chkOpenFolder()->setChecked(true);
    auto& again = open();
    EXPECT_FALSE(window.chkOpenFolder()->isChecked()) << "shown as stored";
    window.chkOpenFolder()->setChecked(true);
    ASSERT_TRUE(again.imgOK_Click());
    EXPECT_TRUE(stored());
    writeFile(dir.filePath("pelkora.ini"), "[Output]\nOpenFolderWhenDone=0\n");
    EXPECT_TRUE(stored()) << "only true or false is read";
}

TEST_F(OptionsDialog, ACommonOrTypedNamePatternIsStoredOnOkAndShownAgainNextTime) {
    auto& d = open();
    QComboBox* names = window.cmbNames();
    EXPECT_EQ(names->currentText(), "Name up to the first dot");
    names->setCurrentIndex(names->findText("{artist}/{album}/{track} - {title}"));
    ASSERT_TRUE(d.imgOK_Click());
    EXPECT_EQ(choices.value().namePattern, "{artist}/{album}/{track} - {title}");
    EXPECT_EQ(ReadChoices(SettingsPlace{dir.path(), "/out", true, {}}, messages).namePattern,
              "{artist}/{album}/{track} - {title}");

    // The readable entry of the plain rule stands for the empty pattern. The window is
    // reused, so what it shows is first set apart from what is stored.
    names->setCurrentIndex(0);
    auto& again = open();
    EXPECT_EQ(names->currentText(), "{artist}/{album}/{track} - {title}");
    names->setCurrentIndex(0);
    ASSERT_TRUE(again.imgOK_Click());
    EXPECT_EQ(choices.value().namePattern, "");

    names->setEditText("{albumartist} - {year}");
    ASSERT_TRUE(again.imgOK_Click());
    names->setCurrentIndex(0);
    open();
    EXPECT_EQ(names->currentText(), "{albumartist} - {year}");
    EXPECT_EQ(names->count(), int(CommonNamePatterns().size())) << "typed ones are not added";
}

TEST_F(OptionsDialog, APatternThatDoesNotParseSaysWhyAndOkKeepsTheOldOne) {
    choices.setNamePattern("{stem}");
    auto& d = open();
    QLabel* example = window.lblNameExample();
    EXPECT_FALSE(example->property("problem").toBool());
    window.cmbNames()->setEditText("{artst} - {title}");
    EXPECT_TRUE(example->text().contains("unknown field {artst}")) << example->text().toStdString();
    EXPECT_TRUE(example->property("problem").toBool());
    window.cmbSR()->setFocus();
    EXPECT_FALSE(d.imgOK_Click());
    EXPECT_EQ(choices.value().namePattern, "{stem}");
    EXPECT_EQ(fileBytes(), "<missing>") << "nothing is stored";
    EXPECT_TRUE(messages.shown.empty()) << "the example line has said it already";
    EXPECT_TRUE(window.cmbNames()->hasFocus());

    window.cmbNames()->setEditText("{artist} - {title}");
    EXPECT_FALSE(example->property("problem").toBool());
    EXPECT_TRUE(d.imgOK_Click());
    EXPECT_EQ(choices.value().namePattern, "{artist} - {title}");
}

TEST_F(OptionsDialog, TheExampleFollowsTypingFromTheListsFirstFileOrAMadeUpOne) {
    ConversionChoices c;
    c.formatIndex = 4; // FLAC
    choices.set(c);
    open();
    QLabel* example = window.lblNameExample();
    EXPECT_EQ(example->text(), "Example: 01.flac") << "the plain rule on the made-up file";
    QLineEdit* typed = window.cmbNames()->lineEdit();
    typed->selectAll();
    QTest::keyClicks(typed, "{artist} - {tit");
    EXPECT_TRUE(example->property("problem").toBool()) << example->text().toStdString();
    QTest::keyClicks(typed, "le}");
    EXPECT_EQ(example->text(), "Example: The Testers - Morning Song.flac");

    QTemporaryDir root;
    ASSERT_TRUE(QDir(root.path()).mkpath("Some Band"));
    exampleInput = QFile::encodeName(root.filePath("Some Band/03. Intro.take2.wav"));
    exampleRoot = QFile::encodeName(root.path());
    writeFile(QFile::decodeName(exampleInput), "");
    open();
    EXPECT_EQ(example->text(), "Example: 03.flac");
    typed->selectAll();
    QTest::keyClicks(typed, "{folder}/{stem}");
    EXPECT_EQ(example->text(), "Example: Some Band/03. Intro.take2.flac");
}
