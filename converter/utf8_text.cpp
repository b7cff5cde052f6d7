#include "utf8_text.h"

#include "conv_protocol/utf8.h"

namespace conv {

namespace {

using conv_protocol::DecodeUtf8At;
using conv_protocol::Utf8Char;

// Where the broken sequence at text[i] ends: its first byte and the continuation bytes after.
std::size_t SkipBroken(std::string_view text, std::size_t i) {
    ++i;
    while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80)
        ++i;
    return i;
}

// Each character of `text` through `whole`, each broken sequence once through `broken`.
template <typename Whole, typename Broken>
std::string Rewrite(std::string_view text, Whole whole, Broken broken) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const Utf8Char c = DecodeUtf8At(text, i);
        if (c.length == 0) {
            broken(out);
            i = SkipBroken(text, i);
            continue;
        }
        whole(out, text.substr(i, c.length), c.code);
        i += c.length;
    }
    return out;
}

} // namespace

std::string ValidUtf8(std::string_view text) {
    const auto keep = [](std::string& out, std::string_view bytes, char32_t) { out.append(bytes); };
    const auto mark = [](std::string& out) { out += "\xEF\xBF\xBD"; };
    return Rewrite(text, keep, mark);
}

std::string Utf8ToLatin1(std::string_view text) {
    const auto narrow = [](std::string& out, std::string_view, char32_t code) {
        out += code <= 0xFF ? static_cast<char>(code) : '?';
    };
    // One mark for the whole broken sequence.
    const auto mark = [](std::string& out) { out += '?'; };
    return Rewrite(text, narrow, mark);
}

std::size_t Utf16Prefix(std::string_view text, std::size_t maxUnits) {
    std::size_t units = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const Utf8Char c = DecodeUtf8At(text, i);
        const std::size_t length = c.length > 0 ? c.length : 1;
        // Characters beyond the BMP take two units.
        const std::size_t need = c.code > 0xFFFF ? 2 : 1;
        if (units + need > maxUnits)
            break;
        units += need;
        i += length;
    }
    return i;
}

std::string ShortenForNote(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes)
        return std::string(text);
    std::size_t end = maxBytes;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return std::string(text.substr(0, end)) + "\xE2\x80\xA6";
}

} // namespace conv
