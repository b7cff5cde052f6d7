#include "fd_io.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

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
    ReadMask mask;
};

// Applies the mask to `size` bytes read from `position`.
void Mask(const ReadMask& mask, std::int64_t position, std::uint8_t* buffer, std::int64_t size) {
    const std::int64_t end = position + size;
    const std::int64_t zeroFrom = std::max(mask.zeroFrom, position);
    const std::int64_t zeroTo = std::min(mask.zeroTo, end);
    if (mask.zeroFrom >= 0 && zeroFrom < zeroTo)
        std::memset(buffer + (zeroFrom - position), 0, static_cast<std::size_t>(zeroTo - zeroFrom));
    for (const ReadMask::Patch& patch : mask.patches) {
        for (std::int64_t i = 0; patch.at >= 0 && i < 4; ++i) {
            const std::int64_t at = patch.at + i;
            if (at >= position && at < end)
                buffer[at - position] = patch.bytes[static_cast<std::size_t>(i)];
        }
    }
}

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
        Mask(file->mask, file->position, buffer, got);
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

AvioPtr MakeIo(int fd, bool write, const ReadMask& mask = {}) {
    auto* buffer = static_cast<unsigned char*>(av_malloc(kBufferSize));
    auto* position = static_cast<FdPosition*>(av_mallocz(sizeof(FdPosition)));
    if (!buffer || !position) {
        av_free(buffer);
        av_free(position);
        return nullptr;
    }
    position->fd = fd;
    position->mask = mask;
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

AvioPtr ReadIo(int fd, const ReadMask& mask) {
    return MakeIo(fd, false, mask);
}

AvioPtr WriteIo(int fd) {
    return MakeIo(fd, true);
}

} // namespace conv
