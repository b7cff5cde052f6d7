#include "filelist/file_list.h"
#include "filelist/file_list_view.h"
#include "ui/frm_main.h"
#include "ui/frm_menu.h"
#include "ui/skin.h"
#include "ui/widgets.h"
#include "ui_test_util.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

#include <cmath>
#include <limits>
#include <vector>

using namespace uitest;

namespace {

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

    void fill(int n) {
        for (int i = 1; i <= n; ++i)
            frm.fileList()->AddFileEntry(QStringLiteral("/m/%1.mp3").arg(i).toUtf8());
        frm.fileList()->UpdateDropHint();
    }

    std::vector<QByteArray> paths() const {
        std::vector<QByteArray> out;
        for (int k = 0; k < frm.fileList()->count(); ++k)
            out.push_back(frm.fileList()->path(k));
        return out;
    }
};

} // namespace

TEST_F(FrmMainTest, WindowIsFramelessFixedAndTitled) {
    EXPECT_TRUE(frm.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(frm.size(), QSize(699, 499));
    EXPECT_EQ(frm.minimumSize(), frm.maximumSize());
    EXPECT_EQ(frm.windowTitle(), "Pelkora");
    EXPECT_FALSE(frm.windowIcon().isNull());
}

TEST_F(FrmMainTest, EveryControlAtItsPlace) {
    struct Expect {
        const char* name;
        QWidget* widget;
        QRect rect;
    };
    const Expect table[] = {
        {"imgHelp", frm.imgHelp(), {635, 8, 15, 15}},
        {"imgMin", frm.imgMin(), {652, 9, 14, 14}},
        {"imgExit", frm.imgExit(), {672, 10, 15, 15}},
        {"imgMenu0", frm.imgMenu(0), {18, 31, 40, 15}},
        {"imgMenu1", frm.imgMenu(1), {60, 31, 59, 15}},
        {"imgMenu2", frm.imgMenu(2), {122, 31, 51, 15}},
        {"imgToolbar0", frm.imgToolbar(0), {16, 55, 86, 53}},
        {"imgToolbar6", frm.imgToolbar(6), {103, 55, 86, 53}},
        {"imgToolbar1", frm.imgToolbar(1), {190, 55, 86, 53}},
        {"imgToolbar2", frm.imgToolbar(2), {277, 55, 86, 53}},
        {"imgToolbar3", frm.imgToolbar(3), {364, 55, 86, 53}},
        {"imgToolbar4", frm.imgToolbar(4), {451, 55, 86, 53}},
        {"LV", frm.LV(), {17, 160, 455, 274}},
        {"picText", frm.picText(), {164, 264, 163, 21}},
        {"lblText", frm.lblText(), {12, 4, 139, 14}},
        {"cmbOF", frm.cmbOF(), {488, 158, 189, 22}},
        {"picButtonOF", frm.picButtonOF(), {657, 160, 19, 19}},
        {"cmbBR", frm.cmbBR(), {488, 200, 189, 22}},
        {"picButtonBR", frm.picButtonBR(), {657, 202, 19, 19}},
        {"cmbR", frm.cmbR(), {488, 244, 189, 22}},
        {"picButtonR", frm.picButtonR(), {657, 246, 19, 19}},
        {"cmbChannel", frm.cmbChannel(), {488, 286, 189, 22}},
        {"picButtonChannel", frm.picButtonChannel(), {657, 288, 19, 19}},
        {"txtPath", frm.txtPath(), {488, 330, 143, 23}},
        {"imgBrowse", frm.imgBrowse(), {635, 331, 42, 22}},
        {"imgConvert", frm.imgConvert(), {489, 371, 187, 91}},
        {"lblPB", frm.lblPB(), {214, 447, 157, 13}},
        {"lblWeb", frm.lblWeb(), {18, 478, 150, 13}},
        {"lblFeed", frm.lblFeed(), {628, 477, 46, 13}},
        {"lblVersion", frm.lblVersion(), {114, 10, 80, 14}},
        {"imgAdd", frm.imgAdd(), {409, 549, 93, 22}},
        {"imgRemove", frm.imgRemove(), {506, 549, 79, 22}},
        {"imgStart", frm.imgStart(), {296, 548, 91, 21}},
        {"picDrag", frm.picDrag(), {728, 422, 143, 146}},
    };
    for (const Expect& e : table) {
        ASSERT_NE(e.widget, nullptr) << e.name;
        EXPECT_EQ(e.widget->geometry(), e.rect) << e.name;
    }
    // The progress fill starts empty at the left of its track.
    EXPECT_EQ(frm.imgPB()->geometry(), QRect(113, 447, 0, 13));
    EXPECT_EQ(frm.imgToolbar(5), nullptr);
    EXPECT_EQ(frm.imgToolbar(7), nullptr);
    EXPECT_EQ(frm.imgMenu(3), nullptr);
}

TEST_F(FrmMainTest, CodeOnlyControlsAreNeverSeen) {
    const QRect client(QPoint(0, 0), frm.size());
    for (QWidget* w : std::initializer_list<QWidget*>{frm.imgAdd(), frm.imgRemove(), frm.imgStart(),
                                                      frm.picDrag()}) {
        EXPECT_FALSE(client.intersects(w->geometry()));
        EXPECT_FALSE(w->isVisibleTo(&frm));
        EXPECT_EQ(w->focusPolicy(), Qt::NoFocus);
    }
    EXPECT_EQ(frm.imgAdd()->toolTip(), "Add a new file to file list");
    EXPECT_EQ(frm.imgRemove()->toolTip(), "Remove a file from file list");
    EXPECT_EQ(frm.imgStart()->toolTip(), "Start Converting");
    EXPECT_EQ(frm.picDrag()->toolTip(), "Drag media files onto this DropZone");
    EXPECT_TRUE(frm.picDrag()->acceptDrops());
}

TEST_F(FrmMainTest, ListContentsDefaultsAndTexts) {
    auto items = [](QComboBox* c) {
        QStringList out;
        for (int i = 0; i < c->count(); ++i)
            out << c->itemText(i);
        return out;
    };
    EXPECT_EQ(items(frm.cmbOF()),
              QStringList({"MP3", "WMA", "OGG", "WAV", "FLAC", "AC3", "AAC", "AMR", "MPG"}));
    EXPECT_EQ(items(frm.cmbBR()), QStringList({"32", "48", "56", "64", "80", "96", "112", "128",
                                               "192", "224", "256", "320"}));
    EXPECT_EQ(items(frm.cmbR()),
              QStringList({"48000", "44100", "32000", "24000", "22050", "16000", "12050", "8000"}));
    EXPECT_EQ(items(frm.cmbChannel()), QStringList({"Mono", "Stereo"}));
    EXPECT_EQ(frm.cmbOF()->currentText(), "MP3");
    EXPECT_EQ(frm.cmbBR()->currentText(), "128");
    EXPECT_EQ(frm.cmbR()->currentText(), "44100");
    EXPECT_EQ(frm.cmbChannel()->currentText(), "Stereo");
    for (QComboBox* c : {frm.cmbOF(), frm.cmbBR(), frm.cmbR(), frm.cmbChannel()})
        EXPECT_FALSE(c->isEditable()) << "only listed entries can be chosen";
    EXPECT_EQ(frm.cmbOF()->toolTip(), "Output Format");
    EXPECT_EQ(frm.cmbBR()->toolTip(), "MP3 Audio Bitrate");
    EXPECT_EQ(frm.cmbR()->toolTip(), "MP3 Audio Rate");
    EXPECT_EQ(frm.cmbChannel()->toolTip(), "MP3 Audio Channel(Stereo or Mono)");

    EXPECT_TRUE(frm.txtPath()->isReadOnly());
    EXPECT_EQ(QDir::fromNativeSeparators(frm.txtPath()->text()),
              QCoreApplication::applicationDirPath() + "/output");
    EXPECT_EQ(frm.txtPath()->toolTip(), "Select a Folder to Output");
    EXPECT_EQ(frm.imgBrowse()->toolTip(), "Select an Output Folder");
    EXPECT_EQ(frm.imgHelp()->toolTip(), "Help & Tutorial");
    EXPECT_EQ(frm.imgMin()->toolTip(), "Minimize Window");
    EXPECT_EQ(frm.imgExit()->toolTip(), "Exit");

    EXPECT_EQ(frm.lblPB()->text(), "0%");
    EXPECT_EQ(frm.lblWeb()->text(), "Pelkora");
    EXPECT_FALSE(frm.lblWeb()->toolTip().isEmpty()) << "the home-page address";
    EXPECT_EQ(frm.lblFeed()->text(), "Feedback");
    EXPECT_EQ(frm.lblFeed()->toolTip(), "Send us your suggestion or question");
    EXPECT_EQ(frm.lblVersion()->text(), QStringLiteral("Ver %1.%2.%3")
                                            .arg(PELKORA_VERSION_MAJOR)
                                            .arg(PELKORA_VERSION_MINOR)
                                            .arg(PELKORA_VERSION_PATCH));
    EXPECT_EQ(frm.lblVersion()->palette().color(QPalette::WindowText), QColor(180, 235, 225));
    EXPECT_EQ(frm.lblWeb()->palette().color(QPalette::WindowText), QColor(20, 76, 72));
    EXPECT_EQ(frm.lblText()->palette().color(QPalette::WindowText), QColor(128, 128, 128));
    EXPECT_TRUE(frm.lblWeb()->font().underline());
    EXPECT_TRUE(frm.lblFeed()->font().underline());

    QHeaderView* header = frm.LV()->header();
    EXPECT_EQ(frm.LV()->model()->headerData(0, Qt::Horizontal).toString(), "FileName");
    EXPECT_EQ(frm.LV()->model()->headerData(1, Qt::Horizontal).toString(), "Format");
    EXPECT_EQ(header->sectionSize(0), 361);
}

TEST_F(FrmMainTest, TextsFitTheirBoxes) {
    // The designed boxes are small; a wide fallback font must not cut their words off.
    for (QLabel* label : std::initializer_list<QLabel*>{frm.lblText(), frm.lblFeed(), frm.lblWeb(),
                                                        frm.lblVersion()}) {
        const QFontMetrics m(label->font());
        EXPECT_LE(m.horizontalAdvance(label->text()), label->width())
            << label->text().toStdString();
        EXPECT_LE(m.height(), label->height() + 2) << label->text().toStdString();
    }
    const QFontMetrics pb(frm.lblPB()->font());
    EXPECT_LE(pb.horizontalAdvance("100%"), frm.lblPB()->width());
    frm.fileList()->ShowDropHint(FileList::searchingHintText());
    EXPECT_LE(QFontMetrics(frm.lblText()->font()).horizontalAdvance(frm.lblText()->text()),
              frm.lblText()->width());
}

TEST_F(FrmMainTest, ColourKeyGivesTheWindowItsShape) {
    const QImage& picture = frm.keyPicture();
    ASSERT_EQ(picture.size(), QSize(700, 500));
    EXPECT_EQ(picture.pixel(0, 0), 0xFFFF00FFu) << "the corner is keyed out";
    EXPECT_EQ(picture.pixel(699, 250), 0xFFFF00FFu) << "the column past the client area";
    const QRegion shape = frm.mask();
    EXPECT_EQ(shape, skin::colourKeyRegion(picture));
    EXPECT_FALSE(shape.contains(QPoint(0, 0)));
    EXPECT_FALSE(shape.contains(QPoint(698, 498)));
    EXPECT_TRUE(shape.contains(QPoint(349, 249)));
    EXPECT_TRUE(shape.contains(QPoint(0, 249)));
    // No working control is clipped by the outline.
    for (QWidget* w : frm.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!w->isVisibleTo(&frm) || !QRect(QPoint(0, 0), frm.size()).contains(w->geometry()))
            continue;
        EXPECT_EQ(shape.intersected(w->geometry()), QRegion(w->geometry()))
            << w->metaObject()->className() << " " << w->accessibleName().toStdString();
    }
}

TEST(ColourKey, OnlyPureMagentaIsOutside) {
    QImage image(4, 2, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setPixel(0, 0, qRgb(255, 0, 255));
    image.setPixel(1, 0, qRgb(255, 1, 255));
    image.setPixel(2, 0, qRgb(255, 0, 255));
    image.setPixel(3, 1, qRgb(254, 0, 255));
    const QRegion shape = skin::colourKeyRegion(image);
    EXPECT_FALSE(shape.contains(QPoint(0, 0)));
    EXPECT_TRUE(shape.contains(QPoint(1, 0)));
    EXPECT_FALSE(shape.contains(QPoint(2, 0)));
    EXPECT_TRUE(shape.contains(QPoint(3, 0)));
    EXPECT_TRUE(shape.contains(QPoint(0, 1)));
    EXPECT_TRUE(shape.contains(QPoint(3, 1)));
    EXPECT_EQ(shape.boundingRect(), QRect(0, 0, 4, 2));
}

TEST_F(FrmMainTest, FacesArePaintedUnderTheirButtonsAndPicturesFitThem) {
    const QImage& art = frm.keyPicture();
    const skin::MainPictures& pics = frm.pictures();
    for (int i : {0, 6, 1, 2, 3, 4}) {
        EXPECT_GT(inkedPixels(art, toolbar(i)->geometry()), 40) << "toolbar " << i;
        EXPECT_EQ(pics.imgButtonData[i].deviceIndependentSize().toSize(), toolbar(i)->size());
    }
    for (int i = 0; i < 3; ++i) {
        EXPECT_GT(inkedPixels(art, frm.imgMenu(i)->geometry()), 15) << "menu " << i;
        EXPECT_EQ(pics.imgMenuData[i].deviceIndependentSize().toSize(), frm.imgMenu(i)->size());
    }
    for (ImageButton* b :
         {frm.imgConvert(), frm.imgBrowse(), frm.imgHelp(), frm.imgMin(), frm.imgExit()})
        EXPECT_GT(inkedPixels(art, b->geometry()), 8) << b->accessibleName().toStdString();
    EXPECT_EQ(pics.imgConvertData.deviceIndependentSize().toSize(), frm.imgConvert()->size());
    EXPECT_EQ(pics.imgBrowseLight.deviceIndependentSize().toSize(), frm.imgBrowse()->size());
    EXPECT_EQ(pics.imgBrowseDark.deviceIndependentSize().toSize(), frm.imgBrowse()->size());
    EXPECT_EQ(pics.imgButton.deviceIndependentSize().toSize(), frm.picButtonOF()->size());
    EXPECT_EQ(pics.progress.deviceIndependentSize().toSize(), QSize(1, 15));
}

TEST(Skin, ArtFollowsTheDevicePixelRatio) {
    const QImage twice = skin::mainBackground(2.0, false);
    EXPECT_EQ(twice.size(), QSize(1400, 1000));
    EXPECT_EQ(twice.deviceIndependentSize().toSize(), QSize(700, 500));
    const skin::MainPictures pics = skin::mainPictures(twice);
    EXPECT_EQ(pics.imgButtonData[2].size(), QSize(172, 106));
    EXPECT_EQ(pics.imgButtonData[2].deviceIndependentSize().toSize(), QSize(86, 53));
    const QImage fractional = skin::mainBackground(1.25, false);
    EXPECT_EQ(fractional.size(), QSize(875, 625));
    // The displayed art never shows the key colour, so no pink can leak at the rim.
    EXPECT_NE(twice.pixel(0, 0), 0xFFFF00FFu);
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

TEST_F(FrmMainTest, MenuTitlesConvertAndTitleButtonsLightAndReset) {
    const skin::MainPictures& pics = frm.pictures();
    moveTo(frm.imgMenu(1));
    EXPECT_TRUE(frm.imgMenu(1)->showsPicture(pics.imgMenuData[1]));
    moveTo(frm.imgMenu(2));
    EXPECT_TRUE(frm.imgMenu(1)->picture().isNull());
    EXPECT_TRUE(frm.imgMenu(2)->showsPicture(pics.imgMenuData[2]));

    moveTo(frm.imgConvert());
    EXPECT_TRUE(frm.imgConvert()->showsPicture(pics.imgConvertData));
    moveTo(frm.imgHelp());
    moveTo(frm.imgMin());
    moveTo(frm.imgExit());
    EXPECT_TRUE(frm.imgHelp()->showsPicture(pics.imgHelpLight));
    EXPECT_TRUE(frm.imgMin()->showsPicture(pics.imgMinLight));
    EXPECT_TRUE(frm.imgExit()->showsPicture(pics.imgExitLight));
    EXPECT_TRUE(frm.imgMenu(2)->showsPicture(pics.imgMenuData[2])) << "other groups stay";
    moveTo(frm.picButtonR());
    EXPECT_TRUE(frm.picButtonR()->showsPicture(pics.imgButtonLight));

    move(&frm, background());
    for (ImageButton* b : {frm.imgMenu(0), frm.imgMenu(1), frm.imgMenu(2), frm.imgConvert(),
                           frm.imgHelp(), frm.imgMin(), frm.imgExit(), frm.imgBrowse()})
        EXPECT_TRUE(b->picture().isNull()) << b->accessibleName().toStdString();
    for (ImageButton* arrow :
         {frm.picButtonOF(), frm.picButtonBR(), frm.picButtonR(), frm.picButtonChannel()})
        EXPECT_TRUE(arrow->showsPicture(pics.imgButton)) << "arrows keep their own picture";

    // Pressing Convert empties it; clicking Help empties it after its action.
    moveTo(frm.imgConvert());
    press(frm.imgConvert(), {5, 5});
    EXPECT_TRUE(frm.imgConvert()->picture().isNull());
    release(frm.imgConvert(), {5, 5});
    moveTo(frm.imgHelp());
    QSignalSpy helpClicked(frm.imgHelp(), &ImageButton::clicked);
    click(frm.imgHelp());
    QCoreApplication::processEvents();
    EXPECT_EQ(helpClicked.count(), 1);
    EXPECT_TRUE(frm.imgHelp()->picture().isNull());
}

TEST_F(FrmMainTest, BrowseShowsPressedLookUntilTheMouseMovesAgain) {
    const skin::MainPictures& pics = frm.pictures();
    ImageButton* browse = frm.imgBrowse();
    moveTo(browse);
    EXPECT_TRUE(browse->showsPicture(pics.imgBrowseLight));
    press(browse, {10, 10});
    EXPECT_TRUE(browse->showsPicture(pics.imgBrowseDark));
    move(browse, {11, 10}, Qt::LeftButton); // still held
    EXPECT_TRUE(browse->showsPicture(pics.imgBrowseDark));
    QSignalSpy clicked(browse, &ImageButton::clicked);
    release(browse, {11, 10});
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_TRUE(browse->showsPicture(pics.imgBrowseDark)) << "release alone restores nothing";
    move(browse, {12, 10});
    EXPECT_TRUE(browse->showsPicture(pics.imgBrowseLight));
}

TEST_F(FrmMainTest, ArrowBoxesOpenTheirComboBoxLists) {
    frm.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frm));
    const std::pair<ImageButton*, QComboBox*> pairs[] = {
        {frm.picButtonOF(), frm.cmbOF()},
        {frm.picButtonBR(), frm.cmbBR()},
        {frm.picButtonR(), frm.cmbR()},
        {frm.picButtonChannel(), frm.cmbChannel()}};
    for (const auto& [arrow, combo] : pairs) {
        // The arrow box lies over the combo box's own arrow.
        EXPECT_TRUE(combo->geometry().contains(arrow->geometry()));
        click(arrow);
        EXPECT_TRUE(combo->view()->isVisible()) << combo->accessibleName().toStdString();
        combo->hidePopup();
    }
}

TEST_F(FrmMainTest, BackgroundDragMovesTheWindowOnlyWithTheButtonHeld) {
    frm.move(100, 80);
    frm.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frm));
    const QPoint start = frm.pos();
    const QPoint at = background();
    const QPoint global = frm.mapToGlobal(at);

    // Moving without a button does not move the window.
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

TEST_F(FrmMainTest, FeedbackLinkEmphasisResetsOnTheBackground) {
    const QColor normal = frm.lblFeed()->palette().color(QPalette::WindowText);
    moveTo(frm.lblFeed());
    EXPECT_NE(frm.lblFeed()->palette().color(QPalette::WindowText), normal);
    move(&frm, background());
    EXPECT_EQ(frm.lblFeed()->palette().color(QPalette::WindowText), normal);
    QSignalSpy clicked(frm.lblFeed(), &LinkLabel::clicked);
    click(frm.lblFeed());
    EXPECT_EQ(clicked.count(), 1);
}

TEST_F(FrmMainTest, ListRemovalThroughTheWindow) {
    frm.show();
    frm.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frm));
    fill(5);
    EXPECT_FALSE(frm.picText()->isVisibleTo(&frm));

    // Remove-selected on row 3 of 5, from the Delete key.
    frm.LV()->setFocus();
    frm.LV()->setCurrentIndex(frm.LV()->model()->index(2, 0));
    QTest::keyClick(frm.LV(), Qt::Key_Delete);
    EXPECT_EQ(paths(), (std::vector<QByteArray>{"/m/1.mp3", "/m/2.mp3", "/m/4.mp3", "/m/5.mp3"}));
    EXPECT_EQ(frm.LV()->model()->rowCount(), 4);

    // imgRemove's click is the same command.
    frm.LV()->setCurrentIndex(frm.LV()->model()->index(0, 0));
    frm.imgRemove()->click();
    EXPECT_EQ(paths(), (std::vector<QByteArray>{"/m/2.mp3", "/m/4.mp3", "/m/5.mp3"}));

    // While a batch runs the Remove button is disabled, and Delete must not pull the file
    // that is being converted out from under the run.
    toolbar(1)->setEnabled(false);
    frm.LV()->setCurrentIndex(frm.LV()->model()->index(0, 0));
    QTest::keyClick(frm.LV(), Qt::Key_Delete);
    EXPECT_EQ(frm.fileList()->count(), 3);
    toolbar(1)->setEnabled(true);

    // Remove All from the Remove popup.
    frm.menus()->menuRemoveAll->trigger();
    EXPECT_EQ(frm.fileList()->count(), 0);
    EXPECT_EQ(frm.LV()->model()->rowCount(), 0);
    EXPECT_TRUE(frm.picText()->isVisibleTo(&frm));
    EXPECT_EQ(frm.lblText()->text(), "Drag & Drop Files Here");
}

TEST_F(FrmMainTest, RemoveToolbarButtonOpensTheRemoveMenu) {
    frm.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frm));
    click(toolbar(1));
    QMenu* menu = frm.menus()->menuRemove();
    EXPECT_TRUE(menu->isVisible());
    menu->hide();
}

TEST_F(FrmMainTest, KeyboardRequests) {
    frm.show();
    frm.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frm));
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

TEST_F(FrmMainTest, EveryButtonHasAnAccessibleName) {
    for (ImageButton* b : frm.findChildren<ImageButton*>())
        EXPECT_FALSE(b->accessibleName().isEmpty())
            << b->geometry().x() << "," << b->geometry().y();
    for (QWidget* w :
         std::initializer_list<QWidget*>{frm.cmbOF(), frm.cmbBR(), frm.cmbR(), frm.cmbChannel(),
                                         frm.txtPath(), frm.LV(), frm.lblWeb(), frm.lblFeed()})
        EXPECT_FALSE(w->accessibleName().isEmpty());
    EXPECT_EQ(toolbar(6)->accessibleName(), "Add Folder");
    EXPECT_EQ(frm.imgMenu(0)->accessibleName(), "File");
    EXPECT_EQ(frm.imgConvert()->accessibleName(), "Convert");
}

namespace {

bool dropOn(QWidget* target, QMimeData& data) {
    const QPoint at(5, 5);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

} // namespace

TEST_F(FrmMainTest, DropsReachTheListEvenOverTheHintAndDuringARun) {
    // The hint sits over the list but lets drops through to it.
    QWidget* underHint = frm.childAt(frm.picText()->geometry().center());
    EXPECT_EQ(underHint, frm.LV()->viewport());

    QMimeData three;
    three.setUrls({QUrl::fromLocalFile("/d/a.mp3"), QUrl::fromLocalFile("/d/b.mp3"),
                   QUrl::fromLocalFile("/d/c.mp3")});
    ASSERT_TRUE(dropOn(underHint, three));
    EXPECT_EQ(paths(), (std::vector<QByteArray>{"/d/a.mp3", "/d/b.mp3", "/d/c.mp3"}));
    EXPECT_FALSE(frm.picText()->isVisibleTo(&frm));

    // A run disables the toolbar, the menu titles, Convert and the feedback link, not the list.
    for (int i : {0, 6, 1, 2, 3, 4})
        toolbar(i)->setEnabled(false);
    for (int i = 0; i < 3; ++i)
        frm.imgMenu(i)->setEnabled(false);
    frm.imgConvert()->setEnabled(false);
    frm.lblFeed()->setEnabled(false);
    QMimeData folder;
    folder.setUrls({QUrl::fromLocalFile("/d/album")});
    ASSERT_TRUE(dropOn(frm.LV()->viewport(), folder));
    EXPECT_EQ(frm.fileList()->count(), 4);
    EXPECT_EQ(frm.fileList()->path(3), "/d/album");

    QMimeData text;
    text.setText("/d/not-a-drop.mp3");
    EXPECT_FALSE(dropOn(frm.LV()->viewport(), text));
    EXPECT_EQ(frm.fileList()->count(), 4);
}

TEST_F(FrmMainTest, ProgressWidthIsTwipsOverFifteenWithinTheTrack) {
    frm.setProgressWidth(2700.0f);
    EXPECT_EQ(frm.imgPB()->geometry(), QRect(113, 447, 180, 13));
    frm.setProgressWidth(5415.0f);
    EXPECT_EQ(frm.imgPB()->width(), 361);
    frm.setProgressWidth(99999.0f);
    EXPECT_EQ(frm.imgPB()->width(), 361);
    frm.setProgressWidth(-30.0f);
    EXPECT_EQ(frm.imgPB()->width(), 0);
    frm.setProgressWidth(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(frm.imgPB()->width(), 0);
    frm.setProgressWidth(0.0f);
    EXPECT_EQ(frm.imgPB()->width(), 0);
}

TEST(FrmMenu, EntriesAndTheirCommandWords) {
    FileList list;
    QWidget owner;
    frmMenu menus(&list, &owner);
    QSignalSpy words(&menus, &frmMenu::commandWord);

    struct Entry {
        QAction* action;
        const char* caption;
        const char* word;
    };
    const Entry entries[] = {
        {menus.menuAddaFile, "Add a File(&A)", "AddaFile"},
        {menus.menuAddaFolder, "Add a Folder(&F)", "menuAddaFolder"},
        {menus.menuExit, "Exit(&E)", "menuExit"},
        {menus.menuOption, "Options(&O)", "menuOption"},
        {menus.menuHelp, "Help(&H)", "menuHelp"},
        {menus.menuA, "About(&A)", "A"},
        {menus.menuRemoveSelected, "Remove Selected", "RemoveSelected"},
    };
    for (const Entry& e : entries) {
        EXPECT_EQ(e.action->text(), e.caption);
        words.clear();
        e.action->trigger();
        e.action->trigger(); // the same entry twice runs twice
        ASSERT_EQ(words.count(), 2) << e.caption;
        EXPECT_EQ(words.at(0).at(0).toString(), e.word);
    }
    EXPECT_TRUE(menus.menuS->isSeparator());
    EXPECT_EQ(
        menus.menuFile()->actions(),
        (QList<QAction*>{menus.menuAddaFile, menus.menuAddaFolder, menus.menuS, menus.menuExit}));
    EXPECT_EQ(menus.menuRemove()->actions(),
              (QList<QAction*>{menus.menuRemoveSelected, menus.menuRemoveAll}));
    EXPECT_EQ(menus.menuRemoveAll->text(), "Remove All");

    list.AddFileEntry("/a.mp3");
    list.UpdateDropHint();
    words.clear();
    menus.menuRemoveAll->trigger();
    EXPECT_EQ(words.count(), 0) << "Remove All empties the list itself";
    EXPECT_EQ(list.count(), 0);
    EXPECT_TRUE(list.hintVisible());
}
