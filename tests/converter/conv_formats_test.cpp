// Conversions run in-process on generated one-second inputs, checked by probing the outputs.
#include "conv_test_support.h"

#include "converter/options.h"
#include "converter/progress.h"
#include "converter/transcoder.h"

#include "engine/command_line.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

extern "C" {
#include <libavutil/log.h>
}

using namespace convtest;

namespace {

struct Outcome {
    conv::Status status;
    std::string console; // what the window would have read
};

Outcome ConvertArgs(const std::vector<std::string>& args) {
    Outcome outcome;
    conv::Options options;
    if ((outcome.status = conv::ParseArguments(args, options)))
        return outcome;
    std::FILE* sink = std::tmpfile();
    conv::Console console(sink);
    outcome.status = conv::Convert(options, console);
    std::rewind(sink);
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, sink)) > 0;)
        outcome.console.append(buffer, got);
    std::fclose(sink);
    return outcome;
}

ConversionSettings Settings(int format, const std::string& folder, const char* bitrate = "128",
                            const char* rate = "44100", int channelIndex = 1) {
    ConversionSettings s;
    s.formatIndex = static_cast<std::int16_t>(format);
    s.bitrate = bitrate;
    s.sampleRate = rate;
    s.channelIndex = static_cast<std::int16_t>(channelIndex);
    s.outputFolder = folder;
    return s;
}

// Converts with the window's own command line; returns the output path.
std::string ConvertLikeTheWindow(const std::string& input, const ConversionSettings& settings,
                                 Outcome* outcome = nullptr) {
    const BuiltCommand built = BuildCommandLine(input, settings, PELKORA_PROGRAM_DIR).value();
    const Outcome result = ConvertArgs(built.arguments);
    EXPECT_FALSE(result.status) << result.status->reason << " for " << built.text;
    if (outcome)
        *outcome = result;
    return built.outputPath;
}

class ConvFormats : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        av_log_set_level(AV_LOG_QUIET);
        dir_ = std::make_unique<ScratchDir>();
        const std::string sine = "sine=frequency=440:sample_rate=44100:duration=1";
        for (const char* name : {"in.wav", "in.flac", "in.mp3"})
            ASSERT_TRUE(
                Ffmpeg({"-f", "lavfi", "-i", sine, "-ac", "2", "-metadata", "title=Test Title",
                        "-metadata", "artist=Test Artist", dir_->file(name)}));
        ASSERT_TRUE(Ffmpeg({"-f", "lavfi", "-i", "testsrc=duration=1:size=64x48:rate=10", "-f",
                            "lavfi", "-i", sine, "-c:v", "mpeg4", "-c:a", "aac", "-ac", "2",
                            "-shortest", dir_->file("in.mp4")}));
    }
    static void TearDownTestSuite() { dir_.reset(); }

    static std::unique_ptr<ScratchDir> dir_;
};

std::unique_ptr<ScratchDir> ConvFormats::dir_;

} // namespace

TEST_F(ConvFormats, EveryFormatFromEveryKindOfInput) {
    // Codec, fixed rate and channels (0: the input's), samples per encoder frame.
    const struct {
        const char* codec;
        int rate, channels, frame;
    } expected[9] = {{"mp3", 44100, 2, 1152}, {"wmav1", 0, 0, 2048},    {"vorbis", 0, 2, 2048},
                     {"pcm_s16le", 0, 0, 1},  {"flac", 0, 0, 4608},     {"ac3", 0, 0, 1536},
                     {"aac", 0, 0, 1024},     {"amr_nb", 8000, 1, 160}, {"mp2", 44100, 2, 1152}};
    for (const char* inputName : {"in.wav", "in.flac", "in.mp3", "in.mp4"}) {
        const MediaInfo in = Probe(dir_->file(inputName));
        ASSERT_TRUE(in.ok) << inputName;
        for (int format = 0; format < 9; ++format) {
            SCOPED_TRACE(std::string(inputName) + " to format " + std::to_string(format));
            ScratchDir out;
            Outcome outcome;
            const MediaInfo info = Probe(ConvertLikeTheWindow(
                dir_->file(inputName), Settings(format, out.path()), &outcome));
            ASSERT_TRUE(info.ok);
            const auto& want = expected[format];
            EXPECT_EQ(info.codec, want.codec);
            EXPECT_EQ(info.sampleRate, want.rate ? want.rate : in.sampleRate);
            EXPECT_EQ(info.channels, want.channels ? want.channels : in.channels);
            // Encoder delay and padding add up to two frames where no gapless data exists.
            EXPECT_NEAR(info.seconds(), in.seconds(), 2.0 * want.frame / info.sampleRate + 0.005);
            EXPECT_EQ(out.entries().size(), 1u); // no temporary file left
            EXPECT_NE(outcome.console.find("  Duration: 00:00:01.0"), std::string::npos);
            const auto lastTime = outcome.console.rfind("time=");
            ASSERT_NE(lastTime, std::string::npos);
            EXPECT_NEAR(std::stod(outcome.console.substr(lastTime + 5)), in.seconds(), 0.011);
        }
    }
}

TEST_F(ConvFormats, LosslessOutputsKeepEverySampleAndTagsFollowTheMap) {
    const std::vector<std::int16_t> original = Probe(dir_->file("in.wav"), true).samples;
    ASSERT_EQ(original.size(), 44100u * 2);
    ScratchDir out, back;
    EXPECT_EQ(
        Probe(ConvertLikeTheWindow(dir_->file("in.wav"), Settings(3, out.path())), true).samples,
        original);
    const std::string flac = ConvertLikeTheWindow(dir_->file("in.wav"), Settings(4, out.path()));
    EXPECT_EQ(Probe(flac, true).samples, original);
    EXPECT_EQ(Probe(ConvertLikeTheWindow(flac, Settings(3, back.path())), true).samples, original);

    for (int format : {0, 1, 2, 4}) {
        const MediaInfo info =
            Probe(ConvertLikeTheWindow(dir_->file("in.flac"), Settings(format, out.path())));
        EXPECT_EQ(info.tag("title"), "Test Title") << format;
        EXPECT_EQ(info.tag("artist"), "Test Artist") << format;
    }
    // Without the map no tags are carried over.
    ASSERT_FALSE(ConvertArgs({"-i", dir_->file("in.flac"), "-y", out.file("x.mp3")}).status);
    EXPECT_EQ(Probe(out.file("x.mp3")).tag("title"), "");
}

// Every combination the window offers for MP3 and MPG yields a playable file; a refused value
// is replaced by one the file really carries, and a note says which.
TEST_F(ConvFormats, Mp3AndMpgAcrossEveryWindowChoice) {
    ScratchDir out;
    for (int format : {0, 8}) {
        for (const char* br :
             {"32", "48", "56", "64", "80", "96", "112", "128", "192", "224", "256", "320"}) {
            for (const char* rate :
                 {"48000", "44100", "32000", "24000", "22050", "16000", "12050", "8000"}) {
                for (int channelIndex : {0, 1}) {
                    SCOPED_TRACE(std::to_string(format) + " " + br + "k " + rate + " Hz ch" +
                                 std::to_string(channelIndex + 1));
                    Outcome o;
                    const MediaInfo info = Probe(ConvertLikeTheWindow(
                        dir_->file("in.wav"), Settings(format, out.path(), br, rate, channelIndex),
                        &o));
                    ASSERT_TRUE(info.ok);
                    EXPECT_EQ(info.channels, channelIndex + 1);
                    EXPECT_NEAR(info.seconds(), 1.0, 2 * 1152.0 / info.sampleRate + 0.01);
                    const bool rateKept = std::to_string(info.sampleRate) == rate;
                    EXPECT_EQ(rateKept,
                              o.console.find(std::string("cannot use ") + rate + " Hz; using " +
                                             std::to_string(info.sampleRate) + " Hz instead") ==
                                  std::string::npos);
                    const bool bitRateKept = info.bitRate == std::stoll(br) * 1000;
                    EXPECT_EQ(bitRateKept, o.console.find(std::string("cannot use ") + br +
                                                          " kbit/s") == std::string::npos);
                    if (!bitRateKept) {
                        EXPECT_NE(o.console.find(std::to_string(info.bitRate / 1000) +
                                                 " kbit/s instead\n"),
                                  std::string::npos);
                    }
                    // Notes never carry the window's markers.
                    EXPECT_EQ(o.console.find("Duration: "), o.console.rfind("Duration: "));
                }
            }
        }
    }
}

TEST_F(ConvFormats, OddInputsGetFittedValuesEverywhere) {
    ScratchDir in;
    ASSERT_TRUE(Ffmpeg(
        {"-f", "lavfi", "-i", "sine=sample_rate=8000:duration=1", "-ac", "1", in.file("low.wav")}));
    ASSERT_TRUE(Ffmpeg({"-f", "lavfi", "-i", "sine=sample_rate=96000:duration=1", "-ac", "6",
                        "-c:a", "flac", in.file("wide.flac")}));
    for (const char* name : {"low.wav", "wide.flac"}) {
        for (int format = 0; format < 9; ++format) {
            SCOPED_TRACE(std::string(name) + " to format " + std::to_string(format));
            ScratchDir out;
            const MediaInfo info =
                Probe(ConvertLikeTheWindow(in.file(name), Settings(format, out.path())));
            ASSERT_TRUE(info.ok);
            // ADTS carries no gapless data: up to two 1024-sample frames more at 8 kHz.
            EXPECT_NEAR(info.seconds(), 1.0, 2 * 1024.0 / 8000 + 0.005);
        }
    }
}

TEST_F(ConvFormats, CutsAreSampleAccurateAndLateStartsFail) {
    // A mono ramp: every sample tells its own position.
    ScratchDir in, out;
    ASSERT_TRUE(
        Ffmpeg({"-f", "lavfi", "-i",
                "aevalsrc=exprs='(mod(n\\,20000)-10000)/32768':sample_rate=44100:duration=5",
                "-c:a", "pcm_s16le", in.file("ramp.wav")}));
    ASSERT_TRUE(Ffmpeg({"-i", in.file("ramp.wav"), in.file("ramp.flac")}));
    const std::vector<std::int16_t> ramp = Probe(in.file("ramp.wav"), true).samples;
    ASSERT_EQ(ramp.size(), 5u * 44100);
    for (const char* name : {"ramp.wav", "ramp.flac"}) {
        ASSERT_FALSE(ConvertArgs({"-i", in.file(name), "-ss", "1.5", "-t", "2", "-y", "-vn",
                                  "-acodec", "pcm_s16le", out.file("cut.wav")})
                         .status);
        const std::vector<std::int16_t> cut = Probe(out.file("cut.wav"), true).samples;
        ASSERT_EQ(cut.size(), 2u * 44100) << name;
        EXPECT_TRUE(std::equal(cut.begin(), cut.end(), ramp.begin() + 66150)) << name;
    }

    // Whole seconds as the window writes them, into a lossy format: within one frame.
    ConversionSettings s = Settings(0, out.path());
    s.cutEnabled = true;
    s.cutStart = 1;
    s.cutLength = 3;
    Outcome outcome;
    EXPECT_NEAR(Probe(ConvertLikeTheWindow(in.file("ramp.wav"), s, &outcome)).seconds(), 3.0,
                1152.0 / 44100);
    EXPECT_NE(outcome.console.find("  Duration: 00:00:05.00, "), std::string::npos);
    ASSERT_FALSE(ConvertArgs({"-i", dir_->file("in.mp3"), "-ss", "0.25", "-t", "0.5", "-y",
                              out.file("part.ogg")})
                     .status);
    EXPECT_NEAR(Probe(out.file("part.ogg")).seconds(), 0.5, 2048.0 / 44100);

    // Length 0 runs to the end; a length past the end stops there.
    ASSERT_FALSE(ConvertArgs({"-i", dir_->file("in.wav"), "-ss", "0.25", "-t", "0", "-y",
                              out.file("rest.wav")})
                     .status);
    EXPECT_EQ(Probe(out.file("rest.wav")).decodedSamples, 44100 - 11025);
    ASSERT_FALSE(ConvertArgs({"-i", dir_->file("in.flac"), "-ss", "0.5", "-t", "30", "-y",
                              out.file("tail.flac")})
                     .status);
    EXPECT_EQ(Probe(out.file("tail.flac")).decodedSamples, 22050);

    for (const char* start : {"1", "00:01:00"}) {
        const Outcome late = ConvertArgs(
            {"-i", dir_->file("in.mp3"), "-ss", start, "-t", "1", "-y", out.file("late.mp3")});
        ASSERT_TRUE(late.status) << start;
        EXPECT_EQ(late.status->reason, "the cut starts after the end of the file");
        EXPECT_FALSE(Exists(out.file("late.mp3")));
    }
}
