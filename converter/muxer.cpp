#include "muxer.h"

#include "encoder.h"
#include "pictures.h"
#include "tags.h"

#include <algorithm>

namespace conv {

namespace {

// The MP4 writer reads its own output back to move the index to the front; it gets the
// descriptor it writes through, never the file's name.
int OpenForReadingAgain(AVFormatContext* context, AVIOContext** pb, const char* /*url*/, int flags,
                        AVDictionary** /*options*/) {
    if ((flags & AVIO_FLAG_WRITE) != 0)
        return AVERROR(EPERM);
    const int fd = *static_cast<const int*>(context->opaque);
    *pb = ReadIo(fd).release();
    return *pb ? 0 : AVERROR(ENOMEM);
}

#if LIBAVFORMAT_VERSION_MAJOR >= 60
int CloseReadAgain(AVFormatContext* /*context*/, AVIOContext* pb) {
    AvioFree()(pb);
    return 0;
}
#else
void CloseReadAgain(AVFormatContext* /*context*/, AVIOContext* pb) {
    AvioFree()(pb);
}
#endif

} // namespace

Status Muxer::open(int fd, const std::string& shownPath, std::string_view muxer) {
    shownPath_ = shownPath;
    AVFormatContext* context = nullptr;
    const int ret =
        avformat_alloc_output_context2(&context, nullptr, std::string(muxer).c_str(), nullptr);
    context_.reset(context);
    if (ret < 0 || !context_)
        return Fail(shownPath_, "cannot create the output: " + DescribeAvError(ret));
    io_ = WriteIo(fd);
    if (!io_)
        return Fail(shownPath_, "out of memory");
    context_->pb = io_.get();
    context_->flags |= AVFMT_FLAG_CUSTOM_IO;
    fd_ = fd;
    context_->opaque = &fd_;
    context_->io_open = OpenForReadingAgain;
#if LIBAVFORMAT_VERSION_MAJOR >= 60
    context_->io_close2 = CloseReadAgain;
#else
    context_->io_close = CloseReadAgain;
#endif
    return std::nullopt;
}

bool Muxer::wantsGlobalHeader() const {
    return (context_->oformat->flags & AVFMT_GLOBALHEADER) != 0;
}

Status Muxer::addStream(const AudioEncoder& encoder) {
    stream_ = avformat_new_stream(context_.get(), nullptr);
    if (!stream_)
        return Fail(shownPath_, "out of memory");
    const int ret = encoder.describe(stream_->codecpar);
    if (ret < 0)
        return Fail(shownPath_, "cannot describe the audio: " + DescribeAvError(ret));
    stream_->time_base = encoder.timeBase();
    return std::nullopt;
}

void Muxer::setTags(const std::vector<Tag>& tags) {
    av_dict_free(&context_->metadata);
    av_dict_free(&stream_->metadata);
    context_->metadata = ToDictionary(tags).release();
    stream_->metadata = ToDictionary(tags).release();
}

void Muxer::addStreamTag(const char* key, AvTextPtr value) {
    // A cover as text runs to megabytes: the dictionary takes it over rather than copying it.
    if (value)
        av_dict_set(&stream_->metadata, key, value.release(), AV_DICT_DONT_STRDUP_VAL);
}

Status Muxer::addPicture(const Picture& picture) {
    AVStream* stream = avformat_new_stream(context_.get(), nullptr);
    if (!stream)
        return Fail(shownPath_, "out of memory");
    const AVCodecParameters& image = *picture.stream->codecpar;
    stream->codecpar->codec_type = AVMEDIA_TYPE_VIDEO;
    stream->codecpar->codec_id = image.codec_id;
    stream->codecpar->width = image.width;
    stream->codecpar->height = image.height;
    stream->codecpar->format = image.format;
    stream->disposition = AV_DISPOSITION_ATTACHED_PIC;
    stream->time_base = AVRational{1, 90000};
    // The writers name the kind of picture after this text, and take the title as its caption.
    av_dict_set(&stream->metadata, "comment", PictureTypeName(picture.type), 0);
    if (!picture.description.empty())
        av_dict_set(&stream->metadata, "title", picture.description.c_str(), 0);
    pictures_.push_back(&picture.image());
    return std::nullopt;
}

Status Muxer::writeHeader(std::string_view options) {
    AVDictionary* settings = nullptr;
    int ret = av_dict_parse_string(&settings, std::string(options).c_str(), "=", ":", 0);
    const bool id3v1 = av_dict_get(settings, "write_id3v1", nullptr, 0) != nullptr;
    if (ret >= 0)
        ret = avformat_write_header(context_.get(), &settings);
    av_dict_free(&settings); // what the muxer left unused
    if (ret < 0)
        return writeFailure(ret);

    // The pictures go first (the MP3 and FLAC writers hold the audio back until they have
    // them), through the same interleaving queue as the audio: a file is written one way only.
    PacketPtr packet(av_packet_alloc());
    if (!packet)
        return Fail(shownPath_, "out of memory");
    for (std::size_t i = 0; i < pictures_.size(); ++i) {
        if (av_packet_ref(packet.get(), pictures_[i]) < 0)
            return Fail(shownPath_, "out of memory");
        packet->stream_index = stream_->index + 1 + static_cast<int>(i);
        packet->pts = packet->dts = 0;
        ret = av_interleaved_write_frame(context_.get(), packet.get());
        if (ret >= 0 && context_->pb->error < 0)
            ret = context_->pb->error;
        if (ret < 0)
            return writeFailure(ret);
    }

    // ID3v2 is written; ID3v1, made from the same tags at the end, holds ISO-8859-1 only.
    if (id3v1) {
        DictPtr latin1 = Latin1Tags(context_->metadata);
        av_dict_free(&context_->metadata);
        context_->metadata = latin1.release();
    }
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
    int ret = av_interleaved_write_frame(context_.get(), packet);
    if (ret >= 0 && context_->pb->error < 0)
        ret = context_->pb->error;
    if (ret < 0)
        return writeFailure(ret);
    return std::nullopt;
}

Status Muxer::finish() {
    int ret = av_write_trailer(context_.get());
    avio_flush(context_->pb);
    if (ret >= 0 && context_->pb->error < 0)
        ret = context_->pb->error;
    finalBytes_ = avio_size(context_->pb);
    context_->pb = nullptr;
    io_.reset();
    // A cover kept as text may run to megabytes; the check that follows reads it back.
    av_dict_free(&context_->metadata);
    for (unsigned i = 0; i < context_->nb_streams; ++i)
        av_dict_free(&context_->streams[i]->metadata);
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
