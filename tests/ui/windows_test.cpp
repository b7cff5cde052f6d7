#include "app/app_test_support.h"
#include "app/files/file_list.h"
#include "gui/files/file_list_view.h"
#include "gui/window/frm_menu.h"
#include "gui/window/widgets.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QTest>
#include <QUrl>

#include <functional>
#include <limits>
#include <vector>

namespace {

// Mouse events as the window system delivers them to the widget under the pointer.
void mouse(QWidget* w, QEvent::Type type, QPoint local, Qt::MouseButtons held, QPoint global) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(local), QPointF(global), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

void mouse(QWidget* w, QEvent::Type type, QPoint local, Qt::MouseButtons held = Qt::NoButton) {
    mouse(w, type, local, held, w->mapToGlobal(local));
}

void moveTo(QWidget* w) {
    mouse(w, QEvent::MouseMove, w->rect().center());
}

void click(QWidget* w) {
    mouse(w, QEvent::MouseButtonPress, w->rect().center(), Qt::LeftButton);
    mouse(w, QEvent::MouseButtonRelease, w->rect().center());
}

// Enter, then the drop if the enter was taken, as the platform delivers them.
Qt::DropAction dropOn(QWidget* target, QMimeData& data) {
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(QPoint(5, 5), offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return Qt::IgnoreAction;
    QDropEvent drop(QPointF(5, 5), offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
}

class FrmMainTest : public testing::Test {
protected:
    FileList list;
    frmMain frm{list};
    // A point of the window's own background, away from every control.
    const QPoint background{250, 128};

    ImageButton* toolbar(int i) const { return frm.imgToolbar(i); }

    std::vector<ImageButton*> litToolbar() const {
        std::vector<ImageButton*> lit;
        for (int i : {0, 6, 1, 2, 3, 4})
            if (!toolbar(i)->picture().isNull())
                lit.push_back(toolbar(i));
        return lit;
    }
};

} // namespace

TEST(WindowPlacement, CentredWhereItFitsWithTheTopLeftOnTheAreaWhereNot) {
    const QSize window(699, 499);
    EXPECT_EQ(placeWindow({0, 0, 1280, 800}, window), QPoint(290, 150));
    // 1280 x 800 at 200 %: 640 x 400 with a panel along the top.
    EXPECT_EQ(placeWindow({0, 28, 640, 372}, window), QPoint(0, 28));
    // A second screen to the left, too low only.
    EXPECT_EQ(placeWindow({-1920, 0, 1920, 400}, window), QPoint(-1310, 0));
}

TEST_F(FrmMainTest, ButtonsLightUnderThePointerAndGoDarkOnTheBackground) {
    const skin::MainPictures& pics = frm.pictures();
    EXPECT_TRUE(litToolbar().empty()) << "the painted faces show at start";
    moveTo(toolbar(2));
    moveTo(toolbar(3)); // straight onto the neighbour
    // The list and a combo box are not the background: the button stays lit.
    moveTo(frm.LV()->viewport());
    moveTo(frm.cmbBR());
    ASSERT_EQ(litToolbar(), std::vector<ImageButton*>{toolbar(3)});
    EXPECT_TRUE(toolbar(3)->showsPicture(pics.imgButtonData[3]));

    moveTo(frm.imgMenu(1));
    moveTo(frm.imgMenu(2));
    EXPECT_TRUE(frm.imgMenu(1)->picture().isNull()) << "one menu title at a time";
    const std::pair<ImageButton*, const QPixmap*> lights[] = {
        {frm.imgMenu(2), &pics.imgMenuData[2]},  {frm.imgConvert(), &pics.imgConvertData},
        {frm.imgHelp(), &pics.imgHelpLight},     {frm.imgExit(), &pics.imgExitLight},
        {frm.imgBrowse(), &pics.imgBrowseLight}, {frm.picButtonR(), &pics.imgButtonLight}};
    for (const auto& [button, light] : lights)
        moveTo(button);
    for (const auto& [button, light] : lights)
        EXPECT_TRUE(button->showsPicture(*light)) << button->accessibleName().toStdString();

    mouse(&frm, QEvent::MouseMove, background);
    EXPECT_TRUE(litToolbar().empty());
    for (const auto& [button, light] : lights)
        EXPECT_FALSE(button->showsPicture(*light)) << button->accessibleName().toStdString();
    for (ImageButton* arrow :
         {frm.picButtonOF(), frm.picButtonBR(), frm.picButtonR(), frm.picButtonChannel()})
        EXPECT_TRUE(arrow->showsPicture(pics.imgButton)) << "arrows keep their own picture";

    // Pressing a lit toolbar button or Convert darkens it.
    for (ImageButton* b : {toolbar(6), frm.imgConvert()}) {
        moveTo(b);
        mouse(b, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton);
        EXPECT_TRUE(b->picture().isNull()) << b->accessibleName().toStdString();
        mouse(b, QEvent::MouseButtonRelease, {5, 5});
    }
    // Browse keeps its pressed look after the release, until the mouse moves again.
    ImageButton* browse = frm.imgBrowse();
    mouse(browse, QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton);
    mouse(browse, QEvent::MouseMove, {11, 10}, Qt::LeftButton);
    mouse(browse, QEvent::MouseButtonRelease, {11, 10});
    EXPECT_TRUE(frm.imgBrowse()->showsPicture(pics.imgBrowseDark));
    mouse(browse, QEvent::MouseMove, {12, 10});
    EXPECT_TRUE(frm.imgBrowse()->showsPicture(pics.imgBrowseLight));
}

TEST_F(FrmMainTest, ArrowBoxesAndRemoveButtonOpenTheirLists) {
    frm.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frm));
    const std::pair<ImageButton*, QComboBox*> pairs[] = {
        {frm.picButtonOF(), frm.cmbOF()},
        {frm.picButtonBR(), frm.cmbBR()},
        {frm.picButtonR(), frm.cmbR()},
        {frm.picButtonChannel(), frm.cmbChannel()}};
    for (const auto& [arrow, combo] : pairs) {
        click(arrow);
        EXPECT_TRUE(combo->view()->isVisible()) << combo->accessibleName().toStdString();
        combo->hidePopup();
    }
    click(toolbar(1));
    EXPECT_TRUE(frm.menus()->menuRemove()->isVisible());
    frm.menus()->menuRemove()->hide();
}

TEST_F(FrmMainTest, BackgroundDragMovesTheWindowOnlyWithTheButtonHeld) {
    frm.move(100, 80);
    frm.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frm));
    const QPoint start = frm.pos();
    const QPoint g = frm.mapToGlobal(background);
    const QPoint moved = start + QPoint(55, 32);

    mouse(&frm, QEvent::MouseMove, background, Qt::NoButton, g + QPoint(40, 30));
    EXPECT_EQ(frm.pos(), start);
    mouse(&frm, QEvent::MouseButtonPress, background, Qt::LeftButton, g);
    mouse(&frm, QEvent::MouseMove, background, Qt::LeftButton, g + QPoint(40, 30));
    mouse(&frm, QEvent::MouseMove, background, Qt::LeftButton, g + QPoint(55, 32));
    EXPECT_EQ(frm.pos(), moved);
    mouse(&frm, QEvent::MouseButtonRelease, background, Qt::NoButton, g + QPoint(55, 32));
    mouse(&frm, QEvent::MouseMove, background, Qt::NoButton, g + QPoint(90, 90));
    EXPECT_EQ(frm.pos(), moved);

    // A press on a button is no drag.
    const QPoint onButton = toolbar(2)->rect().center();
    mouse(toolbar(2), QEvent::MouseButtonPress, onButton, Qt::LeftButton);
    mouse(toolbar(2), QEvent::MouseMove, onButton + QPoint(30, 0), Qt::LeftButton);
    mouse(toolbar(2), QEvent::MouseButtonRelease, onButton + QPoint(30, 0));
    EXPECT_EQ(frm.pos(), moved);
}

TEST_F(FrmMainTest, DropsReachTheListOverTheHintOnTheZoneAndDuringARun) {
    // The hint sits over the list but lets drops through to it.
    QWidget* underHint = frm.childAt(frm.picText()->geometry().center());
    EXPECT_EQ(underHint, frm.LV()->viewport());
    QMimeData two;
    two.setUrls({QUrl::fromLocalFile("/d/a.mp3"), QUrl::fromLocalFile("/d/b.mp3")});
    EXPECT_EQ(dropOn(underHint, two), Qt::CopyAction) << "dragged files stay where they are";
    EXPECT_FALSE(frm.picText()->isVisibleTo(&frm));

    // A run disables the toolbar and Convert, not the list.
    for (ImageButton* b : {toolbar(0), toolbar(6), toolbar(1), frm.imgConvert()})
        b->setEnabled(false);
    QMimeData folder;
    folder.setUrls({QUrl::fromLocalFile("/d/album")});
    EXPECT_EQ(dropOn(frm.picDrag(), folder), Qt::CopyAction);
    EXPECT_EQ(dropOn(frm.LV()->viewport(), folder), Qt::CopyAction);
    QMimeData text;
    text.setText("/d/not-a-drop.mp3");
    EXPECT_EQ(dropOn(frm.LV()->viewport(), text), Qt::IgnoreAction);
    std::vector<QByteArray> paths;
    for (int k = 0; k < frm.fileList()->count(); ++k)
        paths.push_back(frm.fileList()->path(k));
    EXPECT_EQ(paths, (std::vector<QByteArray>{"/d/a.mp3", "/d/b.mp3", "/d/album", "/d/album"}));
}

TEST_F(FrmMainTest, ProgressWidthIsTwipsOverFifteenWithinTheTrack) {
    const std::pair<float, int> cases[] = {{2700.0f, 180},
                                           {5415.0f, 361},
                                           {99999.0f, 361},
                                           {-30.0f, 0},
                                           {std::numeric_limits<float>::quiet_NaN(), 0}};
    for (const auto& [twips, width] : cases) {
        frm.setProgressWidth(twips);
        EXPECT_EQ(frm.imgPB()->geometry(), QRect(113, 447, width, 13)) << twips;
    }
}

TEST(MenuCommands, EveryEntryRunsItsOwnCommandEveryTimeAndRemoveAllEmptiesTheList) {
    AppFixture app;
    MainController::Commands& c = app.controller->commands();
    frmMenu* m = app.window->menus();
    const std::pair<QAction*, std::function<void()>*> entries[] = {
        {m->menuAddaFile, &c.addFile},
        {m->menuAddaFolder, &c.addFolder},
        {m->menuExit, &c.exit},
        {m->menuOption, &c.options},
        {m->menuHelp, &c.help},
        {m->menuA, &c.about},
        {m->menuRemoveSelected, &c.removeSelected}};
    std::vector<std::size_t> ran;
    for (std::size_t i = 0; i < std::size(entries); ++i)
        *entries[i].second = [&ran, i] { ran.push_back(i); };
    for (std::size_t i = 0; i < std::size(entries); ++i) {
        ran.clear();
        entries[i].first->trigger();
        entries[i].first->trigger(); // the same entry again runs again
        EXPECT_EQ(ran, (std::vector<std::size_t>{i, i})) << entries[i].first->text().toStdString();
    }

    app.window->fileList()->AddFileEntry("/m/a.mp3");
    ran.clear();
    m->menuRemoveAll->trigger();
    EXPECT_EQ(app.window->fileList()->count(), 0);
    EXPECT_TRUE(ran.empty());
}
