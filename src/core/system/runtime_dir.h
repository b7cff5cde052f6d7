#pragma once

#include <string>

// The user's private folders for sockets and locks. No Qt: the runtime folder is settled
// before the application object exists.
namespace platform {

// A real folder (not a link) owned by this user and closed to everyone else.
[[nodiscard]] bool IsPrivateFolder(const std::string& path);

// ${TMPDIR:-/tmp}/pelkora-UID, made with mode 0700 when missing; empty when what is there
// cannot be trusted (a link, someone else's, open to others) or nothing can be made.
[[nodiscard]] std::string OwnPrivateFolder();

// $XDG_RUNTIME_DIR when it is private, else OwnPrivateFolder(); empty when neither serves.
[[nodiscard]] std::string PrivateRuntimeFolder();

// Where XDG_RUNTIME_DIR is unset or empty, sets it for this process (and the converters it
// starts) to OwnPrivateFolder(). Without it Qt warns at every start and picks a folder of
// its own. Returns the value set, empty when nothing was set.
std::string ProvideRuntimeDir();

} // namespace platform
