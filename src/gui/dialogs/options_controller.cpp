#include "gui/dialogs/options_controller.h"

#include "app/services/message_box.h"
#include "core/settings/cut_range.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include <algorithm>
#include <array>

namespace settings {
namespace {

QString textOf(const QLineEdit* box) {
    return box ? box->text() : QString();
}

void setTextOf(QLineEdit* box, const std::string& text) {
    if (box)
        box->setText(QString::fromStdString(text));
}

} // namespace

OptionsController::OptionsController(const OptionsControls& controls, Choices& choices,
                                     SettingsPlace place, platform::MessageBoxes& boxes,
                                     QObject* parent)
    : QObject(parent), c_(controls), choices_(choices), place_(std::move(place)), boxes_(boxes) {
    if (c_.chkMC)
        connect(c_.chkMC, &QCheckBox::toggled, this, [this] { chkMC_Click(); });
}

QLineEdit* OptionsController::box(int which) const {
    const std::array<QLineEdit*, 6> boxes = {c_.txtFromH, c_.txtFromM, c_.txtFromS,
                                             c_.txtToH,   c_.txtToM,   c_.txtToS};
    return boxes.at(static_cast<std::size_t>(which));
}

void OptionsController::Load() {
    const OptionsRecords& options = choices_.value().options;
    if (c_.cmbSR && IsListIndex(options.FinishSound, c_.cmbSR->count()))
        c_.cmbSR->setCurrentIndex(options.FinishSound);
    // Any non-zero value turns the cut on in the conversion, so the box shows it as on.
    if (c_.chkMC)
        c_.chkMC->setChecked(options.CutEnabled != 0);
    chkMC_Click();
    if (c_.cmbJobs)
        c_.cmbJobs->setCurrentIndex(std::clamp(choices_.value().jobs, 1, c_.cmbJobs->count()) - 1);
    if (c_.chkKeep)
        c_.chkKeep->setChecked(choices_.value().keepTree);
    if (c_.chkMC && c_.chkMC->isChecked()) {
        const CutBoxTexts texts = CutBoxTextsFor(options.CutStart, options.CutLength);
        setTextOf(c_.txtFromH, texts.fromH);
        setTextOf(c_.txtFromM, texts.fromM);
        setTextOf(c_.txtFromS, texts.fromS);
        setTextOf(c_.txtToH, texts.toH);
        setTextOf(c_.txtToM, texts.toM);
        setTextOf(c_.txtToS, texts.toS);
    }
}

void OptionsController::chkMC_Click() {
    const bool on = c_.chkMC && c_.chkMC->isChecked();
    for (int i = 0; i < 6; ++i) {
        if (QLineEdit* b = box(i))
            b->setEnabled(on);
    }
}

bool OptionsController::imgOK_Click() {
    const CutBoxTexts texts{textOf(c_.txtFromH).toStdString(), textOf(c_.txtFromM).toStdString(),
                            textOf(c_.txtFromS).toStdString(), textOf(c_.txtToH).toStdString(),
                            textOf(c_.txtToM).toStdString(),   textOf(c_.txtToS).toStdString()};
    const CutEntryCheck check = CheckCutEntries(texts);
    if (check.problem) {
        boxes_.show(QString::fromStdString(check.problem->message), platform::MsgIcon::Exclamation,
                    QString::fromStdString(check.problem->title));
        // A disabled box takes no focus; the message has been shown all the same.
        if (QLineEdit* b = box(static_cast<int>(check.problem->focus)))
            b->setFocus(Qt::OtherFocusReason);
        return false;
    }
    if (check.allZero && c_.chkMC)
        c_.chkMC->setChecked(false);

    const int sound = c_.cmbSR ? c_.cmbSR->currentIndex() : 0;
    OptionsRecords options;
    options.FinishSound = static_cast<std::int16_t>(sound);
    options.CutEnabled = (c_.chkMC && c_.chkMC->isChecked()) ? 1 : 0;
    options.CutStart = check.start;
    options.CutLength = check.length;
    choices_.setOptions(options);
    if (c_.cmbJobs)
        choices_.setJobs(c_.cmbJobs->currentIndex() + 1);
    if (c_.chkKeep)
        choices_.setKeepTree(c_.chkKeep->isChecked());
    lastWrite_ = WriteOptions(place_, choices_.value());
    // Our own file; options.ini keeps its format for anyone who reads it.
    WriteOwnSettings(place_, choices_.value());
    return true;
}

} // namespace settings
