#include "core/files/path_text.h"

std::string ParsePath(std::string_view path, char separator) {
    const bool driveColonEnds = separator == '\\';
    for (std::size_t i = path.size(); i > 0; --i) {
        const char c = path[i - 1];
        if (c == separator || (driveColonEnds && c == ':'))
            return std::string(path.substr(0, i));
    }
    return {};
}
