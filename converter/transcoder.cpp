#include "transcoder.h"

#include "decoder.h"
#include "encoder.h"
#include "formats.h"
#include "muxer.h"
#include "output_file.h"
#include "progress.h"
#include "resampler.h"
#include "source.h"

#include <limits>
#include <memory>

extern "C" {
#include <libavutil/common.h>
#include <libavutil/mathematics.h>
}

namespace conv {

namespace {

// A file shorter than its header says by more than this is incomplete.
constexpr std::int64_t kTruncationToleranceUs = 500000;

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

    [[nodiscard]] std::int64_t positionUs() const {
        return rate_ > 0 ? av_rescale(position_, 1000000, rate_) : 0;
    }

private:
    std::int64_t position_ = 0;
    int rate_ = 0;
    bool known_ = false;
};

class Transcoder {
public:
    Transcoder(const Options& options, Console& console)
        : options_(options), console_(console), format_(*FindFormat(options.output)) {}

    Status run();

private:
    Status handleFrame(const AVFrame* frame);
    Status startOutput(const AVFrame* first);
    Status encodeWaiting(bool last);
    Status encode(const AVFrame* frame);
    Status finish(bool reachedEnd);
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
    const FormatInfo& format_;
    UniqueFd source_; // outlives input_
    InputFile input_;
    Cursor cursor_;
    std::unique_ptr<AudioEncoder> encoder_;
    std::unique_ptr<Resampler> resampler_;
    SampleFifo fifo_;
    TempOutput temp_;
    Muxer muxer_;
    FramePtr encoderFrame_;
    PacketPtr packet_;
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
    const int skip = cursor_.skipFor(frame, input_.frameStartSample(frame), options_.startUs);
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
    if (options_.copyTags)
        muxer_.copyTags(input_.formatTags(), input_.streamTags());
    return muxer_.writeHeader();
}

Status Transcoder::encodeWaiting(bool last) {
    const int frameSize = encoder_->frameSize();
    while (fifo_.size() >= frameSize || (last && fifo_.size() > 0)) {
        const int count = std::min(fifo_.size(), frameSize);
        const AudioSpec& spec = encoder_->spec();
        AVFrame* frame = encoderFrame_.get();
        frame->nb_samples = count;
        frame->format = spec.format;
        frame->sample_rate = spec.sampleRate;
        if (av_channel_layout_copy(&frame->ch_layout, &spec.layout.get()) < 0 ||
            av_frame_get_buffer(frame, 0) < 0 || !fifo_.read(frame, count)) {
            av_frame_unref(frame);
            return Fail(options_.output, "out of memory");
        }
        frame->pts = nextPts_;
        nextPts_ += count;
        auto failed = encode(frame);
        av_frame_unref(frame);
        if (failed)
            return failed;
    }
    return std::nullopt;
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

    // Checked before the output is put in place: an incomplete input gives no output.
    const auto declared = input_.declaredLengthUs();
    if (reachedEnd && declared && cursor_.positionUs() + kTruncationToleranceUs < *declared)
        return Fail(options_.input, "the file is incomplete (truncated or damaged)");

    if (auto failed = muxer_.finish())
        return failed;
    if (auto failed = temp_.commit())
        return failed;
    console_.done(muxer_.bytesWritten(), outputSeconds());
    return std::nullopt;
}

} // namespace

Status Convert(const Options& options, Console& console) {
    Transcoder transcoder(options, console);
    return transcoder.run();
}

} // namespace conv
