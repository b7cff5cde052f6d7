#pragma once

#include "settings/choices.h"
#include "settings/settings_file.h"

#include <QByteArray>
#include <QString>

namespace platform {
class MessageBoxes;
}

namespace settings {

// Where the settings files, the single-copy lock and the default output folder are. A program
// folder that can be written to (the build folder, a portable copy) keeps everything beside
// the program; an installed one keeps them in the user's own folders.
struct SettingsPlace {
    QString folder;           // setup.ini, options.ini, pelkora.ini and the lock
    QByteArray defaultOutput; // the output folder when none is chosen
    bool portable = true;     // the program folder itself
};

// Whether the folder's permissions let this user write to it. Judged from its mode bits, not
// from privilege, so that a folder made read-only counts as such for root too.
[[nodiscard]] bool IsWritableFolder(const QString& folder);

// The program folder when writable; otherwise $XDG_CONFIG_HOME/pelkora (made on demand) and
// the user's music folder followed by /Pelkora.
[[nodiscard]] SettingsPlace FindSettingsPlace(const QString& programFolder);

[[nodiscard]] QString SetupFilePath(const SettingsPlace& place);
[[nodiscard]] QString OptionsFilePath(const SettingsPlace& place);
[[nodiscard]] QString OwnSettingsFilePath(const SettingsPlace& place);

// The defaults, then setup.ini, options.ini and pelkora.ini applied over them. A record that
// does not fit its list leaves the choice alone; an empty folder gives the default one.
[[nodiscard]] ConversionChoices ReadChoices(const SettingsPlace& place);

// Writes setup.ini. A folder the file cannot hold is not saved (the file keeps the one it
// had, or the default); the other records are, and `boxes` says why the folder is not kept.
WriteResult WriteSetup(const SettingsPlace& place, const ConversionChoices& choices,
                       platform::MessageBoxes& boxes);
WriteResult WriteOptions(const SettingsPlace& place, const ConversionChoices& choices);
// Our own choices (simultaneous conversions, keep sub-folders); false when not written.
bool WriteOwnSettings(const SettingsPlace& place, const ConversionChoices& choices);

// "Ver " and this build's major.minor.revision.
[[nodiscard]] QString ProgramVersionText();

} // namespace settings
