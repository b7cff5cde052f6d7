#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <limits>
#include <string>

// The window searches only this many sub-folders (in listing order) of any one folder.
inline constexpr std::size_t kMaxSearchedSubFolders = 200;
// The batch mode searches every sub-folder.
inline constexpr std::size_t kEverySubFolder = std::numeric_limits<std::size_t>::max();

// Receives the native path of one file found.
using FoundFile = std::function<void(const std::string& path)>;
// Called after every listed entry so that the caller can keep its window alive; returning
// false stops the search at once.
using KeepResponsive = std::function<bool()>;

// What a search left out, so that it can be said.
struct SearchOutcome {
    bool finished = true;       // false: keepResponsive stopped the search
    std::size_t overLimit = 0;  // sub-folders past the limit, each left out with all below it
    std::size_t unreadable = 0; // folders that could not be listed (or not to the end)

    void add(const SearchOutcome& other);
};

// Hands every file below `folder` to `found`, depth first: a folder's own files in listing
// order, then the complete result of each sub-folder in listing order, the first
// `maxSubFolders` of each folder. Regular files of any name but the program's own working
// files are found, also behind symbolic
// links; links to folders are not followed (they can loop), and pipes, sockets, devices and
// broken links are left out. Folders that cannot be listed contribute nothing. The search
// holds only the names of the sub-folders still to do along its current path.
SearchOutcome SearchFolder(const std::filesystem::path& folder, const FoundFile& found,
                           const KeepResponsive& keepResponsive = {},
                           std::size_t maxSubFolders = kMaxSearchedSubFolders);

// What a finished search left out, in a sentence or two for the user; empty when nothing was.
[[nodiscard]] std::string LeftOutText(const SearchOutcome& outcome,
                                      std::size_t maxSubFolders = kMaxSearchedSubFolders);
