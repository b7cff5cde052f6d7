#pragma once

// The captions of the hint box over the list, as shown (one "&").
inline constexpr auto kDropHintIdleText = "Drag & Drop Files Here";
inline constexpr auto kSearchingFilesText = "Searching Files...";
