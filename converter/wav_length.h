#pragma once

#include <cstdint>
#include <optional>

namespace conv {

// The size the data chunk of a RIFF WAVE file claims, read through `fd`. The demuxer drops a
// claim larger than the file; that claim is what tells a cut-short file.
[[nodiscard]] std::optional<std::int64_t> WavDataBytes(int fd);

} // namespace conv
