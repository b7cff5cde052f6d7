#include "wav_length.h"

#include <array>
#include <cstring>

#include <unistd.h>

namespace conv {

namespace {

std::uint32_t Le32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

} // namespace

std::optional<std::int64_t> WavDataBytes(int fd) {
    std::array<unsigned char, 12> riff{};
    if (::pread(fd, riff.data(), riff.size(), 0) != static_cast<ssize_t>(riff.size()) ||
        std::memcmp(riff.data(), "RIFF", 4) != 0 || std::memcmp(riff.data() + 8, "WAVE", 4) != 0)
        return std::nullopt;
    std::int64_t offset = 12;
    // A real file has a handful of chunks before its data.
    for (int chunk = 0; chunk < 64; ++chunk) {
        std::array<unsigned char, 8> header{};
        if (::pread(fd, header.data(), header.size(), offset) != 8)
            return std::nullopt;
        const std::uint32_t size = Le32(header.data() + 4);
        if (std::memcmp(header.data(), "data", 4) == 0) {
            // Unknown lengths of streamed files.
            if (size == 0 || size == 0xFFFFFFFF)
                return std::nullopt;
            return size;
        }
        offset += 8 + static_cast<std::int64_t>(size) + (size & 1);
    }
    return std::nullopt;
}

} // namespace conv
