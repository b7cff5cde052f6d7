#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Tag text comes from files anyone can write: these make it fit what the containers and
// other readers require.
namespace conv {

// The same text with each broken UTF-8 sequence (bad bytes, overlong forms, surrogates,
// values past U+10FFFF) replaced by one U+FFFD.
[[nodiscard]] std::string ValidUtf8(std::string_view text);

// ISO-8859-1 for UTF-8 text; characters beyond it and broken sequences become '?'.
[[nodiscard]] std::string Utf8ToLatin1(std::string_view text);

// The bytes of the longest start of valid UTF-8 `text` that fits in `maxUnits` UTF-16 units,
// ending on a whole character.
[[nodiscard]] std::size_t Utf16Prefix(std::string_view text, std::size_t maxUnits);

// The start of valid UTF-8 `text`, at most `maxBytes` long and ending on a whole character,
// with "…" after it when something was cut off.
[[nodiscard]] std::string ShortenForNote(std::string_view text, std::size_t maxBytes);

} // namespace conv
