#include "loudness_meter.h"

#include <ebur128.h>

#include <algorithm>
#include <cmath>

extern "C" {
#include <libavutil/samplefmt.h>
}

namespace conv {

namespace {

// Chunks waiting for the meter at most; the converter waits when it is that far ahead.
constexpr std::size_t kMaxQueued = 4;
// What a chunk gathers: about a third of a second of samples, or of packets.
constexpr std::size_t kChunkFrames = 16384;
constexpr std::size_t kChunkPackets = 16;

// BS.1770 weighs the surround channels more and leaves out the low-frequency ones.
int ChannelWeight(AVChannel channel) {
    switch (channel) {
    case AV_CHAN_FRONT_CENTER:
        return EBUR128_CENTER;
    case AV_CHAN_FRONT_RIGHT:
        return EBUR128_RIGHT;
    case AV_CHAN_SIDE_LEFT:
    case AV_CHAN_BACK_LEFT:
        return EBUR128_LEFT_SURROUND;
    case AV_CHAN_SIDE_RIGHT:
    case AV_CHAN_BACK_RIGHT:
        return EBUR128_RIGHT_SURROUND;
    case AV_CHAN_LOW_FREQUENCY:
    case AV_CHAN_LOW_FREQUENCY_2:
        return EBUR128_UNUSED;
    default:
        return EBUR128_LEFT;
    }
}

template <typename T> float Scaled(T value, double scale, double offset) {
    return static_cast<float>((static_cast<double>(value) - offset) * scale);
}

template <typename T>
void Interleave(const AVFrame* frame, bool planar, int channels, double scale, double offset,
                float* out) {
    const auto frames = static_cast<std::size_t>(frame->nb_samples);
    for (int c = 0; c < channels; ++c) {
        const T* in = reinterpret_cast<const T*>(frame->extended_data[planar ? c : 0]);
        const std::size_t step = planar ? 1 : static_cast<std::size_t>(channels);
        const std::size_t first = planar ? 0 : static_cast<std::size_t>(c);
        for (std::size_t i = 0; i < frames; ++i)
            out[i * static_cast<std::size_t>(channels) + static_cast<std::size_t>(c)] =
                Scaled(in[first + i * step], scale, offset);
    }
}

} // namespace

bool AppendInterleavedFloat(const AVFrame* frame, std::vector<float>& out) {
    const auto format = static_cast<AVSampleFormat>(frame->format);
    const int channels = frame->ch_layout.nb_channels;
    const bool planar = av_sample_fmt_is_planar(format) != 0;
    const std::size_t before = out.size();
    out.resize(before +
               static_cast<std::size_t>(frame->nb_samples) * static_cast<std::size_t>(channels));
    float* to = out.data() + before;
    switch (av_get_packed_sample_fmt(format)) {
    case AV_SAMPLE_FMT_U8:
        Interleave<std::uint8_t>(frame, planar, channels, 1.0 / 128, 128, to);
        return true;
    case AV_SAMPLE_FMT_S16:
        Interleave<std::int16_t>(frame, planar, channels, 1.0 / 32768, 0, to);
        return true;
    case AV_SAMPLE_FMT_S32:
        Interleave<std::int32_t>(frame, planar, channels, 1.0 / 2147483648.0, 0, to);
        return true;
    case AV_SAMPLE_FMT_S64:
        Interleave<std::int64_t>(frame, planar, channels, 1.0 / 9223372036854775808.0, 0, to);
        return true;
    case AV_SAMPLE_FMT_FLT:
        Interleave<float>(frame, planar, channels, 1.0, 0, to);
        return true;
    case AV_SAMPLE_FMT_DBL:
        Interleave<double>(frame, planar, channels, 1.0, 0, to);
        return true;
    default:
        return false;
    }
}

LoudnessMeter::~LoudnessMeter() {
    stop();
    if (state_)
        ebur128_destroy(&state_);
}

bool LoudnessMeter::startDecoding(const AVCodecParameters& encoded) {
    const AVCodec* codec = avcodec_find_decoder(encoded.codec_id);
    decoder_.reset(avcodec_alloc_context3(codec));
    decoded_.reset(av_frame_alloc());
    if (!codec || !decoder_ || !decoded_ ||
        avcodec_parameters_to_context(decoder_.get(), &encoded) < 0)
        return false;
    decoder_->thread_count = 1;
    decoder_->pkt_timebase = AVRational{1, encoded.sample_rate};
    if (avcodec_open2(decoder_.get(), codec, nullptr) < 0)
        return false;
    // The delay is counted at the encoder's rate; Opus decodes at that rate too.
    toSkip_ = encoded.initial_padding;
    return start(decoder_->sample_rate > 0 ? decoder_->sample_rate : encoded.sample_rate,
                 decoder_->ch_layout.nb_channels > 0 ? decoder_->ch_layout : encoded.ch_layout);
}

bool LoudnessMeter::start(int sampleRate, const AVChannelLayout& layout) {
    channels_ = layout.nb_channels;
    if (channels_ <= 0 || sampleRate <= 0)
        return false;
    state_ = ebur128_init(static_cast<unsigned>(channels_), static_cast<unsigned long>(sampleRate),
                          EBUR128_MODE_M | EBUR128_MODE_SAMPLE_PEAK);
    if (!state_)
        return false;
    for (int c = 0; c < channels_; ++c) {
        const int weight = channels_ == 1 ? EBUR128_LEFT
                                          : ChannelWeight(av_channel_layout_channel_from_index(
                                                &layout, static_cast<unsigned>(c)));
        ebur128_set_channel(state_, static_cast<unsigned>(c), weight);
    }
    // The library ends a gating block every 100 ms, counted this way.
    hop_ = static_cast<std::size_t>((sampleRate + 5) / 10);
    worker_ = std::thread([this] { work(); });
    return true;
}

bool LoudnessMeter::add(const AVFrame* frame) {
    // A reference only: the samples are converted on the meter's thread.
    FramePtr copy(av_frame_clone(frame));
    if (!copy)
        return false;
    try {
        filling_.frameRefs.push_back(std::move(copy));
    } catch (const std::bad_alloc&) {
        return false;
    }
    filling_.frames += static_cast<std::size_t>(frame->nb_samples);
    return filling_.frames < kChunkFrames || flush();
}

bool LoudnessMeter::add(const AVPacket* packet) {
    PacketPtr copy(av_packet_alloc());
    if (!copy || av_packet_ref(copy.get(), packet) < 0)
        return false;
    try {
        filling_.packets.push_back(std::move(copy));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return filling_.packets.size() < kChunkPackets || flush();
}

// Hands the samples gathered so far to the meter's thread: in chunks, so that the two threads
// wake each other a few times a second rather than for every frame.
bool LoudnessMeter::flush() {
    if (filling_.frameRefs.empty() && filling_.packets.empty())
        return true;
    Chunk next;
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return queue_.size() < kMaxQueued; });
        try {
            queue_.push_back(std::move(filling_));
        } catch (const std::bad_alloc&) {
            return false;
        }
        if (!spare_.empty()) {
            next = std::move(spare_.back());
            spare_.pop_back();
        }
    }
    changed_.notify_all();
    next.frames = 0;
    filling_ = std::move(next);
    return true;
}

void LoudnessMeter::work() {
    for (;;) {
        Chunk chunk;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [this] { return closing_ || !queue_.empty(); });
            if (queue_.empty())
                return;
            chunk = std::move(queue_.front());
            queue_.pop_front();
        }
        const bool measured = !failed_ && measure(chunk);
        // The samples go back to the converter now; the chunk keeps only its capacity.
        chunk.frameRefs.clear();
        chunk.packets.clear();
        {
            std::lock_guard lock(mutex_);
            failed_ = failed_ || !measured;
            if (spare_.size() < kMaxQueued)
                spare_.push_back(std::move(chunk));
        }
        changed_.notify_all();
    }
}

bool LoudnessMeter::measure(const Chunk& chunk) {
    for (const PacketPtr& packet : chunk.packets)
        if (!decode(packet.get()))
            return false;
    for (const FramePtr& frame : chunk.frameRefs) {
        decodedSamples_.clear();
        if (!AppendInterleavedFloat(frame.get(), decodedSamples_) ||
            !measure(decodedSamples_.data(), static_cast<std::size_t>(frame->nb_samples)))
            return false;
    }
    return true;
}

// A null packet drains the decoder.
bool LoudnessMeter::decode(const AVPacket* packet) {
    int ret = avcodec_send_packet(decoder_.get(), packet);
    if (ret < 0 && ret != AVERROR_EOF)
        return false;
    while ((ret = avcodec_receive_frame(decoder_.get(), decoded_.get())) >= 0) {
        decodedSamples_.clear();
        const bool converted = AppendInterleavedFloat(decoded_.get(), decodedSamples_);
        const auto frames = static_cast<std::size_t>(decoded_->nb_samples);
        av_frame_unref(decoded_.get());
        if (!converted)
            return false;
        const auto skip = static_cast<std::size_t>(
            std::min<std::int64_t>(toSkip_, static_cast<std::int64_t>(frames)));
        toSkip_ -= static_cast<std::int64_t>(skip);
        if (!measure(decodedSamples_.data() + skip * static_cast<std::size_t>(channels_),
                     frames - skip))
            return false;
    }
    return ret == AVERROR(EAGAIN) || ret == AVERROR_EOF;
}

bool LoudnessMeter::measure(const float* samples, std::size_t frames) {
    // Fed up to each block's end, the library's momentary loudness is that block's.
    std::size_t done = 0;
    while (done < frames) {
        const std::size_t take = std::min(frames - done, hop_ - fed_ % hop_);
        if (ebur128_add_frames_float(state_, samples + done * static_cast<std::size_t>(channels_),
                                     take) != EBUR128_SUCCESS)
            return false;
        done += take;
        fed_ += take;
        if (fed_ % hop_ == 0 && fed_ >= 4 * hop_) {
            double lufs = 0.0;
            if (ebur128_loudness_momentary(state_, &lufs) != EBUR128_SUCCESS)
                return false;
            blocks_.addBlock(lufs);
        }
    }
    return true;
}

void LoudnessMeter::stop() {
    if (!worker_.joinable())
        return;
    {
        std::lock_guard lock(mutex_);
        closing_ = true;
    }
    changed_.notify_all();
    worker_.join();
}

std::optional<conv_protocol::Loudness> LoudnessMeter::finish() {
    if (!flush())
        failed_ = true;
    stop();
    if (decoder_ && !failed_)
        failed_ = !decode(nullptr);
    if (!state_ || failed_)
        return std::nullopt;
    conv_protocol::Loudness loudness;
    for (int c = 0; c < channels_; ++c) {
        double peak = 0.0;
        if (ebur128_sample_peak(state_, static_cast<unsigned>(c), &peak) != EBUR128_SUCCESS)
            return std::nullopt;
        loudness.peak = std::max(loudness.peak, peak);
    }
    loudness.blocks = blocks_;
    loudness.integratedLufs = blocks_.integratedLufs();
    return loudness;
}

} // namespace conv
