#pragma once

#include <cstdint>
#include <memory>

extern "C" {
#include <libavformat/avio.h>
}

namespace conv {

// A file descriptor that closes itself.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    ~UniqueFd() { reset(); }
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    [[nodiscard]] int get() const { return fd_; }
    [[nodiscard]] bool valid() const { return fd_ >= 0; }
    int release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }
    void reset(int fd = -1);

private:
    int fd_ = -1;
};

struct AvioFree {
    void operator()(AVIOContext* p) const;
};
// An I/O context on a descriptor the caller keeps open (and closes) itself.
using AvioPtr = std::unique_ptr<AVIOContext, AvioFree>;

// Reads from the start of the file with positioned reads, so the descriptor's own offset
// does not matter. Null when memory runs out.
[[nodiscard]] AvioPtr ReadIo(int fd);
// The same, reading one byte of the file as another value.
[[nodiscard]] AvioPtr ReadIo(int fd, std::int64_t changedOffset, std::uint8_t changedValue);
// Writes from the start of the file; seekable, as some containers rewrite their header.
[[nodiscard]] AvioPtr WriteIo(int fd);

} // namespace conv
