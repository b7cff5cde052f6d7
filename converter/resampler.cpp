#include "resampler.h"

#include <algorithm>
#include <array>
#include <vector>

extern "C" {
#include <libavutil/opt.h>
#include <libavutil/samplefmt.h>
}

namespace conv {

bool SampleFifo::init(const AudioSpec& spec, std::int64_t limit) {
    limit_ = limit;
    fifo_.reset(av_audio_fifo_alloc(spec.format, spec.layout.channels(), 4096));
    return fifo_ != nullptr;
}

bool SampleFifo::write(uint8_t* const* data, int count) {
    const std::int64_t room = limit_ - written_;
    if (room <= 0 || count <= 0)
        return true;
    const int take = static_cast<int>(std::min<std::int64_t>(count, room));
    if (av_audio_fifo_write(fifo_.get(), reinterpret_cast<void**>(const_cast<uint8_t**>(data)),
                            take) < take)
        return false;
    written_ += take;
    return true;
}

bool SampleFifo::read(AVFrame* frame, int count) {
    return av_audio_fifo_read(fifo_.get(), reinterpret_cast<void**>(frame->data), count) == count;
}

AudioSpec SpecOfFrame(const AVFrame* frame) {
    AudioSpec spec;
    spec.format = static_cast<AVSampleFormat>(frame->format);
    spec.sampleRate = frame->sample_rate;
    if (frame->ch_layout.order == AV_CHANNEL_ORDER_NATIVE)
        spec.layout = ChannelLayout(frame->ch_layout);
    else
        spec.layout = ChannelLayout::Default(frame->ch_layout.nb_channels);
    return spec;
}

Resampler::~Resampler() {
    if (buffer_)
        av_freep(&buffer_[0]);
    av_freep(&buffer_);
}

Status Resampler::configure(const AudioSpec& in) {
    in_ = in;
    swr_.reset();
    configured_ = true;
    passThrough_ = in_ == out_;
    if (passThrough_)
        return std::nullopt;
    SwrContext* raw = nullptr;
    int ret = swr_alloc_set_opts2(&raw, &out_.layout.get(), out_.format, out_.sampleRate,
                                  &in_.layout.get(), in_.format, in_.sampleRate, 0, nullptr);
    swr_.reset(raw);
    if (ret >= 0)
        ret = swr_init(swr_.get());
    if (ret < 0) {
        configured_ = false;
        return Fail("", "cannot convert the audio to the output's format: " + DescribeAvError(ret));
    }
    return std::nullopt;
}

Status Resampler::convert(const uint8_t** data, int count, SampleFifo& fifo, int& got) {
    const int estimate = swr_get_out_samples(swr_.get(), count);
    if (estimate < 0)
        return Fail("", "cannot convert the audio: " + DescribeAvError(estimate));
    const int wanted = std::max(estimate, 256);
    if (wanted > bufferSamples_) {
        if (buffer_)
            av_freep(&buffer_[0]);
        av_freep(&buffer_);
        bufferSamples_ = 0;
        const int ret = av_samples_alloc_array_and_samples(
            &buffer_, nullptr, out_.layout.channels(), wanted, out_.format, 0);
        if (ret < 0)
            return Fail("", "out of memory");
        bufferSamples_ = wanted;
    }
    got = swr_convert(swr_.get(), buffer_, bufferSamples_, data, count);
    if (got < 0)
        return Fail("", "cannot convert the audio: " + DescribeAvError(got));
    if (!fifo.write(buffer_, got))
        return Fail("", "out of memory");
    return std::nullopt;
}

Status Resampler::push(const AVFrame* frame, int skip, SampleFifo& fifo) {
    const AudioSpec in = SpecOfFrame(frame);
    if (!configured_) {
        if (auto failed = configure(in))
            return failed;
    } else if (!(in == in_)) {
        if (auto failed = flush(fifo))
            return failed;
        if (auto failed = configure(in))
            return failed;
    }

    const int count = frame->nb_samples - skip;
    if (count <= 0)
        return std::nullopt;
    // Pointers to the first kept sample of every plane.
    const int channels = in.layout.channels();
    const bool planar = av_sample_fmt_is_planar(in.format) != 0;
    const int step = av_get_bytes_per_sample(in.format) * (planar ? 1 : channels);
    const int planes = planar ? channels : 1;
    std::array<const uint8_t*, 64> local{};
    std::vector<const uint8_t*> many;
    const uint8_t** data = local.data();
    if (planes > static_cast<int>(local.size())) {
        many.resize(static_cast<std::size_t>(planes));
        data = many.data();
    }
    for (int p = 0; p < planes; ++p)
        data[p] = frame->extended_data[p] + static_cast<std::ptrdiff_t>(skip) * step;

    if (passThrough_) {
        if (!fifo.write(const_cast<uint8_t* const*>(data), count))
            return Fail("", "out of memory");
        return std::nullopt;
    }
    int got = 0;
    return convert(data, count, fifo, got);
}

Status Resampler::flush(SampleFifo& fifo) {
    if (!swr_)
        return std::nullopt;
    // Drains until the converter has nothing left.
    for (int round = 0; round < 64; ++round) {
        int got = 0;
        if (auto failed = convert(nullptr, 0, fifo, got))
            return failed;
        if (got == 0)
            break;
    }
    return std::nullopt;
}

} // namespace conv
