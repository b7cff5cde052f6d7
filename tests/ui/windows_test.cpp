#include "filelist/file_list.h"
#include "filelist/file_list_view.h"
#include "ui/frm_main.h"
#include "ui/frm_menu.h"
#include "ui/frm_options.h"
#include "ui/skin.h"
#include "ui/widgets.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
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

// Readable values in failure messages.
inline std::ostream& operator<<(std::ostream& os, const QRect& r) {
    return os << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
}
inline std::ostream& operator<<(std::ostream& os, const QString& s) {
    return os << '"' << s.toStdString() << '"';
}

namespace {

// Mouse events as the window system would deliver them to the widget under the pointer;
// QApplication passes them on to parents exactly as for real input.
void mouse(QWidget* w, QEvent::Type type, QPoint local, Qt::MouseButton button,
           Qt::MouseButtons held, QPoint global) {
    QMouseEvent event(type, QPointF(local), QPointF(global), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

void move(QWidget* w, QPoint local, Qt::MouseButtons held = Qt::NoButton) {
    mouse(w, QEvent::MouseMove, local, Qt::NoButton, held, w->mapToGlobal(local));
}

void moveTo(QWidget* w, Qt::MouseButtons held = Qt::NoButton) {
    move(w, w->rect().center(), held);
}

void press(QWidget* w, QPoint local) {
    mouse(w, QEvent::MouseButtonPress, local, Qt::LeftButton, Qt::LeftButton,
          w->mapToGlobal(local));
}

void release(QWidget* w, QPoint local) {
    mouse(w, QEvent::MouseButtonRelease, local, Qt::LeftButton, Qt::NoButton,
          w->mapToGlobal(local));
}

void click(QWidget* w) {
    press(w, w->rect().center());
    release(w, w->rect().center());
}

// Something is painted in r: enough pixels differ clearly from the pixel at its corner.
int inkedPixels(const QImage& picture, const QRect& r) {
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    const QRgb ground = image.pixel(r.topLeft());
    int count = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb c = image.pixel(x, y);
            if (std::abs(qRed(c) - qRed(ground)) + std::abs(qGreen(c) - qGreen(ground)) +
                    std::abs(qBlue(c) - qBlue(ground)) >
                120)
                ++count;
        }
    return count;
}

class FrmMainTest : public testing::Test {
protected:
    frmMain frm;

    ImageButton* toolbar(int i) const { return frm.imgToolbar(i); }

    std::vector<ImageButton*> litToolbar() const {
        std::vector<ImageButton*> lit;
        for (int i : {0, 6, 1, 2, 3, 4})
            if (!toolbar(i)->picture().isNull())
                lit.push_back(toolbar(i));
        return lit;
    }

    // A point of the window's own background, away from every control.
    static QPoint background() { return {250, 128}; }

    void showActive() {
        frm.show();
        frm.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frm));
    }

    std::vector<QByteArray> paths() const {
        std::vector<QByteArray> out;
        for (int k = 0; k < frm.fileList()->count(); ++k)
            out.push_back(frm.fileList()->path(k));
        return out;
    }
};

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

} // namespace

TEST_F(FrmMainTest, FixedFramelessWindowWhoseShapeClipsNoControl) {
    EXPECT_TRUE(frm.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(frm.minimumSize(), frm.maximumSize());
    EXPECT_EQ(frm.windowTitle(), "Pelkora");

    // The shape comes from the colour key; every control that shows lies wholly inside it and
    // covers no other, except the arrow boxes drawn over their lists.
    const QRegion shape = frm.mask();
    EXPECT_EQ(shape, skin::colourKeyRegion(frm.keyPicture()));
    const QWidgetList arrows = {frm.picButtonOF(), frm.picButtonBR(), frm.picButtonR(),
                                frm.picButtonChannel()};
    std::vector<QWidget*> shown;
    for (QWidget* w : frm.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w->isVisibleTo(&frm) && !w->inherits("QMenu") && w != frm.picText())
            shown.push_back(w);
    ASSERT_GE(shown.size(), 25u);
    for (QWidget* w : shown) {
        if (w == frm.imgPB())
            continue; // no width until a run starts
        EXPECT_EQ(shape.intersected(w->geometry()), QRegion(w->geometry()))
            << w->accessibleName() << " " << w->geometry();
        for (QWidget* other : shown) {
            const bool arrowOnList = arrows.contains(w) || arrows.contains(other);
            if (other != w && !arrowOnList && other != frm.imgPB()) {
                EXPECT_FALSE(w->geometry().intersects(other->geometry()))
                    << w->accessibleName() << " / " << other->accessibleName();
            }
        }
    }
    // The hint lies on the list; the drop zone is outside the window, reached by code only.
    EXPECT_TRUE(frm.LV()->geometry().contains(frm.picText()->geometry()));
    EXPECT_FALSE(QRect(QPoint(0, 0), frm.size()).intersects(frm.picDrag()->geometry()));
}

TEST_F(FrmMainTest, ListContentsAndAccessibleNames) {
    const std::pair<QComboBox*, QStringList> lists[] = {
        {frm.cmbOF(), {"MP3", "WMA", "OGG", "WAV", "FLAC", "AC3", "AAC", "AMR", "MPG"}},
        {frm.cmbBR(),
         {"32", "48", "56", "64", "80", "96", "112", "128", "192", "224", "256", "320"}},
        {frm.cmbR(), {"48000", "44100", "32000", "24000", "22050", "16000", "12050", "8000"}},
        {frm.cmbChannel(), {"Mono", "Stereo"}}};
    for (const auto& [combo, items] : lists) {
        QStringList shown;
        for (int i = 0; i < combo->count(); ++i)
            shown << combo->itemText(i);
        EXPECT_EQ(shown, items);
        EXPECT_FALSE(combo->isEditable()) << "only listed entries can be chosen";
    }
    EXPECT_TRUE(frm.txtPath()->isReadOnly());

    // A skinned window has no captions of its own: every button needs an accessible name.
    for (ImageButton* b : frm.findChildren<ImageButton*>())
        EXPECT_FALSE(b->accessibleName().isEmpty()) << b->geometry();
    EXPECT_EQ(toolbar(6)->accessibleName(), "Add Folder");
}

TEST_F(FrmMainTest, TextsFitTheirBoxes) {
    // The designed boxes are small; a wide fallback font must not cut their words off.
    expectTextsFit(frm);
}

// Runs this test again in a child whose font configuration hides the narrow face the window
// names; the child does the checking.
TEST(FontFallback, TextsFitWithoutTheNarrowFace) {
    if (qEnvironmentVariableIsSet("PELKORA_FONT_CHILD")) {
        // The fallback face runs wider: without fitting, the hint would be cut off.
        const QString hint = FileList::idleHintText();
        ASSERT_GT(QFontMetrics(skin::narrowFont(12, true)).horizontalAdvance(hint), 139)
            << "the narrow face is still there";
        frmMain frm;
        expectTextsFit(frm);
        return;
    }
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString conf = dir.filePath("fonts.conf");
    QFile f(conf);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n<fontconfig>\n"
            "  <include ignore_missing=\"no\">/etc/fonts/fonts.conf</include>\n"
            "  <selectfont><rejectfont><glob>*/DejaVuSansCondensed*</glob></rejectfont>"
            "</selectfont>\n</fontconfig>\n");
    f.close();
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PELKORA_FONT_CHILD", "1");
    env.insert("FONTCONFIG_FILE", conf);
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
    QFont wide = skin::font(12, true);
    FitLabel label;
    label.setGeometry(100, 100, 60, 16);
    label.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&label));
    label.setPreferredFont(wide);
    label.setText("Short");
    EXPECT_EQ(label.font().pixelSize(), wide.pixelSize());
    label.setText("A much longer caption");
    const int shrunk = label.font().pixelSize();
    EXPECT_LT(shrunk, wide.pixelSize());
    EXPECT_TRUE(skin::fits(label.font(), label.text(), label.size()));
    QFont oneMore = label.font();
    oneMore.setPixelSize(shrunk + 1);
    EXPECT_FALSE(skin::fits(oneMore, label.text(), label.size())) << "no smaller than needed";

    // Through the plain label's setText, the next paint fits it.
    static_cast<QLabel&>(label).setText("Short again");
    label.repaint();
    EXPECT_TRUE(skin::fits(label.font(), "Short again", label.size()));
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

TEST(ColourKey, OnlyPureMagentaIsOutside) {
    QImage image(4, 2, QImage::Format_RGB32);
    image.fill(Qt::white);
    const QRgb row[] = {qRgb(255, 0, 255), qRgb(255, 1, 255), qRgb(255, 0, 255), qRgb(254, 0, 255)};
    for (int x = 0; x < 4; ++x)
        image.setPixel(x, 0, row[x]);
    const QRegion shape = skin::colourKeyRegion(image);
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(shape.contains(QPoint(x, 0)), x % 2 == 1) << x;
    EXPECT_EQ(shape.boundingRect(), QRect(0, 0, 4, 2));
}

TEST_F(FrmMainTest, FacesArePaintedUnderTheirButtonsAndPicturesFitThem) {
    const QImage& art = frm.keyPicture();
    const skin::MainPictures& pics = frm.pictures();
    // clang-format off
    const std::tuple<ImageButton*, const QPixmap*, int> faces[] = {
        {toolbar(0), &pics.imgButtonData[0], 40},   {toolbar(6), &pics.imgButtonData[6], 40},
        {toolbar(1), &pics.imgButtonData[1], 40},   {toolbar(2), &pics.imgButtonData[2], 40},
        {toolbar(3), &pics.imgButtonData[3], 40},   {toolbar(4), &pics.imgButtonData[4], 40},
        {frm.imgMenu(0), &pics.imgMenuData[0], 15}, {frm.imgMenu(1), &pics.imgMenuData[1], 15},
        {frm.imgMenu(2), &pics.imgMenuData[2], 15}, {frm.imgConvert(), &pics.imgConvertData, 8},
        {frm.imgBrowse(), &pics.imgBrowseDark, 8},  {frm.imgHelp(), &pics.imgHelpLight, 8},
        {frm.imgMin(), &pics.imgMinLight, 8},       {frm.imgExit(), &pics.imgExitLight, 8},
        {frm.picButtonOF(), &pics.imgButtonLight, 0}};
    // clang-format on
    for (const auto& [button, picture, ink] : faces) {
        EXPECT_GE(inkedPixels(art, button->geometry()), ink) << button->accessibleName();
        EXPECT_EQ(picture->deviceIndependentSize().toSize(), button->size())
            << button->accessibleName();
    }
    EXPECT_EQ(pics.progress.deviceIndependentSize().toSize(), QSize(1, 15));
}

TEST(Skin, ArtFollowsTheDevicePixelRatio) {
    const QImage twice = skin::mainBackground(2.0, false);
    EXPECT_EQ(twice.size(), QSize(1400, 1000));
    EXPECT_EQ(twice.deviceIndependentSize().toSize(), QSize(700, 500));
    const skin::MainPictures pics = skin::mainPictures(twice);
    EXPECT_EQ(pics.imgButtonData[2].size(), QSize(172, 106));
    EXPECT_EQ(skin::mainBackground(1.25, false).size(), QSize(875, 625));
    // The displayed art never shows the key colour, so no pink can leak at the rim.
    EXPECT_NE(twice.pixel(0, 0), skin::colour::key);
}

TEST_F(FrmMainTest, ToolbarLightsOneButtonAtATime) {
    const skin::MainPictures& pics = frm.pictures();
    EXPECT_TRUE(litToolbar().empty()) << "the painted faces show at start";
    moveTo(toolbar(2));
    ASSERT_EQ(litToolbar(), std::vector<ImageButton*>{toolbar(2)});
    EXPECT_TRUE(toolbar(2)->showsPicture(pics.imgButtonData[2]));
    moveTo(toolbar(3)); // straight onto the neighbour
    ASSERT_EQ(litToolbar(), std::vector<ImageButton*>{toolbar(3)});
    EXPECT_TRUE(toolbar(3)->showsPicture(pics.imgButtonData[3]));

    // Moving onto the list or a combo box is not the background: the button stays lit.
    moveTo(frm.LV()->viewport());
    moveTo(frm.cmbBR());
    moveTo(frm.lblVersion());
    EXPECT_EQ(litToolbar(), std::vector<ImageButton*>{toolbar(3)});
    move(&frm, background());
    EXPECT_TRUE(litToolbar().empty());

    // Pressing a lit button empties the whole toolbar.
    moveTo(toolbar(6));
    press(toolbar(6), toolbar(6)->rect().center());
    EXPECT_TRUE(litToolbar().empty());
    release(toolbar(6), toolbar(6)->rect().center());
}

TEST_F(FrmMainTest, MenuTitlesConvertTitleAndArrowButtonsLightAndReset) {
    const skin::MainPictures& pics = frm.pictures();
    moveTo(frm.imgMenu(1));
    EXPECT_TRUE(frm.imgMenu(1)->showsPicture(pics.imgMenuData[1]));
    moveTo(frm.imgMenu(2));
    EXPECT_TRUE(frm.imgMenu(1)->picture().isNull());
    EXPECT_TRUE(frm.imgMenu(2)->showsPicture(pics.imgMenuData[2]));
    moveTo(frm.imgConvert());
    EXPECT_TRUE(frm.imgConvert()->showsPicture(pics.imgConvertData));
    moveTo(frm.imgHelp());
    moveTo(frm.imgExit());
    EXPECT_TRUE(frm.imgHelp()->showsPicture(pics.imgHelpLight));
    EXPECT_TRUE(frm.imgExit()->showsPicture(pics.imgExitLight));
    EXPECT_TRUE(frm.imgMenu(2)->showsPicture(pics.imgMenuData[2])) << "other groups stay";
    moveTo(frm.picButtonR());
    EXPECT_TRUE(frm.picButtonR()->showsPicture(pics.imgButtonLight));

    move(&frm, background());
    for (ImageButton* b : {frm.imgMenu(0), frm.imgMenu(1), frm.imgMenu(2), frm.imgConvert(),
                           frm.imgHelp(), frm.imgMin(), frm.imgExit(), frm.imgBrowse()})
        EXPECT_TRUE(b->picture().isNull()) << b->accessibleName();
    for (ImageButton* arrow :
         {frm.picButtonOF(), frm.picButtonBR(), frm.picButtonR(), frm.picButtonChannel()})
        EXPECT_TRUE(arrow->showsPicture(pics.imgButton)) << "arrows keep their own picture";

    // Pressing Convert empties it.
    moveTo(frm.imgConvert());
    press(frm.imgConvert(), {5, 5});
    EXPECT_TRUE(frm.imgConvert()->picture().isNull());
    release(frm.imgConvert(), {5, 5});
}

TEST_F(FrmMainTest, BrowseShowsPressedLookUntilTheMouseMovesAgain) {
    const skin::MainPictures& pics = frm.pictures();
    ImageButton* browse = frm.imgBrowse();
    moveTo(browse);
    EXPECT_TRUE(browse->showsPicture(pics.imgBrowseLight));
    press(browse, {10, 10});
    move(browse, {11, 10}, Qt::LeftButton); // still held
    EXPECT_TRUE(browse->showsPicture(pics.imgBrowseDark));
    QSignalSpy clicked(browse, &ImageButton::clicked);
    release(browse, {11, 10});
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_TRUE(browse->showsPicture(pics.imgBrowseDark)) << "release alone restores nothing";
    move(browse, {12, 10});
    EXPECT_TRUE(browse->showsPicture(pics.imgBrowseLight));
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
    const QPoint at = background();
    const QPoint global = frm.mapToGlobal(at);

    mouse(&frm, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton, global + QPoint(40, 30));
    EXPECT_EQ(frm.pos(), start);
    mouse(&frm, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton, global);
    mouse(&frm, QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton, global + QPoint(40, 30));
    mouse(&frm, QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton, global + QPoint(55, 32));
    EXPECT_EQ(frm.pos(), start + QPoint(55, 32));
    mouse(&frm, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton,
          global + QPoint(55, 32));
    mouse(&frm, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton, global + QPoint(90, 90));
    EXPECT_EQ(frm.pos(), start + QPoint(55, 32));

    // A press on a button is no drag.
    const QPoint onButton = toolbar(2)->rect().center();
    press(toolbar(2), onButton);
    move(toolbar(2), onButton + QPoint(30, 0), Qt::LeftButton);
    release(toolbar(2), onButton + QPoint(30, 0));
    EXPECT_EQ(frm.pos(), start + QPoint(55, 32));
}

TEST_F(FrmMainTest, ListRemovalThroughTheWindow) {
    showActive();
    for (int i = 1; i <= 5; ++i)
        frm.fileList()->AddFileEntry(QStringLiteral("/m/%1.mp3").arg(i).toUtf8());
    frm.fileList()->UpdateDropHint();
    EXPECT_FALSE(frm.picText()->isVisibleTo(&frm));

    // Remove-selected on row 3 of 5, from the Delete key.
    frm.LV()->setFocus();
    frm.LV()->setCurrentIndex(frm.LV()->model()->index(2, 0));
    QTest::keyClick(frm.LV(), Qt::Key_Delete);
    EXPECT_EQ(paths(), (std::vector<QByteArray>{"/m/1.mp3", "/m/2.mp3", "/m/4.mp3", "/m/5.mp3"}));
    EXPECT_EQ(frm.LV()->model()->rowCount(), 4);

    // While a batch runs the Remove button is disabled, and Delete must not pull the file
    // that is being converted out from under the run.
    toolbar(1)->setEnabled(false);
    frm.LV()->setCurrentIndex(frm.LV()->model()->index(0, 0));
    QTest::keyClick(frm.LV(), Qt::Key_Delete);
    EXPECT_EQ(frm.fileList()->count(), 4);
    toolbar(1)->setEnabled(true);

    frm.menus()->menuRemoveAll->trigger();
    EXPECT_EQ(frm.LV()->model()->rowCount(), 0);
    EXPECT_TRUE(frm.picText()->isVisibleTo(&frm));
}

TEST_F(FrmMainTest, KeyboardRequests) {
    showActive();
    QSignalSpy add(&frm, &frmMain::addFileRequested);
    QSignalSpy help(&frm, &frmMain::helpRequested);
    QSignalSpy exit(&frm, &frmMain::exitRequested);
    QTest::keyClick(&frm, Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(&frm, Qt::Key_F1);
    QTest::keyClick(&frm, Qt::Key_Q, Qt::ControlModifier);
    QTest::keyClick(&frm, Qt::Key_F4, Qt::AltModifier);
    EXPECT_EQ(add.count(), 1);
    EXPECT_EQ(help.count(), 1);
    EXPECT_EQ(exit.count(), 2);
}

TEST_F(FrmMainTest, DropsReachTheListOverTheHintOnTheZoneAndDuringARun) {
    // The hint sits over the list but lets drops through to it.
    QWidget* underHint = frm.childAt(frm.picText()->geometry().center());
    EXPECT_EQ(underHint, frm.LV()->viewport());
    QMimeData three;
    three.setUrls({QUrl::fromLocalFile("/d/a.mp3"), QUrl::fromLocalFile("/d/b.mp3"),
                   QUrl::fromLocalFile("/d/c.mp3")});
    EXPECT_EQ(dropOn(underHint, three), Qt::CopyAction) << "dragged files stay where they are";
    EXPECT_EQ(paths(), (std::vector<QByteArray>{"/d/a.mp3", "/d/b.mp3", "/d/c.mp3"}));
    EXPECT_FALSE(frm.picText()->isVisibleTo(&frm));

    // A run disables the toolbar and Convert, not the list.
    for (ImageButton* b : {toolbar(0), toolbar(6), toolbar(1), frm.imgConvert()})
        b->setEnabled(false);
    QMimeData folder;
    folder.setUrls({QUrl::fromLocalFile("/d/album")});
    EXPECT_EQ(dropOn(frm.picDrag(), folder), Qt::CopyAction);
    EXPECT_EQ(dropOn(frm.LV()->viewport(), folder), Qt::CopyAction);
    EXPECT_EQ(paths(), (std::vector<QByteArray>{"/d/a.mp3", "/d/b.mp3", "/d/c.mp3", "/d/album",
                                                "/d/album"}));

    QMimeData text;
    text.setText("/d/not-a-drop.mp3");
    EXPECT_EQ(dropOn(frm.LV()->viewport(), text), Qt::IgnoreAction);
    EXPECT_EQ(dropOn(frm.picDrag(), text), Qt::IgnoreAction);
    EXPECT_EQ(frm.fileList()->count(), 5);
}

TEST_F(FrmMainTest, ProgressWidthIsTwipsOverFifteenWithinTheTrack) {
    // clang-format off
    const std::pair<float, int> cases[] = {{2700.0f, 180}, {5415.0f, 361}, {99999.0f, 361},
        {-30.0f, 0}, {std::numeric_limits<float>::quiet_NaN(), 0}, {0.0f, 0}};
    // clang-format on
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
        ASSERT_EQ(words.count(), 1) << action->text().toStdString();
        const QString word = words.at(0).at(0).toString();
        EXPECT_FALSE(word.isEmpty());
        EXPECT_FALSE(sent.contains(word)) << word;
        sent << word;
    }
    // Remove-all acts on the list itself.
    list.AddFileEntry("/m/a.mp3");
    words.clear();
    menus.menuRemoveAll->trigger();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(words.count(), 0);
}

TEST(FrmOptions, ShapeClipsNoControlAndFacesArePainted) {
    frmOptions dlg;
    EXPECT_TRUE(dlg.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(dlg.size(), QSize(327, 225));
    EXPECT_TRUE(dlg.isModal());
    EXPECT_EQ(dlg.windowTitle(), "Options");
    const QRegion shape = dlg.mask();
    for (QWidget* w : dlg.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w->isVisibleTo(&dlg)) {
            EXPECT_EQ(shape.intersected(w->geometry()), QRegion(w->geometry())) << w->geometry();
        }

    ASSERT_EQ(dlg.cmbSR()->count(), 2);
    EXPECT_EQ(dlg.cmbSR()->itemText(0), "ON");
    EXPECT_EQ(dlg.cmbSR()->itemText(1), "OFF");
    EXPECT_FALSE(dlg.cmbSR()->isEditable());
    EXPECT_EQ(dlg.chkMC()->text(), "Music Cutter");
    for (ImageButton* b : dlg.findChildren<ImageButton*>())
        EXPECT_FALSE(b->accessibleName().isEmpty());

    EXPECT_FALSE(shape.contains(QPoint(0, 0)));
    EXPECT_TRUE(shape.contains(QPoint(160, 90)));
    EXPECT_GT(inkedPixels(dlg.keyPicture(), dlg.imgOK()->geometry()), 20) << "OK face painted";
    EXPECT_GT(inkedPixels(dlg.keyPicture(), dlg.imgBack()->geometry()), 20);
}

TEST(FrmOptions, HoverResetDropDownAndClose) {
    frmOptions dlg;
    dlg.move(200, 150);
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    const skin::OptionsPictures& pics = dlg.pictures();
    // clang-format off
    const std::pair<ImageButton*, const QPixmap*> lights[] = {
        {dlg.imgOK(), &pics.imgOKLight},     {dlg.imgBack(), &pics.imgBackLight},
        {dlg.imgExit(), &pics.imgExitLight}, {dlg.picButtonBR(), &pics.imgButtonLight}};
    // clang-format on
    for (const auto& [button, light] : lights)
        moveTo(button);
    for (const auto& [button, light] : lights)
        EXPECT_TRUE(button->showsPicture(*light)) << button->accessibleName();

    const QPoint ground(20, 160);
    move(&dlg, ground);
    for (ImageButton* b : {dlg.imgOK(), dlg.imgBack(), dlg.imgExit()})
        EXPECT_TRUE(b->picture().isNull()) << b->accessibleName();
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
