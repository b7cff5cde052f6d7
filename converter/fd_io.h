#pragma once

#include <array>
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
// Bytes that a reader sees otherwise than the file holds them.
struct ReadMask {
    std::int64_t zeroFrom = -1; // [zeroFrom, zeroTo) reads as zeros
    std::int64_t zeroTo = -1;
    struct Patch {
        std::int64_t at = -1; // four bytes from here read as `bytes`
        std::array<std::uint8_t, 4> bytes{};
    };
    std::array<Patch, 2> patches;
};
// The same, seeing the file through `mask`.
[[nodiscard]] AvioPtr ReadIo(int fd, const ReadMask& mask);
// Writes from the start of the file; seekable, as some containers rewrite their header.
[[nodiscard]] AvioPtr WriteIo(int fd);

} // namespace conv
