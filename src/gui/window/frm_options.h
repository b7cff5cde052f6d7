#pragma once

#include "gui/window/skin.h"
#include "gui/window/skinned_window.h"

#include <QDialog>

class ImageButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

// The options dialog: skinned and modal. It provides the controls and their looks; what OK,
// Back and the check box do is connected from outside.
class frmOptions final : public SkinnedWindow<QDialog> {
    Q_OBJECT
public:
    explicit frmOptions(QWidget* parent = nullptr);
    ~frmOptions() override;

    [[nodiscard]] QComboBox* cmbSR() const { return cmbSR_; }
    [[nodiscard]] ImageButton* picButtonBR() const { return picButtonBR_; }
    [[nodiscard]] QCheckBox* chkMC() const { return chkMC_; }
    [[nodiscard]] QLineEdit* txtFromH() const { return txtFromH_; }
    [[nodiscard]] QLineEdit* txtFromM() const { return txtFromM_; }
    [[nodiscard]] QLineEdit* txtFromS() const { return txtFromS_; }
    [[nodiscard]] QLineEdit* txtToH() const { return txtToH_; }
    [[nodiscard]] QLineEdit* txtToM() const { return txtToM_; }
    [[nodiscard]] QLineEdit* txtToS() const { return txtToS_; }
    // "1" to the number of cores.
    [[nodiscard]] QComboBox* cmbJobs() const { return cmbJobs_; }
    [[nodiscard]] ImageButton* picButtonJobs() const { return picButtonJobs_; }
    [[nodiscard]] QCheckBox* chkKeep() const { return chkKeep_; }
    [[nodiscard]] QCheckBox* chkSync() const { return chkSync_; }
    [[nodiscard]] QCheckBox* chkReplayGain() const { return chkReplayGain_; }
    [[nodiscard]] QCheckBox* chkOpenFolder() const { return chkOpenFolder_; }
    // Editable; each common pattern's item carries the pattern as its data.
    [[nodiscard]] QComboBox* cmbNames() const { return cmbNames_; }
    [[nodiscard]] ImageButton* picButtonNames() const { return picButtonNames_; }
    [[nodiscard]] QLabel* lblNameExample() const { return lblNameExample_; }
    [[nodiscard]] ImageButton* imgOK() const { return imgOK_; }
    [[nodiscard]] ImageButton* imgBack() const { return imgBack_; }
    [[nodiscard]] ImageButton* imgExit() const { return imgExit_; }

    [[nodiscard]] const skin::OptionsPictures& pictures() const { return pictures_; }

    void resetLooks() override;

private:
    QLineEdit* makeTimeBox(const QRect& where, const QString& name);

    skin::OptionsPictures pictures_;

    QComboBox* cmbSR_ = nullptr;
    ImageButton* picButtonBR_ = nullptr;
    QCheckBox* chkMC_ = nullptr;
    QLineEdit* txtFromH_ = nullptr;
    QLineEdit* txtFromM_ = nullptr;
    QLineEdit* txtFromS_ = nullptr;
    QLineEdit* txtToH_ = nullptr;
    QLineEdit* txtToM_ = nullptr;
    QLineEdit* txtToS_ = nullptr;
    QComboBox* cmbJobs_ = nullptr;
    ImageButton* picButtonJobs_ = nullptr;
    QCheckBox* chkKeep_ = nullptr;
    QCheckBox* chkSync_ = nullptr;
    QCheckBox* chkReplayGain_ = nullptr;
    QCheckBox* chkOpenFolder_ = nullptr;
    QComboBox* cmbNames_ = nullptr;
    ImageButton* picButtonNames_ = nullptr;
    QLabel* lblNameExample_ = nullptr;
    ImageButton* imgOK_ = nullptr;
    ImageButton* imgBack_ = nullptr;
    ImageButton* imgExit_ = nullptr;
};
