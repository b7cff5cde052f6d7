#pragma once

#include "av_ptr.h"
#include "conv_protocol/loudness.h"

#include <ebur128.h>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace conv {

// Measures the loudness of the audio as a player will hear it, on a thread of its own so the
// conversion does not wait for it: a lossless encoder's input as it is, a lossy encoder's
// packets decoded again (the encoding moves both loudness and peak a little). Memory stays
// within a few frames whatever the length.
class LoudnessMeter {
public:
    LoudnessMeter() = default;
    ~LoudnessMeter();
    LoudnessMeter(const LoudnessMeter&) = delete;
    LoudnessMeter& operator=(const LoudnessMeter&) = delete;

    // Measures the frames given to add(). False when the meter cannot take this audio (or
    // memory runs out).
    [[nodiscard]] bool start(int sampleRate, const AVChannelLayout& layout);
    // Measures the packets given to add(), decoded with the encoder's own parameters.
    [[nodiscard]] bool startDecoding(const AVCodecParameters& encoded);
    // Takes a copy of the frame's samples; false when memory runs out.
    [[nodiscard]] bool add(const AVFrame* frame);
    // Takes a reference to the packet's data; false when memory runs out.
    [[nodiscard]] bool add(const AVPacket* packet);
    // Waits for the samples still queued; nothing when the meter failed on the way.
    [[nodiscard]] std::optional<conv_protocol::Loudness> finish();

private:
    struct Chunk {
        std::vector<FramePtr> frameRefs;
        std::size_t frames = 0;
        std::vector<PacketPtr> packets; // instead, when decoding
    };
    [[nodiscard]] bool flush();
    void work();
    bool measure(const Chunk& chunk);
    bool decode(const AVPacket* packet);
    bool measure(const float* samples, std::size_t frames);
    void stop();

    ebur128_state* state_ = nullptr;
    CodecContextPtr decoder_;
    FramePtr decoded_;
    std::vector<float> decodedSamples_; // the meter's thread only
    std::int64_t toSkip_ = 0;           // the encoder's delay, silence no player plays
    int channels_ = 0;
    std::size_t hop_ = 0; // frames in 100 ms, where gating blocks end
    std::size_t fed_ = 0;
    conv_protocol::BlockHistogram blocks_;
    bool failed_ = false;

    std::thread worker_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Chunk> queue_;
    std::vector<Chunk> spare_;
    Chunk filling_; // the converter's side only
    bool closing_ = false;
};

// Appends the frame's samples as interleaved floats, full scale at 1.0; false for a sample
// format it does not know.
[[nodiscard]] bool AppendInterleavedFloat(const AVFrame* frame, std::vector<float>& out);

} // namespace conv
