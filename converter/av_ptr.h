#pragma once

#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libswresample/swresample.h>
}

namespace conv {

// Owners of libav objects, each released by its matching free function.
struct InputContextFree {
    void operator()(AVFormatContext* p) const { avformat_close_input(&p); }
};
// An output's context; its I/O belongs to whoever opened it.
struct OutputContextFree {
    void operator()(AVFormatContext* p) const { avformat_free_context(p); }
};
struct CodecContextFree {
    void operator()(AVCodecContext* p) const { avcodec_free_context(&p); }
};
struct FrameFree {
    void operator()(AVFrame* p) const { av_frame_free(&p); }
};
struct PacketFree {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct SwrFree {
    void operator()(SwrContext* p) const { swr_free(&p); }
};
struct FifoFree {
    void operator()(AVAudioFifo* p) const { av_audio_fifo_free(p); }
};
struct DictFree {
    void operator()(AVDictionary* p) const { av_dict_free(&p); }
};

using InputContextPtr = std::unique_ptr<AVFormatContext, InputContextFree>;
using OutputContextPtr = std::unique_ptr<AVFormatContext, OutputContextFree>;
using CodecContextPtr = std::unique_ptr<AVCodecContext, CodecContextFree>;
using FramePtr = std::unique_ptr<AVFrame, FrameFree>;
using PacketPtr = std::unique_ptr<AVPacket, PacketFree>;
using SwrPtr = std::unique_ptr<SwrContext, SwrFree>;
using FifoPtr = std::unique_ptr<AVAudioFifo, FifoFree>;
using DictPtr = std::unique_ptr<AVDictionary, DictFree>;
struct AvFree {
    void operator()(void* p) const { av_free(p); }
};
// Text in FFmpeg's own memory, which a dictionary can take over without a copy.
using AvTextPtr = std::unique_ptr<char, AvFree>;

// A channel layout that frees itself.
class ChannelLayout {
public:
    ChannelLayout() = default;
    explicit ChannelLayout(const AVChannelLayout& other) {
        av_channel_layout_copy(&layout_, &other);
    }
    ChannelLayout(const ChannelLayout& other) : ChannelLayout(other.layout_) {}
    ChannelLayout& operator=(const ChannelLayout& other) {
        if (this != &other) {
            av_channel_layout_uninit(&layout_);
            av_channel_layout_copy(&layout_, &other.layout_);
        }
        return *this;
    }
    ~ChannelLayout() { av_channel_layout_uninit(&layout_); }

    [[nodiscard]] const AVChannelLayout& get() const { return layout_; }
    [[nodiscard]] AVChannelLayout& get() { return layout_; }
    [[nodiscard]] int channels() const { return layout_.nb_channels; }
    [[nodiscard]] bool operator==(const ChannelLayout& other) const {
        return av_channel_layout_compare(&layout_, &other.layout_) == 0;
    }

    // The usual layout for a channel count.
    [[nodiscard]] static ChannelLayout Default(int channels) {
        ChannelLayout l;
        av_channel_layout_default(&l.layout_, channels);
        return l;
    }

private:
    AVChannelLayout layout_{};
};

// Sample format, rate and channel layout of a stream of audio.
struct AudioSpec {
    AVSampleFormat format = AV_SAMPLE_FMT_NONE;
    int sampleRate = 0;
    ChannelLayout layout;

    [[nodiscard]] bool operator==(const AudioSpec& other) const = default;
};

} // namespace conv
