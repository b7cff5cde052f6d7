#pragma once

#include "app/settings/choices.h"
#include "core/settings/settings_file.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace platform {
class MessageBoxes;
}

namespace settings {

// Where the settings files, the single-copy lock and the default output folder are. A program
// folder of the user's own (the build folder, a portable copy) keeps everything beside the
// program; an installed one keeps them in the user's own folders.
struct SettingsPlace {
    QString folder;           // setup.ini, options.ini, pelkora.ini and the lock
    QByteArray defaultOutput; // the output folder when none is chosen
    bool portable = true;     // the program folder itself
    // Why the settings folder cannot be used (someone else's, say); nothing is then read from
    // it or saved in it. Empty when it can.
    QString problem;
};

// Where installed programs live: /usr (with /usr/local), /opt and the like.
[[nodiscard]] QStringList SystemFolders();

// Whether the program folder is a copy of the user's own, to keep settings and output beside:
// owned by this user, writable by its mode bits and its mount, and not below a system folder.
// Judged so, not from privilege, so that root too treats an installed program as installed.
[[nodiscard]] bool IsPortableFolder(const QString& folder,
                                    const QStringList& systemFolders = SystemFolders());

// The program folder when portable; otherwise $XDG_CONFIG_HOME/pelkora (made on demand) and
// the user's music folder followed by /Pelkora.
[[nodiscard]] SettingsPlace FindSettingsPlace(const QString& programFolder);

// Makes the user's settings folder when missing and closes it to others. A folder that is a
// link is used where it leads, its mode left to its owner. Returns why the folder cannot be
// used (not a folder, someone else's), or nothing when it can.
[[nodiscard]] QString PrepareSettingsFolder(const QString& folder);

[[nodiscard]] QString SetupFilePath(const SettingsPlace& place);
[[nodiscard]] QString OptionsFilePath(const SettingsPlace& place);
[[nodiscard]] QString OwnSettingsFilePath(const SettingsPlace& place);

// The defaults, then setup.ini, options.ini and pelkora.ini applied over them. A record out of
// its range leaves the default; an empty folder gives the default one. A file that is not read
// for what it is (not an ordinary file, too large, unreadable), or a settings folder that
// cannot be used, is named through `boxes`; such a file is later left as it is.
[[nodiscard]] ConversionChoices ReadChoices(const SettingsPlace& place,
                                            platform::MessageBoxes& boxes);

// Writes setup.ini. A folder the file cannot hold is not saved (the file keeps the one it
// had, or the default); the other records are, and `boxes` says why the folder is not kept.
WriteResult WriteSetup(const SettingsPlace& place, const ConversionChoices& choices,
                       platform::MessageBoxes& boxes);
WriteResult WriteOptions(const SettingsPlace& place, const ConversionChoices& choices);
// Our own choices (simultaneous conversions, keep sub-folders); false when not written, as
// when a pelkora.ini that was not read is there.
bool WriteOwnSettings(const SettingsPlace& place, const ConversionChoices& choices);

// "Ver " and this build's major.minor.revision.
[[nodiscard]] QString ProgramVersionText();

} // namespace settings
