#pragma once

#include "fd_io.h"

#include <cstddef>
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
    // What the compressed ID3 frames claim to unpack to, in bytes: those read, and those
    // hidden because they would claim more than kMaxUnpackedTagBytes in all.
    std::uint64_t unpackedBytes = 0;
    std::uint64_t hiddenUnpackedBytes = 0;
    // libavformat files every tag with a search through those before it: 100,000 of them
    // take minutes. Those beyond what is carried are hidden from it (ID3 frames read as
    // padding, the count of FLAC comments read as the number carried).
    ReadMask hidden;
    std::size_t tagsHidden = 0;
};

// Compressed ID3 frames beyond this are bombs: libavformat would hold all of it in memory,
// and no cover art needs it (pictures over 16 MiB are left out of the output anyway).
inline constexpr std::uint64_t kMaxUnpackedTagBytes = 16u << 20;

[[nodiscard]] LeadingTags ScanLeadingTags(int fd);

} // namespace conv
