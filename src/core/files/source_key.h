#pragma once

#include <cstdint>
#include <string>

// A source's name in a library: its path below the folder it was added with, so that the
// library mounted elsewhere, or on another machine, gives the same names; a file added on its
// own is its file name.
[[nodiscard]] std::string SourceKey(const std::string& path, const std::string& root);

// Which of `shares` shares (1 to shares) a source of this key belongs to. A hash of the key's
// bytes that is the same on every machine and in every version of the program.
[[nodiscard]] int ShareOf(const std::string& key, int shares);
