// Loudness: measured while converting, written as ReplayGain 2.0 (or Opus R128) tags, and
// agreeing with another scanner of the finished files.
#include "conv_test_support.h"

#include "converter/loudness_meter.h"

#include "conv_protocol/loudness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <regex>

using namespace convtest;
using conv_protocol::Loudness;

namespace {

// A stereo tone of about `lufs` LUFS: a full-scale 997 Hz sine in both channels reads 0.
std::string Tone(const std::string& name, double lufs, double seconds = 6.0) {
    const std::string channel = std::to_string(std::pow(10.0, lufs / 20.0)) + "*sin(2*PI*997*t)";
    return Made(name,
                "aevalsrc=" + channel + "|" + channel + ":s=44100:d=" + std::to_string(seconds),
                {"-ac", "2", "-c:a", name.ends_with(".flac") ? "flac" : "pcm_s16le"});
}

// Integrated loudness and sample peak (dBFS) by ffmpeg's own EBU R128 filter.
struct Scanned {
    double lufs = 0.0;
    double peakDb = 0.0;
};

Scanned ScanWithFfmpeg(const std::string& path) {
    Child child({"/usr/bin/ffmpeg", "-nostdin", "-hide_banner", "-nostats", "-i", path, "-af",
                 "ebur128=peak=sample", "-f", "null", "-"});
    const RunResult r = child.wait();
    EXPECT_EQ(r.exitCode, 0) << r.output;
    std::smatch found;
    Scanned scanned;
    const auto summary = r.output.rfind("Summary:");
    EXPECT_NE(summary, std::string::npos) << r.output;
    const std::string text = r.output.substr(summary == std::string::npos ? 0 : summary);
    if (std::regex_search(text, found, std::regex(R"(I:\s+(-?[0-9.]+) LUFS)")))
        scanned.lufs = std::stod(found[1]);
    else
        ADD_FAILURE() << r.output;
    if (std::regex_search(text, found, std::regex(R"(Peak:\s+(-?[0-9.]+) dBFS)")))
        scanned.peakDb = std::stod(found[1]);
    else
        ADD_FAILURE() << r.output;
    return scanned;
}

std::optional<Loudness> LoudnessOf(const RunResult& r) {
    std::optional<Loudness> found;
    std::size_t start = 0;
    while (start < r.output.size()) {
        const auto end = r.output.find('\n', start);
        const auto line = std::string_view(r.output).substr(start, end - start);
        if (auto parsed = conv_protocol::ParseLoudnessLine(line))
            found = parsed;
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return found;
}

std::string TagOr(const FfprobeTags& tags, const std::string& key) {
    const auto it = tags.tags.find(key);
    return it == tags.tags.end() ? "(none)" : it->second;
}

const char* const kGainKeys[] = {"replaygain_track_gain", "replaygain_track_peak",
                                 "replaygain_album_gain", "replaygain_album_peak",
                                 "r128_track_gain",       "r128_album_gain"};

// Samples of a sine that is loud for a while, then quiet, as planar floats in frames of an
// odd size, so that frames and the meter's 100 ms steps never line up.
void FeedTones(const std::vector<std::pair<double, double>>& parts, conv::LoudnessMeter& meter,
               ebur128_state* reference) {
    constexpr int kRate = 48000;
    constexpr int kFrame = 997;
    conv::FramePtr frame(av_frame_alloc());
    std::vector<float> interleaved;
    std::int64_t n = 0;
    for (const auto& [lufs, seconds] : parts) {
        const double amplitude = std::pow(10.0, lufs / 20.0);
        const auto total = static_cast<std::int64_t>(seconds * kRate);
        for (std::int64_t done = 0; done < total; done += kFrame) {
            const int count = static_cast<int>(std::min<std::int64_t>(kFrame, total - done));
            av_frame_unref(frame.get());
            frame->nb_samples = count;
            frame->format = AV_SAMPLE_FMT_FLTP;
            frame->sample_rate = kRate;
            av_channel_layout_default(&frame->ch_layout, 2);
            ASSERT_EQ(av_frame_get_buffer(frame.get(), 0), 0);
            interleaved.resize(static_cast<std::size_t>(count) * 2);
            for (int i = 0; i < count; ++i, ++n) {
                const auto v = static_cast<float>(amplitude * std::sin(2 * M_PI * 997 * n / kRate));
                reinterpret_cast<float*>(frame->data[0])[i] = v;
                reinterpret_cast<float*>(frame->data[1])[i] = v;
                interleaved[static_cast<std::size_t>(i) * 2] = v;
                interleaved[static_cast<std::size_t>(i) * 2 + 1] = v;
            }
            ASSERT_TRUE(meter.add(frame.get()));
            ebur128_add_frames_float(reference, interleaved.data(),
                                     static_cast<std::size_t>(count));
        }
    }
}

struct Reference {
    ebur128_state* state;
    Reference() : state(ebur128_init(2, 48000, EBUR128_MODE_I | EBUR128_MODE_SAMPLE_PEAK)) {}
    ~Reference() { ebur128_destroy(&state); }
};

} // namespace

// The meter keeps the blocks so that tracks can be gated together for an album; each track
// alone, and the album, must read as the library itself reads them in one piece.
TEST(LoudnessMeter, TracksAndTheirAlbumReadAsTheLibraryReadsThem) {
    AVChannelLayout stereo;
    av_channel_layout_default(&stereo, 2);
    const std::vector<std::vector<std::pair<double, double>>> tracks = {
        {{-30.0, 3.0}, {-32.0, 2.2}}, {{-8.0, 2.5}, {-20.0, 1.5}}, {{-20.0, 4.1}}};
    std::vector<Reference> references(tracks.size());
    conv_protocol::BlockHistogram album;
    double peak = 0.0;
    for (std::size_t t = 0; t < tracks.size(); ++t) {
        conv::LoudnessMeter meter;
        ASSERT_TRUE(meter.start(48000, stereo));
        FeedTones(tracks[t], meter, references[t].state);
        const std::optional<Loudness> measured = meter.finish();
        ASSERT_TRUE(measured && measured->integratedLufs);
        double expected = 0.0;
        ebur128_loudness_global(references[t].state, &expected);
        EXPECT_NEAR(*measured->integratedLufs, expected, 0.05) << "track " << t;
        double expectedPeak = 0.0;
        ebur128_sample_peak(references[t].state, 0, &expectedPeak);
        EXPECT_FLOAT_EQ(measured->peak, expectedPeak);
        album.add(measured->blocks);
        peak = std::max(peak, measured->peak);
    }
    std::vector<ebur128_state*> states;
    for (const auto& r : references)
        states.push_back(r.state);
    double expectedAlbum = 0.0;
    ebur128_loudness_global_multiple(states.data(), states.size(), &expectedAlbum);
    ASSERT_TRUE(album.integratedLufs());
    EXPECT_NEAR(*album.integratedLufs(), expectedAlbum, 0.05);
    // Gated together, the quiet track counts for nothing: far from the tracks' mean.
    EXPECT_GT(*album.integratedLufs(), -14.0);
}

TEST(LoudnessLine, ReadsBackWhatItWritesAndNothingElse) {
    Loudness loudness;
    loudness.integratedLufs = -20.034;
    loudness.peak = 0.5;
    loudness.blocks.addBlock(-20.04);
    loudness.blocks.addBlock(-20.04);
    loudness.blocks.addBlock(-75.0); // below the gate: not kept
    loudness.blocks.addBlock(45.0);  // above the scale: the last bin
    const std::string line = conv_protocol::LoudnessLine(loudness);
    EXPECT_EQ(line, "loudness: -20.03 LUFS, peak 0.500000, blocks 499x2 999x1");
    const auto back = conv_protocol::ParseLoudnessLine(line + "\n");
    ASSERT_TRUE(back && back->integratedLufs);
    EXPECT_DOUBLE_EQ(*back->integratedLufs, -20.03);
    EXPECT_EQ(back->blocks.count(499), 2u);
    EXPECT_EQ(back->blocks.count(999), 1u);

    const auto silent = conv_protocol::ParseLoudnessLine("loudness: silent, peak 0.000000, blocks");
    ASSERT_TRUE(silent);
    EXPECT_FALSE(silent->integratedLufs);
    for (const char* bad :
         {"loudness: -20 LUFS", "loudness: -20.00 LUFS, peak 0.5, blocks 1000x1",
          "loudness: -20.00 LUFS, peak 0.5, blocks 3x", "size= 1kB time=1.0",
          "loudness: nan LUFS, peak 0.5, blocks", "loudness: -20.00 LUFS, peak -1, blocks"})
        EXPECT_FALSE(conv_protocol::ParseLoudnessLine(bad)) << bad;

    EXPECT_EQ(conv_protocol::ReplayGainText(-20.034), "+2.03 dB");
    EXPECT_EQ(conv_protocol::ReplayGainText(-8.0), "-10.00 dB");
    EXPECT_EQ(conv_protocol::R128GainText(-20.0), "-768"); // -3 dB in Q7.8
    EXPECT_EQ(conv_protocol::R128GainText(-400.0), "32767");
}

// Three tracks far apart in loudness, into every format that holds gain tags: the converter's
// figures agree with ffmpeg's scanner of the outputs, and the tags say what the figures say.
TEST(ConvLoudness, TrackGainsAgreeWithAnotherScannerInEveryTaggedFormat) {
    const struct {
        const char* output;
        std::vector<std::string> args;
    } outputs[] = {{"x.mp3", {"-ab", "128k"}},
                   {"x.ogg", {}},
                   {"x.flac", {}},
                   {"x.opus", {"-ab", "96k"}},
                   {"x.m4a", {"-acodec", "aac"}},
                   {"y.m4a", {"-acodec", "alac"}},
                   {"x.wma", {"-acodec", "wmav2"}}};
    for (const double level : {-30.0, -20.0, -8.0}) {
        const std::string input = Tone("level" + std::to_string(int(level)) + ".wav", level);
        for (const auto& output : outputs) {
            SCOPED_TRACE(std::string(output.output) + " at " + std::to_string(level));
            ScratchDir out;
            std::vector<std::string> args = {"-i", input, "-y", "-vn", "-replaygain", "1"};
            args.insert(args.end(), output.args.begin(), output.args.end());
            args.push_back(out.file(output.output));
            const RunResult r = RunConv(args);
            ASSERT_EQ(r.exitCode, 0) << r.output;
            const std::optional<Loudness> ours = LoudnessOf(r);
            ASSERT_TRUE(ours && ours->integratedLufs) << r.output;
            EXPECT_NEAR(*ours->integratedLufs, level, 0.6); // the encoders move it a little

            const Scanned theirs = ScanWithFfmpeg(out.file(output.output));
            EXPECT_NEAR(*ours->integratedLufs, theirs.lufs, 0.2);
            EXPECT_NEAR(20 * std::log10(ours->peak), theirs.peakDb, 0.2);

            const FfprobeTags tags = ReadTagsWithFfprobe(out.file(output.output));
            EXPECT_TRUE(tags.clean) << tags.complaints;
            if (std::string(output.output).ends_with(".opus")) {
                // RFC 7845: R128 gains only, relative to -23 LUFS in 1/256 dB.
                EXPECT_NEAR(std::stod(TagOr(tags, "r128_track_gain")) / 256.0,
                            -23.0 - *ours->integratedLufs, 0.01);
                EXPECT_EQ(TagOr(tags, "replaygain_track_gain"), "(none)");
            } else {
                EXPECT_NEAR(std::stod(TagOr(tags, "replaygain_track_gain")),
                            -18.0 - *ours->integratedLufs, 0.006);
                EXPECT_TRUE(TagOr(tags, "replaygain_track_gain").ends_with(" dB"));
                EXPECT_EQ(TagOr(tags, "replaygain_track_peak"),
                          conv_protocol::PeakText(ours->peak));
            }
            // Album values wait for the album's other tracks.
            EXPECT_EQ(TagOr(tags, "replaygain_album_gain"), "(none)");
            EXPECT_EQ(TagOr(tags, "r128_album_gain"), "(none)");
        }
    }
}

// Without the option nothing is measured, and gains copied from a source are dropped: they
// describe audio that is not in the output. Formats without a place for them are not measured.
TEST(ConvLoudness, NoGainTagsUnlessAskedAndNoneCarriedFromTheSource) {
    const std::string tagged = Made(
        "gained.flac", "sine=sample_rate=44100:duration=1",
        {"-metadata", "REPLAYGAIN_TRACK_GAIN=-9.00 dB", "-metadata", "REPLAYGAIN_ALBUM_PEAK=0.9",
         "-metadata", "R128_TRACK_GAIN=-100", "-metadata", "replaygain_reference_loudness=89 dB"});
    for (const char* name : {"x.mp3", "x.flac", "x.opus", "x.m4a", "x.ogg"}) {
        SCOPED_TRACE(name);
        ScratchDir out;
        const RunResult r = RunConv({"-i", tagged, "-y", out.file(name)});
        ASSERT_EQ(r.exitCode, 0) << r.output;
        EXPECT_FALSE(LoudnessOf(r));
        const FfprobeTags tags = ReadTagsWithFfprobe(out.file(name));
        for (const char* key : kGainKeys)
            EXPECT_EQ(TagOr(tags, key), "(none)") << key;
        EXPECT_EQ(TagOr(tags, "replaygain_reference_loudness"), "(none)");
    }
    ScratchDir out;
    const RunResult wav = RunConv({"-i", tagged, "-y", "-replaygain", "1", out.file("x.wav")});
    ASSERT_EQ(wav.exitCode, 0) << wav.output;
    EXPECT_FALSE(LoudnessOf(wav));

    // Silence has no loudness to bring to the reference: no gain, and the line says so.
    const std::string silence = Made("silence.wav", "anullsrc=r=44100:cl=stereo", {"-t", "2"});
    const RunResult quiet = RunConv({"-i", silence, "-y", "-replaygain", "1", out.file("q.flac")});
    ASSERT_EQ(quiet.exitCode, 0) << quiet.output;
    const auto measured = LoudnessOf(quiet);
    ASSERT_TRUE(measured);
    EXPECT_FALSE(measured->integratedLufs);
    EXPECT_EQ(TagOr(ReadTagsWithFfprobe(out.file("q.flac")), "replaygain_track_gain"), "(none)");
}
