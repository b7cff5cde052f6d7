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
#include <QWidget>

#include <vector>

using namespace settings;

namespace {

// Records each message with the widget that had the focus when it came up.
class RecordedBoxes final : public platform::MessageBoxes {
public:
    struct Shown {
        QString text;
        platform::MsgIcon icon;
        QString title;
    };
    RecordedBoxes() { platform::setMessageBoxes(this); }
    ~RecordedBoxes() override { platform::setMessageBoxes(nullptr); }
    void show(const QString& text, platform::MsgIcon icon, const QString& title) override {
        shown.push_back({text, icon, title});
    }
    std::vector<Shown> shown;
};

// The dialog's controls on a plain window, as the skinned dialog holds them.
class OptionsDialog : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        cmbSR = new QComboBox(&window);
        cmbSR->addItems({"ON", "OFF"});
        chkMC = new QCheckBox(QStringLiteral("Music Cutter"), &window);
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(cmbSR);
        layout->addWidget(chkMC);
        for (QLineEdit** box : {&txtFromH, &txtFromM, &txtFromS, &txtToH, &txtToM, &txtToS}) {
            *box = new QLineEdit(QStringLiteral("0"), &window);
            (*box)->setEnabled(false);
            layout->addWidget(*box);
        }
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    OptionsController& open() {
        controller = std::make_unique<OptionsController>(
            OptionsControls{cmbSR, chkMC, txtFromH, txtFromM, txtFromS, txtToH, txtToM, txtToS},
            OptionsFilePath(dir.path()), options);
        controller->Load();
        return *controller;
    }

    void enter(QString fh, QString fm, QString fs, QString th, QString tm, QString ts) {
        txtFromH->setText(fh);
        txtFromM->setText(fm);
        txtFromS->setText(fs);
        txtToH->setText(th);
        txtToM->setText(tm);
        txtToS->setText(ts);
    }

    QStringList texts() const {
        return {txtFromH->text(), txtFromM->text(), txtFromS->text(),
                txtToH->text(),   txtToM->text(),   txtToS->text()};
    }

    bool optionsFileExists() const { return QFile::exists(OptionsFilePath(dir.path())); }

    QTemporaryDir dir;
    QWidget window;
    QComboBox* cmbSR = nullptr;
    QCheckBox* chkMC = nullptr;
    QLineEdit *txtFromH = nullptr, *txtFromM = nullptr, *txtFromS = nullptr;
    QLineEdit *txtToH = nullptr, *txtToM = nullptr, *txtToS = nullptr;
    OptionsRecords options;
    std::unique_ptr<OptionsController> controller;
    RecordedBoxes boxes;
};

} // namespace

TEST_F(OptionsDialog, OpensWithTheCurrentValues) {
    options = {1, 1, 5400, 45};
    open();
    EXPECT_EQ(cmbSR->currentText(), "OFF");
    EXPECT_TRUE(chkMC->isChecked());
    EXPECT_EQ(texts(), (QStringList{"1", "30", "0", "0", "0", "45"}));
    EXPECT_TRUE(txtFromH->isEnabled());
    EXPECT_TRUE(txtToS->isEnabled());
}

TEST_F(OptionsDialog, CutterOffShowsDisabledDesignTextsAndOkStoresZeros) {
    options = {0, 0, 5400, 45};
    auto& dialog = open();
    EXPECT_FALSE(chkMC->isChecked());
    EXPECT_FALSE(txtFromM->isEnabled());
    EXPECT_EQ(texts(), (QStringList{"0", "0", "0", "0", "0", "0"}));

    EXPECT_TRUE(dialog.imgOK_Click());
    EXPECT_EQ(options.CutStart, 0);
    EXPECT_EQ(options.CutLength, 0);
    EXPECT_EQ(options.CutEnabled, 0);
    EXPECT_TRUE(optionsFileExists()); // written even when nothing changed
}

TEST_F(OptionsDialog, CheckBoxEnablesTheBoxesWithoutTouchingTheirTexts) {
    auto& dialog = open();
    txtFromS->setText("12");
    chkMC->click();
    EXPECT_TRUE(txtFromS->isEnabled());
    EXPECT_EQ(txtFromS->text(), "12");
    chkMC->click();
    EXPECT_FALSE(txtToH->isEnabled());
    EXPECT_EQ(txtFromS->text(), "12");
    (void)dialog;
}

TEST_F(OptionsDialog, MessagesAndFocusFollowTheOrderOfTheChecks) {
    options = {0, 1, 0, 10};
    auto& dialog = open();
    const OptionsRecords before = options;
    enter("0", "60", "75", "0", "61", "99");

    struct Step {
        QLineEdit* fixed;
        const char* message;
        QLineEdit* focus;
    };
    const std::vector<Step> steps = {
        {txtFromM, "Minutes must less than 60", txtFromM},
        {txtToM, "Minutes must less than 60", txtToM},
        {txtFromS, "Seconds must less than 60", txtFromS},
        {txtToS, "Seconds must less than 60", txtToS},
    };
    for (const Step& step : steps) {
        boxes.shown.clear();
        EXPECT_FALSE(dialog.imgOK_Click());
        ASSERT_EQ(boxes.shown.size(), 1u) << step.message;
        EXPECT_EQ(boxes.shown[0].text, step.message);
        EXPECT_EQ(boxes.shown[0].title, "Min");
        EXPECT_EQ(boxes.shown[0].icon, platform::MsgIcon::Exclamation);
        EXPECT_EQ(QApplication::focusWidget(), step.focus) << step.message;
        EXPECT_EQ(options.CutLength, before.CutLength);
        EXPECT_FALSE(optionsFileExists());
        step.fixed->setText("59");
    }
    boxes.shown.clear();
    EXPECT_TRUE(dialog.imgOK_Click());
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(options.CutStart, 59 * 60 + 59);
    EXPECT_EQ(options.CutLength, 59 * 60 + 59);
}

TEST_F(OptionsDialog, HalfAMinuteTooManyIsRejected) {
    options.CutEnabled = 1;
    auto& dialog = open();
    enter("0", "59.5", "0", "0", "0", "0");
    EXPECT_FALSE(dialog.imgOK_Click());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Minutes must less than 60");
}

TEST_F(OptionsDialog, HoursHaveNoUpperLimitAndAreWrittenToTheFile) {
    options.CutEnabled = 1;
    auto& dialog = open();
    cmbSR->setCurrentIndex(1);
    enter("100", "0", "0", "0", "1", "30");
    EXPECT_TRUE(dialog.imgOK_Click());
    EXPECT_EQ(options.FinishSound, 1);
    EXPECT_EQ(options.CutEnabled, 1);
    EXPECT_EQ(options.CutStart, 360000);
    EXPECT_EQ(options.CutLength, 90);
    QFile f(OptionsFilePath(dir.path()));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "1\r\n1\r\n360000\r\n90\r\n");
}

TEST_F(OptionsDialog, AllZeroEntriesUncheckTheCutter) {
    options = {0, 1, 0, 0};
    auto& dialog = open();
    ASSERT_TRUE(chkMC->isChecked());
    EXPECT_TRUE(dialog.imgOK_Click());
    EXPECT_FALSE(chkMC->isChecked());
    EXPECT_EQ(options.CutEnabled, 0);
}

TEST_F(OptionsDialog, BackAndCloseStoreNothing) {
    options = {0, 1, 90, 45};
    auto& dialog = open();
    cmbSR->setCurrentIndex(1);
    enter("2", "0", "0", "0", "0", "5");
    chkMC->click();
    EXPECT_TRUE(dialog.imgBack_Click());
    EXPECT_TRUE(dialog.imgExit_Click());
    EXPECT_EQ(options.FinishSound, 0);
    EXPECT_EQ(options.CutEnabled, 1);
    EXPECT_EQ(options.CutStart, 90);
    EXPECT_EQ(options.CutLength, 45);
    EXPECT_FALSE(optionsFileExists());

    open(); // the next opening shows the kept values
    EXPECT_EQ(cmbSR->currentText(), "ON");
    EXPECT_EQ(texts(), (QStringList{"0", "1", "30", "0", "0", "45"}));
}

TEST_F(OptionsDialog, DisabledBoxGetsTheMessageButNotTheFocus) {
    auto& dialog = open();
    txtFromM->setText("75"); // left over while the cutter is off
    cmbSR->setFocus();
    EXPECT_FALSE(dialog.imgOK_Click());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_NE(QApplication::focusWidget(), txtFromM);
}

TEST_F(OptionsDialog, UnwritableFileStillClosesAndKeepsTheValues) {
    QFile plain(dir.filePath("plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    controller = std::make_unique<OptionsController>(
        OptionsControls{cmbSR, chkMC, txtFromH, txtFromM, txtFromS, txtToH, txtToM, txtToS},
        OptionsFilePath(dir.filePath("plain")), options);
    controller->Load();
    chkMC->click();
    enter("0", "1", "0", "0", "0", "20");
    EXPECT_TRUE(controller->imgOK_Click());
    EXPECT_FALSE(controller->lastWrite());
    EXPECT_EQ(options.CutStart, 60);
    EXPECT_EQ(options.CutLength, 20);
}

TEST_F(OptionsDialog, AnyNonZeroCutterValueShowsAsChecked) {
    options = {0, 2, 30, 0};
    auto& dialog = open();
    EXPECT_TRUE(chkMC->isChecked());
    EXPECT_TRUE(dialog.imgOK_Click());
    EXPECT_EQ(options.CutEnabled, 1);
}
