#include "orphan_parts.h"

#include "core/settings/file_descriptor.h"

#include <cctype>
#include <string>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orphan_parts {

namespace {

constexpr std::string_view kTagMark = ".conv-";
constexpr std::string_view kSuffix = ".part";
constexpr std::size_t kTagLength = 6;

using Fd = FileDescriptor;

// Removes one candidate when it is a regular file nobody holds, and the name still leads to
// the file that was checked.
bool RemoveIfOrphaned(int folder, const char* name) {
    const Fd file(::openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (file.get() < 0)
        return false;
    struct stat held = {};
    if (::fstat(file.get(), &held) != 0 || !S_ISREG(held.st_mode))
        return false;
    if (::flock(file.get(), LOCK_EX | LOCK_NB) != 0)
        return false; // a converter is writing it
    struct stat named = {};
    if (::fstatat(folder, name, &named, AT_SYMLINK_NOFOLLOW) != 0 || named.st_dev != held.st_dev ||
        named.st_ino != held.st_ino)
        return false;
    // Removed while the lock is held, so a converter that took this name meanwhile sees it go.
    return ::unlinkat(folder, name, 0) == 0;
}

} // namespace

std::string TemporaryName(const std::string& name, const std::string& tag) {
    // Within the file system's 255-byte limit for a name.
    const std::size_t room = 255 - 1 - kTagMark.size() - kTagLength - kSuffix.size();
    return "." + name.substr(0, room) + std::string(kTagMark) + tag + std::string(kSuffix);
}

bool IsTemporaryName(const std::string& name) {
    // "." + at least one character + ".conv-" + six letters or digits + ".part"
    const std::size_t tail = kTagMark.size() + kTagLength + kSuffix.size();
    if (name.size() < 2 + tail || name[0] != '.' || !name.ends_with(kSuffix))
        return false;
    const std::size_t mark = name.size() - tail;
    if (name.compare(mark, kTagMark.size(), kTagMark) != 0)
        return false;
    for (std::size_t i = mark + kTagMark.size(); i < name.size() - kSuffix.size(); ++i)
        if (!std::isalnum(static_cast<unsigned char>(name[i])))
            return false;
    return true;
}

int RemoveOrphanedParts(const std::filesystem::path& folder) {
    const Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() < 0)
        return 0;
    // The listing reads its own descriptor, so the folder is the one opened above.
    DIR* listing = ::fdopendir(::dup(dir.get()));
    if (!listing)
        return 0;
    int removed = 0;
    while (const dirent* entry = ::readdir(listing)) {
        if (IsTemporaryName(entry->d_name) && RemoveIfOrphaned(dir.get(), entry->d_name))
            ++removed;
    }
    ::closedir(listing);
    return removed;
}

} // namespace orphan_parts
