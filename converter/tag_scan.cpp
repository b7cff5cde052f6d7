#include "tag_scan.h"

#include "tags.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

extern "C" {
#include <libavutil/crc.h>
}

namespace conv {

namespace {

constexpr int kId3HeaderBytes = 10;
constexpr std::uint32_t kMaxId3FrameBytes = 1u << 28;
// Frame flags as libavformat reads them, for versions 3 and 4 alike.
constexpr unsigned kFrameEncrypted = 0x0004;
constexpr unsigned kFrameCompressed = 0x0008;
constexpr unsigned kFrameDataLength = 0x0001;
constexpr int kFlacPictureBlock = 6;
constexpr int kFlacCommentBlock = 4;
constexpr unsigned kTagUnsynchronised = 0x80;
// How FLAC in OGG starts: 0x7F, then its name.
constexpr char kOggFlacMark[] = "\177FLAC";

// Positioned reads through a small window, so that walking many small frames stays cheap.
class FileWindow {
public:
    FileWindow(int fd, std::int64_t size) : fd_(fd), size_(size) {}
    // False when the bytes are not all in the file.
    bool read(std::int64_t at, void* out, std::size_t n) {
        if (at < 0 || at + static_cast<std::int64_t>(n) > size_)
            return false;
        if (at < start_ || at + static_cast<std::int64_t>(n) > start_ + filled_) {
            buffer_.resize(kWindowBytes);
            filled_ = 0;
            start_ = at;
            for (;;) {
                const ssize_t got = ::pread(fd_, buffer_.data(), buffer_.size(), at);
                if (got < 0 && errno == EINTR)
                    continue;
                if (got < static_cast<ssize_t>(n))
                    return false;
                filled_ = got;
                break;
            }
        }
        std::memcpy(out, buffer_.data() + (at - start_), n);
        return true;
    }
    [[nodiscard]] std::int64_t size() const { return size_; }

private:
    static constexpr std::size_t kWindowBytes = 64 * 1024;
    int fd_;
    std::int64_t size_;
    std::vector<unsigned char> buffer_;
    std::int64_t start_ = 0;
    std::int64_t filled_ = 0;
};

std::uint32_t Be32(const unsigned char* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
           p[3];
}

std::uint32_t Synchsafe(const unsigned char* p) {
    return ((p[0] & 0x7Fu) << 21) | ((p[1] & 0x7Fu) << 14) | ((p[2] & 0x7Fu) << 7) | (p[3] & 0x7Fu);
}

// A plain size written as if synchsafe, as some writers of version 4 do.
std::uint32_t AsSynchsafe(std::uint32_t v) {
    const std::array<unsigned char, 4> bytes = {
        static_cast<unsigned char>(v >> 24), static_cast<unsigned char>(v >> 16),
        static_cast<unsigned char>(v >> 8), static_cast<unsigned char>(v)};
    return Synchsafe(bytes.data());
}

// Whether a frame (or padding) starts at `at`; libavformat guesses sizes by this.
bool FrameStartsAt(FileWindow& file, std::int64_t at) {
    unsigned char id[4];
    if (!file.read(at, id, sizeof id))
        return false;
    if (Be32(id) == 0)
        return true;
    for (const unsigned char c : id) {
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    }
    return true;
}

// Walks the frames of one tag the way libavformat does, adding up pictures and what the
// compressed frames would unpack to.
void WalkId3Frames(FileWindow& file, std::int64_t at, std::int64_t length, int version,
                   unsigned tagFlags, LeadingTags& tags, std::size_t& frames) {
    const int headerBytes = version == 2 ? 6 : 10;
    if (version < 2 || version > 4 || (version == 2 && (tagFlags & 0x40)))
        return;
    unsigned char bytes[10];
    if (version > 2 && (tagFlags & 0x40)) { // extended header
        if (!file.read(at, bytes, 4))
            return;
        std::int64_t extended = Synchsafe(bytes);
        if (version == 4)
            extended -= 4;
        if (extended < 0)
            return;
        at += 4 + extended;
        length -= 4 + extended;
    }
    const std::int64_t tagEnd = at + length;
    while (length >= headerBytes) {
        if (!file.read(at, bytes, static_cast<std::size_t>(headerBytes)))
            return;
        std::uint32_t size = 0;
        unsigned flags = 0;
        if (version == 2) {
            size = (std::uint32_t{bytes[3]} << 16) | (std::uint32_t{bytes[4]} << 8) | bytes[5];
        } else {
            size = Be32(bytes + 4);
            if (version == 4 && size > 0x7F) {
                if (size < length) {
                    if (FrameStartsAt(file, at + 10 + AsSynchsafe(size)))
                        size = AsSynchsafe(size);
                    else if (!FrameStartsAt(file, at + 10 + size))
                        return;
                } else {
                    size = AsSynchsafe(size);
                }
            }
            flags = (unsigned{bytes[8]} << 8) | bytes[9];
        }
        if (size > kMaxId3FrameBytes)
            return;
        length -= headerBytes + static_cast<std::int64_t>(size);
        if (length < 0)
            return;
        const std::string_view id(reinterpret_cast<const char*>(bytes), version == 2 ? 3 : 4);
        if (id[0] == '\0')
            return; // padding
        if (++frames > kMaxCarriedTags) {
            // Hidden up to the tag's end, unless a tag before already needed it. Sizes in an
            // unsynchronised tag do not tell where frames lie in the file.
            if (tags.hidden.zeroFrom < 0 && !(tagFlags & kTagUnsynchronised)) {
                tags.hidden.zeroFrom = at;
                tags.hidden.zeroTo = tagEnd;
            }
            if (tags.hidden.zeroFrom >= 0 && at >= tags.hidden.zeroFrom && at < tags.hidden.zeroTo)
                ++tags.tagsHidden;
        }
        if (id == "APIC" || id == "PIC")
            ++tags.pictures;
        std::uint64_t unpacked = 0;
        if ((flags & kFrameCompressed) && !(flags & kFrameEncrypted) &&
            (flags & kFrameDataLength) && size >= 4) {
            unsigned char stated[4];
            if (file.read(at + headerBytes, stated, sizeof stated))
                unpacked = Be32(stated);
        } else if ((flags & kFrameCompressed) && !(flags & kFrameEncrypted)) {
            unpacked = size;
        }
        if (unpacked > 0 && tags.unpackedBytes + unpacked > kMaxUnpackedTagBytes &&
            !(tagFlags & kTagUnsynchronised) &&
            (tags.hidden.zeroFrom < 0 || tags.hidden.zeroTo == tagEnd)) {
            // This frame and the rest of its tag read as padding.
            tags.hidden.zeroFrom =
                std::min(at, tags.hidden.zeroFrom < 0 ? at : tags.hidden.zeroFrom);
            tags.hidden.zeroTo = tagEnd;
        }
        if (tags.hidden.zeroFrom >= 0 && at >= tags.hidden.zeroFrom && at < tags.hidden.zeroTo)
            tags.hiddenUnpackedBytes += unpacked;
        else
            tags.unpackedBytes += unpacked;
        at += headerBytes + static_cast<std::int64_t>(size);
    }
}

// The ID3v2 tags one after another at `at`, as libavformat reads them; where they end.
std::int64_t ScanId3Tags(FileWindow& file, std::int64_t at, LeadingTags& tags) {
    unsigned char header[kId3HeaderBytes];
    std::size_t frames = 0;
    while (file.read(at, header, sizeof header) && std::memcmp(header, "ID3", 3) == 0 &&
           header[3] != 0xFF && header[4] != 0xFF &&
           ((header[6] | header[7] | header[8] | header[9]) & 0x80) == 0) {
        const std::int64_t length = Synchsafe(header + 6);
        WalkId3Frames(file, at + kId3HeaderBytes, length, header[3], header[5], tags, frames);
        at += kId3HeaderBytes + length;
        if (header[3] == 4 && (header[5] & 0x10))
            at += kId3HeaderBytes; // footer
        tags.id3End = at;
    }
    return at;
}

std::uint32_t Le32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t{p[3]} << 24);
}

std::array<std::uint8_t, 4> Le32Bytes(std::uint32_t v) {
    return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
            static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
}

// Vorbis comments: vendor text, then the number of comments, which is read as the number
// carried when there are more. False when the comments do not lie in [at, end).
bool HideFloodingComments(FileWindow& file, std::int64_t at, std::int64_t end,
                          ReadMask::Patch& patch, LeadingTags& tags) {
    unsigned char bytes[4];
    if (end - at < 8 || !file.read(at, bytes, 4))
        return false;
    const std::int64_t countAt = at + 4 + Le32(bytes);
    if (countAt + 4 > end || !file.read(countAt, bytes, 4))
        return false;
    const std::uint32_t count = Le32(bytes);
    if (count <= kMaxCarriedTags)
        return false;
    constexpr auto kept = static_cast<std::uint32_t>(kMaxCarriedTags);
    patch = {countAt, Le32Bytes(kept)};
    tags.tagsHidden += count - kept;
    return true;
}

// In OGG the comments are the second page of Vorbis, Opus or FLAC. Its checksum covers them, so
// it is read as what the changed page sums to.
void HideFloodingOggComments(FileWindow& file, std::int64_t at, LeadingTags& tags) {
    constexpr std::int64_t kPageHeader = 27;
    unsigned char header[kPageHeader];
    bool oggFlac = false;
    for (int page = 0; page < 2; ++page) {
        if (!file.read(at, header, sizeof header) || std::memcmp(header, "OggS", 4) != 0)
            return;
        unsigned char segments[255];
        if (!file.read(at + kPageHeader, segments, header[26]))
            return;
        std::int64_t size = kPageHeader + header[26];
        for (int i = 0; i < header[26]; ++i)
            size += segments[i];
        if (page == 0) {
            unsigned char kind[5];
            oggFlac = file.read(at + kPageHeader + header[26], kind, sizeof kind) &&
                      std::memcmp(kind, kOggFlacMark, sizeof kind) == 0;
            at += size;
            continue;
        }
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
        if (!file.read(at, bytes.data(), bytes.size()))
            return;
        const std::int64_t body = at + kPageHeader + header[26];
        std::int64_t comments = 0;
        if (size - (body - at) >= 7 && std::memcmp(&bytes[body - at], "\x03vorbis", 7) == 0)
            comments = body + 7;
        else if (size - (body - at) >= 8 && std::memcmp(&bytes[body - at], "OpusTags", 8) == 0)
            comments = body + 8;
        else if (oggFlac && size - (body - at) >= 4 &&
                 (bytes[body - at] & 0x7F) == kFlacCommentBlock)
            comments = body + 4; // a FLAC block header
        ReadMask::Patch& count = tags.hidden.patches[0];
        if (!comments || !HideFloodingComments(file, comments, at + size, count, tags))
            return;
        std::memcpy(&bytes[count.at - at], count.bytes.data(), 4);
        std::memset(&bytes[22], 0, 4);
        const std::uint32_t sum =
            av_crc(av_crc_get_table(AV_CRC_32_IEEE), 0, bytes.data(), bytes.size());
        // FFmpeg's table gives the sum byte-swapped: stored little-endian, it reads as this.
        tags.hidden.patches[1] = {
            at + 22,
            {static_cast<std::uint8_t>(sum >> 24), static_cast<std::uint8_t>(sum >> 16),
             static_cast<std::uint8_t>(sum >> 8), static_cast<std::uint8_t>(sum)}};
    }
}

void WalkFlacBlocks(FileWindow& file, std::int64_t at, LeadingTags& tags) {
    unsigned char block[4];
    if (!file.read(at, block, 4) || std::memcmp(block, "fLaC", 4) != 0)
        return;
    at += 4;
    bool comments = false;
    while (file.read(at, block, 4)) {
        const std::int64_t length = (std::int64_t{block[1]} << 16) | (block[2] << 8) | block[3];
        if ((block[0] & 0x7F) == kFlacPictureBlock)
            ++tags.pictures;
        if ((block[0] & 0x7F) == kFlacCommentBlock && !std::exchange(comments, true))
            HideFloodingComments(file, at + 4, at + 4 + length, tags.hidden.patches[0], tags);
        if (block[0] & 0x80)
            return; // the last block
        at += 4 + length;
    }
}

} // namespace

LeadingTags ScanLeadingTags(int fd) {
    LeadingTags tags;
    struct stat info = {};
    if (::fstat(fd, &info) != 0)
        return tags;
    tags.fileBytes = info.st_size;
    FileWindow file(fd, info.st_size);
    const std::int64_t afterId3 = ScanId3Tags(file, 0, tags);
    WalkFlacBlocks(file, afterId3, tags);
    HideFloodingOggComments(file, afterId3, tags);
    return tags;
}

} // namespace conv
