#pragma once

#include "av_ptr.h"

#include <string>
#include <string_view>

namespace conv {

// The tags that describe the recording: the file's, then those of its audio stream (OGG and
// FLAC keep theirs there), leaving out what only described the old container or encoding.
[[nodiscard]] DictPtr RecordingTags(const AVDictionary* formatTags, const AVDictionary* streamTags);

// ISO-8859-1 for UTF-8 text; characters beyond it and broken sequences become '?'.
[[nodiscard]] std::string Utf8ToLatin1(std::string_view text);

// The same tags with every value in ISO-8859-1, as ID3v1 holds them.
[[nodiscard]] DictPtr Latin1Tags(const AVDictionary* tags);

} // namespace conv
