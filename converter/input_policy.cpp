#include "input_policy.h"

#include <array>
#include <string_view>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/dict.h>
#include <libavutil/opt.h>
}

namespace conv {

namespace {

// Demuxers that read other files or addresses named inside the input. Those that never
// read the input itself (AVFMT_NOFILE: name patterns, network sessions) are refused too.
constexpr std::array<std::string_view, 6> kListDemuxers = {"hls", "concat", "dash",
                                                           "imf", "sdp",    "vobsub"};

int RefuseOpen(AVFormatContext* input, AVIOContext** io, const char*, int, AVDictionary**) {
    *io = nullptr;
    // A nested context may carry the callback without our pointer.
    if (input->opaque)
        *static_cast<bool*>(input->opaque) = true;
    return AVERROR(EPERM);
}

std::string JoinAudioDecoderNames() {
    std::string names;
    void* state = nullptr;
    while (const AVCodec* codec = av_codec_iterate(&state)) {
        if (codec->type != AVMEDIA_TYPE_AUDIO || !av_codec_is_decoder(codec))
            continue;
        if (!names.empty())
            names += ',';
        names += codec->name;
    }
    return names;
}

} // namespace

std::optional<std::string> RefusedInputKind(const AVInputFormat& format) {
    const std::string_view name = format.name;
    bool refused = (format.flags & AVFMT_NOFILE) != 0;
    for (const std::string_view list : kListDemuxers)
        refused = refused || name == list;
    if (!refused)
        return std::nullopt;
    return "a playlist or list of other files (" + std::string(name) +
           "), not a media file; the files it names are not opened";
}

void ForbidNestedOpens(AVFormatContext& input, bool& tried) {
    input.opaque = &tried;
    input.io_open = RefuseOpen;
    // Should a demuxer open through a context of its own, no protocol is allowed either.
    av_opt_set(&input, "protocol_whitelist", "none", 0);
}

const std::string& AudioDecoderNames() {
    static const std::string names = JoinAudioDecoderNames();
    return names;
}

} // namespace conv
