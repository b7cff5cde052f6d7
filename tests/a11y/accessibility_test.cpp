#include "app/files/file_list.h"
#include "gui/files/file_list_view.h"
#include "gui/window/accessibility.h"
#include "gui/window/frm_main.h"
#include "gui/window/frm_menu.h"
#include "gui/window/frm_options.h"
#include "gui/window/widgets.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include <cmath>
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
        QApplication::setActiveWindow(&frm);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&frm));
    }

    FileList list;
    frmMain frm{list};
};

} // namespace

TEST_F(MainWindow, ReaderHearsWhatEachControlIsAndNotItsValueAsItsName) {
    EXPECT_EQ(reader(&frm)->role(), QAccessible::Window);
    EXPECT_EQ(said(&frm, QAccessible::Name), "Pelkora");

    const std::pair<QComboBox*, const char*> combos[] = {{frm.cmbOF(), "Output format"},
                                                         {frm.cmbBR(), "Bitrate (kbps)"},
                                                         {frm.cmbR(), "Sample rate (Hz)"},
                                                         {frm.cmbChannel(), "Channels"}};
    for (const auto& [combo, caption] : combos) {
        SCOPED_TRACE(caption);
        EXPECT_EQ(reader(combo)->role(), QAccessible::ComboBox);
        EXPECT_EQ(said(combo, QAccessible::Name), caption);
        EXPECT_EQ(said(combo, QAccessible::Value), combo->currentText().toStdString());
    }

    const std::pair<QWidget*, const char*> links[] = {{frm.lblWeb(), "Pelkora home page"},
                                                      {frm.lblFeed(), "Feedback"}};
    for (const auto& [link, name] : links) {
        EXPECT_EQ(reader(link)->role(), QAccessible::Link) << name;
        EXPECT_EQ(said(link, QAccessible::Name), name);
    }

    // Each title reads as its word, with its access key beside it.
    const char* const titles[] = {"File", "Options", "About"};
    const char* const keys[] = {"Alt+F", "Alt+O", "Alt+A"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(said(frm.imgMenu(i), QAccessible::Name), titles[i]);
        EXPECT_EQ(said(frm.imgMenu(i), QAccessible::Accelerator), keys[i]);
    }

    int buttons = 0;
    for (ImageButton* button : frm.findChildren<ImageButton*>()) {
        EXPECT_EQ(reader(button)->role(), QAccessible::Button);
        EXPECT_FALSE(reader(button)->text(QAccessible::Name).isEmpty())
            << "a button at " << button->x() << "," << button->y() << " has no name";
        ++buttons;
    }
    EXPECT_GE(buttons, 20);

    for (QWidget* hidden : std::initializer_list<QWidget*>{frm.imgAdd(), frm.imgRemove(),
                                                           frm.imgStart(), frm.picDrag()})
        EXPECT_TRUE(reader(hidden)->state().invisible) << said(hidden, QAccessible::Name);
}

TEST_F(MainWindow, ComboListIsInTheTreeOnlyWhileOpen) {
    QComboBox* combo = frm.cmbOF();
    EXPECT_EQ(reader(combo)->childCount(), 0);
    combo->showPopup();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(combo->view()->window()));
    ASSERT_EQ(reader(combo)->childCount(), 1);
    EXPECT_EQ(reader(combo)->child(0)->object(), static_cast<QObject*>(combo->view()));
    EXPECT_EQ(reader(combo)->indexOfChild(reader(combo->view())), 0);
    combo->hidePopup();
    EXPECT_EQ(reader(combo)->childCount(), 0);
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

TEST_F(MainWindow, EnterAndSpacePressTheFocusedImageButton) {
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
        ImageButton* button = frm.imgBrowse();
        button->setFocus(Qt::TabFocusReason);
        QSignalSpy clicked(button, &ImageButton::clicked);
        QTest::keyClick(button, key);
        EXPECT_EQ(clicked.count(), 1) << key;
    }
}

TEST_F(MainWindow, MenuTitleAccessKeysPressTheirTitles) {
    for (int i = 0; i < 3; ++i) {
        QSignalSpy clicked(frm.imgMenu(i), &ImageButton::clicked);
        const Qt::Key keys[] = {Qt::Key_F, Qt::Key_O, Qt::Key_A};
        QTest::keyClick(&frm, keys[i], Qt::AltModifier);
        EXPECT_TRUE(clicked.count() == 1 || clicked.wait(5000)) << "title " << i;
    }
}

TEST_F(MainWindow, RemovePopupOpensAtThePointerOnlyWhenThePointerIsOnTheButton) {
    ImageButton* remove = frm.imgToolbar(1);
    const QPoint below = remove->mapToGlobal(QPoint(0, remove->height()));
    const QPoint on = remove->mapToGlobal(QPoint(5, 4));
    const QPoint away = frm.mapToGlobal(QPoint(3, frm.height() - 3));
    EXPECT_EQ(accessibility::popupPlace(*remove, away), below);
    EXPECT_EQ(accessibility::popupPlace(*remove, on), on);
    EXPECT_EQ(accessibility::popupPlace(*remove, remove->mapToGlobal(QPoint(remove->width(), 0))),
              below)
        << "the right edge is outside";

    // From the keyboard, with the pointer elsewhere: the menu opens below the button.
    QCursor::setPos(away);
    QMenu* menu = frm.menus()->menuRemove();
    remove->setFocus(Qt::TabFocusReason);
    QTest::keyClick(remove, Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    EXPECT_LE((menu->pos() - below).manhattanLength(), 4)
        << menu->pos().x() << "," << menu->pos().y();
    menu->hide();
}

TEST(OptionsKeys, EnterIsOkUnlessAnotherButtonHasTheFocusAndEscIsBack) {
    frmOptions dialog;
    int ok = 0;
    int back = 0;
    QObject::connect(dialog.imgOK(), &ImageButton::clicked, [&] { ++ok; });
    QObject::connect(dialog.imgBack(), &ImageButton::clicked, [&] { ++back; });
    dialog.show();
    QApplication::setActiveWindow(&dialog);
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
