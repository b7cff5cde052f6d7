#include "settings/options_controller.h"

#include "platform/message_box.h"
#include "settings/settings_io.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

using namespace settings;

// Readable failure messages.
void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace {

class RecordedBoxes final : public platform::MessageBoxes {
public:
    RecordedBoxes() { platform::setMessageBoxes(this); }
    ~RecordedBoxes() override { platform::setMessageBoxes(nullptr); }
    void show(const QString& text, platform::MsgIcon icon, const QString& title) override {
        EXPECT_EQ(icon, platform::MsgIcon::Exclamation);
        shown << title + ": " + text;
    }
    QStringList shown;
};

// The dialog's controls on a plain window, in their design state.
class OptionsDialog : public testing::Test {
protected:
    void SetUp() override {
        auto* layout = new QVBoxLayout(&window);
        cmbSR->addItems({"ON", "OFF"});
        layout->addWidget(cmbSR);
        layout->addWidget(chkMC);
        for (QLineEdit* box : boxes) {
            box->setText("0");
            box->setEnabled(false);
            layout->addWidget(box);
        }
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    OptionsController& open(const QString& folder) {
        dialog = std::make_unique<OptionsController>(OptionsControls{cmbSR, chkMC, boxes[0],
                                                                     boxes[1], boxes[2], boxes[3],
                                                                     boxes[4], boxes[5]},
                                                     OptionsFilePath(folder), options);
        dialog->Load();
        return *dialog;
    }
    OptionsController& open() { return open(dir.path()); }

    void enter(const QStringList& texts) {
        for (int i = 0; i < 6; ++i)
            boxes[i]->setText(texts[i]);
    }
    QStringList texts() const {
        QStringList t;
        for (const QLineEdit* box : boxes)
            t << box->text();
        return t;
    }
    QByteArray fileBytes() const {
        QFile f(OptionsFilePath(dir.path()));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir dir;
    QWidget window;
    QComboBox* cmbSR = new QComboBox(&window);
    QCheckBox* chkMC = new QCheckBox(&window);
    // txtFromH, txtFromM, txtFromS, txtToH, txtToM, txtToS
    QLineEdit* boxes[6] = {new QLineEdit(&window), new QLineEdit(&window), new QLineEdit(&window),
                           new QLineEdit(&window), new QLineEdit(&window), new QLineEdit(&window)};
    OptionsRecords options;
    std::unique_ptr<OptionsController> dialog;
    RecordedBoxes messages;
};

} // namespace

TEST_F(OptionsDialog, OpensWithTheCurrentValues) {
    options = {1, 1, 5400, 45};
    open();
    EXPECT_EQ(cmbSR->currentText(), "OFF");
    EXPECT_TRUE(chkMC->isChecked());
    EXPECT_EQ(texts(), (QStringList{"1", "30", "0", "0", "0", "45"}));
    EXPECT_TRUE(boxes[0]->isEnabled());

    chkMC->click(); // the check box only enables and disables
    EXPECT_FALSE(boxes[5]->isEnabled());
    EXPECT_EQ(texts(), (QStringList{"1", "30", "0", "0", "0", "45"}));
}

TEST_F(OptionsDialog, CutterOffOkStoresZerosAndWritesTheFile) {
    options = {0, 0, 5400, 45};
    EXPECT_TRUE(open().imgOK_Click());
    EXPECT_FALSE(boxes[1]->isEnabled());
    EXPECT_EQ(options.CutStart + options.CutLength + options.CutEnabled, 0);
    EXPECT_EQ(fileBytes(), "0\r\n0\r\n0\r\n0\r\n"); // written even when nothing changed
}

TEST_F(OptionsDialog, MessagesAndFocusFollowTheOrderOfTheChecks) {
    options = {0, 1, 0, 10};
    auto& d = open();
    enter({"0", "60", "75", "0", "61", "99"});
    const QString minutes = "Min: Minutes must less than 60";
    const QString seconds = "Min: Seconds must less than 60";
    const std::vector<std::pair<QString, int>> expected = {
        {minutes, 1}, {minutes, 4}, {seconds, 2}, {seconds, 5}};
    for (const auto& [message, box] : expected) {
        messages.shown.clear();
        EXPECT_FALSE(d.imgOK_Click());
        EXPECT_EQ(messages.shown, QStringList{message});
        EXPECT_EQ(QApplication::focusWidget(), boxes[box]) << message.toStdString();
        EXPECT_EQ(options.CutLength, 10);
        EXPECT_EQ(fileBytes(), "<missing>");
        boxes[box]->setText("59");
    }
    boxes[1]->setText("59.5");
    messages.shown.clear();
    EXPECT_FALSE(d.imgOK_Click()); // 59.5 minutes is still too many
    EXPECT_EQ(messages.shown, QStringList{minutes});
    boxes[1]->setText("59");
    EXPECT_TRUE(d.imgOK_Click());
    EXPECT_EQ(options.CutStart, 59 * 60 + 59);
}

TEST_F(OptionsDialog, HoursHaveNoLimitAndAllZeroUnchecks) {
    options.CutEnabled = 1;
    cmbSR->setCurrentIndex(1);
    auto& d = open();
    EXPECT_EQ(cmbSR->currentText(), "ON");
    cmbSR->setCurrentIndex(1);
    enter({"100", "0", "0", "0", "1", "30"});
    EXPECT_TRUE(d.imgOK_Click());
    EXPECT_EQ(fileBytes(), "1\r\n1\r\n360000\r\n90\r\n");

    open();
    enter({"0", "0", "0", "0", "0", "0"});
    EXPECT_TRUE(dialog->imgOK_Click());
    EXPECT_FALSE(chkMC->isChecked());
    EXPECT_EQ(options.CutEnabled, 0);
}

TEST_F(OptionsDialog, BackAndCloseStoreNothing) {
    options = {0, 1, 90, 45};
    auto& d = open();
    cmbSR->setCurrentIndex(1);
    enter({"2", "0", "0", "0", "0", "5"});
    chkMC->click();
    EXPECT_TRUE(d.imgBack_Click());
    EXPECT_TRUE(d.imgExit_Click());
    EXPECT_EQ(options.FinishSound, 0);
    EXPECT_EQ(options.CutEnabled, 1);
    EXPECT_EQ(options.CutStart, 90);
    EXPECT_EQ(fileBytes(), "<missing>");
    open(); // the next opening shows the kept values
    EXPECT_EQ(texts(), (QStringList{"0", "1", "30", "0", "0", "45"}));
}

TEST_F(OptionsDialog, DisabledBoxTakesNoFocusAndFailedWriteStillCloses) {
    auto& d = open(dir.filePath("missing/folder"));
    boxes[1]->setText("75"); // left over while the cutter is off
    cmbSR->setFocus();
    EXPECT_FALSE(d.imgOK_Click());
    EXPECT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(QApplication::focusWidget(), cmbSR);

    boxes[1]->setText("1");
    options.CutEnabled = 2; // any non-zero value means on, as in the conversion
    d.Load();
    EXPECT_TRUE(chkMC->isChecked());
    EXPECT_TRUE(d.imgOK_Click());
    EXPECT_FALSE(d.lastWrite());
    EXPECT_EQ(options.CutEnabled, 0); // the boxes now show 0:00:00 for both times
}
