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

// What was found where a settings file belongs.
enum class FileState {
    Read,        // the bytes are the file's
    Missing,     // nothing there: the first start
    NotOrdinary, // a folder, pipe or device: never read from, so it cannot hold the reader up
    TooLarge,    // longer than the limit, where a cut file would not do
    Unreadable,  // there, but it cannot be read
};

struct FileRead {
    FileState state = FileState::Missing;
    std::string bytes;
    int error = 0; // errno, for Unreadable
};

// What to do with a file longer than the limit: read its beginning, or not at all.
enum class LongFile { Cut, Refuse };

// Reads an ordinary file, at most maxBytes of it. Anything else at the path is not read from,
// and a pipe swapped in at the last moment does not block the open.
[[nodiscard]] FileRead ReadSettingsFile(const std::filesystem::path& path, std::size_t maxBytes,
                                        LongFile longFile);

// Something is there that could not be read: it must not be replaced by defaults.
[[nodiscard]] bool MustBeLeftAlone(FileState state);

// Why a file left alone was not read, e.g. "not an ordinary file".
[[nodiscard]] std::string WhyNotRead(const FileRead& read, std::size_t maxBytes);

// The bytes of an ordinary file, at most maxBytes of them (a longer file is cut there);
// nothing when there is no ordinary file at the path or it cannot be read.
[[nodiscard]] std::optional<std::string> ReadOrdinaryFile(const std::filesystem::path& path,
                                                          std::size_t maxBytes);

// Replaces the file with the bytes in one step: written to a temporary file beside it and
// renamed over it, so a failure at any point leaves the old file (or no file) untouched.
// The file gets the usual mode (0666 less umask), whatever mode the old one had.
WriteResult ReplaceFileContents(const std::filesystem::path& path, std::string_view bytes);

} // namespace settings
