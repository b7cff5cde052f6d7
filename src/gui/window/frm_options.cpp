#include "gui/window/frm_options.h"

#include "core/engine/choice_lists.h"
#include "core/naming/name_pattern.h"

#include "gui/window/accessibility.h"
#include "gui/window/layout.h"
#include "gui/window/skin_captions.h"
#include "gui/window/widgets.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QThread>

#include <algorithm>

namespace L = layout::options;

frmOptions::frmOptions(QWidget* parent) : SkinnedWindow(parent, Qt::Dialog, L::client) {
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(tr("Options"));
    setModal(true);

    const QImage base = skin::optionsBackground(artScale());
    setBackground(base);
    pictures_ = skin::optionsPictures(base);

    const QFont small = skin::font(10);
    cmbSR_ = new QComboBox(this);
    cmbSR_->addItems({QCoreApplication::translate("Choices", choices::kFinishSound[0].data()),
                      QCoreApplication::translate("Choices", choices::kFinishSound[1].data())});
    cmbSR_->setGeometry(L::cmbSR);
    cmbSR_->setFont(small);
    cmbSR_->setToolTip(tr("MP3 Audio Bitrate"));
    cmbSR_->setAccessibleName(tr("Sound Reminder"));

    picButtonBR_ = addButton(L::picButtonBR, tr("Open the sound reminder list"),
                             tr("MP3 Audio Bitrate"), false);
    picButtonBR_->setFocusPolicy(Qt::NoFocus);
    picButtonBR_->setPicture(pictures_.imgButton);

    chkMC_ = new SkinCheckBox(tr("Music Cutter"), this);
    chkMC_->setGeometry(L::chkMC);
    chkMC_->setFont(small);
    chkMC_->setAccessibleName(tr("Music Cutter"));

    txtFromH_ = makeTimeBox(L::txtFromH, tr("From hours"));
    txtFromM_ = makeTimeBox(L::txtFromM, tr("From minutes"));
    txtFromS_ = makeTimeBox(L::txtFromS, tr("From seconds"));
    txtToH_ = makeTimeBox(L::txtToH, tr("Duration hours"));
    txtToM_ = makeTimeBox(L::txtToM, tr("Duration minutes"));
    txtToS_ = makeTimeBox(L::txtToS, tr("Duration seconds"));

    cmbJobs_ = new QComboBox(this);
    for (int n = 1; n <= std::max(1, QThread::idealThreadCount()); ++n)
        cmbJobs_->addItem(QString::number(n));
    cmbJobs_->setGeometry(L::cmbJobs);
    cmbJobs_->setFont(small);
    cmbJobs_->setToolTip(tr("How many files are converted at the same time"));
    cmbJobs_->setAccessibleName(tr("Simultaneous conversions"));

    picButtonJobs_ =
        addButton(L::picButtonJobs, tr("Open the simultaneous conversions list"), {}, false);
    picButtonJobs_->setFocusPolicy(Qt::NoFocus);
    picButtonJobs_->setPicture(pictures_.imgButton);

    chkKeep_ = new SkinCheckBox(tr("Keep sub-folders"), this);
    chkKeep_->setGeometry(L::chkKeep);
    chkKeep_->setFont(small);
    chkKeep_->setToolTip(tr("Write the files of an added folder into the same sub-folders"));
    chkKeep_->setAccessibleName(tr("Keep sub-folders"));

    chkSync_ = new SkinCheckBox(tr("Only new and changed files"), this);
    chkSync_->setGeometry(L::chkSync);
    chkSync_->setFont(small);
    chkSync_->setToolTip(
        tr("Convert only files that are new or changed since the last run into the "
           "output folder, as recorded there; leave the others as they are"));
    chkSync_->setAccessibleName(tr("Only new and changed files"));

    chkReplayGain_ = new SkinCheckBox(tr("ReplayGain tags"), this);
    chkReplayGain_->setGeometry(L::chkReplayGain);
    chkReplayGain_->setFont(small);
    chkReplayGain_->setToolTip(
        tr("Measure the loudness of each file and write ReplayGain 2.0 tags for the "
           "track and the album"));
    chkReplayGain_->setAccessibleName(tr("ReplayGain tags"));

    chkOpenFolder_ = new SkinCheckBox(tr("Open the output folder when done"), this);
    chkOpenFolder_->setGeometry(L::chkOpenFolder);
    chkOpenFolder_->setFont(small);
    chkOpenFolder_->setAccessibleName(tr("Open the output folder when done"));

    cmbNames_ = new QComboBox(this);
    cmbNames_->setEditable(true);
    // A typed pattern is the choice as it stands; it never joins the common ones.
    cmbNames_->setInsertPolicy(QComboBox::NoInsert);
    // Completing to a longer common pattern while typing would change what the user wrote.
    cmbNames_->setCompleter(nullptr);
    for (const std::string& pattern : CommonNamePatterns()) {
        const QString text = QString::fromStdString(pattern);
        cmbNames_->addItem(text.isEmpty() ? tr("Name up to the first dot") : text, text);
    }
    cmbNames_->setGeometry(L::cmbNames);
    cmbNames_->setFont(small);
    cmbNames_->setToolTip(tr("The output's path below the output folder, from fields such as "
                             "{artist}, {album}, {track}, {title}, {stem} or {folder}"));
    cmbNames_->setAccessibleName(tr("File names"));

    picButtonNames_ = addButton(L::picButtonNames, tr("Open the file names list"), {}, false);
    picButtonNames_->setFocusPolicy(Qt::NoFocus);
    picButtonNames_->setPicture(pictures_.imgButton);

    lblNameExample_ = new ElidedLabel(this);
    lblNameExample_->setGeometry(L::lblNameExample);
    lblNameExample_->setFont(small);
    QPalette muted = lblNameExample_->palette();
    muted.setColor(QPalette::WindowText, skin::colour::inkMuted);
    lblNameExample_->setPalette(muted);
    lblNameExample_->setAccessibleName(tr("File name example"));

    imgOK_ = addButton(L::imgOK, tr("OK"), {}, true);
    imgBack_ = addButton(L::imgBack, tr("Back"), tr("Back"), true);
    imgExit_ = addButton(L::imgExit, tr("Exit"), tr("Exit"), true);
    addCaptions(*this);

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
