#pragma once

#include <cstdint>

namespace conv {

// What the tags at the start of an input declare, read from their headers alone before
// libavformat unpacks them: an ID3v2 tag may hold compressed frames that unpack to a
// thousand times their size, and a tag or block list may claim more than the file holds.
struct LeadingTags {
    std::int64_t fileBytes = 0;
    // Where the ID3v2 tags at the start claim to end; 0 when there are none.
    std::int64_t id3End = 0;
    // ID3 picture frames and FLAC picture blocks.
    int pictures = 0;
    // What the compressed ID3 frames claim to unpack to, in bytes.
    std::uint64_t unpackedBytes = 0;
};

[[nodiscard]] LeadingTags ScanLeadingTags(int fd);

} // namespace conv
