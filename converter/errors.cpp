#include "errors.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>

extern "C" {
#include <libavutil/error.h>
}

namespace conv {

std::string DescribeErrno(int err) {
    switch (err) {
    case ENOENT:
        return "it does not exist";
    case EACCES:
    case EPERM:
        return "permission denied";
    case ENOSPC:
        return "the disk is full";
    case EFBIG:
        return "the file is too large (disk full or file-size limit reached)";
    case EDQUOT:
        return "the disk quota is exceeded";
    case EROFS:
        return "the disk is read-only";
    case EISDIR:
        return "it is a folder, not a file";
    case ENOTDIR:
        return "a part of the path is not a folder";
    case ENAMETOOLONG:
        return "the name is too long";
    case EIO:
        return "the disk reported an input/output error";
    case ENOMEM:
        return "out of memory";
    default:
        break;
    }
    std::string text = std::strerror(err);
    if (!text.empty())
        text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    return text;
}

std::string DescribeAvError(int err) {
    if (err == AVERROR_EOF)
        return "the file ends unexpectedly";
    if (err == AVERROR_INVALIDDATA)
        return "the data is damaged or not in a recognised format";
    if (err == AVERROR_PATCHWELCOME || err == AVERROR_DECODER_NOT_FOUND ||
        err == AVERROR_DEMUXER_NOT_FOUND)
        return "this kind of media is not supported";
    if (err < 0 && err > -4096)
        return DescribeErrno(-err);
    char buffer[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(err, buffer, sizeof buffer);
    return buffer;
}

namespace {

// Length of the UTF-8 sequence starting at text[i], or 0 when it is not valid UTF-8.
std::size_t Utf8Length(std::string_view text, std::size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    unsigned min = 0;
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        min = 0x10000;
    } else {
        return 0;
    }
    if (i + length > text.size())
        return 0;
    unsigned code = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        const auto c = static_cast<unsigned char>(text[i + k]);
        if ((c & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (c & 0x3F);
    }
    // Overlong forms, surrogates and values past the Unicode range are not valid.
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

} // namespace

std::string EscapeForLine(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        const std::size_t length = Utf8Length(text, i);
        // C1 controls (U+0080 to U+009F) are terminal controls too.
        const bool c1 = length == 2 && c == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0;
        if (length == 0 || c < 0x20 || c == 0x7F || c1) {
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

std::string FailureLine(const Failure& failure) {
    std::string line = "conv: ";
    if (!failure.path.empty())
        line += EscapeForLine(failure.path) + ": ";
    return line + EscapeForLine(failure.reason) + "\n";
}

} // namespace conv
