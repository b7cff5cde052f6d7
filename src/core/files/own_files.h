#pragma once

#include <string_view>

// The sync record a run keeps in its output folder, with SQLite's companions beside it.
inline constexpr std::string_view kSyncRecordName = ".pelkora-sync.sqlite";

// Files the program keeps for itself among outputs: never sources, also when an output
// folder lies inside a folder being converted.
[[nodiscard]] inline bool IsOwnWorkingFile(std::string_view name) {
    if (!name.starts_with(kSyncRecordName))
        return false;
    name.remove_prefix(kSyncRecordName.size());
    return name.empty() || name == "-wal" || name == "-shm" || name == "-journal";
}
