#pragma once

#include <filesystem>
#include <string>

// Temporary files the converter leaves when it is killed outright. Each converter holds an
// exclusive flock on its own temporary file while it writes it, so one whose lock is free is
// a leftover.
namespace orphan_parts {

// The temporary form of a file name with a six-character tag of letters and digits, for
// other writers whose leftovers are to be cleared the same way.
[[nodiscard]] std::string TemporaryName(const std::string& name, const std::string& tag);

// Whether a file name has the converter's temporary form ".NAME.conv-XXXXXX.part".
[[nodiscard]] bool IsTemporaryName(const std::string& name);

// Removes from one folder (not its subfolders) the regular files of that form that no running
// converter holds; links and everything else stay. Returns how many were removed.
int RemoveOrphanedParts(const std::filesystem::path& folder);

} // namespace orphan_parts
