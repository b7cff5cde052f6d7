#include "decoder.h"

#include "input_policy.h"
#include "wav_length.h"

#include <algorithm>
#include <cstdio>
#include <string_view>
#include <vector>

extern "C" {
#include <libavutil/common.h>
#include <libavutil/mathematics.h>
#include <libavutil/opt.h>
}

namespace conv {

namespace {

// Beyond these a header is damaged, not describing a real recording: decoding it would
// take minutes and gigabytes for a file of a few kilobytes.
constexpr int kMinSampleRate = 1000;
constexpr int kMaxSampleRate = 768000;
constexpr int kMaxChannels = 64;
constexpr int kMaxBlockAlign = 1 << 20;
constexpr int kMaxBytesPerSample = 8;

bool IsPcm(AVCodecID id) {
    return id >= AV_CODEC_ID_FIRST_AUDIO && id < AV_CODEC_ID_ADPCM_IMA_QT;
}

// A PCM block holds one sample per channel; anything bigger is not a recording's.
bool PlausibleBlock(const AVCodecParameters& audio) {
    if (IsPcm(audio.codec_id))
        return audio.block_align <= audio.ch_layout.nb_channels * kMaxBytesPerSample;
    return audio.block_align <= kMaxBlockAlign;
}

bool PlausibleAudio(int sampleRate, int channels) {
    return sampleRate >= kMinSampleRate && sampleRate <= kMaxSampleRate && channels > 0 &&
           channels <= kMaxChannels;
}

// One line on what makes the header impossible.
std::string Implausible(const AVCodecParameters& audio) {
    const int channels = audio.ch_layout.nb_channels;
    std::string what;
    if (audio.sample_rate > kMaxSampleRate)
        what = "a sample rate of " + std::to_string(audio.sample_rate) + " Hz";
    else if (channels > kMaxChannels)
        what = std::to_string(channels) + " channels";
    else
        what = "blocks of " + std::to_string(audio.block_align) + " bytes";
    return "the file is damaged (its header claims " + what + ")";
}

// libavformat's own default, stated so that the message can name it.
constexpr int kMaxStreams = 1000;

std::string ByteSize(std::uint64_t bytes) {
    if (bytes < 1000)
        return std::to_string(bytes) + " bytes";
    char text[32];
    const auto value = static_cast<double>(bytes);
    if (bytes < 1000 * 1000)
        std::snprintf(text, sizeof text, "%.0f kB", value / 1e3);
    else
        std::snprintf(text, sizeof text, "%.1f MB", value / 1e6);
    return text;
}

} // namespace

bool InputFile::diskFailed(int err) const {
    // Demuxers report a file that ends too soon as an input/output error as well; only an
    // error our reader met comes from the disk.
    if (err == AVERROR(EIO))
        return io_ && io_->error != 0;
    return err == AVERROR(ENOMEM) || err == AVERROR(EACCES);
}

std::string InputFile::readFailure(int err) const {
    if (err == AVERROR(EIO) && !diskFailed(err))
        return DescribeAvError(AVERROR_EOF) + " (cut short or damaged)";
    return "cannot read the file: " + DescribeAvError(err);
}

std::string InputFile::openFailure(int err, const AVInputFormat* kind, int probeScore,
                                   const LeadingTags& tags) const {
    if (nestedOpenTried_ && kind) {
        if (auto refused = RefusedInputKind(*kind))
            return *refused;
        return std::string("the file names other files to read (") + kind->name +
               "); those are not opened";
    }
    if (err == AVERROR(ENOMEM) && tags.pictures >= kMaxStreams)
        return "the file holds " + std::to_string(tags.pictures) +
               " pictures, more than can be read (" + std::to_string(kMaxStreams - 1) + ")";
    if (err == AVERROR(ENOMEM))
        return "cannot open the file: it holds more than " + std::to_string(kMaxStreams) +
               " streams or pictures, or memory ran out";
    if (tags.id3End > tags.fileBytes)
        return "the file is damaged (its ID3 tag claims " +
               ByteSize(static_cast<std::uint64_t>(tags.id3End)) + ", but the whole file is " +
               ByteSize(static_cast<std::uint64_t>(tags.fileBytes)) + ")";
    if (err == AVERROR(EIO) && !diskFailed(err))
        return readFailure(err);
    // Known by its contents, not just its name, yet its header runs past the end.
    if (kind && probeScore > AVPROBE_SCORE_EXTENSION && io_->eof_reached && !diskFailed(err))
        return readFailure(AVERROR(EIO));
    // Opening itself was checked before; what fails here is reading the contents.
    if (err == AVERROR(EIO) || err == AVERROR(EACCES))
        return "cannot open the file: " + DescribeAvError(err);
    return "not a media file of a known kind (or it is damaged)";
}

Status InputFile::open(const std::string& path, int fd) {
    path_ = path;
    // Checked before libavformat unpacks anything: it would hold all of it in memory. What
    // the scan could not hide (a tag whose frames cannot be found) fails the file.
    const LeadingTags tags = ScanLeadingTags(fd);
    if (tags.hiddenUnpackedBytes > 0)
        tagNotes_.push_back("note: the ID3 tag holds compressed frames that claim to unpack to " +
                            ByteSize(tags.unpackedBytes + tags.hiddenUnpackedBytes) +
                            "; they are left out as damaged");
    if (tags.unpackedBytes > kMaxUnpackedTagBytes)
        return Fail(path,
                    "the file is damaged (its ID3 tag claims compressed data that unpacks to " +
                        ByteSize(tags.unpackedBytes) + ")");
    io_ = ReadIo(fd, tags.hidden);
    tagsNotRead_ = tags.tagsHidden;
    AVFormatContext* raw = avformat_alloc_context();
    if (!io_ || !raw) {
        avformat_free_context(raw);
        return Fail(path, "out of memory");
    }
    raw->pb = io_.get();
    raw->flags |= AVFMT_FLAG_CUSTOM_IO;
    raw->max_streams = kMaxStreams;
    // Only this one file is read: a playlist must not reach the user's other files.
    ForbidNestedOpens(*raw, nestedOpenTried_);
    // The name only lends its extension to the probe.
    const std::string url = "file:" + path;
    const AVInputFormat* kind = nullptr;
    int ret = av_probe_input_buffer2(io_.get(), &kind, url.c_str(), nullptr, 0, 0);
    const int probeScore = ret;
    if (ret >= 0 && kind) {
        if (auto refused = RefusedInputKind(*kind)) {
            avformat_free_context(raw);
            return Fail(path, *refused);
        }
        ret = avformat_open_input(&raw, url.c_str(), kind, nullptr);
    } else {
        avformat_free_context(raw);
    }
    if (ret < 0)
        return Fail(path, openFailure(ret, kind, probeScore, tags));
    format_.reset(raw);

    // Header lengths are taken before stream probing fills in estimates.
    std::vector<std::int64_t> headerDurations;
    for (unsigned i = 0; i < format_->nb_streams; ++i)
        headerDurations.push_back(format_->streams[i]->duration);

    // Probing decodes a little of each stream; a picture may claim gigabytes of pixels.
    av_opt_set(format_.get(), "codec_whitelist", AudioDecoderNames().c_str(), 0);
    ret = avformat_find_stream_info(format_.get(), nullptr);
    if (ret < 0)
        return Fail(path, readFailure(ret));
    FillPictureSizes(*format_);

    const AVCodec* codec = nullptr;
    ret = av_find_best_stream(format_.get(), AVMEDIA_TYPE_AUDIO, -1, -1, &codec, 0);
    if (ret == AVERROR_STREAM_NOT_FOUND)
        return Fail(path, "the file has no audio");
    if (ret == AVERROR_DECODER_NOT_FOUND || ret < 0 || !codec)
        return Fail(path, "the audio of this file is in a format that cannot be decoded");
    stream_ = format_->streams[ret];
    const AVCodecParameters& audio = *stream_->codecpar;
    if (audio.sample_rate > kMaxSampleRate || audio.ch_layout.nb_channels > kMaxChannels ||
        !PlausibleBlock(audio))
        return Fail(path, Implausible(audio));

    // Everything but the chosen audio is skipped by the demuxer.
    for (unsigned i = 0; i < format_->nb_streams; ++i) {
        if (format_->streams[i] != stream_)
            format_->streams[i]->discard = AVDISCARD_ALL;
    }

    // Streams found only while probing have no header length; a length timed from the
    // first and last stamps will do, one guessed from the bitrate (headerless VBR) will not.
    const auto index = static_cast<std::size_t>(ret);
    const std::int64_t headerDuration =
        index < headerDurations.size() ? headerDurations[index] : AV_NOPTS_VALUE;
    const std::int64_t origin = format_->start_time != AV_NOPTS_VALUE ? format_->start_time : 0;
    if (headerDuration > 0 && headerDuration != AV_NOPTS_VALUE) {
        std::int64_t start = origin;
        if (stream_->start_time != AV_NOPTS_VALUE)
            start = av_rescale_q(stream_->start_time, stream_->time_base, AV_TIME_BASE_Q);
        declaredEndUs_ =
            start - origin + av_rescale_q(headerDuration, stream_->time_base, AV_TIME_BASE_Q);
    } else if (format_->duration > 0 && format_->duration != AV_NOPTS_VALUE &&
               format_->duration_estimation_method == AVFMT_DURATION_FROM_PTS) {
        declaredEndUs_ = format_->duration;
    } else if (std::string_view(format_->iformat->name) == "wav" &&
               stream_->codecpar->block_align > 0 && stream_->codecpar->sample_rate > 0) {
        // A data chunk larger than the file: the demuxer gives up the claim, we keep it.
        if (const auto bytes = WavDataBytes(fd))
            declaredEndUs_ = av_rescale(*bytes / stream_->codecpar->block_align, 1000000,
                                        stream_->codecpar->sample_rate);
    }

    decoder_.reset(avcodec_alloc_context3(codec));
    packet_.reset(av_packet_alloc());
    if (!decoder_ || !packet_)
        return Fail(path, "out of memory");
    ret = avcodec_parameters_to_context(decoder_.get(), stream_->codecpar);
    if (ret < 0)
        return Fail(path, "cannot read the audio: " + DescribeAvError(ret));
    decoder_->pkt_timebase = stream_->time_base;
    decoder_->thread_count = 1;
    ret = avcodec_open2(decoder_.get(), codec, nullptr);
    if (ret < 0)
        return Fail(path, "cannot decode the audio: " + DescribeAvError(ret));
    return std::nullopt;
}

std::int64_t InputFile::durationUs() const {
    return format_->duration;
}

std::int64_t InputFile::startUs() const {
    return format_->start_time;
}

std::int64_t InputFile::bitRate() const {
    return format_->bit_rate;
}

const AVDictionary* InputFile::formatTags() const {
    return format_->metadata;
}

const AVDictionary* InputFile::streamTags() const {
    return stream_->metadata;
}

void InputFile::seekBefore(std::int64_t startUs) {
    // Decoders need a little audio before the start to settle (bit reservoir, overlap).
    constexpr std::int64_t kPreRollUs = 500000;
    std::int64_t target = std::max<std::int64_t>(0, startUs - kPreRollUs);
    if (format_->start_time != AV_NOPTS_VALUE)
        target = av_sat_add64(target, format_->start_time);
    if (avformat_seek_file(format_.get(), -1, INT64_MIN, target, target, 0) >= 0)
        avcodec_flush_buffers(decoder_.get());
}

void InputFile::countDamaged(std::int64_t us) {
    ++damaged_;
    damagedUs_ += us;
}

std::int64_t InputFile::packetUs(const AVPacket* packet) const {
    if (packet->duration > 0)
        return av_rescale_q(packet->duration, stream_->time_base, AV_TIME_BASE_Q);
    if (decoder_->frame_size > 0 && decoder_->sample_rate > 0)
        return av_rescale(decoder_->frame_size, 1000000, decoder_->sample_rate);
    return lastFrameUs_;
}

std::optional<std::int64_t> InputFile::frameStartSample(const AVFrame* frame) const {
    std::int64_t ts = frame->best_effort_timestamp;
    if (ts == AV_NOPTS_VALUE)
        ts = frame->pts;
    if (ts == AV_NOPTS_VALUE || frame->sample_rate <= 0)
        return std::nullopt;
    std::int64_t origin = 0;
    if (format_->start_time != AV_NOPTS_VALUE)
        origin = av_rescale_q(format_->start_time, AV_TIME_BASE_Q, stream_->time_base);
    else if (stream_->start_time != AV_NOPTS_VALUE)
        origin = stream_->start_time;
    return av_rescale_q(av_sat_sub64(ts, origin), stream_->time_base,
                        AVRational{1, frame->sample_rate});
}

Status InputFile::next(AVFrame* frame, bool& gotFrame) {
    gotFrame = false;
    int idleReads = 0;
    for (;;) {
        int ret = avcodec_receive_frame(decoder_.get(), frame);
        if (ret >= 0) {
            // A rate far from any real audio only comes from damage; resampling it would turn
            // a small file into hours of output.
            if (frame->nb_samples > 0 &&
                PlausibleAudio(frame->sample_rate, frame->ch_layout.nb_channels)) {
                lastFrameUs_ = av_rescale(frame->nb_samples, 1000000, frame->sample_rate);
                gotFrame = true;
                return std::nullopt;
            }
            av_frame_unref(frame);
            continue;
        }
        if (ret == AVERROR_EOF)
            return std::nullopt;
        if (ret != AVERROR(EAGAIN)) {
            countDamaged(lastPacketUs_);
            if (draining_)
                return std::nullopt;
        }
        if (draining_)
            return std::nullopt;

        ret = av_read_frame(format_.get(), packet_.get());
        if (ret == AVERROR(EAGAIN) && ++idleReads < 1000)
            continue;
        if (ret < 0) {
            if (diskFailed(ret))
                return Fail(path_, "cannot read the file: " + DescribeAvError(ret));
            // The end, or data too damaged to go on: decode what the decoder still holds.
            avcodec_send_packet(decoder_.get(), nullptr);
            draining_ = true;
            continue;
        }
        if (packet_->stream_index == stream_->index) {
            lastPacketUs_ = packetUs(packet_.get());
            ret = avcodec_send_packet(decoder_.get(), packet_.get());
            if (ret < 0 && ret != AVERROR(EAGAIN))
                countDamaged(lastPacketUs_);
        }
        av_packet_unref(packet_.get());
    }
}

} // namespace conv
