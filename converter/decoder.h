#pragma once

#include "av_ptr.h"
#include "errors.h"
#include "fd_io.h"
#include "pictures.h"
#include "tag_scan.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

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
    // Where the audio should end, from the start of the file, when the header states it
    // (guesses from the bitrate do not count).
    [[nodiscard]] std::optional<std::int64_t> declaredEndUs() const { return declaredEndUs_; }

    // Moves to a point shortly before startUs, so that decoding reaches it soon. When the
    // file cannot seek, decoding simply starts at the beginning.
    void seekBefore(std::int64_t startUs);

    // Decodes the next frame into `frame`; false at the end of the audio. Damaged packets
    // are skipped; only a failing disk stops with an error.
    [[nodiscard]] Status next(AVFrame* frame, bool& gotFrame);

    // Where a decoded frame starts, in samples of its own rate from the start of the file.
    [[nodiscard]] std::optional<std::int64_t> frameStartSample(const AVFrame* frame) const;

    // Packets that failed to decode, and the time they held.
    [[nodiscard]] int damagedPackets() const { return damaged_; }
    [[nodiscard]] std::int64_t damagedUs() const { return damagedUs_; }
    [[nodiscard]] const AVDictionary* formatTags() const;
    [[nodiscard]] const AVDictionary* streamTags() const;
    // Tags of the file not read at all, beyond what is carried.
    [[nodiscard]] std::size_t tagsNotRead() const { return tagsNotRead_; }
    // Notes on tags left out while opening.
    [[nodiscard]] const std::vector<std::string>& tagNotes() const { return tagNotes_; }
    // Cover art; valid while this file is open.
    [[nodiscard]] std::vector<Picture> pictures(int& unsupported) const {
        return AttachedPictures(*format_, unsupported);
    }

private:
    std::string path_;
    AvioPtr io_; // outlives format_
    InputContextPtr format_;
    CodecContextPtr decoder_;
    PacketPtr packet_;
    AVStream* stream_ = nullptr;
    void countDamaged(std::int64_t us);
    // Whether a read error came from the disk rather than from a file that ends too soon.
    [[nodiscard]] bool diskFailed(int err) const;
    [[nodiscard]] std::string readFailure(int err) const;
    [[nodiscard]] std::string openFailure(int err, const AVInputFormat* kind, int probeScore,
                                          const LeadingTags& tags) const;
    [[nodiscard]] std::int64_t packetUs(const AVPacket* packet) const;

    std::optional<std::int64_t> declaredEndUs_;
    bool nestedOpenTried_ = false;
    std::size_t tagsNotRead_ = 0;
    std::vector<std::string> tagNotes_;
    bool draining_ = false;
    int damaged_ = 0;
    std::int64_t damagedUs_ = 0;
    std::int64_t lastPacketUs_ = 0;
    std::int64_t lastFrameUs_ = 0;
};

} // namespace conv
