#pragma once

#include "conv_protocol/utf8.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace conv_protocol {

// Keeps a text on one line and harmless to a terminal: control characters (C1 too) and bytes
// that are not UTF-8 become \xNN. A backslash before an "x" becomes \x5C, so an escaped text
// always reads back as the bytes it came from.
[[nodiscard]] inline std::string EscapeForLine(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        const std::size_t length = DecodeUtf8At(text, i).length;
        const bool c1 = length == 2 && c == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0;
        const bool ambiguous = c == '\\' && i + 1 < text.size() && text[i + 1] == 'x';
        if (length == 0 || c < 0x20 || c == 0x7F || c1 || ambiguous) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
            ++i;
            continue;
        }
        out.append(text.substr(i, length));
        i += length;
    }
    return out;
}

// The bytes an escaped text came from.
[[nodiscard]] inline std::string UnescapeLine(std::string_view text) {
    const auto digit = [](char c) {
        return c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    };
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.substr(i, 2) == "\\x" && i + 3 < text.size() && digit(text[i + 2]) >= 0 &&
            digit(text[i + 3]) >= 0) {
            out += static_cast<char>(digit(text[i + 2]) * 16 + digit(text[i + 3]));
            i += 3;
            continue;
        }
        out += text[i];
    }
    return out;
}

} // namespace conv_protocol
