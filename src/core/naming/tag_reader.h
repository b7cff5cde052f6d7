#pragma once

#include "core/naming/name_pattern.h"

#include <optional>
#include <string>

// The tags of the media file at `path` (file-system bytes), read by TagLib. Nothing when the
// file cannot be read or holds no tags it knows; a damaged file never throws or crashes.
[[nodiscard]] std::optional<TrackTags> ReadTrackTags(const std::string& path);

// The playing time of the media file at `path` in seconds, from its headers as TagLib reads
// them (quick, and an estimate for some files); nothing when it cannot tell.
[[nodiscard]] std::optional<double> ReadPlayingSeconds(const std::string& path);

// The name, stem and folder fields of `input`, with `root` the folder it was added with
// ("" when it was added on its own), and its tags.
[[nodiscard]] NameSource DescribeSource(const std::string& input, const std::string& root);
