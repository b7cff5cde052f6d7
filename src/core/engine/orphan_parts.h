#pragma once

#include <filesystem>

// Temporary files the converter leaves when it is killed outright. Each converter holds an
// exclusive flock on its own temporary file while it writes it, so one whose lock is free is
// a leftover.
namespace orphan_parts {

// Whether a file name has the converter's temporary form ".NAME.conv-XXXXXX.part".
[[nodiscard]] bool IsTemporaryName(const std::string& name);

// Removes from one folder (not its subfolders) the regular files of that form that no running
// converter holds; links and everything else stay. Returns how many were removed.
int RemoveOrphanedParts(const std::filesystem::path& folder);

} // namespace orphan_parts
