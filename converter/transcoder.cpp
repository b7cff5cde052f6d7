#include "transcoder.h"

#include "damage_report.h"
#include "decoder.h"
#include "encoder.h"
#include "formats.h"
#include "gain_tags/gain_tags.h"
#include "loudness_meter.h"
#include "muxer.h"
#include "output_check.h"
#include "output_file.h"
#include "pictures.h"
#include "progress.h"
#include "resampler.h"
#include "source.h"
#include "tags.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <limits>
#include <memory>

extern "C" {
#include <libavutil/common.h>
#include <libavutil/mathematics.h>
}

namespace conv {

namespace {

// Bytes kept free in a header tag for the gain tags written after the audio.
constexpr int kGainTagRoom = 1024;

// Stamps closer than this to where the audio before them ended are jitter, not a gap.
constexpr std::int64_t kGapToleranceUs = 20000;

// Follows where the audio read lies in the input's time, to find gaps and the end.
class Timeline {
public:
    // `damagedUs`: the time of the packets skipped so far, which explains a gap.
    void frame(const AVFrame* frame, std::optional<std::int64_t> stamped, std::int64_t damagedUs) {
        const int rate = frame->sample_rate;
        std::int64_t start = endUs_;
        if (stamped)
            start = av_rescale(*stamped, 1000000, rate);
        if (known_) {
            const std::int64_t gap = start - endUs_ - (damagedUs - damagedAtEnd_);
            if (gap > kGapToleranceUs) {
                ++losses_.gaps;
                losses_.gapUs += gap;
            }
        }
        known_ = true;
        endUs_ = av_sat_add64(start, av_rescale(frame->nb_samples, 1000000, rate));
        damagedAtEnd_ = damagedUs;
    }

    [[nodiscard]] InputLosses losses() const { return losses_; }
    [[nodiscard]] std::int64_t endUs() const { return endUs_; }

private:
    InputLosses losses_;
    std::int64_t endUs_ = 0;
    std::int64_t damagedAtEnd_ = 0;
    bool known_ = false;
};

// Follows the decoder's position in samples, so the cut start is found to the sample.
class Cursor {
public:
    // Samples of the frame to drop before the cut start.
    int skipFor(const AVFrame* frame, std::optional<std::int64_t> stamped, std::int64_t startUs) {
        const int rate = frame->sample_rate;
        if (known_ && rate != rate_)
            position_ = av_rescale(position_, rate, rate_);
        if (!known_) {
            position_ = stamped.value_or(av_rescale(startUs, rate, 1000000));
            known_ = true;
        }
        rate_ = rate;
        const std::int64_t frameStart = position_;
        // Saturating: a damaged time stamp may sit near the end of the range.
        position_ = av_sat_add64(position_, frame->nb_samples);
        if (startUs <= 0)
            return 0;
        const std::int64_t startSample = av_rescale(startUs, rate, 1000000);
        if (startSample <= frameStart)
            return 0;
        if (startSample >= position_)
            return frame->nb_samples;
        return static_cast<int>(startSample - frameStart);
    }

private:
    std::int64_t position_ = 0;
    int rate_ = 0;
    bool known_ = false;
};

class Transcoder {
public:
    Transcoder(const Options& options, Console& console, std::vector<std::string>& warnings)
        : options_(options), console_(console), warnings_(warnings),
          format_(*FindFormat(options.output)) {}

    Status run();

private:
    Status handleFrame(const AVFrame* frame);
    Status startOutput(const AVFrame* first);
    Status addPictures();
    Status encodeWaiting(bool last);
    [[nodiscard]] bool prepareFrame(int count);
    Status encode(const AVFrame* frame);
    Status finish(bool reachedEnd);
    Status check();
    Status tagLoudness();
    void noteLosses(bool reachedEnd);
    [[nodiscard]] double outputSeconds() const {
        return static_cast<double>(fifo_.written()) / encoder_->spec().sampleRate;
    }
    Status withInputPath(Status status) const {
        if (status && status->path.empty())
            status->path = options_.input;
        return status;
    }

    const Options& options_;
    Console& console_;
    std::vector<std::string>& warnings_;
    const FormatInfo& format_;
    UniqueFd source_; // outlives input_
    InputFile input_;
    Cursor cursor_;
    Timeline timeline_;
    std::unique_ptr<AudioEncoder> encoder_;
    std::unique_ptr<Resampler> resampler_;
    SampleFifo fifo_;
    TempOutput temp_;
    Muxer muxer_;
    FramePtr encoderFrame_;
    PacketPtr packet_;
    LoudnessMeter meter_;
    bool measuring_ = false;
    bool decodeToMeasure_ = false;
    std::optional<conv_protocol::Loudness> loudness_;
    std::int64_t nextPts_ = 0;
    bool sawAudio_ = false;
};

Status Transcoder::run() {
    if (auto failed = OpenSource(options_.input, source_))
        return failed;
    if (auto failed = CheckOutput(options_, source_.get()))
        return failed;
    if (auto failed = input_.open(options_.input, source_.get()))
        return failed;
    console_.header(input_.durationUs(), input_.startUs(), input_.bitRate());

    const std::int64_t duration = input_.durationUs();
    if (options_.startUs > 0 && duration != AV_NOPTS_VALUE && duration > 0 &&
        options_.startUs >= duration)
        return Fail(options_.input, "the cut starts after the end of the file");
    if (options_.startUs > 0)
        input_.seekBefore(options_.startUs);

    FramePtr frame(av_frame_alloc());
    encoderFrame_.reset(av_frame_alloc());
    packet_.reset(av_packet_alloc());
    if (!frame || !encoderFrame_ || !packet_)
        return Fail(options_.input, "out of memory");

    bool reachedEnd = false;
    while (!(encoder_ && fifo_.full())) {
        bool gotFrame = false;
        if (auto failed = input_.next(frame.get(), gotFrame))
            return failed;
        if (!gotFrame) {
            reachedEnd = true;
            break;
        }
        auto failed = handleFrame(frame.get());
        av_frame_unref(frame.get());
        if (failed)
            return withInputPath(std::move(failed));
    }

    if (!encoder_) {
        if (sawAudio_ && options_.startUs > 0)
            return Fail(options_.input, "the cut starts after the end of the file");
        return Fail(options_.input, "no audio could be decoded (the file is damaged)");
    }
    return finish(reachedEnd);
}

Status Transcoder::handleFrame(const AVFrame* frame) {
    sawAudio_ = true;
    const auto stamped = input_.frameStartSample(frame);
    timeline_.frame(frame, stamped, input_.damagedUs());
    const int skip = cursor_.skipFor(frame, stamped, options_.startUs);
    if (skip >= frame->nb_samples)
        return std::nullopt;
    if (!encoder_) {
        if (auto failed = startOutput(frame))
            return failed;
    }
    if (auto failed = resampler_->push(frame, skip, fifo_))
        return failed;
    if (auto failed = encodeWaiting(false))
        return failed;
    console_.progress(muxer_.bytesWritten(), outputSeconds());
    return std::nullopt;
}

Status Transcoder::startOutput(const AVFrame* first) {
    // The muxer decides whether the encoder must write a global header, so it comes first.
    if (auto failed = temp_.create(options_.output))
        return failed;
    if (auto failed = muxer_.open(temp_.fd(), options_.output, format_.muxer))
        return failed;

    std::vector<std::string> notes;
    const AudioSpec input = SpecOfFrame(first);
    if (auto failed =
            OpenEncoder(format_, options_, input, muxer_.wantsGlobalHeader(), encoder_, notes))
        return failed;
    for (const auto& line : notes)
        console_.note(line);

    const AudioSpec& out = encoder_->spec();
    const std::int64_t limit = options_.lengthUs > 0
                                   ? av_rescale(options_.lengthUs, out.sampleRate, 1000000)
                                   : std::numeric_limits<std::int64_t>::max();
    if (!fifo_.init(out, limit))
        return Fail(options_.output, "out of memory");
    resampler_ = std::make_unique<Resampler>(out);

    if (auto failed = muxer_.addStream(*encoder_))
        return failed;
    if (options_.replayGain && HoldsGainTags(format_)) {
        const AVCodecDescriptor* codec = avcodec_descriptor_get(muxer_.written().codec_id);
        decodeToMeasure_ = !codec || (codec->props & AV_CODEC_PROP_LOSSY) != 0;
        measuring_ = decodeToMeasure_ ? meter_.startDecoding(muxer_.written())
                                      : meter_.start(out.sampleRate, out.layout.get());
        if (!measuring_)
            console_.note("note: the loudness of this audio cannot be measured; the output gets "
                          "no gain tags");
    }
    // Tags go wherever the container has a place for them, asked for or not.
    OutputTags tags = TagsForOutput(format_, input_.formatTags(), input_.streamTags());
    if (HoldsTags(format_))
        tags.leftOut += input_.tagsNotRead();
    for (const std::string& line : input_.tagNotes())
        console_.note(line);
    for (const std::string& line : TagNotes(format_, tags))
        console_.note(line);
    muxer_.setTags(tags.tags);
    if (auto failed = addPictures())
        return failed;
    // Room in the ID3v2 tag for the gains, so they go in without the audio moving.
    if (measuring_)
        muxer_.reserveTagRoom(kGainTagRoom);
    return muxer_.writeHeader(format_.muxerOptions);
}

Status Transcoder::addPictures() {
    int unsupported = 0;
    std::vector<std::string> notes;
    const std::vector<Picture> pictures =
        PicturesFor(format_, input_.pictures(unsupported), unsupported, notes);
    for (const auto& line : notes)
        console_.note(line);
    for (const Picture& picture : pictures) {
        if (format_.pictures == PictureWay::VorbisComment) {
            muxer_.addStreamTag("METADATA_BLOCK_PICTURE", Base64(FlacPictureBlock(picture)));
        } else if (auto failed = muxer_.addPicture(picture)) {
            return failed;
        }
    }
    return std::nullopt;
}

Status Transcoder::encodeWaiting(bool last) {
    const int frameSize = encoder_->frameSize();
    while (fifo_.size() >= frameSize || (last && fifo_.size() > 0)) {
        const int count = std::min(fifo_.size(), frameSize);
        AVFrame* frame = encoderFrame_.get();
        if (!prepareFrame(count) || !fifo_.read(frame, count)) {
            av_frame_unref(frame);
            return Fail(options_.output, "out of memory");
        }
        if (measuring_ && !decodeToMeasure_ && !meter_.add(frame)) {
            av_frame_unref(frame);
            return Fail(options_.output, "out of memory");
        }
        frame->pts = nextPts_;
        nextPts_ += count;
        if (auto failed = encode(frame))
            return failed;
    }
    return std::nullopt;
}

bool Transcoder::prepareFrame(int count) {
    // One buffer serves every frame: the encoders copy the samples, so it is free again once
    // they have handed back their packets, and only a short last frame needs another.
    AVFrame* frame = encoderFrame_.get();
    if (frame->buf[0] && frame->nb_samples == count)
        return av_frame_make_writable(frame) >= 0;
    av_frame_unref(frame);
    const AudioSpec& spec = encoder_->spec();
    frame->nb_samples = count;
    frame->format = spec.format;
    frame->sample_rate = spec.sampleRate;
    return av_channel_layout_copy(&frame->ch_layout, &spec.layout.get()) >= 0 &&
           av_frame_get_buffer(frame, 0) >= 0;
}

Status Transcoder::encode(const AVFrame* frame) {
    int ret = encoder_->send(frame);
    if (ret < 0 && ret != AVERROR_EOF)
        return Fail(options_.output, "the encoder failed: " + DescribeAvError(ret));
    for (;;) {
        ret = encoder_->receive(packet_.get());
        if (ret == AVERROR(EAGAIN) || ret == AVERROR_EOF)
            return std::nullopt;
        if (ret < 0)
            return Fail(options_.output, "the encoder failed: " + DescribeAvError(ret));
        if (measuring_ && decodeToMeasure_ && !meter_.add(packet_.get())) {
            av_packet_unref(packet_.get());
            return Fail(options_.output, "out of memory");
        }
        auto failed = muxer_.write(packet_.get(), encoder_->timeBase());
        av_packet_unref(packet_.get());
        if (failed)
            return failed;
    }
}

Status Transcoder::finish(bool reachedEnd) {
    if (auto failed = withInputPath(resampler_->flush(fifo_)))
        return failed;
    if (auto failed = encodeWaiting(true))
        return failed;
    if (auto failed = encode(nullptr))
        return failed;

    if (auto failed = muxer_.finish())
        return failed;
    if (auto failed = tagLoudness())
        return failed;
    if (auto failed = check())
        return failed;
    if (auto failed = temp_.commit())
        return failed;
    console_.done(muxer_.bytesWritten(), outputSeconds());
    if (loudness_)
        console_.note(conv_protocol::LoudnessLine(*loudness_));
    noteLosses(reachedEnd);
    return std::nullopt;
}

Status Transcoder::check() {
    OutputCheckHooks& hooks = CheckHooks();
    if (hooks.beforeCheck)
        hooks.beforeCheck(temp_.fd());
    const auto started = std::chrono::steady_clock::now();
    const AVCodecParameters& written = muxer_.written();
    const WrittenStream expected{
        format_.demuxer,
        written.codec_id,
        written.sample_rate,
        written.ch_layout.nb_channels,
        muxer_.coveredSeconds(),
        static_cast<double>(encoder_->frameSize()) / encoder_->spec().sampleRate};
    Status failed = VerifyWritten(temp_.fd(), expected, options_.output);
    if (hooks.reportTime) {
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - started;
        std::fprintf(stderr, "check: %.1f ms\n", took.count());
    }
    return failed;
}

// The gains go in once the audio is written: the tags are rewritten, the audio is not, and the
// check that follows reads the file as it will stand.
Status Transcoder::tagLoudness() {
    if (!measuring_)
        return std::nullopt;
    loudness_ = meter_.finish();
    if (!loudness_) {
        console_.note("note: the loudness could not be measured; the output gets no gain tags");
        return std::nullopt;
    }
    if (!loudness_->integratedLufs)
        return std::nullopt; // silence has no loudness to bring anywhere
    gain_tags::GainValues values;
    values.track = gain_tags::Measured{*loudness_->integratedLufs, loudness_->peak};
    if (auto error = gain_tags::WriteGainTags(temp_.fd(), values))
        return Fail(options_.output, *error);
    return std::nullopt;
}

void Transcoder::noteLosses(bool reachedEnd) {
    InputLosses losses = timeline_.losses();
    losses.damagedPackets = input_.damagedPackets();
    losses.damagedUs = input_.damagedUs();
    // A reading stopped at the end of the cut has nothing missing at its end.
    auto expected = input_.declaredEndUs();
    if (reachedEnd && expected) {
        if (options_.lengthUs > 0)
            expected = std::min(*expected, av_sat_add64(options_.startUs, options_.lengthUs));
        losses.endUs = timeline_.endUs();
        losses.expectedEndUs = expected;
    }
    for (std::string& line : WarningLines(losses))
        warnings_.push_back(std::move(line));
}

} // namespace

Status Convert(const Options& options, Console& console, std::vector<std::string>& warnings) {
    Transcoder transcoder(options, console, warnings);
    return transcoder.run();
}

} // namespace conv
