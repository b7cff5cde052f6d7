#pragma once

#include "tags.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace conv {

// libavformat files every Vorbis comment of a FLAC file with a search through those it has
// already, so a file of 100,000 comments takes minutes to open. Such a comment block is
// read here instead, once and only as far as is carried, and hidden from libavformat.
struct FloodedComments {
    std::int64_t typeOffset = 0; // the block header's type byte
    std::uint8_t hiddenType = 0; // that byte with the block marked as padding
    std::vector<Tag> tags;       // keys upper-cased, as libavformat files them
    std::size_t leftOut = 0;
};

// The comment block of the FLAC file starting at `start` (after any ID3v2 tag), when it
// holds more comments than are carried; nothing for any other file.
[[nodiscard]] std::optional<FloodedComments> ReadFloodedFlacComments(int fd, std::int64_t start);

} // namespace conv
