#pragma once

#include "av_ptr.h"
#include "errors.h"

#include <cstdint>
#include <limits>

namespace conv {

// Samples in the encoder's format waiting to be cut into encoder frames. It stops taking
// samples at its limit, which is how the cut length is kept exactly.
class SampleFifo {
public:
    [[nodiscard]] bool init(const AudioSpec& spec, std::int64_t limit);

    // Takes up to `count` samples; returns false only when memory runs out.
    [[nodiscard]] bool write(uint8_t* const* data, int count);
    // Fills a frame with `count` samples from the front.
    [[nodiscard]] bool read(AVFrame* frame, int count);

    [[nodiscard]] int size() const { return av_audio_fifo_size(fifo_.get()); }
    [[nodiscard]] bool full() const { return written_ >= limit_; }
    [[nodiscard]] std::int64_t written() const { return written_; }

private:
    FifoPtr fifo_;
    std::int64_t limit_ = std::numeric_limits<std::int64_t>::max();
    std::int64_t written_ = 0;
};

// Converts decoded frames to the encoder's format, rate and layout. The input format may
// change between frames; the converter follows it.
class Resampler {
public:
    explicit Resampler(AudioSpec output) : out_(std::move(output)) {}
    ~Resampler();
    Resampler(const Resampler&) = delete;
    Resampler& operator=(const Resampler&) = delete;

    // Converts the frame's samples from `skip` on and hands them to the FIFO.
    [[nodiscard]] Status push(const AVFrame* frame, int skip, SampleFifo& fifo);
    // Hands over what the converter still holds.
    [[nodiscard]] Status flush(SampleFifo& fifo);

private:
    [[nodiscard]] Status configure(const AudioSpec& in);
    [[nodiscard]] Status convert(const uint8_t** data, int count, SampleFifo& fifo, int& got);

    AudioSpec out_;
    AudioSpec in_;
    SwrPtr swr_;
    bool configured_ = false;
    bool passThrough_ = false;
    uint8_t** buffer_ = nullptr;
    int bufferSamples_ = 0;
};

// The frame's own format, rate and layout; an unordered layout becomes the usual one.
[[nodiscard]] AudioSpec SpecOfFrame(const AVFrame* frame);

} // namespace conv
