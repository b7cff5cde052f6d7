#pragma once

#include "av_ptr.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace conv {

// The tags that describe the recording: the file's, then those of its audio stream (OGG and
// FLAC keep theirs there), leaving out what only described the old container or encoding.
[[nodiscard]] DictPtr RecordingTags(const AVDictionary* formatTags, const AVDictionary* streamTags);

// Longest tag value a container with 16-bit lengths of UTF-16 text holds, in UTF-16 units:
// 65535 bytes, less the terminating zero, in whole units.
inline constexpr std::size_t kMaxShortUtf16Units = 32766;

// The bytes of the longest start of `text` that fits in `maxUnits` UTF-16 units, ending on a
// whole character.
[[nodiscard]] std::size_t Utf16Prefix(std::string_view text, std::size_t maxUnits);

// Cuts every value to kMaxShortUtf16Units; returns the keys that were cut.
[[nodiscard]] std::vector<std::string> CutToShortUtf16(AVDictionary** tags);

// ISO-8859-1 for UTF-8 text; characters beyond it and broken sequences become '?'.
[[nodiscard]] std::string Utf8ToLatin1(std::string_view text);

// The same tags with every value in ISO-8859-1, as ID3v1 holds them.
[[nodiscard]] DictPtr Latin1Tags(const AVDictionary* tags);

} // namespace conv
