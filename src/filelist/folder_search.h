#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>

// Of any one folder only this many sub-folders (in listing order) are searched.
inline constexpr std::size_t kMaxSearchedSubFolders = 200;

// Receives the native path of one file found.
using FoundFile = std::function<void(const std::string& path)>;
// Called after every listed entry so that the caller can keep its window alive; returning
// false stops the search at once.
using KeepResponsive = std::function<bool()>;

// Hands every file below `folder` to `found`, depth first: a folder's own files in listing
// order, then the complete result of each sub-folder in listing order. Regular files of any
// name are found, also behind symbolic links; links to folders are not followed (they can
// loop), and pipes, sockets, devices and broken links are left out. Folders that cannot be
// listed contribute nothing. Returns false when `keepResponsive` stopped the search.
bool SearchFolder(const std::filesystem::path& folder, const FoundFile& found,
                  const KeepResponsive& keepResponsive = {});
