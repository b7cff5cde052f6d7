#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace conv {

// What reading the input had to leave out, in microseconds of the input's own time.
struct InputLosses {
    int damagedPackets = 0;
    std::int64_t damagedUs = 0;
    int gaps = 0;
    std::int64_t gapUs = 0;
    // Where the audio read ended and where the input says it should; unknown when nothing is
    // stated or the reading stopped on purpose (at the end of a cut).
    std::optional<std::int64_t> endUs;
    std::optional<std::int64_t> expectedEndUs;
};

// One line per kind of loss worth telling: an end early by more than a second and 1 % of the
// length, or more than a tenth of a second skipped. Without "conv: <path>: " in front.
[[nodiscard]] std::vector<std::string> WarningLines(const InputLosses& losses);

// "2:13", "1:02:03": whole seconds, rounded down.
[[nodiscard]] std::string ClockTime(std::int64_t us);

} // namespace conv
