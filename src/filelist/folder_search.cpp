#include "filelist/folder_search.h"

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
    std::vector<std::string> subFolders;
    std::size_t next = 0;
};

class Search {
public:
    Search(const FoundFile& found, const KeepResponsive& keep) : found_(found), keep_(keep) {}

    // Lists one folder: its files go out at once, its first sub-folders are kept for later.
    bool list(const std::string& folder, Level& level) {
        DirHandle dir(folder.c_str());
        if (!dir.get())
            return true;
        std::size_t subFolderCount = 0;
        const bool endsWithSlash = !folder.empty() && folder.back() == '/';
        for (;;) {
            errno = 0;
            const dirent* entry = ::readdir(dir.get());
            if (!entry)
                break; // the end, or a folder that failed half-way: keep what it gave
            const char* name = entry->d_name;
            if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
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
                if (++subFolderCount <= kMaxSearchedSubFolders)
                    level.subFolders.push_back(path_);
                break;
            case EntryKind::Other:
                break;
            }
            if (keep_ && !keep_())
                return false;
        }
        return true;
    }

private:
    const FoundFile& found_;
    const KeepResponsive& keep_;
    std::string path_; // reused, so found files cost no allocation here
};

} // namespace

bool SearchFolder(const std::filesystem::path& folder, const FoundFile& found,
                  const KeepResponsive& keepResponsive) {
    if (folder.empty())
        return true;
    Search search(found, keepResponsive);
    // An explicit stack instead of recursion: deep trees cannot exhaust the call stack.
    std::vector<Level> stack(1);
    if (!search.list(folder.native(), stack.back()))
        return false;
    while (!stack.empty()) {
        Level& top = stack.back();
        if (top.next == top.subFolders.size()) {
            stack.pop_back();
            continue;
        }
        const std::string subFolder = std::move(top.subFolders[top.next++]);
        stack.emplace_back();
        if (!search.list(subFolder, stack.back()))
            return false;
    }
    return true;
}
