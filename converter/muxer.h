#pragma once

#include "av_ptr.h"
#include "errors.h"
#include "fd_io.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace conv {

class AudioEncoder;
struct Picture;
struct Tag;

// Writes one audio stream, its tags and cover art into a container file. Every write is
// checked, including the final flush, so a full disk is never reported as success.
class Muxer {
public:
    Muxer() = default;
    Muxer(const Muxer&) = delete;
    Muxer& operator=(const Muxer&) = delete;

    // The bytes go to `fd` (kept open by the caller); `shownPath` names the output in
    // messages.
    [[nodiscard]] Status open(int fd, const std::string& shownPath, std::string_view muxer);
    // Whether the encoder must put its set-up data in a global header.
    [[nodiscard]] bool wantsGlobalHeader() const;
    [[nodiscard]] Status addStream(const AudioEncoder& encoder);
    // Containers keep tags either for the file or for the stream; both get them. The keys
    // must be unique.
    void setTags(const std::vector<Tag>& tags);
    // A tag of the audio stream alone (a Vorbis comment).
    void addStreamTag(const char* key, AvTextPtr value);
    // An attached-picture stream after the audio; its image follows the header.
    [[nodiscard]] Status addPicture(const Picture& picture);
    // Free bytes in a tag at the head of the file (ID3v2), for tags written later.
    void reserveTagRoom(int bytes) { context_->metadata_header_padding = bytes; }
    // `options` for the muxer: "key=value:key=value".
    [[nodiscard]] Status writeHeader(std::string_view options);
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
    int fd_ = -1;
    AvioPtr io_;
    // After the I/O, so it goes first.
    OutputContextPtr context_;
    AVStream* stream_ = nullptr;
    std::vector<const AVPacket*> pictures_; // the input's, one per stream after the audio
    std::int64_t finalBytes_ = 0;
    AVRational encoderTimeBase_{0, 1};
    std::int64_t firstPts_ = AV_NOPTS_VALUE;
    std::int64_t endPts_ = 0;
};

} // namespace conv
