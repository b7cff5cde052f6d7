#include "gui/dialogs/options_controller.h"

#include "app/services/message_box.h"
#include "core/engine/command_line.h"
#include "core/naming/tag_reader.h"
#include "core/settings/cut_range.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>

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

// Stands in for the first file of the list while the list is empty.
NameSource madeUpSource() {
    NameSource source = DescribeSource("01. The Testers - Morning Song.flac", "");
    source.tags = TrackTags{};
    source.tags.artist = "The Testers";
    source.tags.album = "First Light";
    source.tags.title = "Morning Song";
    source.tags.track = "1/9";
    source.tags.date = "2024";
    source.tags.genre = "Folk";
    return source;
}

} // namespace

OptionsController::OptionsController(const OptionsControls& controls, Choices& choices,
                                     SettingsPlace place, platform::MessageBoxes& boxes,
                                     QObject* parent)
    : QObject(parent), c_(controls), choices_(choices), place_(std::move(place)), boxes_(boxes) {
    if (c_.chkMC)
        connect(c_.chkMC, &QCheckBox::toggled, this, [this] { chkMC_Click(); });
    if (c_.cmbNames)
        connect(c_.cmbNames, &QComboBox::editTextChanged, this, [this] { cmbNames_Change(); });
}

void OptionsController::setExampleInput(const QByteArray& path, const QByteArray& root) {
    examplePath_ = path;
    exampleRoot_ = root;
}

QString OptionsController::namePatternText() const {
    if (!c_.cmbNames)
        return choices_.value().namePattern;
    const QString text = c_.cmbNames->currentText();
    const int common = c_.cmbNames->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    return common >= 0 ? c_.cmbNames->itemData(common).toString() : text;
}

void OptionsController::cmbNames_Change() {
    if (!c_.lblNameExample)
        return;
    const std::string extension(FormatExtension(choices_.value().formatIndex));
    const QString pattern = namePatternText();
    QString shown;
    std::string error;
    if (pattern.isEmpty()) {
        shown = QFile::decodeName(QByteArray::fromStdString(example_.name + extension));
    } else if (const auto parsed = NamePattern::Parse(pattern.toStdString(), &error)) {
        std::string path;
        // The same room a real output leaves for its extension and a " (N)" suffix.
        for (const std::string& part : parsed->Render(example_, extension.size() + 8))
            path += (path.empty() ? "" : "/") + part;
        shown = QFile::decodeName(QByteArray::fromStdString(path + extension));
    } else {
        shown = QString::fromStdString(error);
    }
    const bool problem = !error.empty();
    c_.lblNameExample->setText(
        problem ? shown
                : QCoreApplication::translate("OptionsController", "Example: %1").arg(shown));
    if (c_.lblNameExample->property("problem").toBool() != problem) {
        c_.lblNameExample->setProperty("problem", problem);
        // The style sheet picks the problem's ink only when the label is polished anew.
        c_.lblNameExample->style()->unpolish(c_.lblNameExample);
        c_.lblNameExample->style()->polish(c_.lblNameExample);
    }
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
    if (c_.chkSync)
        c_.chkSync->setChecked(choices_.value().sync);
    if (c_.chkReplayGain)
        c_.chkReplayGain->setChecked(choices_.value().replayGain);
    if (c_.chkOpenFolder)
        c_.chkOpenFolder->setChecked(choices_.value().openFolderWhenDone);
    example_ = examplePath_.isEmpty()
                   ? madeUpSource()
                   : DescribeSource(examplePath_.toStdString(), exampleRoot_.toStdString());
    if (c_.cmbNames) {
        const QString pattern = choices_.value().namePattern;
        const int common = c_.cmbNames->findData(pattern);
        if (common >= 0)
            c_.cmbNames->setCurrentIndex(common);
        else
            c_.cmbNames->setEditText(pattern);
    }
    cmbNames_Change();
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
    const QString pattern = namePatternText();
    if (!pattern.isEmpty() && !NamePattern::Parse(pattern.toStdString())) {
        if (c_.cmbNames)
            c_.cmbNames->setFocus(Qt::OtherFocusReason);
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
    if (c_.chkSync)
        choices_.setSync(c_.chkSync->isChecked());
    if (c_.chkReplayGain)
        choices_.setReplayGain(c_.chkReplayGain->isChecked());
    if (c_.chkOpenFolder)
        choices_.setOpenFolderWhenDone(c_.chkOpenFolder->isChecked());
    choices_.setNamePattern(pattern);
    lastWrite_ = WriteOptions(place_, choices_.value());
    // Our own file; options.ini keeps its format for anyone who reads it.
    WriteOwnSettings(place_, choices_.value());
    return true;
}

} // namespace settings
