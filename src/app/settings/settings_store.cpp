#include "app/settings/settings_store.h"

#include "app/services/message_box.h"
#include "core/naming/name_pattern.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace settings {
namespace {

const QString kJobsKey = QStringLiteral("Conversion/SimultaneousConversions");
const QString kKeepTreeKey = QStringLiteral("Output/KeepSubFolders");
const QString kNamePatternKey = QStringLiteral("Output/NamePattern");
const QString kSyncKey = QStringLiteral("Output/OnlyNewAndChanged");
const QString kReplayGainKey = QStringLiteral("Output/ReplayGainTags");
const QString kOpenFolderKey = QStringLiteral("Output/OpenFolderWhenDone");

std::filesystem::path toPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

// Only a choice the window's list can show: -1 (nothing selected) would fail every file.
template <std::size_t N>
void apply(int& choice, const std::optional<std::int16_t>& stored,
           const std::array<std::string_view, N>&) {
    if (stored && *stored >= 0 && *stored < static_cast<int>(N))
        choice = *stored;
}

int maxJobs() {
    return std::max(1, QThread::idealThreadCount());
}

QString ownerName(uid_t uid) {
    if (const passwd* pw = ::getpwuid(uid))
        return QString::fromLocal8Bit(pw->pw_name);
    return QStringLiteral("user %1").arg(uid);
}

QString folderProblem(const QString& folder, const QString& why) {
    return QCoreApplication::translate("SettingsStore",
                                       "The settings folder %1 cannot be used: %2. The default "
                                       "settings are used and none are saved.")
        .arg(folder, why);
}

QString notOwnedProblem(const QString& folder, uid_t owner) {
    const QString me = ownerName(::geteuid());
    if (owner == 0) {
        return folderProblem(folder, QCoreApplication::translate(
                                         "SettingsStore",
                                         "it belongs to root, not to %1 (left by a start with "
                                         "sudo?). Give it back with \"sudo chown -R %1: %2\", or "
                                         "remove it")
                                         .arg(me, folder));
    }
    return folderProblem(folder,
                         QCoreApplication::translate("SettingsStore", "it belongs to %1, not to %2")
                             .arg(ownerName(owner), me));
}

void say(platform::MessageBoxes& boxes, const QString& text) {
    boxes.show(text, platform::MsgIcon::Exclamation, platform::applicationTitle());
}

// Reads a file and names it through `boxes` when something is there that is not read.
FileRead readReporting(const QString& path, LongFile longFile, platform::MessageBoxes& boxes) {
    FileRead read = ReadSettingsFile(toPath(path), kMaxSettingsFileBytes, longFile);
    if (MustBeLeftAlone(read.state)) {
        say(boxes, QCoreApplication::translate("SettingsStore",
                                               "%1: %2, so it is ignored and left as it is; the "
                                               "defaults are used.")
                       .arg(path, QString::fromStdString(WhyNotRead(read, kMaxSettingsFileBytes))));
    }
    return read;
}

WriteResult unusablePlace(const QString& path, const SettingsPlace& place) {
    return {false, QCoreApplication::translate("SettingsStore", "Cannot save %1: %2")
                       .arg(path, place.problem)
                       .toStdString()};
}

// pelkora.ini is read by QSettings only once it is known to be an ordinary file of a sane size:
// QSettings would wait on a pipe and take in any amount.
void applyOwnSettings(const QString& path, ConversionChoices& c) {
    const QSettings file(path, QSettings::IniFormat);
    bool ok = false;
    const int jobs = file.value(kJobsKey).toInt(&ok);
    if (ok && jobs >= 1)
        c.jobs = std::min(jobs, maxJobs()); // as the dialog's list offers
    const QString keep = file.value(kKeepTreeKey).toString();
    if (keep == QLatin1String("true") || keep == QLatin1String("false"))
        c.keepTree = keep == QLatin1String("true");
    const QString sync = file.value(kSyncKey).toString();
    if (sync == QLatin1String("true") || sync == QLatin1String("false"))
        c.sync = sync == QLatin1String("true");
    const QString replayGain = file.value(kReplayGainKey).toString();
    if (replayGain == QLatin1String("true") || replayGain == QLatin1String("false"))
        c.replayGain = replayGain == QLatin1String("true");
    const QString openFolder = file.value(kOpenFolderKey).toString();
    if (openFolder == QLatin1String("true") || openFolder == QLatin1String("false"))
        c.openFolderWhenDone = openFolder == QLatin1String("true");
    // A pattern edited by hand into something unusable leaves the plain names.
    const QString pattern = file.value(kNamePatternKey).toString();
    if (pattern.isEmpty() || NamePattern::Parse(pattern.toStdString()))
        c.namePattern = pattern;
}

} // namespace

QStringList SystemFolders() {
    return QStringLiteral("/usr /opt /bin /sbin /lib /lib64 /snap /app /nix /gnu").split(' ');
}

bool IsPortableFolder(const QString& folder, const QStringList& systemFolders) {
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (canonical.isEmpty())
        return false;
    for (const QString& system : systemFolders) {
        const QString real = QFileInfo(system).canonicalFilePath();
        const QString prefix = real.isEmpty() ? system : real;
        if (canonical == prefix || canonical.startsWith(prefix + QLatin1Char('/')))
            return false;
    }
    const QByteArray path = QFile::encodeName(canonical);
    struct stat st = {};
    if (::stat(path.constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        return false;
    // Someone else's folder is an installation, even one this user may write to.
    if (st.st_uid != ::geteuid() || (st.st_mode & S_IWUSR) == 0)
        return false;
    // A read-only mount refuses everyone.
    return ::access(path.constData(), W_OK | X_OK) == 0;
}

QString PrepareSettingsFolder(const QString& folder) {
    QDir().mkpath(folder);
    const QByteArray path = QFile::encodeName(folder);
    // O_PATH needs no permission on the folder: its owner can be told even when it is closed.
    const int probe = ::open(path.constData(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
    if (probe < 0)
        return folderProblem(folder, QString::fromLocal8Bit(std::strerror(errno)));
    struct stat st = {};
    const int probed = ::fstat(probe, &st);
    ::close(probe);
    if (probed != 0)
        return folderProblem(folder, QString::fromLocal8Bit(std::strerror(errno)));

    if (S_ISLNK(st.st_mode)) {
        // A link the user made (to a folder kept elsewhere) is followed, but never chmod-ed.
        if (::stat(path.constData(), &st) != 0)
            return folderProblem(folder, QString::fromLocal8Bit(std::strerror(errno)));
        if (!S_ISDIR(st.st_mode))
            return folderProblem(
                folder, QCoreApplication::translate("SettingsStore", "it is not a folder"));
        return st.st_uid == ::geteuid() ? QString() : notOwnedProblem(folder, st.st_uid);
    }
    if (!S_ISDIR(st.st_mode))
        return folderProblem(folder,
                             QCoreApplication::translate("SettingsStore", "it is not a folder"));
    if (st.st_uid != ::geteuid())
        return notOwnedProblem(folder, st.st_uid);

    const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return folderProblem(folder, QString::fromLocal8Bit(std::strerror(errno)));
    // The same checks on what was opened: the mode goes on the user's own folder only.
    QString problem;
    if (::fstat(fd, &st) != 0)
        problem = folderProblem(folder, QString::fromLocal8Bit(std::strerror(errno)));
    else if (st.st_uid != ::geteuid())
        problem = notOwnedProblem(folder, st.st_uid);
    else
        (void)::fchmod(fd, 0700);
    ::close(fd);
    return problem;
}

SettingsPlace FindSettingsPlace(const QString& programFolder) {
    SettingsPlace place;
    if (IsPortableFolder(programFolder)) {
        place.folder = programFolder;
        place.defaultOutput = QFile::encodeName(programFolder + QStringLiteral("/output"));
        return place;
    }
    place.portable = false;
    place.folder =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/pelkora";
    place.problem = PrepareSettingsFolder(place.folder);
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

ConversionChoices ReadChoices(const SettingsPlace& place, platform::MessageBoxes& boxes) {
    ConversionChoices c;
    c.outputFolder = place.defaultOutput;
    if (!place.problem.isEmpty()) {
        say(boxes, place.problem);
        return c;
    }
    const FileRead setupRead = readReporting(SetupFilePath(place), LongFile::Cut, boxes);
    if (setupRead.state == FileState::Read) {
        const SetupUpdate setup = ParseSetupText(setupRead.bytes);
        apply(c.bitrateIndex, setup.cmbBR, choices::kBitrates);
        apply(c.rateIndex, setup.cmbR, choices::kSampleRates);
        apply(c.channelIndex, setup.cmbChannel, choices::kChannels);
        apply(c.formatIndex, setup.cmbOF, choices::kFormats);
        if (setup.txtPath && !setup.txtPath->empty())
            c.outputFolder = QByteArray::fromStdString(*setup.txtPath);
    }
    const FileRead optionsRead = readReporting(OptionsFilePath(place), LongFile::Cut, boxes);
    ApplyOptionsUpdate(optionsRead.state == FileState::Read ? ParseOptionsText(optionsRead.bytes)
                                                            : OptionsUpdate{},
                       c.options);

    const QString own = OwnSettingsFilePath(place);
    if (readReporting(own, LongFile::Refuse, boxes).state == FileState::Read)
        applyOwnSettings(own, c);
    return c;
}

WriteResult WriteSetup(const SettingsPlace& place, const ConversionChoices& c,
                       platform::MessageBoxes& boxes) {
    if (!place.problem.isEmpty())
        return unusablePlace(SetupFilePath(place), place);
    SetupRecords records;
    records.cmbBR = c.bitrateIndex;
    records.cmbR = c.rateIndex;
    records.cmbChannel = c.channelIndex;
    records.txtPath = c.outputFolder.toStdString();
    records.cmbOF = c.formatIndex;
    const auto path = toPath(SetupFilePath(place));
    if (KeepStorableFolder(records, path, place.defaultOutput.toStdString())) {
        boxes.show(QCoreApplication::translate("SettingsStore",
                                               "This output folder cannot be remembered because "
                                               "its name contains a double quote (\") or a line "
                                               "break:\n%1")
                       .arg(QFile::decodeName(c.outputFolder)),
                   platform::MsgIcon::Exclamation, platform::applicationTitle());
    }
    return SaveSetupFile(path, records);
}

WriteResult WriteOptions(const SettingsPlace& place, const ConversionChoices& c) {
    if (!place.problem.isEmpty())
        return unusablePlace(OptionsFilePath(place), place);
    return SaveOptionsFile(toPath(OptionsFilePath(place)), c.options);
}

bool WriteOwnSettings(const SettingsPlace& place, const ConversionChoices& c) {
    const QString path = OwnSettingsFilePath(place);
    if (!place.problem.isEmpty() || !CheckReplaceable(toPath(path), LongFile::Refuse))
        return false;
    QSettings file(path, QSettings::IniFormat);
    file.setValue(kJobsKey, c.jobs);
    file.setValue(kKeepTreeKey, c.keepTree);
    file.setValue(kNamePatternKey, c.namePattern);
    file.setValue(kSyncKey, c.sync);
    file.setValue(kReplayGainKey, c.replayGain);
    file.setValue(kOpenFolderKey, c.openFolderWhenDone);
    file.sync();
    return file.status() == QSettings::NoError;
}

QString ProgramVersionText() {
    return QString::fromStdString(
        VersionText(PELKORA_VERSION_MAJOR, PELKORA_VERSION_MINOR, PELKORA_VERSION_PATCH));
}

} // namespace settings
