#include "errors.h"

#include <cctype>
#include <cerrno>
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

} // namespace conv
