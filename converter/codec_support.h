#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
}

namespace conv {

// What an encoder accepts, each list ended as FFmpeg ends it, or null when it takes anything.
// FFmpeg 7.1 asks for these through avcodec_get_supported_config; older releases keep them
// in the codec itself.
[[nodiscard]] const AVChannelLayout* SupportedLayouts(const AVCodec* codec);
[[nodiscard]] const AVSampleFormat* SupportedSampleFormats(const AVCodec* codec);

} // namespace conv
