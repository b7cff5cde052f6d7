#include "ui/frm_options.h"
#include "ui/widgets.h"
#include "ui_test_util.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

using namespace uitest;

TEST(FrmOptions, ControlsAtTheirPlacesWithTheirStartState) {
    frmOptions dlg;
    EXPECT_TRUE(dlg.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(dlg.size(), QSize(327, 173));
    EXPECT_TRUE(dlg.isModal());
    EXPECT_EQ(dlg.windowTitle(), "Options");
    struct Expect {
        const char* name;
        QWidget* widget;
        QRect rect;
    };
    const Expect table[] = {
        {"cmbSR", dlg.cmbSR(), {146, 34, 163, 20}},
        {"picButtonBR", dlg.picButtonBR(), {290, 35, 19, 19}},
        {"chkMC", dlg.chkMC(), {146, 64, 13, 13}},
        {"txtFromH", dlg.txtFromH(), {94, 85, 19, 18}},
        {"txtFromM", dlg.txtFromM(), {160, 85, 31, 18}},
        {"txtFromS", dlg.txtFromS(), {230, 85, 43, 18}},
        {"txtToH", dlg.txtToH(), {94, 109, 19, 18}},
        {"txtToM", dlg.txtToM(), {160, 109, 31, 18}},
        {"txtToS", dlg.txtToS(), {230, 109, 43, 18}},
        {"imgOK", dlg.imgOK(), {166, 136, 58, 18}},
        {"imgBack", dlg.imgBack(), {246, 136, 58, 18}},
        {"imgExit", dlg.imgExit(), {299, 11, 15, 15}},
    };
    for (const Expect& e : table)
        EXPECT_EQ(e.widget->geometry(), e.rect) << e.name;

    ASSERT_EQ(dlg.cmbSR()->count(), 2);
    EXPECT_EQ(dlg.cmbSR()->itemText(0), "ON");
    EXPECT_EQ(dlg.cmbSR()->itemText(1), "OFF");
    EXPECT_FALSE(dlg.cmbSR()->isEditable());
    EXPECT_FALSE(dlg.chkMC()->isChecked());
    EXPECT_EQ(dlg.chkMC()->text(), "Music Cutter");
    for (QLineEdit* box : {dlg.txtFromH(), dlg.txtFromM(), dlg.txtFromS(), dlg.txtToH(),
                           dlg.txtToM(), dlg.txtToS()}) {
        EXPECT_EQ(box->text(), "0");
        EXPECT_FALSE(box->isEnabled());
    }
    EXPECT_EQ(dlg.imgBack()->toolTip(), "Back");
    EXPECT_EQ(dlg.imgExit()->toolTip(), "Exit");
    for (ImageButton* b : dlg.findChildren<ImageButton*>())
        EXPECT_FALSE(b->accessibleName().isEmpty());

    const QRegion shape = dlg.mask();
    EXPECT_FALSE(shape.contains(QPoint(0, 0)));
    EXPECT_TRUE(shape.contains(QPoint(160, 90)));
    EXPECT_EQ(dlg.keyPicture().size(), QSize(330, 180));
    EXPECT_GT(inkedPixels(dlg.keyPicture(), dlg.imgOK()->geometry()), 20) << "OK face painted";
    EXPECT_GT(inkedPixels(dlg.keyPicture(), dlg.imgBack()->geometry()), 20);
}

TEST(FrmOptions, HoverResetDropDownAndClose) {
    frmOptions dlg;
    dlg.move(200, 150);
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    const skin::OptionsPictures& pics = dlg.pictures();
    moveTo(dlg.imgOK());
    moveTo(dlg.imgBack());
    moveTo(dlg.imgExit());
    moveTo(dlg.picButtonBR());
    EXPECT_TRUE(dlg.imgOK()->showsPicture(pics.imgOKLight));
    EXPECT_TRUE(dlg.imgBack()->showsPicture(pics.imgBackLight));
    EXPECT_TRUE(dlg.imgExit()->showsPicture(pics.imgExitLight));
    EXPECT_TRUE(dlg.picButtonBR()->showsPicture(pics.imgButtonLight));

    const QPoint ground(20, 160);
    move(&dlg, ground);
    EXPECT_TRUE(dlg.imgOK()->picture().isNull());
    EXPECT_TRUE(dlg.imgBack()->picture().isNull());
    EXPECT_TRUE(dlg.imgExit()->picture().isNull());
    EXPECT_TRUE(dlg.picButtonBR()->showsPicture(pics.imgButton));

    click(dlg.picButtonBR());
    EXPECT_TRUE(dlg.cmbSR()->view()->isVisible());
    dlg.cmbSR()->hidePopup();

    // Dragging the background moves the dialog.
    const QPoint start = dlg.pos();
    const QPoint g = dlg.mapToGlobal(ground);
    mouse(&dlg, QEvent::MouseButtonPress, ground, Qt::LeftButton, Qt::LeftButton, g);
    mouse(&dlg, QEvent::MouseMove, ground, Qt::NoButton, Qt::LeftButton, g + QPoint(-15, 25));
    mouse(&dlg, QEvent::MouseButtonRelease, ground, Qt::LeftButton, Qt::NoButton,
          g + QPoint(-15, 25));
    EXPECT_EQ(dlg.pos(), start + QPoint(-15, 25));

    QSignalSpy rejected(&dlg, &QDialog::rejected);
    click(dlg.imgExit());
    EXPECT_EQ(rejected.count(), 1);
    EXPECT_FALSE(dlg.isVisible());
}
