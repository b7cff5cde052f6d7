#include "core/system/run_end_text.h"

namespace platform {

std::string RunEndText(int converted, int failed) {
    std::string text =
        std::to_string(converted) + (converted == 1 ? " file converted" : " files converted");
    if (failed > 0)
        text += ", " + std::to_string(failed) + " failed";
    return text;
}

} // namespace platform
