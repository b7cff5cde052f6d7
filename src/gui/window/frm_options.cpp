#include "gui/window/frm_options.h"

#include "core/engine/choice_lists.h"

#include "gui/window/layout.h"
#include "gui/window/widgets.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QThread>

#include <algorithm>

namespace L = layout::options;

frmOptions::frmOptions(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), drag_(this) {
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Options"));
    setModal(true);
    setFixedSize(L::client);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFont(skin::font(12));

    const QScreen* s = screen();
    const qreal dpr = s != nullptr ? s->devicePixelRatio() : 1.0;
    keyPicture_ = skin::optionsBackground(1.0, true);
    setMask(skin::colourKeyRegion(keyPicture_));
    const QImage base = dpr == 1.0 ? keyPicture_ : skin::optionsBackground(dpr, false);
    background_ = QPixmap::fromImage(base);
    background_.setDevicePixelRatio(base.devicePixelRatio());
    pictures_ = skin::optionsPictures(base);

    const QFont small = skin::font(10);
    cmbSR_ = new QComboBox(this);
    cmbSR_->addItems({QString::fromLatin1(choices::kFinishSound[0].data()),
                      QString::fromLatin1(choices::kFinishSound[1].data())});
    cmbSR_->setGeometry(L::cmbSR);
    cmbSR_->setFont(small);
    cmbSR_->setToolTip(QStringLiteral("MP3 Audio Bitrate"));
    cmbSR_->setAccessibleName(QStringLiteral("Sound Reminder"));

    picButtonBR_ = new ImageButton(this);
    picButtonBR_->setGeometry(L::picButtonBR);
    picButtonBR_->setToolTip(QStringLiteral("MP3 Audio Bitrate"));
    picButtonBR_->setAccessibleName(QStringLiteral("Open the sound reminder list"));
    picButtonBR_->setFocusPolicy(Qt::NoFocus);
    picButtonBR_->setPicture(pictures_.imgButton);

    chkMC_ = new SkinCheckBox(QStringLiteral("Music Cutter"), this);
    chkMC_->setGeometry(L::chkMC);
    chkMC_->setFont(small);
    chkMC_->setAccessibleName(QStringLiteral("Music Cutter"));

    txtFromH_ = makeTimeBox(L::txtFromH, QStringLiteral("From hours"));
    txtFromM_ = makeTimeBox(L::txtFromM, QStringLiteral("From minutes"));
    txtFromS_ = makeTimeBox(L::txtFromS, QStringLiteral("From seconds"));
    txtToH_ = makeTimeBox(L::txtToH, QStringLiteral("Duration hours"));
    txtToM_ = makeTimeBox(L::txtToM, QStringLiteral("Duration minutes"));
    txtToS_ = makeTimeBox(L::txtToS, QStringLiteral("Duration seconds"));

    cmbJobs_ = new QComboBox(this);
    for (int n = 1; n <= std::max(1, QThread::idealThreadCount()); ++n)
        cmbJobs_->addItem(QString::number(n));
    cmbJobs_->setGeometry(L::cmbJobs);
    cmbJobs_->setFont(small);
    cmbJobs_->setToolTip(QStringLiteral("How many files are converted at the same time"));
    cmbJobs_->setAccessibleName(QStringLiteral("Simultaneous conversions"));

    picButtonJobs_ = new ImageButton(this);
    picButtonJobs_->setGeometry(L::picButtonJobs);
    picButtonJobs_->setAccessibleName(QStringLiteral("Open the simultaneous conversions list"));
    picButtonJobs_->setFocusPolicy(Qt::NoFocus);
    picButtonJobs_->setPicture(pictures_.imgButton);

    chkKeep_ = new SkinCheckBox(QStringLiteral("Keep sub-folders"), this);
    chkKeep_->setGeometry(L::chkKeep);
    chkKeep_->setFont(small);
    chkKeep_->setToolTip(
        QStringLiteral("Write the files of an added folder into the same sub-folders"));
    chkKeep_->setAccessibleName(QStringLiteral("Keep sub-folders"));

    auto button = [this](const QRect& where, const QString& name, const QString& tip) {
        auto* b = new ImageButton(this);
        b->setGeometry(where);
        b->setAccessibleName(name);
        if (!tip.isEmpty())
            b->setToolTip(tip);
        b->setCursor(Qt::PointingHandCursor);
        return b;
    };
    imgOK_ = button(L::imgOK, QStringLiteral("OK"), {});
    imgBack_ = button(L::imgBack, QStringLiteral("Back"), QStringLiteral("Back"));
    imgExit_ = button(L::imgExit, QStringLiteral("Exit"), QStringLiteral("Exit"));

    connect(imgOK_, &ImageButton::mouseMoved, this,
            [this] { imgOK_->setPicture(pictures_.imgOKLight); });
    connect(imgBack_, &ImageButton::mouseMoved, this,
            [this] { imgBack_->setPicture(pictures_.imgBackLight); });
    connect(imgExit_, &ImageButton::mouseMoved, this,
            [this] { imgExit_->setPicture(pictures_.imgExitLight); });
    connect(picButtonBR_, &ImageButton::mouseMoved, this,
            [this] { picButtonBR_->setPicture(pictures_.imgButtonLight); });
    connect(picButtonBR_, &ImageButton::clicked, cmbSR_, &QComboBox::showPopup);
    connect(picButtonJobs_, &ImageButton::mouseMoved, this,
            [this] { picButtonJobs_->setPicture(pictures_.imgButtonLight); });
    connect(picButtonJobs_, &ImageButton::clicked, cmbJobs_, &QComboBox::showPopup);
    // The close button is the window's own: it never applies anything.
    connect(imgExit_, &ImageButton::clicked, this, &QDialog::reject);

    setStyleSheet(skin::controlStyleSheet());
    if (QScreen* sc = screen())
        move(sc->availableGeometry().center() - rect().center());
}

frmOptions::~frmOptions() = default;

QLineEdit* frmOptions::makeTimeBox(const QRect& where, const QString& name) {
    auto* box = new QLineEdit(QStringLiteral("0"), this);
    box->setGeometry(where);
    box->setFont(skin::font(10));
    box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    box->setTextMargins(0, 0, 0, 0);
    box->setStyleSheet(QStringLiteral("QLineEdit { padding: 0px 2px; border-radius: 3px; }"));
    box->setAccessibleName(name);
    box->setEnabled(false);
    return box;
}

void frmOptions::resetLooks() {
    imgExit_->clearPicture();
    imgBack_->clearPicture();
    imgOK_->clearPicture();
    picButtonBR_->setPicture(pictures_.imgButton);
    picButtonJobs_->setPicture(pictures_.imgButton);
}

void frmOptions::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawPixmap(QPoint(0, 0), background_);
}

void frmOptions::mousePressEvent(QMouseEvent* event) {
    drag_.press(*event);
    event->accept();
}

void frmOptions::mouseMoveEvent(QMouseEvent* event) {
    resetLooks();
    drag_.move(*event);
    event->accept();
}

void frmOptions::mouseReleaseEvent(QMouseEvent* event) {
    drag_.release();
    event->accept();
}
