#pragma once

#include "app/files/hint_texts.h"
#include "gui/files/list_hooks.h"

class QWidget;
namespace dialogs {
class Backend;
}

inline constexpr auto kSelectFolderPrompt =
    QT_TRANSLATE_NOOP("AddFolder", "Please select a folder:");

// Longest stretch, in milliseconds, that the search goes without processing events.
inline constexpr int kAddFolderEventInterval = 25;

// The Add-folder command: asks for a folder and appends every file below it, the folder's
// own files first, then each sub-folder's, depth first. The hint reads "Searching Files..."
// meanwhile and events keep being processed, so other commands stay usable. If `owner`
// goes away during the search, the search stops and nothing more is touched. What the search
// left out is reported once the list is complete.
void AddFolder(dialogs::Backend& dialogs, QWidget* owner, const FileListHooks& list);
