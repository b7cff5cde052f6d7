#include "settings/settings_store.h"

#include "platform/message_box.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QThread>

#include <sys/stat.h>
#include <unistd.h>

namespace settings {
namespace {

const QString kJobsKey = QStringLiteral("Conversion/SimultaneousConversions");
const QString kKeepTreeKey = QStringLiteral("Output/KeepSubFolders");

std::filesystem::path toPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

template <std::size_t N>
void apply(int& choice, const std::optional<std::int16_t>& stored,
           const std::array<std::string_view, N>&) {
    if (stored && IsListIndex(*stored, static_cast<int>(N)))
        choice = *stored;
}

int maxJobs() {
    return std::max(1, QThread::idealThreadCount());
}

} // namespace

bool IsWritableFolder(const QString& folder) {
    const QByteArray path = QFile::encodeName(folder);
    struct stat st = {};
    if (::stat(path.constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        return false;
    // A read-only mount refuses everyone.
    if (::access(path.constData(), W_OK | X_OK) != 0)
        return false;
    if (st.st_uid == ::geteuid())
        return (st.st_mode & S_IWUSR) != 0;
    if (st.st_gid == ::getegid())
        return (st.st_mode & S_IWGRP) != 0;
    return (st.st_mode & S_IWOTH) != 0 || ::geteuid() != 0;
}

SettingsPlace FindSettingsPlace(const QString& programFolder) {
    SettingsPlace place;
    if (IsWritableFolder(programFolder)) {
        place.folder = programFolder;
        place.defaultOutput = QFile::encodeName(programFolder + QStringLiteral("/output"));
        return place;
    }
    place.portable = false;
    place.folder =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/pelkora";
    QDir().mkpath(place.folder);
    QFile::setPermissions(place.folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    if (music.isEmpty())
        music = QDir::homePath() + QStringLiteral("/Music");
    place.defaultOutput = QFile::encodeName(music + QStringLiteral("/Pelkora"));
    return place;
}

QString SetupFilePath(const SettingsPlace& place) {
    return QDir(place.folder).filePath(QStringLiteral("setup.ini"));
}

QString OptionsFilePath(const SettingsPlace& place) {
    return QDir(place.folder).filePath(QStringLiteral("options.ini"));
}

QString OwnSettingsFilePath(const SettingsPlace& place) {
    return QDir(place.folder).filePath(QStringLiteral("pelkora.ini"));
}

ConversionChoices ReadChoices(const SettingsPlace& place) {
    ConversionChoices c;
    c.outputFolder = place.defaultOutput;
    const SetupUpdate setup = LoadSetupFile(toPath(SetupFilePath(place)));
    if (setup.found) {
        apply(c.bitrateIndex, setup.cmbBR, choices::kBitrates);
        apply(c.rateIndex, setup.cmbR, choices::kSampleRates);
        apply(c.channelIndex, setup.cmbChannel, choices::kChannels);
        apply(c.formatIndex, setup.cmbOF, choices::kFormats);
        if (setup.txtPath && !setup.txtPath->empty())
            c.outputFolder = QByteArray::fromStdString(*setup.txtPath);
    }
    ApplyOptionsUpdate(LoadOptionsFile(toPath(OptionsFilePath(place))), c.options);

    const QString own = OwnSettingsFilePath(place);
    if (QFileInfo::exists(own)) {
        const QSettings file(own, QSettings::IniFormat);
        bool ok = false;
        const int jobs = file.value(kJobsKey).toInt(&ok);
        if (ok && jobs >= 1)
            c.jobs = std::min(jobs, maxJobs());
        const QVariant keep = file.value(kKeepTreeKey);
        if (keep.isValid())
            c.keepTree = keep.toBool();
    }
    return c;
}

WriteResult WriteSetup(const SettingsPlace& place, const ConversionChoices& c,
                       platform::MessageBoxes& boxes) {
    SetupRecords records;
    records.cmbBR = c.bitrateIndex;
    records.cmbR = c.rateIndex;
    records.cmbChannel = c.channelIndex;
    records.txtPath = c.outputFolder.toStdString();
    records.cmbOF = c.formatIndex;
    const auto path = toPath(SetupFilePath(place));
    if (KeepStorableFolder(records, path, place.defaultOutput.toStdString())) {
        boxes.show(QStringLiteral("This output folder cannot be remembered because its name "
                                  "contains a double quote (\") or a line break:\n%1")
                       .arg(QFile::decodeName(c.outputFolder)),
                   platform::MsgIcon::Exclamation, platform::applicationTitle());
    }
    return SaveSetupFile(path, records);
}

WriteResult WriteOptions(const SettingsPlace& place, const ConversionChoices& c) {
    return SaveOptionsFile(toPath(OptionsFilePath(place)), c.options);
}

bool WriteOwnSettings(const SettingsPlace& place, const ConversionChoices& c) {
    QSettings file(OwnSettingsFilePath(place), QSettings::IniFormat);
    file.setValue(kJobsKey, c.jobs);
    file.setValue(kKeepTreeKey, c.keepTree);
    file.sync();
    return file.status() == QSettings::NoError;
}

QString ProgramVersionText() {
    return QString::fromStdString(
        VersionText(PELKORA_VERSION_MAJOR, PELKORA_VERSION_MINOR, PELKORA_VERSION_PATCH));
}

} // namespace settings
