#include "settings/settings_io.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>

namespace settings {
namespace {

std::filesystem::path toPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

void selectIndex(QComboBox* box, const std::optional<std::int16_t>& index) {
    if (box && index && IsListIndex(*index, box->count()))
        box->setCurrentIndex(*index);
}

int selectedIndex(const QComboBox* box) {
    return box ? box->currentIndex() : -1;
}

} // namespace

QString SetupFilePath(const QString& programFolder) {
    return QDir(programFolder).filePath(QStringLiteral("setup.ini"));
}

QString OptionsFilePath(const QString& programFolder) {
    return QDir(programFolder).filePath(QStringLiteral("options.ini"));
}

void ReadSetupFile(const QString& path, const SetupControls& controls) {
    const SetupUpdate update = LoadSetupFile(toPath(path));
    if (!update.found)
        return;
    selectIndex(controls.cmbBR, update.cmbBR);
    selectIndex(controls.cmbR, update.cmbR);
    selectIndex(controls.cmbChannel, update.cmbChannel);
    if (controls.txtPath && update.txtPath)
        controls.txtPath->setText(QString::fromStdString(*update.txtPath));
    selectIndex(controls.cmbOF, update.cmbOF);
}

WriteResult WriteSetupFile(const QString& path, const SetupControls& controls) {
    SetupRecords records;
    records.cmbBR = selectedIndex(controls.cmbBR);
    records.cmbR = selectedIndex(controls.cmbR);
    records.cmbChannel = selectedIndex(controls.cmbChannel);
    records.txtPath = controls.txtPath ? controls.txtPath->text().toStdString() : std::string();
    records.cmbOF = selectedIndex(controls.cmbOF);
    return SaveSetupFile(toPath(path), records);
}

void ReadOptionsFile(const QString& path, OptionsRecords& options) {
    ApplyOptionsUpdate(LoadOptionsFile(toPath(path)), options);
}

WriteResult WriteOptionsFile(const QString& path, const OptionsRecords& options) {
    return SaveOptionsFile(toPath(path), options);
}

QString ProgramVersionText() {
    return QString::fromStdString(
        VersionText(PELKORA_VERSION_MAJOR, PELKORA_VERSION_MINOR, PELKORA_VERSION_PATCH));
}

} // namespace settings
