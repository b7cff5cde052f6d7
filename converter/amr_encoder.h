#pragma once

#include "encoder.h"

#include <deque>

namespace conv {

// AMR-NB through libopencore-amrnb: 160 samples of 8 kHz mono per frame, one packet each.
class AmrEncoder final : public AudioEncoder {
public:
    static constexpr int kFrameSamples = 160;

    // Mode 0 (4.75 kbit/s) to 7 (12.2 kbit/s).
    explicit AmrEncoder(int mode);
    ~AmrEncoder() override;
    AmrEncoder(const AmrEncoder&) = delete;
    AmrEncoder& operator=(const AmrEncoder&) = delete;

    [[nodiscard]] bool ready() const { return state_ != nullptr; }

    [[nodiscard]] const AudioSpec& spec() const override { return spec_; }
    [[nodiscard]] int frameSize() const override { return kFrameSamples; }
    [[nodiscard]] AVRational timeBase() const override { return {1, 8000}; }
    [[nodiscard]] int send(const AVFrame* frame) override;
    [[nodiscard]] int receive(AVPacket* packet) override;
    [[nodiscard]] int describe(AVCodecParameters* parameters) const override;

private:
    void* state_ = nullptr;
    int mode_;
    AudioSpec spec_;
    std::deque<PacketPtr> ready_;
    std::int64_t nextPts_ = 0;
    bool flushed_ = false;
};

} // namespace conv
