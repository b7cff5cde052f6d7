#include "app/files/file_list.h"
#include "gui/window/accessibility.h"
#include "gui/window/frm_main.h"
#include "gui/window/frm_options.h"
#include "gui/window/widgets.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <initializer_list>
#include <limits>

namespace {

QAccessibleInterface* reader(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}

std::string said(QObject* object, QAccessible::Text text) {
    return reader(object)->text(text).toStdString();
}

class MainWindow : public testing::Test {
protected:
    MainWindow() {
        frm.show();
        frm.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&frm));
    }

    FileList list;
    frmMain frm{list};
};

} // namespace

// The rest of the tree is read over AT-SPI by reader_walk.py.
TEST_F(MainWindow, LinksAreLinksAndMenuTitlesCarryTheirAccessKeys) {
    for (QWidget* link : std::initializer_list<QWidget*>{frm.lblWeb(), frm.lblFeed()})
        EXPECT_EQ(reader(link)->role(), QAccessible::Link) << said(link, QAccessible::Name);
    const char* const titles[][2] = {{"File", "Alt+F"}, {"Options", "Alt+O"}, {"About", "Alt+A"}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(said(frm.imgMenu(i), QAccessible::Name), titles[i][0]);
        EXPECT_EQ(said(frm.imgMenu(i), QAccessible::Accelerator), titles[i][1]);
    }
}

TEST_F(MainWindow, ProgressIsABarOverTheWholeTrackWithTheShareDoneAsItsValue) {
    ProgressFill* bar = frm.imgPB();
    QAccessibleInterface* face = reader(bar);
    ASSERT_EQ(face->role(), QAccessible::ProgressBar);
    EXPECT_EQ(face->text(QAccessible::Name).toStdString(), "Progress");
    QAccessibleValueInterface* value = face->valueInterface();
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->minimumValue().toInt(), 0);
    EXPECT_EQ(value->maximumValue().toInt(), 100);

    const struct {
        float twips;
        int percent;
    } shares[] = {{5415.0f, 100}, {0.0f, 0},      {2707.5f, 50},
                  {6000.0f, 100}, {-15.0f, 0},    {std::numeric_limits<float>::quiet_NaN(), 0},
                  {54.15f, 1},    {5360.85f, 99}, {std::numeric_limits<float>::infinity(), 0}};
    for (const auto& s : shares) {
        frm.setProgressWidth(s.twips);
        EXPECT_EQ(value->currentValue().toInt(), s.percent) << s.twips;
        EXPECT_EQ(face->text(QAccessible::Value).toStdString(), std::to_string(s.percent) + "%");
        // The reader finds the bar where the whole track is, however little is filled.
        EXPECT_EQ(face->rect().width(), frm.imgPB()->trackWidth()) << s.twips;
    }
}

TEST_F(MainWindow, PopupGoesBelowItsButtonUnlessThePointerIsOnTheButton) {
    ImageButton* remove = frm.imgToolbar(1);
    const QPoint below = remove->mapToGlobal(QPoint(0, remove->height()));
    const QPoint on = remove->mapToGlobal(QPoint(5, 4));
    EXPECT_EQ(accessibility::popupPlace(*remove, on), on);
    EXPECT_EQ(accessibility::popupPlace(*remove, frm.mapToGlobal(QPoint(3, 400))), below);
    EXPECT_EQ(accessibility::popupPlace(*remove, remove->mapToGlobal(QPoint(remove->width(), 0))),
              below)
        << "the right edge is outside";
}

TEST(OptionsKeys, EnterIsOkUnlessAnotherButtonHasTheFocusAndEscIsBack) {
    frmOptions dialog;
    int ok = 0;
    int back = 0;
    QObject::connect(dialog.imgOK(), &ImageButton::clicked, [&] { ++ok; });
    QObject::connect(dialog.imgBack(), &ImageButton::clicked, [&] { ++back; });
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    dialog.txtFromH()->setEnabled(true);

    const struct {
        QWidget* focus;
        Qt::Key key;
        int ok;
        int back;
    } cases[] = {
        {dialog.cmbSR(), Qt::Key_Return, 1, 0},        {dialog.chkKeep(), Qt::Key_Enter, 1, 0},
        {dialog.cmbNames(), Qt::Key_Return, 1, 0},     {dialog.txtFromH(), Qt::Key_Return, 1, 0},
        {dialog.cmbJobs(), Qt::Key_Return, 1, 0},      {dialog.imgOK(), Qt::Key_Return, 1, 0},
        {dialog.imgBack(), Qt::Key_Return, 0, 1},      {dialog.imgBack(), Qt::Key_Space, 0, 1},
        {dialog.chkReplayGain(), Qt::Key_Space, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(said(c.focus, QAccessible::Name) + " " + std::to_string(c.key));
        ok = back = 0;
        c.focus->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(c.focus->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), c.key);
        EXPECT_EQ(ok, c.ok);
        EXPECT_EQ(back, c.back);
    }

    // Shift+Enter is no plain Enter: nothing is applied.
    ok = 0;
    dialog.chkKeep()->setFocus();
    QTest::keyClick(dialog.chkKeep(), Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(ok, 0);

    dialog.cmbSR()->setFocus();
    QTest::keyClick(dialog.cmbSR(), Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
}
