#pragma once

#include <functional>
#include <string>
#include <vector>

namespace platform {

// Reads one environment variable; null when it is not set.
using EnvironmentLookup = std::function<const char*(const char*)>;

// Why the window cannot open ("" when it may): no platform chosen (QT_QPA_PLATFORM or Qt's
// -platform option) and no X or Wayland display named. Qt would abort there; this is known
// before it is asked, so the user hears of the batch mode instead.
[[nodiscard]] std::string NoDisplayText(const EnvironmentLookup& environment,
                                        const std::vector<std::string>& arguments);

} // namespace platform
