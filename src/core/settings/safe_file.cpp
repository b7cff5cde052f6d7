#include "core/settings/safe_file.h"

#include "core/text/translate.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace settings {
namespace {

WriteResult failure(const std::filesystem::path& path, const char* what, int err) {
    std::string message =
        translation::Fill(PK_TR("SafeFile", "Cannot save %1: %2"),
                          {path.string(), translation::Translate("SafeFile", what)});
    if (err != 0) {
        message += " (";
        message += std::strerror(err);
        message += ")";
    }
    return {false, std::move(message)};
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// A temporary file beside the target, created with the usual 0666 less umask: a rewritten
// settings file must not inherit a mode that locks its next reader out.
int createTemporary(const std::filesystem::path& folder, const std::filesystem::path& name,
                    std::string& temp) {
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[17];
        std::snprintf(suffix, sizeof suffix, "%016llx", static_cast<unsigned long long>(random()));
        temp = (folder / (name.string() + "." + suffix)).string();
        const int fd =
            ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

struct FdCloser {
    int fd;
    ~FdCloser() { ::close(fd); }
};

void syncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

FileRead ReadSettingsFile(const std::filesystem::path& path, std::size_t maxBytes,
                          LongFile longFile) {
    const auto failed = [](int err) {
        const bool missing = err == ENOENT || err == ENOTDIR;
        return FileRead{missing ? FileState::Missing : FileState::Unreadable, {}, err};
    };
    // Opening a pipe for reading waits for a writer, and a device may answer forever: only an
    // ordinary file is opened at all.
    struct stat st = {};
    if (::stat(path.c_str(), &st) != 0)
        return failed(errno);
    if (!S_ISREG(st.st_mode))
        return {FileState::NotOrdinary, {}, 0};
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return failed(errno);
    const FdCloser closer{fd};
    if (::fstat(fd, &st) != 0)
        return failed(errno);
    if (!S_ISREG(st.st_mode))
        return {FileState::NotOrdinary, {}, 0};
    if (longFile == LongFile::Refuse && static_cast<std::uintmax_t>(st.st_size) > maxBytes)
        return {FileState::TooLarge, {}, 0};

    // One byte past the limit tells a file that grew since fstat from one that fits.
    const std::size_t limit = longFile == LongFile::Refuse ? maxBytes + 1 : maxBytes;
    FileRead read{FileState::Read, {}, 0};
    read.bytes.resize(std::min<std::size_t>(limit, static_cast<std::size_t>(st.st_size) + 1));
    std::size_t have = 0;
    for (;;) {
        if (have == read.bytes.size()) {
            if (have == limit)
                break;
            read.bytes.resize(std::min(limit, have + 65536));
        }
        const ssize_t n = ::read(fd, read.bytes.data() + have, read.bytes.size() - have);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return failed(errno);
        if (n == 0)
            break;
        have += static_cast<std::size_t>(n);
    }
    if (have > maxBytes)
        return {FileState::TooLarge, {}, 0};
    read.bytes.resize(have);
    return read;
}

bool MustBeLeftAlone(FileState state) {
    return state == FileState::NotOrdinary || state == FileState::TooLarge ||
           state == FileState::Unreadable;
}

std::string WhyNotRead(const FileRead& read, std::size_t maxBytes) {
    switch (read.state) {
    case FileState::NotOrdinary:
        return PK_TR("SafeFile", "not an ordinary file");
    case FileState::TooLarge:
        return translation::Fill(PK_TR("SafeFile", "larger than %1 KiB"),
                                 {std::to_string(maxBytes / 1024)});
    case FileState::Unreadable:
        return translation::Fill(PK_TR("SafeFile", "not readable (%1)"),
                                 {std::strerror(read.error)});
    case FileState::Read:
    case FileState::Missing:
        break;
    }
    return {};
}

std::optional<std::string> ReadOrdinaryFile(const std::filesystem::path& path,
                                            std::size_t maxBytes) {
    FileRead read = ReadSettingsFile(path, maxBytes, LongFile::Cut);
    if (read.state != FileState::Read)
        return std::nullopt;
    return std::move(read.bytes);
}

WriteResult ReplaceFileContents(const std::filesystem::path& path, std::string_view bytes) {
    std::filesystem::path folder = path.parent_path();
    if (folder.empty())
        folder = ".";
    std::string temp;
    const int fd = createTemporary(folder, path.filename(), temp);
    if (fd < 0)
        return failure(path, PK_TR_NOOP("SafeFile", "the folder is not writable"), errno);

    // The data is on disk before the rename makes it the file.
    if (!writeAll(fd, bytes) || ::fsync(fd) != 0) {
        const int err = errno;
        ::close(fd);
        ::unlink(temp.c_str());
        return failure(path, PK_TR_NOOP("SafeFile", "writing failed"), err);
    }
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        return failure(path, PK_TR_NOOP("SafeFile", "writing failed"), err);
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        return failure(path, PK_TR_NOOP("SafeFile", "the file could not be replaced"), err);
    }
    syncFolder(folder);
    return {};
}

} // namespace settings
