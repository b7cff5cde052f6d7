#include "muxer.h"

#include "encoder.h"

#include <algorithm>
#include <cstring>

extern "C" {
#include <libavutil/avstring.h>
}

namespace conv {

namespace {

// Tags the libraries write themselves or that describe the old container only.
bool IsContainerTag(const char* key) {
    for (const char* name : {"encoder", "major_brand", "minor_version", "compatible_brands"}) {
        if (av_strcasecmp(key, name) == 0)
            return true;
    }
    return false;
}

void CopyInto(AVDictionary** target, const AVDictionary* source) {
    const AVDictionaryEntry* entry = nullptr;
    while ((entry = av_dict_get(source, "", entry, AV_DICT_IGNORE_SUFFIX))) {
        if (!IsContainerTag(entry->key))
            av_dict_set(target, entry->key, entry->value, AV_DICT_DONT_OVERWRITE);
    }
}

} // namespace

Muxer::~Muxer() {
    avformat_free_context(context_);
}

Status Muxer::open(int fd, const std::string& shownPath, std::string_view muxer) {
    shownPath_ = shownPath;
    const int ret =
        avformat_alloc_output_context2(&context_, nullptr, std::string(muxer).c_str(), nullptr);
    if (ret < 0 || !context_)
        return Fail(shownPath_, "cannot create the output: " + DescribeAvError(ret));
    io_ = WriteIo(fd);
    if (!io_)
        return Fail(shownPath_, "out of memory");
    context_->pb = io_.get();
    context_->flags |= AVFMT_FLAG_CUSTOM_IO;
    return std::nullopt;
}

bool Muxer::wantsGlobalHeader() const {
    return (context_->oformat->flags & AVFMT_GLOBALHEADER) != 0;
}

Status Muxer::addStream(const AudioEncoder& encoder) {
    stream_ = avformat_new_stream(context_, nullptr);
    if (!stream_)
        return Fail(shownPath_, "out of memory");
    const int ret = encoder.describe(stream_->codecpar);
    if (ret < 0)
        return Fail(shownPath_, "cannot describe the audio: " + DescribeAvError(ret));
    stream_->time_base = encoder.timeBase();
    return std::nullopt;
}

void Muxer::copyTags(const AVDictionary* formatTags, const AVDictionary* streamTags) {
    // Containers keep tags either for the file or for the stream; both get them.
    CopyInto(&context_->metadata, formatTags);
    CopyInto(&context_->metadata, streamTags);
    CopyInto(&stream_->metadata, context_->metadata);
}

Status Muxer::writeHeader() {
    const int ret = avformat_write_header(context_, nullptr);
    if (ret < 0)
        return writeFailure(ret);
    return std::nullopt;
}

Status Muxer::write(AVPacket* packet, AVRational timeBase) {
    if (packet->pts != AV_NOPTS_VALUE) {
        encoderTimeBase_ = timeBase;
        if (firstPts_ == AV_NOPTS_VALUE)
            firstPts_ = packet->pts;
        endPts_ = std::max(endPts_, packet->pts + packet->duration);
    }
    packet->stream_index = stream_->index;
    av_packet_rescale_ts(packet, timeBase, stream_->time_base);
    int ret = av_interleaved_write_frame(context_, packet);
    if (ret >= 0 && context_->pb->error < 0)
        ret = context_->pb->error;
    if (ret < 0)
        return writeFailure(ret);
    return std::nullopt;
}

Status Muxer::finish() {
    int ret = av_write_trailer(context_);
    avio_flush(context_->pb);
    if (ret >= 0 && context_->pb->error < 0)
        ret = context_->pb->error;
    finalBytes_ = avio_size(context_->pb);
    context_->pb = nullptr;
    io_.reset();
    if (ret < 0)
        return writeFailure(ret);
    return std::nullopt;
}

std::int64_t Muxer::bytesWritten() const {
    if (!context_ || !context_->pb)
        return finalBytes_;
    return avio_tell(context_->pb);
}

double Muxer::coveredSeconds() const {
    if (firstPts_ == AV_NOPTS_VALUE)
        return 0.0;
    return static_cast<double>(endPts_ - firstPts_) * av_q2d(encoderTimeBase_);
}

Status Muxer::writeFailure(int err) const {
    return Fail(shownPath_, "cannot write the output: " + DescribeAvError(err));
}

} // namespace conv
