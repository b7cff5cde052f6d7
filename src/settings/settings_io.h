#pragma once

#include "settings/settings_file.h"

#include <QByteArray>
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

// The output folder box shows the folder as text, but a folder is bytes (a Linux name need not
// be UTF-8); the bytes travel with the box so that the folder is used and saved exactly.
void SetOutputFolder(QLineEdit* box, const QByteArray& folder);
// The bytes last set, while the box still shows them; otherwise the shown text's bytes.
[[nodiscard]] QByteArray OutputFolder(const QLineEdit* box);

// Applies setup.ini, if there is one, over what the controls show; a record that does not
// fit its control leaves that control alone.
void ReadSetupFile(const QString& path, const SetupControls& controls);
// A folder the file cannot hold is not saved (the file keeps its old one, or defaultFolder);
// the other records are, and a message box says why the folder is not remembered.
WriteResult WriteSetupFile(const QString& path, const SetupControls& controls,
                           const QByteArray& defaultFolder);

void ReadOptionsFile(const QString& path, OptionsRecords& options = Module1());
WriteResult WriteOptionsFile(const QString& path, const OptionsRecords& options = Module1());

// "Ver " and this build's major.minor.revision.
[[nodiscard]] QString ProgramVersionText();

} // namespace settings
