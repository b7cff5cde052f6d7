#pragma once

#include <cstddef>
#include <string_view>

namespace conv_protocol {

struct Utf8Char {
    char32_t code = 0;
    std::size_t length = 0; // 0: not a valid sequence
};

// The character at text[i], as the UTF-8 standard allows it.
[[nodiscard]] inline Utf8Char DecodeUtf8At(std::string_view text, std::size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    char32_t code = 0;
    char32_t least = 0;
    if (lead < 0x80)
        return {lead, 1};
    if (lead >= 0xC2 && lead < 0xE0) {
        length = 2;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead < 0xF0) {
        length = 3;
        code = lead & 0x0F;
        least = 0x800;
    } else if (lead >= 0xF0 && lead < 0xF5) {
        length = 4;
        code = lead & 0x07;
        least = 0x10000;
    } else {
        return {};
    }
    if (i + length > text.size())
        return {};
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80)
            return {};
        code = (code << 6) | (next & 0x3F);
    }
    // Overlong forms could smuggle in a character that was never written; surrogates and
    // values past the last character have no UTF-16 form.
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return {};
    return {code, length};
}

} // namespace conv_protocol
