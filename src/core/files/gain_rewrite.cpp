#include "core/files/gain_rewrite.h"

#include "core/engine/orphan_parts.h"
#include "core/settings/file_descriptor.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>

namespace {

using Fd = FileDescriptor;

std::string Reason(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

// The converter's own temporary form, so a leftover is cleared like the converter's.
std::string TemporaryName(const std::string& name) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device device;
    std::string tag(6, 'x');
    for (char& c : tag)
        c = kLetters[device() % (sizeof kLetters - 1)];
    return orphan_parts::TemporaryName(name, tag);
}

bool CopyAll(int from, int to) {
    for (;;) {
        const ssize_t copied = ::copy_file_range(from, nullptr, to, nullptr, 1 << 30, 0);
        if (copied == 0)
            return true;
        if (copied > 0)
            continue;
        if (errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP)
            return false;
        break; // byte by byte below
    }
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(from, buffer, sizeof buffer);
        if (got == 0)
            return true;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = ::write(to, buffer + done, static_cast<std::size_t>(got - done));
            if (put < 0 && errno != EINTR)
                return false;
            done += put > 0 ? put : 0;
        }
    }
}

} // namespace

std::optional<std::string> RewriteGainTags(const std::string& path,
                                           const gain_tags::GainValues& values) {
    const auto slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir.valid())
        return Reason("cannot open its folder");
    const Fd source(::openat(dir.get(), name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    struct stat before = {};
    if (!source.valid() || ::fstat(source.get(), &before) != 0)
        return Reason("cannot open it");
    if (!S_ISREG(before.st_mode))
        return "it is not a plain file";

    std::string temporary;
    int made = -1;
    for (int attempt = 0; attempt < 100 && made < 0; ++attempt) {
        temporary = TemporaryName(name);
        made = ::openat(dir.get(), temporary.c_str(),
                        O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (made < 0 && errno != EEXIST)
            return Reason("cannot write in its folder");
    }
    const Fd copy(made);
    if (!copy.valid())
        return "cannot find a free temporary name in its folder";
    // Held while written, so that no other run takes the file for a leftover.
    ::flock(copy.get(), LOCK_EX | LOCK_NB);
    const auto fail = [&](std::string why) {
        ::unlinkat(dir.get(), temporary.c_str(), 0);
        return std::optional<std::string>(std::move(why));
    };
    if (!CopyAll(source.get(), copy.get()))
        return fail(Reason("cannot copy it"));
    if (auto error = gain_tags::WriteGainTags(copy.get(), values))
        return fail(*error);
    const timespec times[2] = {before.st_atim, before.st_mtim};
    if (::fchmod(copy.get(), before.st_mode & 07777) != 0 || ::futimens(copy.get(), times) != 0 ||
        ::fsync(copy.get()) != 0)
        return fail(Reason("cannot finish the copy"));

    struct stat now = {};
    if (::fstatat(dir.get(), name.c_str(), &now, AT_SYMLINK_NOFOLLOW) != 0 ||
        now.st_ino != before.st_ino || now.st_dev != before.st_dev)
        return fail("it was replaced meanwhile, and left as it is");
    if (::renameat(dir.get(), temporary.c_str(), dir.get(), name.c_str()) != 0)
        return fail(Reason("cannot put the new tags in place"));
    ::fsync(dir.get());
    return std::nullopt;
}
