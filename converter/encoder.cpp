#include "encoder.h"

#include "amr_encoder.h"
#include "codec_support.h"
#include "fitting.h"

#include <algorithm>

extern "C" {
#include <libavutil/samplefmt.h>
}

namespace conv {

namespace {

// Frame length for encoders that take any.
constexpr int kVariableFrameSamples = 4096;
// Vorbis quality used when no bitrate is asked (about 112 kbit/s in stereo).
constexpr int kVorbisQuality = 3;

class LibavEncoder final : public AudioEncoder {
public:
    LibavEncoder(CodecContextPtr context, AudioSpec spec)
        : context_(std::move(context)), spec_(std::move(spec)) {
        const bool variable =
            (context_->codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE) != 0;
        frameSize_ =
            (variable || context_->frame_size <= 0) ? kVariableFrameSamples : context_->frame_size;
    }

    [[nodiscard]] const AudioSpec& spec() const override { return spec_; }
    [[nodiscard]] int frameSize() const override { return frameSize_; }
    [[nodiscard]] AVRational timeBase() const override { return context_->time_base; }
    [[nodiscard]] int send(const AVFrame* frame) override {
        return avcodec_send_frame(context_.get(), frame);
    }
    [[nodiscard]] int receive(AVPacket* packet) override {
        return avcodec_receive_packet(context_.get(), packet);
    }
    [[nodiscard]] int describe(AVCodecParameters* parameters) const override {
        return avcodec_parameters_from_context(parameters, context_.get());
    }

private:
    CodecContextPtr context_;
    AudioSpec spec_;
    int frameSize_ = kVariableFrameSamples;
};

// The input's layout when it fits the count and the encoder, else the encoder's or the usual
// layout for that count.
ChannelLayout ChooseLayout(const AVCodec* codec, const ChannelLayout& input, int channels) {
    const AVChannelLayout* supported = SupportedLayouts(codec);
    auto offered = [&](const ChannelLayout& layout) {
        if (!supported)
            return true;
        for (const AVChannelLayout* l = supported; l->nb_channels; ++l) {
            if (av_channel_layout_compare(l, &layout.get()) == 0)
                return true;
        }
        return false;
    };
    if (input.channels() == channels && input.get().order == AV_CHANNEL_ORDER_NATIVE &&
        offered(input))
        return input;
    const ChannelLayout usual = ChannelLayout::Default(channels);
    if (offered(usual) || !supported)
        return usual;
    for (const AVChannelLayout* l = supported; l->nb_channels; ++l) {
        if (l->nb_channels == channels)
            return ChannelLayout(*l);
    }
    return usual;
}

struct Attempt {
    int sampleRate;
    ChannelLayout layout;
    std::int64_t bitRate;
};

int OpenLibav(const AVCodec* codec, CodecKind kind, const Attempt& attempt,
              AVSampleFormat sampleFormat, int inputBits, bool globalHeader,
              std::unique_ptr<AudioEncoder>& encoder) {
    CodecContextPtr context(avcodec_alloc_context3(codec));
    if (!context)
        return AVERROR(ENOMEM);
    context->sample_fmt = sampleFormat;
    context->sample_rate = attempt.sampleRate;
    context->time_base = AVRational{1, attempt.sampleRate};
    context->thread_count = 1;
    int ret = av_channel_layout_copy(&context->ch_layout, &attempt.layout.get());
    if (ret < 0)
        return ret;
    if (attempt.bitRate > 0)
        context->bit_rate = attempt.bitRate;
    if (kind == CodecKind::Vorbis && attempt.bitRate <= 0) {
        context->flags |= AV_CODEC_FLAG_QSCALE;
        context->global_quality = kVorbisQuality * FF_QP2LAMBDA;
    }
    if (kind == CodecKind::Flac && sampleFormat == AV_SAMPLE_FMT_S32)
        context->bits_per_raw_sample = (inputBits > 16 && inputBits < 24) ? inputBits : 24;
    // Apple Lossless takes 16 bits, or 24 from the top of each 32-bit sample.
    if (kind == CodecKind::Alac)
        context->bits_per_raw_sample = sampleFormat == AV_SAMPLE_FMT_S32P ? 24 : 16;
    if (globalHeader)
        context->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    ret = avcodec_open2(context.get(), codec, nullptr);
    if (ret < 0)
        return ret;
    AudioSpec spec;
    spec.format = context->sample_fmt;
    spec.sampleRate = context->sample_rate;
    spec.layout = ChannelLayout(context->ch_layout);
    encoder = std::make_unique<LibavEncoder>(std::move(context), std::move(spec));
    return 0;
}

} // namespace

AVSampleFormat ChooseSampleFormat(const AVSampleFormat* offered, AVSampleFormat in) {
    if (!offered || *offered == AV_SAMPLE_FMT_NONE)
        return in;
    const AVSampleFormat packed = av_get_packed_sample_fmt(in);
    const AVSampleFormat planar = av_get_planar_sample_fmt(in);
    for (const AVSampleFormat* f = offered; *f != AV_SAMPLE_FMT_NONE; ++f) {
        if (*f == in)
            return in;
    }
    for (const AVSampleFormat* f = offered; *f != AV_SAMPLE_FMT_NONE; ++f) {
        if (*f == packed || *f == planar)
            return *f;
    }
    // The smallest that is at least as wide, else the widest.
    const int inBytes = av_get_bytes_per_sample(in);
    AVSampleFormat best = AV_SAMPLE_FMT_NONE;
    AVSampleFormat widest = *offered;
    for (const AVSampleFormat* f = offered; *f != AV_SAMPLE_FMT_NONE; ++f) {
        const int bytes = av_get_bytes_per_sample(*f);
        if (bytes >= inBytes &&
            (best == AV_SAMPLE_FMT_NONE || bytes < av_get_bytes_per_sample(best)))
            best = *f;
        if (bytes > av_get_bytes_per_sample(widest))
            widest = *f;
    }
    return best != AV_SAMPLE_FMT_NONE ? best : widest;
}

Status OpenEncoder(const FormatInfo& format, const Options& options, const AudioSpec& input,
                   bool globalHeader, std::unique_ptr<AudioEncoder>& encoder,
                   std::vector<std::string>& notes) {
    const std::string_view name =
        options.codec.empty() ? format.encoder : ResolveCodec(format, options.codec).value();
    const CodecKind kind = KindOfEncoder(name);

    Wanted wanted;
    wanted.sampleRate = options.sampleRate > 0 ? options.sampleRate : input.sampleRate;
    wanted.channels = options.channels > 0 ? options.channels : input.layout.channels();
    wanted.bitRate = options.bitRate > 0 ? options.bitRate : format.defaultBitRate;
    wanted.bitRateAsked = options.bitRate > 0;
    wanted.sampleRateAsked = options.sampleRate > 0;
    // Apple Lossless shares its container with AAC; notes name what is written.
    const std::string_view label = kind == CodecKind::Alac ? "ALAC" : format.label;
    Fitted fitted = FitValues(kind, label, wanted);

    if (kind == CodecKind::AmrNb) {
        auto amr = std::make_unique<AmrEncoder>(AmrModeForBitRate(fitted.bitRate));
        if (!amr->ready())
            return Fail(options.output, "cannot start the AMR encoder");
        encoder = std::move(amr);
        notes = std::move(fitted.notes);
        return std::nullopt;
    }

    const AVCodec* codec = avcodec_find_encoder_by_name(std::string(name).c_str());
    if (!codec)
        return Fail(options.output, "the " + std::string(name) + " encoder is not available");
    const AVSampleFormat sampleFormat =
        ChooseSampleFormat(SupportedSampleFormats(codec), input.format);
    const int inputBits = av_get_bytes_per_sample(input.format) * 8;

    // Should the encoder still refuse, fall back to its own bitrate, then to stereo.
    std::vector<Attempt> attempts;
    const ChannelLayout layout = ChooseLayout(codec, input.layout, fitted.channels);
    attempts.push_back({fitted.sampleRate, layout, fitted.bitRate});
    if (fitted.bitRate > 0)
        attempts.push_back({fitted.sampleRate, layout, 0});
    if (fitted.channels > 2)
        attempts.push_back({fitted.sampleRate, ChooseLayout(codec, input.layout, 2), 0});

    int ret = 0;
    for (std::size_t i = 0; i < attempts.size(); ++i) {
        ret = OpenLibav(codec, kind, attempts[i], sampleFormat, inputBits, globalHeader, encoder);
        if (ret >= 0) {
            notes = std::move(fitted.notes);
            if (i > 0)
                notes.push_back("note: " + std::string(label) +
                                " cannot take these values; using the encoder's own bitrate" +
                                (attempts[i].layout.channels() != fitted.channels
                                     ? std::string(" and stereo")
                                     : std::string()) +
                                " instead");
            return std::nullopt;
        }
    }
    return Fail(options.output, "the " + std::string(label) +
                                    " encoder refused the audio: " + DescribeAvError(ret));
}

} // namespace conv
