#include "fd_io.h"

#include <cerrno>
#include <cstdint>

#include <sys/stat.h>
#include <unistd.h>

extern "C" {
#include <libavformat/version.h>
#include <libavutil/error.h>
#include <libavutil/mem.h>
}

namespace conv {

namespace {

// Large enough that a long file takes few system calls.
constexpr int kBufferSize = 64 * 1024;

// The opaque pointer of both directions.
struct FdPosition {
    int fd;
    std::int64_t position = 0;
    // A byte read as another value, if any.
    std::int64_t changedOffset = -1;
    std::uint8_t changedValue = 0;
};

int ReadPacket(void* opaque, std::uint8_t* buffer, int size) {
    auto* file = static_cast<FdPosition*>(opaque);
    for (;;) {
        const ssize_t got = ::pread(file->fd, buffer, static_cast<size_t>(size), file->position);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return AVERROR(errno);
        if (got == 0)
            return AVERROR_EOF;
        if (file->changedOffset >= file->position && file->changedOffset < file->position + got)
            buffer[file->changedOffset - file->position] = file->changedValue;
        file->position += got;
        return static_cast<int>(got);
    }
}

// Not const: the callback type of this libavformat version.
// FFmpeg 7 passes the buffer as const; older releases do not.
#if LIBAVFORMAT_VERSION_MAJOR >= 61
using WriteBuffer = const std::uint8_t*;
#else
using WriteBuffer = std::uint8_t*;
#endif

int WritePacket(void* opaque, WriteBuffer buffer, int size) {
    auto* file = static_cast<FdPosition*>(opaque);
    int done = 0;
    while (done < size) {
        const ssize_t put =
            ::pwrite(file->fd, buffer + done, static_cast<size_t>(size - done), file->position);
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0)
            return AVERROR(errno);
        if (put == 0)
            return AVERROR(EIO);
        file->position += put;
        done += static_cast<int>(put);
    }
    return done;
}

std::int64_t Seek(void* opaque, std::int64_t offset, int whence) {
    auto* file = static_cast<FdPosition*>(opaque);
    struct stat info = {};
    switch (whence & ~AVSEEK_FORCE) {
    case AVSEEK_SIZE:
        if (::fstat(file->fd, &info) != 0)
            return AVERROR(errno);
        return info.st_size;
    case SEEK_SET:
        break;
    case SEEK_CUR:
        offset += file->position;
        break;
    case SEEK_END:
        if (::fstat(file->fd, &info) != 0)
            return AVERROR(errno);
        offset += info.st_size;
        break;
    default:
        return AVERROR(EINVAL);
    }
    if (offset < 0)
        return AVERROR(EINVAL);
    file->position = offset;
    return offset;
}

AvioPtr MakeIo(int fd, bool write, std::int64_t changedOffset = -1, std::uint8_t changedValue = 0) {
    auto* buffer = static_cast<unsigned char*>(av_malloc(kBufferSize));
    auto* position = static_cast<FdPosition*>(av_mallocz(sizeof(FdPosition)));
    if (!buffer || !position) {
        av_free(buffer);
        av_free(position);
        return nullptr;
    }
    position->fd = fd;
    position->changedOffset = changedOffset;
    position->changedValue = changedValue;
    AVIOContext* io =
        avio_alloc_context(buffer, kBufferSize, write ? 1 : 0, position,
                           write ? nullptr : ReadPacket, write ? WritePacket : nullptr, Seek);
    if (!io) {
        av_free(buffer);
        av_free(position);
        return nullptr;
    }
    return AvioPtr(io);
}

} // namespace

void UniqueFd::reset(int fd) {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = fd;
}

void AvioFree::operator()(AVIOContext* p) const {
    av_freep(&p->opaque);
    av_freep(&p->buffer);
    avio_context_free(&p);
}

AvioPtr ReadIo(int fd) {
    return MakeIo(fd, false);
}

AvioPtr ReadIo(int fd, std::int64_t changedOffset, std::uint8_t changedValue) {
    return MakeIo(fd, false, changedOffset, changedValue);
}

AvioPtr WriteIo(int fd) {
    return MakeIo(fd, true);
}

} // namespace conv
