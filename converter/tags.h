#pragma once

#include "av_ptr.h"
#include "formats.h"
#include "utf8_text.h"

#include <cstddef>
#include <string>
#include <vector>

namespace conv {

struct Tag {
    std::string key;
    std::string value;
};

// Longest tag text a container with 16-bit lengths of UTF-16 text holds, in UTF-16 units:
// 65535 bytes, less the terminating zero, in whole units.
inline constexpr std::size_t kMaxShortUtf16Units = 32766;

// What is carried at most. A file may hold any number of tags, and the writers (and the
// readers of what they write) slow down with every one: no real recording comes near these.
inline constexpr std::size_t kMaxCarriedTags = 1000;
inline constexpr std::size_t kMaxCarriedTagBytes = std::size_t{1} << 20; // keys and values

struct OutputTags {
    std::vector<Tag> tags;
    std::vector<std::string> cut; // keys of the tags cut to the container's length
    std::size_t leftOut = 0;      // beyond kMaxCarriedTags or kMaxCarriedTagBytes
};

// Whether the output container keeps tags at all.
[[nodiscard]] bool HoldsTags(const FormatInfo& format);
// Whether it has a place for ReplayGain (or Opus's R128) gains.
[[nodiscard]] bool HoldsGainTags(const FormatInfo& format);

// The tags that describe the recording, as the output container can hold them: the file's,
// then those of its audio stream (OGG and FLAC keep theirs there), once per key, leaving out
// what only described the old container or encoding. The text is valid UTF-8, and fits the
// container's lengths.
[[nodiscard]] OutputTags TagsForOutput(const FormatInfo& format, const AVDictionary* formatTags,
                                       const AVDictionary* streamTags);

// One note line for each tag cut, and one for the tags left out.
[[nodiscard]] std::vector<std::string> TagNotes(const FormatInfo& format, const OutputTags& tags);

// The tags as a dictionary, built in one pass: the keys are already unique.
[[nodiscard]] DictPtr ToDictionary(const std::vector<Tag>& tags);

// The same tags with every value in ISO-8859-1, as ID3v1 holds them.
[[nodiscard]] DictPtr Latin1Tags(const AVDictionary* tags);

} // namespace conv
