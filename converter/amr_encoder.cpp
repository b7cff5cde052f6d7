#include "amr_encoder.h"

#include <algorithm>
#include <array>
#include <cstring>

extern "C" {
#include <opencore-amrnb/interf_enc.h>
}

namespace conv {

namespace {

constexpr std::array<std::int64_t, 8> kModeBitRates = {4750, 5150, 5900,  6700,
                                                       7400, 7950, 10200, 12200};

} // namespace

AmrEncoder::AmrEncoder(int mode) : mode_(std::clamp(mode, 0, 7)) {
    state_ = Encoder_Interface_init(0);
    spec_.format = AV_SAMPLE_FMT_S16;
    spec_.sampleRate = 8000;
    spec_.layout = ChannelLayout::Default(1);
}

AmrEncoder::~AmrEncoder() {
    if (state_)
        Encoder_Interface_exit(state_);
}

int AmrEncoder::send(const AVFrame* frame) {
    if (!frame) {
        flushed_ = true;
        return 0;
    }
    if (flushed_ || frame->nb_samples > kFrameSamples || frame->format != AV_SAMPLE_FMT_S16)
        return AVERROR(EINVAL);
    // A short last frame is padded with silence.
    std::array<short, kFrameSamples> speech{};
    std::memcpy(speech.data(), frame->data[0],
                static_cast<std::size_t>(frame->nb_samples) * sizeof(short));
    std::array<unsigned char, 64> out{};
    const int size =
        Encoder_Interface_Encode(state_, static_cast<Mode>(mode_), speech.data(), out.data(), 0);
    if (size <= 0)
        return AVERROR_EXTERNAL;
    PacketPtr packet(av_packet_alloc());
    if (!packet || av_new_packet(packet.get(), size) < 0)
        return AVERROR(ENOMEM);
    std::memcpy(packet->data, out.data(), static_cast<std::size_t>(size));
    packet->pts = packet->dts = nextPts_;
    packet->duration = kFrameSamples;
    nextPts_ += kFrameSamples;
    ready_.push_back(std::move(packet));
    return 0;
}

int AmrEncoder::receive(AVPacket* packet) {
    if (ready_.empty())
        return flushed_ ? AVERROR_EOF : AVERROR(EAGAIN);
    av_packet_move_ref(packet, ready_.front().get());
    ready_.pop_front();
    return 0;
}

int AmrEncoder::describe(AVCodecParameters* parameters) const {
    parameters->codec_type = AVMEDIA_TYPE_AUDIO;
    parameters->codec_id = AV_CODEC_ID_AMR_NB;
    parameters->sample_rate = 8000;
    parameters->bit_rate = kModeBitRates[static_cast<std::size_t>(mode_)];
    parameters->frame_size = kFrameSamples;
    return av_channel_layout_copy(&parameters->ch_layout, &spec_.layout.get());
}

} // namespace conv
