#include "codec_support.h"

namespace conv {

namespace {

#if LIBAVCODEC_VERSION_INT >= AV_VERSION_INT(61, 13, 100)
const void* Supported(const AVCodec* codec, AVCodecConfig config) {
    const void* values = nullptr;
    int count = 0;
    if (avcodec_get_supported_config(nullptr, codec, config, 0, &values, &count) < 0)
        return nullptr;
    return values;
}
#endif

} // namespace

const AVChannelLayout* SupportedLayouts(const AVCodec* codec) {
#if LIBAVCODEC_VERSION_INT >= AV_VERSION_INT(61, 13, 100)
    return static_cast<const AVChannelLayout*>(Supported(codec, AV_CODEC_CONFIG_CHANNEL_LAYOUT));
#else
    return codec->ch_layouts;
#endif
}

const AVSampleFormat* SupportedSampleFormats(const AVCodec* codec) {
#if LIBAVCODEC_VERSION_INT >= AV_VERSION_INT(61, 13, 100)
    return static_cast<const AVSampleFormat*>(Supported(codec, AV_CODEC_CONFIG_SAMPLE_FORMAT));
#else
    return codec->sample_fmts;
#endif
}

} // namespace conv
