#include "flac_comments.h"

#include <cerrno>
#include <string>
#include <string_view>

#include <unistd.h>

namespace conv {

namespace {

constexpr std::uint8_t kCommentBlock = 4;
constexpr std::uint8_t kPaddingBlock = 1;
constexpr std::uint8_t kLastBlockFlag = 0x80;

bool ReadAt(int fd, std::int64_t offset, void* buffer, std::size_t size) {
    auto* bytes = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got =
            ::pread(fd, bytes + done, size - done, static_cast<off_t>(offset) + done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        done += static_cast<std::size_t>(got);
    }
    return true;
}

// Reads the little-endian lengths of a comment block without running past its end.
class BlockReader {
public:
    explicit BlockReader(std::string_view data) : data_(data) {}

    bool length(std::uint32_t& value) {
        if (data_.size() - at_ < 4)
            return false;
        const auto* b = reinterpret_cast<const unsigned char*>(data_.data() + at_);
        value = b[0] | (b[1] << 8) | (b[2] << 16) | (std::uint32_t{b[3]} << 24);
        at_ += 4;
        return true;
    }
    bool text(std::uint32_t size, std::string_view& value) {
        if (data_.size() - at_ < size)
            return false;
        value = data_.substr(at_, size);
        at_ += size;
        return true;
    }

private:
    std::string_view data_;
    std::size_t at_ = 0;
};

std::optional<FloodedComments> ParseComments(std::string_view block) {
    BlockReader reader(block);
    std::uint32_t size = 0, count = 0;
    std::string_view text;
    if (!reader.length(size) || !reader.text(size, text) || !reader.length(count))
        return std::nullopt;
    if (count <= kMaxCarriedTags)
        return std::nullopt; // libavformat reads a few quickly enough, and knows them all
    FloodedComments flood;
    std::size_t bytes = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (!reader.length(size) || !reader.text(size, text)) {
            flood.leftOut += count - i; // cut short: the rest is gone
            break;
        }
        const std::size_t equals = text.find('=');
        if (equals == 0 || equals == std::string_view::npos)
            continue;
        if (flood.tags.size() >= kMaxCarriedTags || bytes + text.size() > kMaxCarriedTagBytes) {
            ++flood.leftOut;
            continue;
        }
        bytes += text.size();
        Tag tag{std::string(text.substr(0, equals)), std::string(text.substr(equals + 1))};
        for (char& c : tag.key)
            c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        flood.tags.push_back(std::move(tag));
    }
    return flood;
}

} // namespace

std::optional<FloodedComments> ReadFloodedFlacComments(int fd, std::int64_t start) {
    char magic[4];
    if (start < 0 || !ReadAt(fd, start, magic, sizeof magic) ||
        std::string_view(magic, 4) != "fLaC")
        return std::nullopt;
    std::int64_t at = start + 4;
    for (;;) {
        unsigned char header[4];
        if (!ReadAt(fd, at, header, sizeof header))
            return std::nullopt;
        const std::uint32_t length = (header[1] << 16) | (header[2] << 8) | header[3];
        if ((header[0] & ~kLastBlockFlag) == kCommentBlock) {
            std::string block(length, '\0');
            if (!ReadAt(fd, at + 4, block.data(), block.size()))
                return std::nullopt;
            auto flood = ParseComments(block);
            if (flood) {
                flood->typeOffset = at;
                flood->hiddenType =
                    static_cast<std::uint8_t>((header[0] & kLastBlockFlag) | kPaddingBlock);
            }
            return flood;
        }
        if (header[0] & kLastBlockFlag)
            return std::nullopt;
        at += 4 + static_cast<std::int64_t>(length);
    }
}

} // namespace conv
