#pragma once

#include "settings/settings_file.h"

#include <QString>

class QComboBox;
class QLineEdit;

namespace settings {

// The main-window controls whose choices setup.ini keeps.
struct SetupControls {
    QComboBox* cmbBR = nullptr;
    QComboBox* cmbR = nullptr;
    QComboBox* cmbChannel = nullptr;
    QLineEdit* txtPath = nullptr;
    QComboBox* cmbOF = nullptr;
};

[[nodiscard]] QString SetupFilePath(const QString& programFolder);
[[nodiscard]] QString OptionsFilePath(const QString& programFolder);

// Applies setup.ini, if there is one, over what the controls show; a record that does not
// fit its control leaves that control alone.
void ReadSetupFile(const QString& path, const SetupControls& controls);
WriteResult WriteSetupFile(const QString& path, const SetupControls& controls);

void ReadOptionsFile(const QString& path, OptionsRecords& options = Module1());
WriteResult WriteOptionsFile(const QString& path, const OptionsRecords& options = Module1());

// "Ver " and this build's major.minor.revision.
[[nodiscard]] QString ProgramVersionText();

} // namespace settings
