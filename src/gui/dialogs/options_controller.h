#pragma once

#include "app/settings/settings_store.h"
#include "core/naming/name_pattern.h"

#include <QByteArray>
#include <QObject>
#include <QString>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace platform {
class MessageBoxes;
}

namespace settings {

// The options dialog's working controls; the window around them is drawn elsewhere.
struct OptionsControls {
    QComboBox* cmbSR = nullptr; // "ON", "OFF"
    QCheckBox* chkMC = nullptr; // Music Cutter
    QLineEdit* txtFromH = nullptr;
    QLineEdit* txtFromM = nullptr;
    QLineEdit* txtFromS = nullptr;
    QLineEdit* txtToH = nullptr;
    QLineEdit* txtToM = nullptr;
    QLineEdit* txtToS = nullptr;
    QComboBox* cmbJobs = nullptr;       // simultaneous conversions, "1" up
    QCheckBox* chkKeep = nullptr;       // keep the sub-folders of an added folder
    QComboBox* cmbNames = nullptr;      // editable; items carry their pattern as data
    QLabel* lblNameExample = nullptr;   // the example output name, or what is wrong
    QCheckBox* chkSync = nullptr;       // only new and changed files
    QCheckBox* chkReplayGain = nullptr; // loudness tags
    QCheckBox* chkOpenFolder = nullptr; // open the output folder when done
};

// What the options dialog does: shows the current options, keeps the time boxes enabled
// with the cutter, shows the name pattern's example as it is typed, and on OK checks the
// entries, stores them and writes options.ini.
// Every control must outlive the controller.
class OptionsController final : public QObject {
public:
    OptionsController(const OptionsControls& controls, Choices& choices, SettingsPlace place,
                      platform::MessageBoxes& boxes, QObject* parent = nullptr);

    // The file the example name is made from (file-system bytes), with the folder it was
    // added with; without one, a made-up file stands in. Set before Load().
    void setExampleInput(const QByteArray& path, const QByteArray& root);
    // Fills the controls from the options as the dialog opens.
    void Load();
    // The pattern the names box stands for: the readable entry of the plain rule is "".
    [[nodiscard]] QString namePatternText() const;
    // Renders the example from the pattern as it stands; runs on every edit of cmbNames.
    void cmbNames_Change();
    // Enables the time boxes when the cutter is checked; runs on every change of chkMC.
    void chkMC_Click();
    // Returns whether the dialog closes: false after a message about an entry, or with a name
    // pattern that does not parse (the example line already says why).
    [[nodiscard]] bool imgOK_Click();
    // Close without storing anything.
    [[nodiscard]] bool imgBack_Click() { return true; }
    [[nodiscard]] bool imgExit_Click() { return true; }

    // How the last OK's write of options.ini went; the dialog closes either way.
    [[nodiscard]] const WriteResult& lastWrite() const { return lastWrite_; }

private:
    QLineEdit* box(int which) const;

    OptionsControls c_;
    Choices& choices_;
    SettingsPlace place_;
    platform::MessageBoxes& boxes_;
    WriteResult lastWrite_;
    QByteArray examplePath_;
    QByteArray exampleRoot_;
    NameSource example_;
};

} // namespace settings
