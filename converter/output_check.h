#pragma once

#include "errors.h"

#include <functional>
#include <string>
#include <string_view>

extern "C" {
#include <libavcodec/codec_id.h>
}

namespace conv {

// What the output should read back as.
struct WrittenStream {
    std::string_view demuxer;
    AVCodecID codec = AV_CODEC_ID_NONE;
    int sampleRate = 0;
    int channels = 0;
    double seconds = 0.0;      // what the written packets cover
    double frameSeconds = 0.0; // one encoder frame: the tolerance
};

// Reads the finished file back through `fd` with the demuxer alone (no decoding): it must
// open as the intended format with one audio stream of the intended codec, rate and channels
// (followed by nothing but cover art) whose packets cover the written time within a frame.
[[nodiscard]] Status VerifyWritten(int fd, const WrittenStream& expected,
                                   const std::string& shownPath);

// For tests and the benchmark: a step run on the file just before it is checked, and
// whether the check's own time is reported on standard error.
struct OutputCheckHooks {
    std::function<void(int fd)> beforeCheck;
    bool reportTime = false;
};
[[nodiscard]] OutputCheckHooks& CheckHooks();

} // namespace conv
