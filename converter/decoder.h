#pragma once

#include "av_ptr.h"
#include "errors.h"
#include "fd_io.h"

#include <cstdint>
#include <optional>
#include <string>

namespace conv {

// The input file: its best audio stream and that stream's decoder.
class InputFile {
public:
    // Reads the file through `fd` (kept open by the caller; `path` only names it and hints
    // at its kind), picks the best audio stream and opens its decoder.
    [[nodiscard]] Status open(const std::string& path, int fd);

    // Header values, AV_NOPTS_VALUE (or 0 for the bitrate) when unknown.
    [[nodiscard]] std::int64_t durationUs() const;
    [[nodiscard]] std::int64_t startUs() const;
    [[nodiscard]] std::int64_t bitRate() const;
    // The audio length a lossless container's header states, when it states one.
    [[nodiscard]] std::optional<std::int64_t> declaredLengthUs() const { return declaredUs_; }

    // Moves to a point shortly before startUs, so that decoding reaches it soon. When the
    // file cannot seek, decoding simply starts at the beginning.
    void seekBefore(std::int64_t startUs);

    // Decodes the next frame into `frame`; false at the end of the audio. Damaged packets
    // are skipped; only a failing disk stops with an error.
    [[nodiscard]] Status next(AVFrame* frame, bool& gotFrame);

    // Where a decoded frame starts, in samples of its own rate from the start of the file.
    [[nodiscard]] std::optional<std::int64_t> frameStartSample(const AVFrame* frame) const;

    [[nodiscard]] int damagedPackets() const { return damaged_; }
    [[nodiscard]] const AVDictionary* formatTags() const;
    [[nodiscard]] const AVDictionary* streamTags() const;

private:
    std::string path_;
    AvioPtr io_; // outlives format_
    InputContextPtr format_;
    CodecContextPtr decoder_;
    PacketPtr packet_;
    AVStream* stream_ = nullptr;
    std::optional<std::int64_t> declaredUs_;
    bool draining_ = false;
    int damaged_ = 0;
};

} // namespace conv
