#pragma once

#include <string>

namespace platform {

// The line that tells the desktop how a run ended: "1 file converted", "12 files converted",
// "11 files converted, 1 failed". Files with warnings count as converted.
[[nodiscard]] std::string RunEndText(int converted, int failed);

} // namespace platform
