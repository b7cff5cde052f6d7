#pragma once

#include "gain_tags/gain_tags.h"

#include <optional>
#include <string>

// Sets gain tags in a finished output without touching its audio, and atomically: a copy next
// to it gets the tags and then takes its name, so a reader sees the old file or the new one,
// never half of either, and a crash leaves the old file (and a temporary file of the
// converter's form, which the next run clears away). The copy keeps the file's times and
// permissions. A file replaced meanwhile by someone else is left alone.
// Nothing on success, else why not.
[[nodiscard]] std::optional<std::string> RewriteGainTags(const std::string& path,
                                                         const gain_tags::GainValues& values);
