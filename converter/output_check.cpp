#include "output_check.h"

#include "av_ptr.h"
#include "fd_io.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace conv {

namespace {

// Rounding of stamps in millisecond-based containers.
constexpr double kSlackSeconds = 0.002;

// Rate, channels and samples of one ADTS frame, whose raw container states nothing else.
struct AdtsFrame {
    int sampleRate = 0;
    int channels = 0;
    int samples = 0;
};

bool ParseAdts(const AVPacket& packet, AdtsFrame& frame) {
    static constexpr std::array<int, 13> kRates = {96000, 88200, 64000, 48000, 44100, 32000, 24000,
                                                   22050, 16000, 12000, 11025, 8000,  7350};
    const std::uint8_t* b = packet.data;
    if (packet.size < 7 || b[0] != 0xFF || (b[1] & 0xF0) != 0xF0)
        return false;
    const unsigned rateIndex = (b[2] >> 2) & 0x0F;
    if (rateIndex >= kRates.size())
        return false;
    frame.sampleRate = kRates[rateIndex];
    frame.channels = ((b[2] & 0x01) << 2) | (b[3] >> 6);
    frame.samples = ((b[6] & 0x03) + 1) * 1024;
    return true;
}

// The time the packets of stream 0 cover, and what they say of the audio.
struct Coverage {
    double seconds = 0.0;
    int sampleRate = 0;
    int channels = 0;
    bool consistent = true;
    // What rounding every packet's stamps to a coarse time base may add up to.
    double rounding = 0.0;
};

// PCM in WAV: walking through every byte would cost a tenth of the conversion, so the data
// chunk's stated length is taken, once the file is seen to hold all of it.
Coverage MeasurePcm(AVFormatContext* format) {
    const AVStream* stream = format->streams[0];
    const AVCodecParameters& audio = *stream->codecpar;
    Coverage c{0.0, audio.sample_rate, audio.ch_layout.nb_channels, true};
    const std::int64_t dataStart = avio_tell(format->pb);
    const std::int64_t size = avio_size(format->pb);
    if (stream->duration <= 0 || audio.block_align <= 0 || dataStart < 0 ||
        size < dataStart + stream->duration * audio.block_align)
        return {0.0, 0, 0, false};
    c.seconds = static_cast<double>(stream->duration) * av_q2d(stream->time_base);
    return c;
}

Coverage Measure(AVFormatContext* format, bool adts) {
    Coverage c;
    PacketPtr packet(av_packet_alloc());
    if (!packet)
        return {0.0, 0, 0, false};
    std::int64_t first = AV_NOPTS_VALUE, end = 0, sum = 0, adtsSamples = 0, packets = 0;
    bool stamped = true;
    while (av_read_frame(format, packet.get()) >= 0) {
        if (packet->stream_index == 0) {
            ++packets;
            if (packet->pts == AV_NOPTS_VALUE) {
                stamped = false;
            } else {
                if (first == AV_NOPTS_VALUE)
                    first = packet->pts;
                end = std::max(end, packet->pts + packet->duration);
            }
            sum += packet->duration;
            AdtsFrame frame;
            if (adts && ParseAdts(*packet, frame)) {
                c.consistent = c.consistent &&
                               (!c.sampleRate ||
                                (c.sampleRate == frame.sampleRate && c.channels == frame.channels));
                c.sampleRate = frame.sampleRate;
                c.channels = frame.channels;
                adtsSamples += frame.samples;
            } else if (adts) {
                c.consistent = false;
            }
        }
        av_packet_unref(packet.get());
    }
    const AVStream* stream = format->nb_streams ? format->streams[0] : nullptr;
    if (!stream)
        return {0.0, 0, 0, false};
    if (adts) {
        c.seconds = c.sampleRate ? static_cast<double>(adtsSamples) / c.sampleRate : 0.0;
        return c;
    }
    c.sampleRate = stream->codecpar->sample_rate;
    c.channels = stream->codecpar->ch_layout.nb_channels;
    const std::int64_t ticks = stamped && first != AV_NOPTS_VALUE ? end - first : sum;
    const double tick = av_q2d(stream->time_base);
    c.seconds = static_cast<double>(ticks) * tick;
    if (av_cmp_q(stream->time_base, AVRational{1, c.sampleRate}) != 0)
        c.rounding = static_cast<double>(packets) * tick;
    return c;
}

// FLAC: the reader finds frames by scanning every byte, a few per cent of the conversion, so
// only the first frame and the last few are read; the frames there must start at zero and
// end where the encoded time ends. STREAMINFO's total must agree.
enum class FlacRead { Done, Failed, SeekFailed };

FlacRead ReadFlacEnds(AVFormatContext* format, const WrittenStream& expected, bool skipMiddle,
                      std::int64_t& first, std::int64_t& end) {
    const AVStream* stream = format->streams[0];
    PacketPtr packet(av_packet_alloc());
    if (!packet)
        return FlacRead::Failed;
    int ret = 0;
    while ((ret = av_read_frame(format, packet.get())) >= 0 && packet->stream_index != 0)
        av_packet_unref(packet.get()); // cover art comes first
    if (ret < 0 || packet->pts == AV_NOPTS_VALUE)
        return FlacRead::Failed;
    first = packet->pts;
    end = packet->pts + packet->duration;
    av_packet_unref(packet.get());
    const std::int64_t target = av_rescale_q(
        static_cast<std::int64_t>((expected.seconds - 3 * expected.frameSeconds) * 1e6),
        AV_TIME_BASE_Q, stream->time_base);
    if (skipMiddle && target > end && avformat_seek_file(format, 0, end, target, target, 0) < 0)
        return FlacRead::SeekFailed;
    while (av_read_frame(format, packet.get()) >= 0) {
        if (packet->stream_index == 0 && packet->pts != AV_NOPTS_VALUE)
            end = std::max(end, packet->pts + packet->duration);
        av_packet_unref(packet.get());
    }
    return FlacRead::Done;
}

Coverage FlacCoverage(const AVStream* stream, std::int64_t first, std::int64_t end,
                      const WrittenStream& expected) {
    const double tick = av_q2d(stream->time_base);
    Coverage c;
    c.seconds = static_cast<double>(end - first) * tick;
    const AVCodecParameters& audio = *stream->codecpar;
    c.sampleRate = audio.sample_rate;
    c.channels = audio.ch_layout.nb_channels;
    if (c.sampleRate == 0 && audio.extradata_size >= 18) {
        // The reader leaves them to a decoder; STREAMINFO states them.
        const std::uint8_t* info = audio.extradata;
        c.sampleRate = (info[10] << 12) | (info[11] << 4) | (info[12] >> 4);
        c.channels = ((info[12] >> 1) & 0x07) + 1;
    }
    const double stated = static_cast<double>(stream->duration) * tick;
    c.consistent = stream->duration > 0 &&
                   std::fabs(stated - expected.seconds) <= expected.frameSeconds + kSlackSeconds;
    return c;
}

// The audio first, then nothing but cover art.
bool AudioAndPictures(const AVFormatContext* format) {
    if (format->nb_streams == 0)
        return false;
    for (unsigned i = 1; i < format->nb_streams; ++i) {
        if (!(format->streams[i]->disposition & AV_DISPOSITION_ATTACHED_PIC))
            return false;
    }
    return true;
}

std::string Number(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.3f", value);
    return buffer;
}

} // namespace

// Some readers cannot seek in a FLAC whose frames are tiny (long silence): they fail
// half-way, so the whole file is read once more from its start.
Coverage MeasureFlac(int fd, AVFormatContext* format, const WrittenStream& expected) {
    std::int64_t first = 0, end = 0;
    FlacRead read = ReadFlacEnds(format, expected, true, first, end);
    if (read == FlacRead::SeekFailed) {
        AvioPtr io = ReadIo(fd);
        AVFormatContext* raw = avformat_alloc_context();
        if (!io || !raw) {
            avformat_free_context(raw);
            return {0.0, 0, 0, false};
        }
        raw->pb = io.get();
        raw->flags |= AVFMT_FLAG_CUSTOM_IO;
        if (avformat_open_input(&raw, "", format->iformat, nullptr) < 0)
            return {0.0, 0, 0, false};
        const InputContextPtr again(raw);
        if (!AudioAndPictures(again.get()))
            return {0.0, 0, 0, false};
        read = ReadFlacEnds(again.get(), expected, false, first, end);
    }
    if (read != FlacRead::Done)
        return {0.0, 0, 0, false};
    return FlacCoverage(format->streams[0], first, end, expected);
}

Status VerifyWritten(int fd, const WrittenStream& expected, const std::string& shownPath) {
    const auto refused = [&](const std::string& why) {
        return Fail(shownPath, "the finished file does not read back correctly (" + why +
                                   "); it was not put in place");
    };
    AvioPtr io = ReadIo(fd);
    AVFormatContext* raw = avformat_alloc_context();
    if (!io || !raw) {
        avformat_free_context(raw);
        return Fail(shownPath, "out of memory");
    }
    raw->pb = io.get();
    raw->flags |= AVFMT_FLAG_CUSTOM_IO;
    const int ret = avformat_open_input(&raw, "", nullptr, nullptr);
    if (ret < 0)
        return refused("it cannot be opened");
    const InputContextPtr format(raw);
    if (expected.demuxer != format->iformat->name)
        return refused(std::string("it reads as ") + format->iformat->name);

    // Some readers find their streams only while reading packets, so they are counted after.
    Coverage c;
    if (AudioAndPictures(format.get()) && expected.demuxer == "wav")
        c = MeasurePcm(format.get());
    else if (AudioAndPictures(format.get()) && expected.demuxer == "flac")
        c = MeasureFlac(fd, format.get(), expected);
    else
        c = Measure(format.get(), expected.demuxer == "aac");
    if (!AudioAndPictures(format.get()))
        return refused(std::to_string(format->nb_streams) + " streams");
    const AVCodecParameters& audio = *format->streams[0]->codecpar;
    if (audio.codec_type != AVMEDIA_TYPE_AUDIO || audio.codec_id != expected.codec)
        return refused(std::string("its stream is ") + avcodec_get_name(audio.codec_id));
    if (!c.consistent || c.sampleRate != expected.sampleRate || c.channels != expected.channels)
        return refused(std::to_string(c.sampleRate) + " Hz, " + std::to_string(c.channels) +
                       " channels");
    if (std::fabs(c.seconds - expected.seconds) >
        expected.frameSeconds + kSlackSeconds + c.rounding)
        return refused("it holds " + Number(c.seconds) + " s of " + Number(expected.seconds) +
                       " s");
    return std::nullopt;
}

OutputCheckHooks& CheckHooks() {
    static OutputCheckHooks hooks;
    return hooks;
}

} // namespace conv
