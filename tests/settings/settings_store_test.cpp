#include "settings/settings_store.h"

#include "common/platform_fakes.h"
#include "settings/options_controller.h"
#include "ui/frm_options.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

using namespace settings;

namespace {

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// The choices setup.ini keeps, read and written in a private settings folder.
class SetupFile : public testing::Test {
protected:
    QString path() const { return SetupFilePath(place); }
    void read() { c = ReadChoices(place); }
    WriteResult write() { return WriteSetup(place, c, boxes); }

    QTemporaryDir dir;
    SettingsPlace place{dir.path(), "/default/out", true};
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
            OptionsControls{cmbSR, chkMC, boxes[0], boxes[1], boxes[2], boxes[3], boxes[4],
                            boxes[5], window.cmbJobs(), window.chkKeep()},
            choices, SettingsPlace{folder.isEmpty() ? dir.path() : folder, {}, true}, messages);
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
    void setOptions(const OptionsRecords& o) { choices.setOptions(o); }
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
    QComboBox* cmbSR = window.cmbSR();
    QCheckBox* chkMC = window.chkMC();
    QLineEdit* boxes[6] = {window.txtFromH(), window.txtFromM(), window.txtFromS(),
                           window.txtToH(),   window.txtToM(),   window.txtToS()};
    Choices choices;
    std::unique_ptr<OptionsController> dialog;
    FakeMessageBoxes messages;
};

} // namespace

TEST_F(SetupFile, WorkedExampleByteForByteAndBack) {
    c.outputFolder = "C:\\Audio Tools\\output";
    ASSERT_TRUE(write());
    EXPECT_EQ(readFile(path()),
              "\"7\"\r\n\"1\"\r\n\"1\"\r\n\"C:\\Audio Tools\\output\"\r\n\"0\"\r\n");

    c.rateIndex = -1;
    c.outputFolder = QStringLiteral("/home/a/Music, Old/out ä").toUtf8();
    ASSERT_TRUE(write());
    EXPECT_TRUE(readFile(path()).contains("\"7\"\r\n\"-1\"\r\n"));
    c = {};
    read();
    EXPECT_EQ(c.bitrateIndex, 7);
    EXPECT_EQ(c.rateIndex, -1);
    EXPECT_EQ(c.outputFolder, QStringLiteral("/home/a/Music, Old/out ä").toUtf8());
}

TEST_F(SetupFile, RecordsThatDoNotFitLeaveTheirControlAlone) {
    writeFile(path(), "\"12\"\r\n\"abc\"\r\n\"0\"\r\n\"/music\"\r\n\"2.5\"\r\n");
    read();
    EXPECT_EQ(c.bitrateIndex, 7); // the list has indexes 0 to 11
    EXPECT_EQ(c.rateIndex, 1);
    EXPECT_EQ(c.channelIndex, 0);
    EXPECT_EQ(c.outputFolder, "/music");
    EXPECT_EQ(c.formatIndex, 2); // rounded half to even

    writeFile(path(), "\"5\"\r\n\"40000\"\r\n\"1\"\r\n\"/mnt/Aud"); // truncated
    read();
    EXPECT_EQ(c.bitrateIndex, 5);
    EXPECT_EQ(c.rateIndex, 1); // beyond 16 bits
    EXPECT_EQ(c.channelIndex, 1);
    EXPECT_EQ(c.outputFolder, "/default/out") << "a cut-off record is not applied";
}

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

TEST_F(SetupFile, FolderTheFileCannotHoldKeepsTheStoredOneAndTheOtherRecordsAreSaved) {
    c.outputFolder = "/music/kept";
    ASSERT_TRUE(write());
    c.formatIndex = 4;
    c.outputFolder = "/music/\"live\"";
    ASSERT_TRUE(write());
    EXPECT_EQ(readFile(path()), "\"7\"\r\n\"1\"\r\n\"1\"\r\n\"/music/kept\"\r\n\"4\"\r\n");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, "Pelkora");
    EXPECT_TRUE(boxes.shown[0].text.contains("/music/\"live\""))
        << boxes.shown[0].text.toStdString();
    EXPECT_TRUE(boxes.shown[0].text.contains("cannot be remembered"))
        << boxes.shown[0].text.toStdString();

    // Without a stored folder the default goes in; nothing else is left in the folder.
    QFile::remove(path());
    c.outputFolder = "/music\n/x";
    ASSERT_TRUE(write());
    EXPECT_TRUE(readFile(path()).contains("\"/default/out\"\r\n\"4\""))
        << readFile(path()).toStdString();
    EXPECT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(QDir(dir.path()).count(), 3u); // ".", "..", setup.ini

    // A folder the file can hold shows no message.
    c.outputFolder = "/music/plain";
    ASSERT_TRUE(write());
    EXPECT_EQ(boxes.shown.size(), 2u);
}

TEST(OptionsFile, FirstRunWorkedExampleLeadingNumbersAndRecordsOutOfRange) {
    QTemporaryDir dir;
    const QString path = dir.filePath("options.ini");
    const auto ReadOptionsFile = [](const QString& p, OptionsRecords& o) {
        ApplyOptionsUpdate(LoadOptionsFile(QFile::encodeName(p).toStdString()), o);
    };
    const auto WriteOptionsFile = [](const QString& p, const OptionsRecords& o) {
        return SaveOptionsFile(QFile::encodeName(p).toStdString(), o);
    };
    OptionsRecords o{1, 1, 12, 34};
    ReadOptionsFile(path, o); // first run: sound on, cutter off
    EXPECT_EQ(FormatOptionsText(o), "0\r\n0\r\n12\r\n34\r\n");
    writeFile(path, "1\r\nabc\r\n90.5\r\n91.5\r\n");
    ReadOptionsFile(path, o);
    EXPECT_EQ(FormatOptionsText(o), "1\r\n0\r\n90\r\n92\r\n");
    o.CutEnabled = 1;
    writeFile(path, "0\r\n99999\r\n1e10\r\n4"); // beyond 16 bits, beyond 32 bits, cut off
    ReadOptionsFile(path, o);
    EXPECT_EQ(FormatOptionsText(o), "0\r\n1\r\n90\r\n92\r\n");

    ASSERT_TRUE(WriteOptionsFile(path, OptionsRecords{0, 1, 90, 45}));
    EXPECT_EQ(readFile(path), "0\r\n1\r\n90\r\n45\r\n");
    ASSERT_TRUE(WriteOptionsFile(path, OptionsRecords{1, 0, -5, 360000}));
    EXPECT_EQ(readFile(path), "1\r\n0\r\n-5\r\n360000\r\n");
}

TEST_F(OptionsDialog, OpensWithTheCurrentValuesAndBackStoresNothing) {
    setOptions({1, 1, 5400, 45});
    auto& d = open();
    EXPECT_EQ(cmbSR->currentText(), "OFF");
    EXPECT_TRUE(chkMC->isChecked());
    EXPECT_EQ(texts(), (QStringList{"1", "30", "0", "0", "0", "45"}));
    EXPECT_TRUE(boxes[0]->isEnabled());
    chkMC->click(); // the check box only enables and disables
    EXPECT_FALSE(boxes[5]->isEnabled());
    EXPECT_EQ(texts(), (QStringList{"1", "30", "0", "0", "0", "45"}));

    cmbSR->setCurrentIndex(0);
    texts({"2", "0", "0", "0", "0", "5"});
    EXPECT_TRUE(d.imgBack_Click());
    EXPECT_TRUE(d.imgExit_Click());
    EXPECT_EQ(FormatOptionsText(options()), "1\r\n1\r\n5400\r\n45\r\n");
    EXPECT_EQ(fileBytes(), "<missing>");
    open(); // the next opening shows the kept values
    EXPECT_EQ(texts(), (QStringList{"1", "30", "0", "0", "0", "45"}));
}

TEST_F(OptionsDialog, MessagesAndFocusFollowTheOrderOfTheChecks) {
    setOptions({0, 1, 0, 10});
    auto& d = open();
    texts({"0", "60", "75", "0", "61", "99"});
    const std::string minutes = "Min: Minutes must less than 60";
    const std::string seconds = "Min: Seconds must less than 60";
    // Each round fixes the box the message was about; 59.5 minutes are still too many.
    // clang-format off
    const std::tuple<std::string, int, const char*> rounds[] = {
        {minutes, 1, "59.5"}, {minutes, 1, "59"}, {minutes, 4, "59"},
        {seconds, 2, "59"},   {seconds, 5, "59"}};
    // clang-format on
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
}

TEST_F(OptionsDialog, HoursHaveNoLimitAllZeroOrCutterOffStoresZeros) {
    setOptions({0, 1, 0, 0});
    cmbSR->setCurrentIndex(1);
    auto& d = open();
    EXPECT_EQ(cmbSR->currentText(), "ON");
    cmbSR->setCurrentIndex(1);
    texts({"100", "0", "0", "0", "1", "30"});
    EXPECT_TRUE(d.imgOK_Click());
    EXPECT_EQ(fileBytes(), "1\r\n1\r\n360000\r\n90\r\n");

    texts({"0", "0", "0", "0", "0", "0"});
    EXPECT_TRUE(d.imgOK_Click());
    EXPECT_FALSE(chkMC->isChecked());
    EXPECT_EQ(options().CutEnabled, 0);

    setOptions({0, 0, 5400, 45});
    EXPECT_TRUE(open().imgOK_Click());
    EXPECT_EQ(FormatOptionsText(options()), "0\r\n0\r\n0\r\n0\r\n");
    EXPECT_EQ(fileBytes(), "0\r\n0\r\n0\r\n0\r\n"); // written even when nothing changed
}

TEST_F(OptionsDialog, DisabledBoxTakesNoFocusAndFailedWriteStillCloses) {
    auto& d = open(dir.filePath("missing/folder"));
    boxes[1]->setText("75"); // left over while the cutter is off
    cmbSR->setFocus();
    EXPECT_FALSE(d.imgOK_Click());
    EXPECT_EQ(shown(), "Min: Minutes must less than 60");
    EXPECT_EQ(QApplication::focusWidget(), cmbSR);

    setOptions({0, 2, 0, 0}); // any non-zero value means on, as in the conversion
    d.Load();
    EXPECT_TRUE(chkMC->isChecked());
    EXPECT_TRUE(d.imgOK_Click());
    EXPECT_FALSE(d.lastWrite());
    EXPECT_EQ(options().CutEnabled, 0); // the boxes now show 0:00:00 for both times
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
    EXPECT_EQ(choices.value().jobs, 2);
    EXPECT_FALSE(choices.value().keepTree);
    EXPECT_EQ(fileBytes(), "0\r\n0\r\n0\r\n0\r\n");
    // A later start reads them back from pelkora.ini.
    const ConversionChoices read = ReadChoices(SettingsPlace{dir.path(), "/out", true});
    EXPECT_EQ(read.jobs, 2);
    EXPECT_FALSE(read.keepTree);
    EXPECT_TRUE(QFile::exists(dir.filePath("pelkora.ini")));
}
