#include "core/system/run_end_text.h"
#include "core/text/translate.h"

namespace platform {

std::string RunEndText(int converted, int failed) {
    std::string text = translation::Fill(converted == 1 ? PK_TR("RunEnd", "%1 file converted")
                                                        : PK_TR("RunEnd", "%1 files converted"),
                                         {std::to_string(converted)});
    if (failed > 0)
        text += ", " + translation::Fill(PK_TR("RunEnd", "%1 failed"), {std::to_string(failed)});
    return text;
}

} // namespace platform
