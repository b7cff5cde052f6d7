#pragma once

#include "av_ptr.h"
#include "errors.h"
#include "formats.h"
#include "options.h"

#include <memory>
#include <string>
#include <vector>

namespace conv {

// An audio encoder in the send/receive style of libavcodec.
class AudioEncoder {
public:
    virtual ~AudioEncoder() = default;

    // What the encoder takes.
    [[nodiscard]] virtual const AudioSpec& spec() const = 0;
    // Samples per frame; every frame but the last has exactly this many.
    [[nodiscard]] virtual int frameSize() const = 0;
    // Time base of the packets' time stamps.
    [[nodiscard]] virtual AVRational timeBase() const = 0;
    // Takes one frame; nullptr says no more will come. Returns a libav error code.
    [[nodiscard]] virtual int send(const AVFrame* frame) = 0;
    // 0 with a packet, AVERROR(EAGAIN) when it needs more frames, AVERROR_EOF when done.
    [[nodiscard]] virtual int receive(AVPacket* packet) = 0;
    // Describes the encoded stream for the muxer.
    [[nodiscard]] virtual int describe(AVCodecParameters* parameters) const = 0;
};

// Opens the encoder for the output format with the asked values fitted to what it can take.
// One note line per value that had to change.
[[nodiscard]] Status OpenEncoder(const FormatInfo& format, const Options& options,
                                 const AudioSpec& input, bool globalHeader,
                                 std::unique_ptr<AudioEncoder>& encoder,
                                 std::vector<std::string>& notes);

// The sample format an encoder offers that keeps the input's precision best.
[[nodiscard]] AVSampleFormat ChooseSampleFormat(const AVSampleFormat* offered, AVSampleFormat in);

} // namespace conv
