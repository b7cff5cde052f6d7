#include "filelist/folder_search.h"

#include <system_error>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

enum class EntryKind { File, Folder, Other };

EntryKind Classify(const fs::directory_entry& entry) {
    // The listing already knows the type of most entries, so this costs no extra system
    // call except for links, which must be followed to learn what they point at.
    std::error_code ec;
    if (entry.is_symlink(ec)) {
        const auto target = entry.status(ec);
        return !ec && fs::is_regular_file(target) ? EntryKind::File : EntryKind::Other;
    }
    if (ec)
        return EntryKind::Other;
    const bool isFolder = entry.is_directory(ec);
    if (ec)
        return EntryKind::Other;
    if (isFolder)
        return EntryKind::Folder;
    // Pipes and devices are left out: the converter would wait on them for ever.
    const bool isFile = entry.is_regular_file(ec);
    return !ec && isFile ? EntryKind::File : EntryKind::Other;
}

struct Level {
    std::vector<fs::path> subFolders;
    std::size_t next = 0;
};

// Lists one folder: its files go out at once, its first sub-folders are kept for later.
bool ListFolder(const fs::path& folder, const FoundFile& found, const KeepResponsive& keep,
                Level& level) {
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec)
        return true;
    std::size_t subFolderCount = 0;
    for (const fs::directory_iterator end; it != end;) {
        const fs::directory_entry& entry = *it;
        switch (Classify(entry)) {
        case EntryKind::File:
            found(entry.path().native());
            break;
        case EntryKind::Folder:
            if (++subFolderCount <= kMaxSearchedSubFolders)
                level.subFolders.push_back(entry.path());
            break;
        case EntryKind::Other:
            break;
        }
        if (keep && !keep())
            return false;
        it.increment(ec);
        if (ec)
            break; // a folder that fails half-way keeps what it gave so far
    }
    return true;
}

} // namespace

bool SearchFolder(const fs::path& folder, const FoundFile& found,
                  const KeepResponsive& keepResponsive) {
    if (folder.empty())
        return true;
    // An explicit stack instead of recursion: deep trees cannot exhaust the call stack.
    std::vector<Level> stack(1);
    if (!ListFolder(folder, found, keepResponsive, stack.back()))
        return false;
    while (!stack.empty()) {
        Level& top = stack.back();
        if (top.next == top.subFolders.size()) {
            stack.pop_back();
            continue;
        }
        const fs::path subFolder = std::move(top.subFolders[top.next++]);
        stack.emplace_back();
        if (!ListFolder(subFolder, found, keepResponsive, stack.back()))
            return false;
    }
    return true;
}
