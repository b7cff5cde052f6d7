#pragma once

#include <string>
#include <string_view>

// Folder part of a path: everything up to and including the last separator, or empty when
// there is none. With the Windows separator a drive colon also ends the folder part, so
// "C:a.mp3" gives "C:"; on Linux a colon or backslash is an ordinary character of a name.
[[nodiscard]] std::string ParsePath(std::string_view path, char separator = '/');
