#include "source.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>

namespace conv {

namespace {

Status NotRegular(const std::string& path, mode_t mode) {
    if (S_ISDIR(mode))
        return Fail(path, "not a regular file (it is a folder)");
    if (S_ISFIFO(mode))
        return Fail(path, "not a regular file (it is a named pipe)");
    if (S_ISSOCK(mode))
        return Fail(path, "not a regular file (it is a socket)");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return Fail(path, "not a regular file (it is a device)");
    return Fail(path, "not a regular file");
}

Status CannotOpen(const std::string& path, int err) {
    if (err == ENOENT || err == ENOTDIR)
        return Fail(path, "the file does not exist");
    return Fail(path, "cannot open the file: " + DescribeErrno(err));
}

} // namespace

Status OpenSource(const std::string& path, UniqueFd& fd) {
    // Looked at first, so that no device or pipe is ever opened (a tape would rewind).
    struct stat info = {};
    if (::stat(path.c_str(), &info) != 0)
        return CannotOpen(path, errno);
    if (!S_ISREG(info.st_mode))
        return NotRegular(path, info.st_mode);

    // Non-blocking in case the name was swapped for a pipe in between; fstat tells.
    UniqueFd opened(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!opened.valid())
        return errno == ENXIO ? NotRegular(path, S_IFSOCK) : CannotOpen(path, errno);
    if (::fstat(opened.get(), &info) != 0)
        return CannotOpen(path, errno);
    if (!S_ISREG(info.st_mode))
        return NotRegular(path, info.st_mode);
    if (info.st_size == 0)
        return Fail(path, "the file is empty");
    const int flags = ::fcntl(opened.get(), F_GETFL);
    if (flags >= 0)
        ::fcntl(opened.get(), F_SETFL, flags & ~O_NONBLOCK);
    fd = std::move(opened);
    return std::nullopt;
}

} // namespace conv
