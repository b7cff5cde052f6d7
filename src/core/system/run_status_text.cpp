#include "core/system/run_status_text.h"
#include "core/text/translate.h"

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
    std::string text = translation::Fill(PK_TR("RunStatus", "File %1 of %2"),
                                         {std::to_string(file), std::to_string(files)});
    if (secondsLeft)
        text += " \u00b7 " +
                translation::Fill(PK_TR("RunStatus", "about %1 left"), {Clock(*secondsLeft)});
    return text;
}

std::string Finished(int converted, int failed, int withWarnings, double seconds) {
    std::string text = translation::Fill(PK_TR("RunStatus", "%1 converted in %2"),
                                         {std::to_string(converted), Clock(seconds)});
    if (failed > 0)
        text += ", " + translation::Fill(PK_TR("RunStatus", "%1 failed"), {std::to_string(failed)});
    if (withWarnings > 0)
        text += ", " + translation::Fill(PK_TR("RunStatus", "%1 with warnings"),
                                         {std::to_string(withWarnings)});
    return text;
}

std::string Stopped(int converted, int files) {
    return translation::Fill(PK_TR("RunStatus", "Stopped: %1 of %2 converted"),
                             {std::to_string(converted), std::to_string(files)});
}

} // namespace run_status
