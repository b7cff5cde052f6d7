#include "gui/window/frm_options.h"

#include "core/engine/choice_lists.h"
#include "core/naming/name_pattern.h"

#include "gui/window/accessibility.h"
#include "gui/window/layout.h"
#include "gui/window/widgets.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QThread>

#include <algorithm>

namespace L = layout::options;

frmOptions::frmOptions(QWidget* parent) : SkinnedWindow(parent, Qt::Dialog, L::client) {
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Options"));
    setModal(true);

    const QImage base = skin::optionsBackground(artScale());
    setBackground(base);
    pictures_ = skin::optionsPictures(base);

    const QFont small = skin::font(10);
    cmbSR_ = new QComboBox(this);
    cmbSR_->addItems({QString::fromLatin1(choices::kFinishSound[0].data()),
                      QString::fromLatin1(choices::kFinishSound[1].data())});
    cmbSR_->setGeometry(L::cmbSR);
    cmbSR_->setFont(small);
    cmbSR_->setToolTip(QStringLiteral("MP3 Audio Bitrate"));
    cmbSR_->setAccessibleName(QStringLiteral("Sound Reminder"));

    picButtonBR_ = addButton(L::picButtonBR, QStringLiteral("Open the sound reminder list"),
                             QStringLiteral("MP3 Audio Bitrate"), false);
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

    picButtonJobs_ = addButton(L::picButtonJobs,
                               QStringLiteral("Open the simultaneous conversions list"), {}, false);
    picButtonJobs_->setFocusPolicy(Qt::NoFocus);
    picButtonJobs_->setPicture(pictures_.imgButton);

    chkKeep_ = new SkinCheckBox(QStringLiteral("Keep sub-folders"), this);
    chkKeep_->setGeometry(L::chkKeep);
    chkKeep_->setFont(small);
    chkKeep_->setToolTip(
        QStringLiteral("Write the files of an added folder into the same sub-folders"));
    chkKeep_->setAccessibleName(QStringLiteral("Keep sub-folders"));

    chkSync_ = new SkinCheckBox(QStringLiteral("Only new and changed files"), this);
    chkSync_->setGeometry(L::chkSync);
    chkSync_->setFont(small);
    chkSync_->setToolTip(
        QStringLiteral("Convert only files that are new or changed since the last run into the "
                       "output folder, as recorded there; leave the others as they are"));
    chkSync_->setAccessibleName(QStringLiteral("Only new and changed files"));

    chkReplayGain_ = new SkinCheckBox(QStringLiteral("ReplayGain tags"), this);
    chkReplayGain_->setGeometry(L::chkReplayGain);
    chkReplayGain_->setFont(small);
    chkReplayGain_->setToolTip(
        QStringLiteral("Measure the loudness of each file and write ReplayGain 2.0 tags for the "
                       "track and the album"));
    chkReplayGain_->setAccessibleName(QStringLiteral("ReplayGain tags"));

    chkOpenFolder_ = new SkinCheckBox(QStringLiteral("Open the output folder when done"), this);
    chkOpenFolder_->setGeometry(L::chkOpenFolder);
    chkOpenFolder_->setFont(small);
    chkOpenFolder_->setAccessibleName(QStringLiteral("Open the output folder when done"));

    cmbNames_ = new QComboBox(this);
    cmbNames_->setEditable(true);
    // A typed pattern is the choice as it stands; it never joins the common ones.
    cmbNames_->setInsertPolicy(QComboBox::NoInsert);
    // Completing to a longer common pattern while typing would change what the user wrote.
    cmbNames_->setCompleter(nullptr);
    for (const std::string& pattern : CommonNamePatterns()) {
        const QString text = QString::fromStdString(pattern);
        cmbNames_->addItem(text.isEmpty() ? QStringLiteral("Name up to the first dot") : text,
                           text);
    }
    cmbNames_->setGeometry(L::cmbNames);
    cmbNames_->setFont(small);
    cmbNames_->setToolTip(
        QStringLiteral("The output's path below the output folder, from fields such as "
                       "{artist}, {album}, {track}, {title}, {stem} or {folder}"));
    cmbNames_->setAccessibleName(QStringLiteral("File names"));

    picButtonNames_ =
        addButton(L::picButtonNames, QStringLiteral("Open the file names list"), {}, false);
    picButtonNames_->setFocusPolicy(Qt::NoFocus);
    picButtonNames_->setPicture(pictures_.imgButton);

    lblNameExample_ = new ElidedLabel(this);
    lblNameExample_->setGeometry(L::lblNameExample);
    lblNameExample_->setFont(small);
    QPalette muted = lblNameExample_->palette();
    muted.setColor(QPalette::WindowText, skin::colour::inkMuted);
    lblNameExample_->setPalette(muted);
    lblNameExample_->setAccessibleName(QStringLiteral("File name example"));

    imgOK_ = addButton(L::imgOK, QStringLiteral("OK"), {}, true);
    imgBack_ = addButton(L::imgBack, QStringLiteral("Back"), QStringLiteral("Back"), true);
    imgExit_ = addButton(L::imgExit, QStringLiteral("Exit"), QStringLiteral("Exit"), true);

    lightOnHover(imgOK_, pictures_.imgOKLight);
    lightOnHover(imgBack_, pictures_.imgBackLight);
    lightOnHover(imgExit_, pictures_.imgExitLight);
    lightOnHover(picButtonBR_, pictures_.imgButtonLight);
    connect(picButtonBR_, &ImageButton::clicked, cmbSR_, &QComboBox::showPopup);
    lightOnHover(picButtonJobs_, pictures_.imgButtonLight);
    connect(picButtonJobs_, &ImageButton::clicked, cmbJobs_, &QComboBox::showPopup);
    lightOnHover(picButtonNames_, pictures_.imgButtonLight);
    connect(picButtonNames_, &ImageButton::clicked, cmbNames_, &QComboBox::showPopup);
    // The close button is the window's own: it never applies anything.
    connect(imgExit_, &ImageButton::clicked, this, &QDialog::reject);
    accessibility::setDefaultButton(*this, *imgOK_);
    styleControls();
    // The style sheet gives the names box's editor the application's font.
    cmbNames_->lineEdit()->setFont(small);
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
    picButtonNames_->setPicture(pictures_.imgButton);
}
