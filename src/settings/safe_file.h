#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace settings {

// Outcome of a write that a caller may want to report; ok == false leaves the old file as it was.
struct [[nodiscard]] WriteResult {
    bool ok = true;
    std::string error; // plain English, names the file

    explicit operator bool() const { return ok; }
};

// The bytes of an ordinary file, at most maxBytes of them (a longer file is cut there);
// nothing when there is no ordinary file at the path or it cannot be read.
[[nodiscard]] std::optional<std::string> ReadOrdinaryFile(const std::filesystem::path& path,
                                                          std::size_t maxBytes);

// Replaces the file with the bytes in one step: written to a temporary file beside it and
// renamed over it, so a failure at any point leaves the old file (or no file) untouched.
// The file gets the usual mode (0666 less umask), whatever mode the old one had.
WriteResult ReplaceFileContents(const std::filesystem::path& path, std::string_view bytes);

} // namespace settings
