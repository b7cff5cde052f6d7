#pragma once

#include "conv_protocol/loudness.h"

#include <ebur128.h>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/frame.h>
}

namespace conv {

// Measures the loudness of the audio handed to the encoder, on a thread of its own so the
// conversion does not wait for it. Memory stays within a few frames whatever the length.
class LoudnessMeter {
public:
    LoudnessMeter() = default;
    ~LoudnessMeter();
    LoudnessMeter(const LoudnessMeter&) = delete;
    LoudnessMeter& operator=(const LoudnessMeter&) = delete;

    // False when the meter cannot take this audio (or memory runs out).
    [[nodiscard]] bool start(int sampleRate, const AVChannelLayout& layout);
    // Takes a copy of the frame's samples; false when memory runs out.
    [[nodiscard]] bool add(const AVFrame* frame);
    // Waits for the samples still queued; nothing when the meter failed on the way.
    [[nodiscard]] std::optional<conv_protocol::Loudness> finish();

private:
    struct Chunk {
        std::vector<float> samples; // interleaved
        std::size_t frames = 0;
    };
    void work();
    bool measure(const Chunk& chunk);
    void stop();

    ebur128_state* state_ = nullptr;
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
    bool closing_ = false;
};

// The frame's samples as interleaved floats, full scale at 1.0; false for a sample format
// it does not know.
[[nodiscard]] bool ToInterleavedFloat(const AVFrame* frame, std::vector<float>& out);

} // namespace conv
