#include "app/files/file_list.h"
#include "gui/files/file_list_view.h"
#include "gui/window/frm_main.h"
#include "gui/window/frm_menu.h"
#include "gui/window/frm_options.h"
#include "gui/window/skin.h"
#include "gui/window/widgets.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <limits>
#include <ostream>
#include <vector>

inline std::ostream& operator<<(std::ostream& os, const QString& s) {
    return os << '"' << s.toStdString() << '"';
}

namespace {

// Mouse events as the window system delivers them to the widget under the pointer.
void mouse(QWidget* w, QEvent::Type type, QPoint local, Qt::MouseButtons held, QPoint global) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(local), QPointF(global), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

void move(QWidget* w, QPoint local, Qt::MouseButtons held = Qt::NoButton) {
    mouse(w, QEvent::MouseMove, local, held, w->mapToGlobal(local));
}

void moveTo(QWidget* w) {
    move(w, w->rect().center());
}

void press(QWidget* w, QPoint local) {
    mouse(w, QEvent::MouseButtonPress, local, Qt::LeftButton, w->mapToGlobal(local));
}

void release(QWidget* w, QPoint local) {
    mouse(w, QEvent::MouseButtonRelease, local, Qt::NoButton, w->mapToGlobal(local));
}

void click(QWidget* w) {
    press(w, w->rect().center());
    release(w, w->rect().center());
}

// Every visible direct child lies wholly inside the window's shape.
void expectShapeClipsNoControl(QWidget& window) {
    const QRegion shape = window.mask();
    EXPECT_FALSE(shape.contains(QPoint(0, 0))) << "the colour key cuts the corner away";
    for (QWidget* w : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w->isVisibleTo(&window) && !w->inherits("QMenu")) {
            EXPECT_EQ(shape.intersected(w->geometry()), QRegion(w->geometry()))
                << w->accessibleName();
        }
}

// Every label of the window shows its whole text: the hints, a full progress caption.
void expectTextsFit(frmMain& frm) {
    frm.lblPB()->setText("100%");
    for (const QString& hint : {FileList::idleHintText(), FileList::searchingHintText()}) {
        frm.fileList()->ShowDropHint(hint);
        for (QLabel* label : std::initializer_list<QLabel*>{
                 frm.lblText(), frm.lblFeed(), frm.lblWeb(), frm.lblVersion(), frm.lblPB()}) {
            const QFontMetrics m(label->font());
            EXPECT_LE(m.horizontalAdvance(label->text()), label->width()) << label->text();
            EXPECT_LE(m.height(), label->height() + 2) << label->text();
        }
    }
}

// Enter, then the drop if the enter was taken, as the platform delivers them.
Qt::DropAction dropOn(QWidget* target, QMimeData& data) {
    const QPoint at(5, 5);
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return Qt::IgnoreAction;
    QDropEvent drop(QPointF(at), offered, &data, Qt::LeftButton, Qt::NoModifier);
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

    std::vector<QByteArray> paths() const {
        std::vector<QByteArray> out;
        for (int k = 0; k < frm.fileList()->count(); ++k)
            out.push_back(frm.fileList()->path(k));
        return out;
    }
};

} // namespace

TEST_F(FrmMainTest, FixedFramelessWindowWhoseShapeClipsNoControl) {
    EXPECT_TRUE(frm.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(frm.minimumSize(), frm.maximumSize());
    EXPECT_EQ(frm.mask(), skin::colourKeyRegion(frm.keyPicture()));
    ASSERT_GE(frm.findChildren<QWidget*>(Qt::FindDirectChildrenOnly).size(), 25);
    expectShapeClipsNoControl(frm);
    // The hint lies on the list; the drop zone is outside the window, reached by code only.
    EXPECT_TRUE(frm.LV()->geometry().contains(frm.picText()->geometry()));
    EXPECT_FALSE(QRect(QPoint(0, 0), frm.size()).intersects(frm.picDrag()->geometry()));
}

TEST_F(FrmMainTest, TextsFitTheirBoxes) {
    expectTextsFit(frm);
}

// Runs this test again in a child whose font configuration hides the narrow face the window
// names; the child does the checking.
TEST(FontFallback, TextsFitWithoutTheNarrowFace) {
    if (qEnvironmentVariableIsSet("PELKORA_FONT_CHILD")) {
        // The narrow font falls back to the wider regular face.
        QFont regular = skin::font(12, true);
        regular.setFamilies({QStringLiteral("DejaVu Sans")});
        const QString hint = FileList::idleHintText();
        ASSERT_EQ(QFontMetrics(skin::narrowFont(12, true)).horizontalAdvance(hint),
                  QFontMetrics(regular).horizontalAdvance(hint))
            << "the narrow face is still there";
        FileList list;
        frmMain frm(list);
        expectTextsFit(frm);
        return;
    }
    // A font folder of the regular faces only: some Qt releases list every installed face
    // whatever the system configuration rejects.
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("fonts"));
    for (const char* face : {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf"}) {
        ASSERT_TRUE(QFile::link(QStringLiteral("/usr/share/fonts/truetype/dejavu/") + face,
                                dir.filePath(QStringLiteral("fonts/") + face)));
    }
    QFile conf(dir.filePath("fonts.conf"));
    ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
    conf.write(
        QStringLiteral("<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n"
                       "<fontconfig>\n  <dir>%1</dir>\n  <cachedir>%2</cachedir>\n"
                       "</fontconfig>\n")
            .arg(dir.filePath("fonts"), dir.filePath("cache"))
            .toUtf8());
    conf.close();
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PELKORA_FONT_CHILD", "1");
    env.insert("FONTCONFIG_FILE", conf.fileName());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {"--gtest_filter=FontFallback.TextsFitWithoutTheNarrowFace"});
    ASSERT_TRUE(child.waitForFinished(60000));
    const QByteArray output = child.readAll();
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
}

TEST(FitLabel, ShrinksOnlyAsFarAsTheTextNeedsAndCatchesTextsSetBehindItsBack) {
    const QFont wide = skin::font(12, true);
    FitLabel label;
    label.setGeometry(100, 100, 60, 16);
    label.setPreferredFont(wide);
    label.setText("Short");
    EXPECT_EQ(label.font().pixelSize(), wide.pixelSize());
    label.setText("A much longer caption");
    const int shrunk = label.font().pixelSize();
    EXPECT_TRUE(skin::fits(label.font(), label.text(), label.size()));
    QFont oneMore = label.font();
    oneMore.setPixelSize(shrunk + 1);
    EXPECT_FALSE(skin::fits(oneMore, label.text(), label.size())) << "no smaller than needed";

    // Through the plain label's setText, the next paint fits it.
    label.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&label));
    static_cast<QLabel&>(label).setText("Short again");
    label.repaint();
    EXPECT_GT(label.font().pixelSize(), shrunk);
}

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
    ASSERT_EQ(litToolbar(), std::vector<ImageButton*>{toolbar(3)});
    EXPECT_TRUE(toolbar(3)->showsPicture(pics.imgButtonData[3]));
    // The list and a combo box are not the background: the button stays lit.
    moveTo(frm.LV()->viewport());
    moveTo(frm.cmbBR());
    EXPECT_EQ(litToolbar(), std::vector<ImageButton*>{toolbar(3)});

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
        EXPECT_TRUE(button->showsPicture(*light)) << button->accessibleName();

    move(&frm, background);
    EXPECT_TRUE(litToolbar().empty());
    for (const auto& [button, light] : lights)
        EXPECT_FALSE(button->showsPicture(*light)) << button->accessibleName();
    for (ImageButton* arrow :
         {frm.picButtonOF(), frm.picButtonBR(), frm.picButtonR(), frm.picButtonChannel()})
        EXPECT_TRUE(arrow->showsPicture(pics.imgButton)) << "arrows keep their own picture";

    // Pressing a lit toolbar button or Convert darkens it.
    for (ImageButton* b : {toolbar(6), frm.imgConvert()}) {
        moveTo(b);
        press(b, {5, 5});
        EXPECT_TRUE(b->picture().isNull()) << b->accessibleName();
        release(b, {5, 5});
    }
    // Browse keeps its pressed look after the release, until the mouse moves again.
    press(frm.imgBrowse(), {10, 10});
    move(frm.imgBrowse(), {11, 10}, Qt::LeftButton);
    release(frm.imgBrowse(), {11, 10});
    EXPECT_TRUE(frm.imgBrowse()->showsPicture(pics.imgBrowseDark));
    move(frm.imgBrowse(), {12, 10});
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
        EXPECT_TRUE(combo->view()->isVisible()) << combo->accessibleName();
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
    press(toolbar(2), onButton);
    move(toolbar(2), onButton + QPoint(30, 0), Qt::LeftButton);
    release(toolbar(2), onButton + QPoint(30, 0));
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
    EXPECT_EQ(paths(), (std::vector<QByteArray>{"/d/a.mp3", "/d/b.mp3", "/d/album", "/d/album"}));
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

TEST(FrmMenu, EveryEntrySendsOneWordOfItsOwn) {
    FileList list;
    QWidget owner;
    frmMenu menus(&list, &owner);
    QSignalSpy words(&menus, &frmMenu::commandWord);
    QStringList sent;
    for (QAction* action :
         {menus.menuAddaFile, menus.menuAddaFolder, menus.menuExit, menus.menuOption,
          menus.menuHelp, menus.menuA, menus.menuRemoveSelected}) {
        words.clear();
        action->trigger();
        ASSERT_EQ(words.count(), 1) << action->text();
        const QString word = words.at(0).at(0).toString();
        EXPECT_FALSE(word.isEmpty() || sent.contains(word)) << word;
        sent << word;
    }
    // Remove-all acts on the list itself.
    list.AddFileEntry("/m/a.mp3");
    words.clear();
    menus.menuRemoveAll->trigger();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(words.count(), 0);
}

TEST(FrmOptions, FixedFramelessDialogWithEveryRowInsideItsShape) {
    frmOptions dlg;
    EXPECT_TRUE(dlg.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(dlg.size(), QSize(327, 225));
    EXPECT_TRUE(dlg.isModal());
    expectShapeClipsNoControl(dlg);
    EXPECT_EQ(dlg.cmbSR()->itemText(1), "OFF");
    EXPECT_EQ(dlg.chkMC()->text(), "Music Cutter");
    EXPECT_EQ(dlg.cmbJobs()->accessibleName(), "Simultaneous conversions");
    EXPECT_EQ(dlg.chkKeep()->text(), "Keep sub-folders");
    for (QWidget* row : std::initializer_list<QWidget*>{dlg.cmbSR(), dlg.chkMC(), dlg.txtToS(),
                                                        dlg.cmbJobs(), dlg.chkKeep()})
        EXPECT_TRUE(row->isVisibleTo(&dlg)) << row->accessibleName();
}
