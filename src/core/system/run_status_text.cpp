#include "core/system/run_status_text.h"

#include <cmath>
#include <cstdio>

namespace run_status {

std::string Clock(double seconds) {
    const long long total =
        std::isfinite(seconds) && seconds > 0 ? static_cast<long long>(std::ceil(seconds)) : 0;
    char text[32];
    if (total >= 3600)
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", total / 3600, total / 60 % 60,
                      total % 60);
    else
        std::snprintf(text, sizeof text, "%lld:%02lld", total / 60, total % 60);
    return text;
}

std::string Running(int file, int files, std::optional<double> secondsLeft) {
    std::string text = "File " + std::to_string(file) + " of " + std::to_string(files);
    if (secondsLeft)
        text += " \u00b7 about " + Clock(*secondsLeft) + " left";
    return text;
}

std::string Finished(int converted, int failed, int withWarnings, double seconds) {
    std::string text = std::to_string(converted) + " converted in " + Clock(seconds);
    if (failed > 0)
        text += ", " + std::to_string(failed) + " failed";
    if (withWarnings > 0)
        text += ", " + std::to_string(withWarnings) + " with warnings";
    return text;
}

std::string Stopped(int converted, int files) {
    return "Stopped: " + std::to_string(converted) + " of " + std::to_string(files) + " converted";
}

} // namespace run_status
