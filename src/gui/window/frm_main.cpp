#include "gui/window/frm_main.h"

#include "app/files/file_list.h"
#include "core/engine/choice_lists.h"
#include "gui/files/file_list_view.h"
#include "gui/window/accessibility.h"
#include "gui/window/frm_menu.h"
#include "gui/window/layout.h"
#include "gui/window/product_info.h"
#include "gui/window/skin_captions.h"
#include "gui/window/widgets.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QShortcut>
#include <QSignalBlocker>

#include <algorithm>
#include <cmath>
#include <span>

namespace L = layout::main;

namespace {

QStringList ListItems(std::span<const std::string_view> list) {
    QStringList items;
    for (std::string_view item : list)
        items << QString::fromLatin1(item.data(), static_cast<qsizetype>(item.size()));
    return items;
}

QComboBox* makeCombo(QWidget* parent, const QRect& where, const QStringList& items,
                     const QString& tip, const QString& name) {
    auto* combo = new QComboBox(parent);
    combo->setEditable(false);
    combo->addItems(items);
    combo->setMaxVisibleItems(static_cast<int>(items.size()));
    combo->setGeometry(where);
    combo->setToolTip(tip);
    combo->setAccessibleName(name);
    return combo;
}

QStringList ShownItems(const char* context, std::span<const std::string_view> list) {
    QStringList items;
    for (std::string_view item : list)
        items << QCoreApplication::translate(context, item.data());
    return items;
}

void setTextColour(QLabel* label, const QColor& colour) {
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, colour);
    label->setPalette(pal);
}

} // namespace

frmMain::frmMain(FileList& list, QWidget* parent)
    : SkinnedWindow(parent, Qt::Window, L::client), list_(&list) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Pelkora"));
    setWindowIcon(skin::windowIcon());

    buildArt();
    buildControls();
    addCaptions(*this);
    connectLooks();
    buildShortcuts();
    styleControls();
}

frmMain::~frmMain() = default;

void frmMain::buildArt() {
    const QImage base = skin::mainBackground(artScale());
    setBackground(base);
    pictures_ = skin::mainPictures(base);
}

void frmMain::buildControls() {
    // Created in reading order, which is also the tab order.
    // The title's access key (Alt+F, ...) opens its menu; the reader says the title without it.
    const QString menuTitles[3] = {tr("&File"), tr("&Options"), tr("&About")};
    for (int i = 0; i < 3; ++i) {
        const auto at = static_cast<std::size_t>(i);
        imgMenu_[at] = addButton(L::imgMenu[at], {}, {}, false);
        imgMenu_[at]->setText(menuTitles[i]);
    }
    for (ImageButton* title : imgMenu_) {
        QColor wash = skin::colour::headerBottom;
        wash.setAlpha(150);
        title->setDisabledWash(wash);
    }

    imgHelp_ = addButton(L::imgHelp, tr("Help & Tutorial"), tr("Help & Tutorial"), true);
    imgMin_ = addButton(L::imgMin, tr("Minimize Window"), tr("Minimize Window"), true);
    imgExit_ = addButton(L::imgExit, tr("Exit"), tr("Exit"), true);

    const char* const toolbarNames[7] = {QT_TR_NOOP("Add File"),  QT_TR_NOOP("Remove"),
                                         QT_TR_NOOP("Options"),   QT_TR_NOOP("Help"),
                                         QT_TR_NOOP("Exit"),      "",
                                         QT_TR_NOOP("Add Folder")};
    for (int index : L::toolbarOrder) {
        const auto i = static_cast<std::size_t>(index);
        imgToolbar_[i] = addButton(L::imgToolbar[i], tr(toolbarNames[index]), {}, false);
    }

    LV_ = new FileListView(list_, this);
    LV_->setGeometry(L::LV);
    LV_->setAccessibleName(tr("Input files"));
    LV_->setAlternatingRowColors(true);
    LV_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    LV_->header()->resizeSection(FileList::FileNameColumn, L::fileNameColumnWidth);

    // The hint lets pointer and drops through to the list beneath it.
    picText_ = new QWidget(this);
    picText_->setGeometry(L::picText);
    picText_->setAttribute(Qt::WA_TransparentForMouseEvents);
    picText_->setAutoFillBackground(true);
    QPalette hintPalette = picText_->palette();
    hintPalette.setColor(QPalette::Window, skin::colour::panel);
    picText_->setPalette(hintPalette);
    lblText_ = new FitLabel(picText_);
    lblText_->setGeometry(L::lblText);
    lblText_->setAlignment(Qt::AlignCenter);
    lblText_->setPreferredFont(skin::narrowFont(12, true));
    lblText_->setText(list_->hintText());
    lblText_->setTextFormat(Qt::PlainText);
    setTextColour(lblText_, QColor(128, 128, 128));
    lblText_->setAttribute(Qt::WA_TransparentForMouseEvents);
    connect(list_, &FileList::hintChanged, this, &frmMain::showHint);

    cmbOF_ = makeCombo(this, L::cmbOF, ListItems(choices::kFormats), tr("Output Format"),
                       QCoreApplication::translate("Skin", "Output format"));
    picButtonOF_ = addButton(L::picButtonOF, tr("Open the output format list"),
                             tr("MP3 Audio Bitrate"), false);
    cmbBR_ = makeCombo(this, L::cmbBR, ListItems(choices::kBitrates), tr("MP3 Audio Bitrate"),
                       QCoreApplication::translate("Skin", "Bitrate (kbps)"));
    picButtonBR_ =
        addButton(L::picButtonBR, tr("Open the bitrate list"), tr("MP3 Audio Bitrate"), false);
    cmbR_ = makeCombo(this, L::cmbR, ListItems(choices::kSampleRates), tr("MP3 Audio Rate"),
                      QCoreApplication::translate("Skin", "Sample rate (Hz)"));
    picButtonR_ =
        addButton(L::picButtonR, tr("Open the sample rate list"), tr("MP3 Audio Rate"), false);
    cmbChannel_ = makeCombo(this, L::cmbChannel, ShownItems("Choices", choices::kChannels),
                            tr("MP3 Audio Channel(Stereo or Mono)"),
                            QCoreApplication::translate("Skin", "Channels"));
    picButtonChannel_ = addButton(L::picButtonChannel, tr("Open the channels list"),
                                  tr("MP3 Audio Channel(Stereo or Mono)"), false);
    for (ImageButton* arrow : {picButtonOF_, picButtonBR_, picButtonR_, picButtonChannel_}) {
        // The combo box beneath takes the keyboard; the arrow is for the mouse.
        arrow->setFocusPolicy(Qt::NoFocus);
        arrow->setPicture(pictures_.imgButton);
    }
    for (int i = 0; i < cmbBR_->count(); ++i)
        cmbBR_->setItemData(i, i);
    cmbOF_->setCurrentIndex(choices::kDefaultFormat);
    cmbBR_->setCurrentIndex(choices::kDefaultBitrate);
    cmbR_->setCurrentIndex(choices::kDefaultRate);
    cmbChannel_->setCurrentIndex(choices::kDefaultChannels);

    txtPath_ = new QLineEdit(this);
    txtPath_->setGeometry(L::txtPath);
    txtPath_->setReadOnly(true);
    txtPath_->setToolTip(tr("Select a Folder to Output"));
    txtPath_->setAccessibleName(tr("Output folder"));
    txtPath_->setText(QDir::toNativeSeparators(QCoreApplication::applicationDirPath() +
                                               QStringLiteral("/output")));
    imgBrowse_ = addButton(L::imgBrowse, tr("Select an Output Folder"),
                           tr("Select an Output Folder"), false);
    imgConvert_ = addButton(L::imgConvert, tr("Convert"), {}, false);

    imgPB_ = new ProgressFill(this);
    imgPB_->setGeometry(L::imgPB.x(), L::imgPB.y(), 0, L::imgPB.height());
    imgPB_->setPicture(pictures_.progress);
    imgPB_->setTrackWidth(L::imgPB.width());
    lblPB_ = new FitLabel(this);
    lblPB_->setGeometry(L::lblPB);
    lblPB_->setAlignment(Qt::AlignCenter);
    lblPB_->setPreferredFont(skin::font(10, true));
    lblPB_->setText(QStringLiteral("0%"));
    setTextColour(lblPB_, Qt::black);

    lblStatus_ = new QLabel(this);
    lblStatus_->setGeometry(L::lblStatus);
    lblStatus_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lblStatus_->setTextFormat(Qt::PlainText);
    lblStatus_->setFont(skin::font(11, true));
    lblStatus_->setAccessibleName(tr("Run status"));
    setTextColour(lblStatus_, skin::colour::ink);

    lblVersion_ = new FitLabel(this);
    lblVersion_->setGeometry(L::lblVersion);
    lblVersion_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lblVersion_->setText(tr("Ver %1.%2.%3")
                             .arg(PELKORA_VERSION_MAJOR)
                             .arg(PELKORA_VERSION_MINOR)
                             .arg(PELKORA_VERSION_PATCH));
    setTextColour(lblVersion_, QColor(180, 235, 225));

    lblWeb_ = new LinkLabel(this);
    lblWeb_->setGeometry(L::lblWeb);
    lblWeb_->setText(QStringLiteral("Pelkora"));
    lblWeb_->setAccessibleName(tr("Pelkora home page"));
    lblWeb_->setToolTip(QString::fromUtf8(product::kHomePage.data(),
                                          static_cast<qsizetype>(product::kHomePage.size())));
    QFont webFont = skin::font(11, true);
    webFont.setUnderline(true);
    lblWeb_->setPreferredFont(webFont);
    setTextColour(lblWeb_, QColor(20, 76, 72));

    lblFeed_ = new LinkLabel(this);
    lblFeed_->setGeometry(L::lblFeed);
    lblFeed_->setText(tr("Feedback"));
    lblFeed_->setToolTip(tr("Send us your suggestion or question"));
    lblFeed_->setAccessibleName(tr("Feedback"));
    lblFeed_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont feedFont = skin::narrowFont(11);
    feedFont.setUnderline(true);
    lblFeed_->setPreferredFont(feedFont);
    setTextColour(lblFeed_, Qt::black);

    // Outside the client area: never seen, reached through code only.
    imgAdd_ = addButton(L::imgAdd, tr("Add a file"), tr("Add a new file to file list"), false);
    imgRemove_ =
        addButton(L::imgRemove, tr("Remove a file"), tr("Remove a file from file list"), false);
    imgStart_ = addButton(L::imgStart, tr("Start converting"), tr("Start Converting"), false);
    picDrag_ = new DropZone(list_, this);
    picDrag_->setGeometry(L::picDrag);
    picDrag_->setToolTip(tr("Drag media files onto this DropZone"));
    for (QWidget* hidden :
         std::initializer_list<QWidget*>{imgAdd_, imgRemove_, imgStart_, picDrag_}) {
        hidden->setFocusPolicy(Qt::NoFocus);
        hidden->hide();
    }
    connect(imgRemove_, &ImageButton::clicked, list_, &FileList::RemoveSelected);

    menus_ = new frmMenu(list_, this);
}

void frmMain::connectLooks() {
    for (int index : L::toolbarOrder) {
        ImageButton* button = imgToolbar_[static_cast<std::size_t>(index)];
        connect(button, &ImageButton::mouseMoved, this, [this, index] {
            for (ImageButton* b : imgToolbar_)
                if (b != nullptr)
                    b->clearPicture();
            imgToolbar_[static_cast<std::size_t>(index)]->setPicture(
                pictures_.imgButtonData[static_cast<std::size_t>(index)]);
        });
        connect(button, &ImageButton::pressed, this, [this] {
            for (ImageButton* b : imgToolbar_)
                if (b != nullptr)
                    b->clearPicture();
        });
    }
    for (int i = 0; i < 3; ++i) {
        connect(imgMenu_[static_cast<std::size_t>(i)], &ImageButton::mouseMoved, this, [this, i] {
            for (ImageButton* b : imgMenu_)
                b->clearPicture();
            imgMenu_[static_cast<std::size_t>(i)]->setPicture(
                pictures_.imgMenuData[static_cast<std::size_t>(i)]);
        });
    }
    connect(imgConvert_, &ImageButton::mouseMoved, this, [this] {
        imgConvert_->setPicture(stopFace_ ? pictures_.imgStopLight : pictures_.imgConvertData);
    });
    connect(imgConvert_, &ImageButton::pressed, this, &frmMain::restConvertFace);

    lightOnHover(imgHelp_, pictures_.imgHelpLight);
    connect(imgHelp_, &ImageButton::clicked, imgHelp_, &ImageButton::clearPicture,
            Qt::QueuedConnection);
    lightOnHover(imgMin_, pictures_.imgMinLight);
    connect(imgMin_, &ImageButton::clicked, this, [this] {
        showMinimized();
        imgMin_->clearPicture();
    });
    lightOnHover(imgExit_, pictures_.imgExitLight);

    connect(imgBrowse_, &ImageButton::mouseMoved, this, [this] {
        // While the button is held down it keeps its pressed look.
        imgBrowse_->setPicture(imgBrowse_->isDown() ? pictures_.imgBrowseDark
                                                    : pictures_.imgBrowseLight);
    });
    connect(imgBrowse_, &ImageButton::pressed, this,
            [this] { imgBrowse_->setPicture(pictures_.imgBrowseDark); });

    const std::pair<ImageButton*, QComboBox*> arrows[] = {{picButtonOF_, cmbOF_},
                                                          {picButtonBR_, cmbBR_},
                                                          {picButtonR_, cmbR_},
                                                          {picButtonChannel_, cmbChannel_}};
    for (const auto& [arrow, combo] : arrows) {
        lightOnHover(arrow, pictures_.imgButtonLight);
        connect(arrow, &ImageButton::clicked, combo, &QComboBox::showPopup);
    }

    connect(lblFeed_, &LinkLabel::mouseMoved, this, [this] { setFeedEmphasis(true); });

    connect(imgToolbar_[1], &ImageButton::clicked, this,
            [this] { accessibility::popUp(*menus_->menuRemove(), *imgToolbar_[1]); });
}

void frmMain::buildShortcuts() {
    // Delete acts on the list, and only while its Remove button is usable (a running batch
    // disables it: removing the entry being converted would drop the wrong file afterwards).
    auto* remove =
        new QShortcut(QKeySequence::Delete, LV_, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(remove, &QShortcut::activated, this, [this] {
        if (imgToolbar_[1]->isEnabled())
            list_->RemoveSelected();
    });
    auto* stop = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(stop, &QShortcut::activated, this, &frmMain::stopRequested);
    auto* open = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_O), this);
    connect(open, &QShortcut::activated, this, &frmMain::addFileRequested);
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, &frmMain::helpRequested);
    for (const QKeySequence& key :
         {QKeySequence(Qt::CTRL | Qt::Key_Q), QKeySequence(Qt::ALT | Qt::Key_F4)}) {
        auto* quit = new QShortcut(key, this);
        connect(quit, &QShortcut::activated, this, &frmMain::exitRequested);
    }
}

ImageButton* frmMain::imgToolbar(int index) const {
    if (index < 0 || index >= L::kToolbarSlots)
        return nullptr;
    return imgToolbar_[static_cast<std::size_t>(index)];
}

ImageButton* frmMain::imgMenu(int index) const {
    if (index < 0 || index >= 3)
        return nullptr;
    return imgMenu_[static_cast<std::size_t>(index)];
}

void frmMain::setProgressWidth(float twips) {
    int width = 0;
    if (std::isfinite(twips) && twips > 0)
        width = static_cast<int>(std::min(std::lround(twips / 15.0f), long{L::imgPB.width()}));
    imgPB_->resize(width, L::imgPB.height());
    imgPB_->setPercent(twips * 100.0 / L::imgPBFullWidthTwips);
}

void frmMain::showHint() {
    lblText_->setText(list_->hintText());
    picText_->setVisible(list_->hintVisible());
}

void frmMain::setFeedEmphasis(bool on) {
    if (feedEmphasis_ == on)
        return;
    feedEmphasis_ = on;
    setTextColour(lblFeed_, on ? skin::colour::accentDark : QColor(Qt::black));
}

void frmMain::resetLooks() {
    setFeedEmphasis(false);
    imgHelp_->clearPicture();
    imgExit_->clearPicture();
    for (ImageButton* arrow : {picButtonChannel_, picButtonR_, picButtonOF_, picButtonBR_})
        arrow->setPicture(pictures_.imgButton);
    imgBrowse_->clearPicture();
    imgMin_->clearPicture();
    for (ImageButton* b : imgToolbar_)
        if (b != nullptr)
            b->clearPicture();
    for (ImageButton* b : imgMenu_)
        b->clearPicture();
    restConvertFace();
}

void frmMain::setStopFace(bool stop) {
    stopFace_ = stop;
    imgConvert_->setAccessibleName(stop ? tr("Stop") : tr("Convert"));
    restConvertFace();
}

void frmMain::restConvertFace() {
    if (stopFace_)
        imgConvert_->setPicture(pictures_.imgStop);
    else
        imgConvert_->clearPicture();
}

void frmMain::showBitrates(int formatIndex) {
    const QStringList items = ListItems(choices::BitratesFor(formatIndex));
    QStringList shown;
    for (int i = 0; i < cmbBR_->count(); ++i)
        shown << cmbBR_->itemText(i);
    if (shown == items)
        return;
    const QSignalBlocker quiet(cmbBR_);
    cmbBR_->clear();
    for (const QString& item : items)
        cmbBR_->addItem(item, choices::IndexOf(choices::kBitrates, item.toStdString()));
}
