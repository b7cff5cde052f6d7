#pragma once

#include "av_ptr.h"
#include "errors.h"
#include "fd_io.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace conv {

class AudioEncoder;

// Writes one audio stream into a container file. Every write is checked, including the final
// flush, so a full disk is never reported as success.
class Muxer {
public:
    Muxer() = default;
    ~Muxer();
    Muxer(const Muxer&) = delete;
    Muxer& operator=(const Muxer&) = delete;

    // The bytes go to `fd` (kept open by the caller); `shownPath` names the output in
    // messages.
    [[nodiscard]] Status open(int fd, const std::string& shownPath, std::string_view muxer);
    // Whether the encoder must put its set-up data in a global header.
    [[nodiscard]] bool wantsGlobalHeader() const;
    [[nodiscard]] Status addStream(const AudioEncoder& encoder);
    // Copies the tags that describe the recording.
    void copyTags(const AVDictionary* formatTags, const AVDictionary* streamTags);
    [[nodiscard]] Status writeHeader();
    // Takes the packet's data; its time stamps are in `timeBase`.
    [[nodiscard]] Status write(AVPacket* packet, AVRational timeBase);
    // Writes the trailer and everything still buffered.
    [[nodiscard]] Status finish();

    [[nodiscard]] std::int64_t bytesWritten() const;
    // The stream as written: codec, rate, channels, and the time its packets cover.
    [[nodiscard]] const AVCodecParameters& written() const { return *stream_->codecpar; }
    [[nodiscard]] double coveredSeconds() const;

private:
    [[nodiscard]] Status writeFailure(int err) const;

    std::string shownPath_;
    AvioPtr io_;
    AVFormatContext* context_ = nullptr;
    AVStream* stream_ = nullptr;
    std::int64_t finalBytes_ = 0;
    AVRational encoderTimeBase_{0, 1};
    std::int64_t firstPts_ = AV_NOPTS_VALUE;
    std::int64_t endPts_ = 0;
};

} // namespace conv
