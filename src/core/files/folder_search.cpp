#include "core/files/folder_search.h"
#include "core/files/own_files.h"
#include "core/text/translate.h"

#include <cerrno>
#include <utility>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

// The listing uses the system's directory calls: std::filesystem builds and parses a path
// object for every entry, which makes a large search take twice as long as `find`.

namespace {

enum class EntryKind { File, Folder, Other };

EntryKind KindOf(mode_t mode) {
    if (S_ISREG(mode))
        return EntryKind::File;
    if (S_ISDIR(mode))
        return EntryKind::Folder;
    // Pipes and devices are left out: the converter would wait on them for ever.
    return EntryKind::Other;
}

EntryKind Classify(DIR* dir, const dirent& entry) {
    // The listing knows the type of most entries, so they cost no extra system call.
    switch (entry.d_type) {
    case DT_REG:
        return EntryKind::File;
    case DT_DIR:
        return EntryKind::Folder;
    case DT_LNK:
    case DT_UNKNOWN:
        break;
    default:
        return EntryKind::Other;
    }
    struct stat own = {};
    if (::fstatat(::dirfd(dir), entry.d_name, &own, AT_SYMLINK_NOFOLLOW) != 0)
        return EntryKind::Other;
    if (!S_ISLNK(own.st_mode))
        return KindOf(own.st_mode);
    // Links to folders are not followed (they can loop); a file behind a link is taken.
    struct stat target = {};
    if (::fstatat(::dirfd(dir), entry.d_name, &target, 0) != 0)
        return EntryKind::Other;
    return KindOf(target.st_mode) == EntryKind::File ? EntryKind::File : EntryKind::Other;
}

class DirHandle {
public:
    explicit DirHandle(const char* path) : dir_(::opendir(path)) {}
    ~DirHandle() {
        if (dir_)
            ::closedir(dir_);
    }
    DirHandle(const DirHandle&) = delete;
    DirHandle& operator=(const DirHandle&) = delete;
    [[nodiscard]] DIR* get() const { return dir_; }

private:
    DIR* dir_;
};

struct Level {
    std::string folder;
    std::vector<std::string> subFolders; // names, in listing order
    std::size_t next = 0;
};

class Search {
public:
    Search(const FoundFile& found, const KeepResponsive& keep, std::size_t maxSubFolders)
        : found_(found), keep_(keep), maxSubFolders_(maxSubFolders) {}

    // Lists one folder: its files go out at once, its first sub-folders are kept for later.
    bool list(Level& level) {
        const std::string& folder = level.folder;
        DirHandle dir(folder.c_str());
        if (!dir.get()) {
            ++outcome_.unreadable;
            return true;
        }
        std::size_t subFolderCount = 0;
        const bool endsWithSlash = !folder.empty() && folder.back() == '/';
        for (;;) {
            errno = 0;
            const dirent* entry = ::readdir(dir.get());
            if (!entry) {
                // The end, or a folder that failed half-way: keep what it gave.
                if (errno != 0)
                    ++outcome_.unreadable;
                break;
            }
            const char* name = entry->d_name;
            if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
                continue;
            if (IsOwnWorkingFile(name))
                continue;
            path_.assign(folder);
            if (!endsWithSlash)
                path_ += '/';
            path_ += name;
            switch (Classify(dir.get(), *entry)) {
            case EntryKind::File:
                found_(path_);
                break;
            case EntryKind::Folder:
                if (++subFolderCount <= maxSubFolders_)
                    level.subFolders.emplace_back(name);
                else
                    ++outcome_.overLimit;
                break;
            case EntryKind::Other:
                break;
            }
            if (keep_ && !keep_()) {
                outcome_.finished = false;
                return false;
            }
        }
        return true;
    }

    [[nodiscard]] const SearchOutcome& outcome() const { return outcome_; }

private:
    const FoundFile& found_;
    const KeepResponsive& keep_;
    const std::size_t maxSubFolders_;
    SearchOutcome outcome_;
    std::string path_; // reused, so found files cost no allocation here
};

} // namespace

void SearchOutcome::add(const SearchOutcome& other) {
    finished = finished && other.finished;
    overLimit += other.overLimit;
    unreadable += other.unreadable;
}

SearchOutcome SearchFolder(const std::filesystem::path& folder, const FoundFile& found,
                           const KeepResponsive& keepResponsive, std::size_t maxSubFolders) {
    if (folder.empty())
        return {};
    Search search(found, keepResponsive, maxSubFolders);
    // An explicit stack instead of recursion: deep trees cannot exhaust the call stack.
    std::vector<Level> stack(1);
    stack.back().folder = folder.native();
    if (!search.list(stack.back()))
        return search.outcome();
    while (!stack.empty()) {
        Level& top = stack.back();
        if (top.next == top.subFolders.size()) {
            stack.pop_back();
            continue;
        }
        std::string subFolder = top.folder;
        if (subFolder.back() != '/')
            subFolder += '/';
        subFolder += top.subFolders[top.next];
        // Its name is no longer needed: only what is still to do stays held.
        std::string().swap(top.subFolders[top.next++]);
        stack.emplace_back().folder = std::move(subFolder);
        if (!search.list(stack.back()))
            break;
    }
    return search.outcome();
}

std::string LeftOutText(const SearchOutcome& outcome, std::size_t maxSubFolders) {
    std::string text;
    if (outcome.overLimit > 0)
        text = translation::Fill(
            outcome.overLimit == 1
                ? PK_TR("FolderSearch", "1 sub-folder was left out, with everything below it: "
                                        "only the first %2 sub-folders of any one folder are "
                                        "searched.")
                : PK_TR("FolderSearch", "%1 sub-folders were left out, with everything below "
                                        "them: only the first %2 sub-folders of any one folder "
                                        "are searched."),
            {std::to_string(outcome.overLimit), std::to_string(maxSubFolders)});
    if (outcome.unreadable > 0) {
        if (!text.empty())
            text += '\n';
        text += translation::Fill(
            outcome.unreadable == 1
                ? PK_TR("FolderSearch",
                        "1 folder could not be read; its files are not in the list.")
                : PK_TR("FolderSearch",
                        "%1 folders could not be read; their files are not in the list."),
            {std::to_string(outcome.unreadable)});
    }
    return text;
}
