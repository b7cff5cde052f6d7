#include "core/system/runtime_dir.h"

#include <cstdlib>

#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

} // namespace

bool IsPrivateFolder(const std::string& path) {
    struct stat st = {};
    return !path.empty() && ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
           st.st_uid == ::geteuid() && (st.st_mode & 077) == 0;
}

std::string OwnPrivateFolder() {
    std::string temp = environment("TMPDIR");
    while (temp.size() > 1 && temp.back() == '/')
        temp.pop_back();
    if (temp.empty())
        temp = "/tmp";
    const std::string own = temp + "/pelkora-" + std::to_string(::geteuid());
    (void)::mkdir(own.c_str(), 0700); // it may be there already; checked below either way
    return IsPrivateFolder(own) ? own : std::string();
}

std::string PrivateRuntimeFolder() {
    const std::string runtime = environment("XDG_RUNTIME_DIR");
    if (IsPrivateFolder(runtime))
        return runtime;
    return OwnPrivateFolder();
}

std::string ProvideRuntimeDir() {
    if (!environment("XDG_RUNTIME_DIR").empty())
        return {};
    const std::string own = OwnPrivateFolder();
    if (own.empty() || ::setenv("XDG_RUNTIME_DIR", own.c_str(), 1) != 0)
        return {};
    return own;
}

} // namespace platform
