#include "settings/settings_io.h"

#include "platform/message_box.h"

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

constexpr const char* kFolderBytes = "pelkoraFolderBytes";

} // namespace

QString SetupFilePath(const QString& programFolder) {
    return QDir(programFolder).filePath(QStringLiteral("setup.ini"));
}

QString OptionsFilePath(const QString& programFolder) {
    return QDir(programFolder).filePath(QStringLiteral("options.ini"));
}

void SetOutputFolder(QLineEdit* box, const QByteArray& folder) {
    box->setText(QFile::decodeName(folder));
    box->setProperty(kFolderBytes, folder);
}

QByteArray OutputFolder(const QLineEdit* box) {
    const QByteArray bytes = box->property(kFolderBytes).toByteArray();
    if (!bytes.isEmpty() && QFile::decodeName(bytes) == box->text())
        return bytes;
    return QFile::encodeName(box->text());
}

void ReadSetupFile(const QString& path, const SetupControls& controls) {
    const SetupUpdate update = LoadSetupFile(toPath(path));
    if (!update.found)
        return;
    selectIndex(controls.cmbBR, update.cmbBR);
    selectIndex(controls.cmbR, update.cmbR);
    selectIndex(controls.cmbChannel, update.cmbChannel);
    if (controls.txtPath && update.txtPath)
        SetOutputFolder(controls.txtPath, QByteArray::fromStdString(*update.txtPath));
    selectIndex(controls.cmbOF, update.cmbOF);
}

WriteResult WriteSetupFile(const QString& path, const SetupControls& controls,
                           const QByteArray& defaultFolder) {
    SetupRecords records;
    records.cmbBR = selectedIndex(controls.cmbBR);
    records.cmbR = selectedIndex(controls.cmbR);
    records.cmbChannel = selectedIndex(controls.cmbChannel);
    records.txtPath =
        controls.txtPath ? OutputFolder(controls.txtPath).toStdString() : std::string();
    records.cmbOF = selectedIndex(controls.cmbOF);
    if (KeepStorableFolder(records, toPath(path), defaultFolder.toStdString())) {
        platform::messageBoxes().show(
            QStringLiteral("This output folder cannot be remembered because its name contains a "
                           "double quote (\") or a line break:\n%1")
                .arg(controls.txtPath->text()),
            platform::MsgIcon::Exclamation, platform::applicationTitle());
    }
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
