#pragma once

#include <QtGlobal>

// The captions of the hint box over the list, as written (one "&"); shown translated, in the
// context "FileList".
inline constexpr auto kDropHintIdleText = QT_TRANSLATE_NOOP("FileList", "Drag & Drop Files Here");
inline constexpr auto kSearchingFilesText = QT_TRANSLATE_NOOP("FileList", "Searching Files...");
