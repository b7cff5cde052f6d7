#pragma once

#include <cstdint>

#include <QString>

#include "gui/files/list_hooks.h"

class CCommonDialogs;
namespace dialogs {
class Backend;
}
class QWidget;

// Every type below, and the audio types the converter writes, in one entry shown first.
// Shown translated, in the context "AddFile": a translation keeps every pattern.
inline constexpr auto kAllSupportedFilter = QT_TRANSLATE_NOOP(
    "AddFile",
    "All supported files|*.wav;*.flac;*.mp3;*.wma;*.mp4;*.avi;*.mpg;*.wmv;*.flv;*.mov;*.vob;"
    "*.rm;*.3gp;*.ogg;*.opus;*.m4a;*.aac;*.ac3;*.amr;*.aif;*.aiff;*.ape;*.wv;*.mka;*.mkv;*.webm");
inline constexpr auto kAddFileFilter = QT_TRANSLATE_NOOP(
    "AddFile", "WAVE Files(*.wav)|*.wav|FLAC Files(*.flac)|*.flac|MP3 Audio(*.mp3)|*.mp3|"
               "WMA Audio(*.wma)|*.wma|MPEG4 Files(*.mp4)|*.mp4|AVI Files(*.avi)|*.avi|"
               "MPG Files(*.mpg)|*.mpg|WMV Files(*.wmv)|*.wmv|Flash Video(*.flv)|*.flv|"
               "QuickTime Format(*.mov)|*.mov|DVD VOB(*.vob)|*.vob|Real Video(*.rm)|*.rm|"
               "3GP Video(*.3gp)|*.3gp|All Media Formats(*.*)|*.*");

// The Add-file command: one or several files picked in the shared open dialog, appended to
// the list in the dialog's order. The first pick starts in the working folder, every later one
// in the folder of the last pick.
class AddFileCommand {
public:
    AddFileCommand(CCommonDialogs& dialogs, FileListHooks list);

    void run();
    [[nodiscard]] const QString& LastFolder() const { return lastFolder_; }

private:
    CCommonDialogs& dialogs_;
    FileListHooks list_;
    QString lastFolder_;
};

// The open dialog of the drop zone. `initialFolder` gets a trailing "/" and falls back to
// the program folder when blank or missing; it holds the folder used on return. `flags`
// are the dialogs::kOfn* bits. Returns the chosen path, or empty on cancel.
QString OpenFileDialog(dialogs::Backend& dialogs, QWidget* owner, const QString& title,
                       QString& initialFolder, const QString& filter = {}, std::uint32_t flags = 0);

// A click on the drop zone: any name may be typed, also one of a missing file.
void DropZoneClick(dialogs::Backend& dialogs, QWidget* owner, const FileListHooks& list);
