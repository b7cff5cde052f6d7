// Conversions run in-process on generated one-second inputs, checked by probing the outputs.
#include "conv_test_support.h"

#include "converter/fitting.h"
#include "converter/options.h"
#include "converter/progress.h"
#include "converter/transcoder.h"

#include "engine/command_line.h"

#include <gtest/gtest.h>

#include <cmath>
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
    outcome.status = conv::ParseArguments(args, options);
    if (outcome.status)
        return outcome;
    std::FILE* sink = std::tmpfile();
    conv::Console console(sink);
    outcome.status = conv::Convert(options, console);
    std::fflush(sink);
    std::rewind(sink);
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, sink)) > 0)
        outcome.console.append(buffer, got);
    std::fclose(sink);
    return outcome;
}

std::string Describe(const conv::Status& status) {
    return status ? status->path + ": " + status->reason : "ok";
}

ConversionSettings Settings(int format, const std::string& folder,
                            const std::string& bitrate = "128", const std::string& rate = "44100",
                            int channelIndex = 1) {
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
    EXPECT_FALSE(result.status) << Describe(result.status) << " for " << built.text;
    if (outcome)
        *outcome = result;
    return built.outputPath;
}

struct Expected {
    const char* codec;
    int sampleRate; // 0: the input's
    int channels;   // 0: the input's
    double frameSeconds;
};

// Per output format, in the window's order.
const Expected kExpected[9] = {
    {"mp3", 44100, 2, 1152.0 / 44100}, {"wmav1", 0, 0, 2048.0 / 44100},
    {"vorbis", 0, 2, 2048.0 / 44100},  {"pcm_s16le", 0, 0, 0.0},
    {"flac", 0, 0, 4608.0 / 44100},    {"ac3", 0, 0, 1536.0 / 44100},
    {"aac", 0, 0, 1024.0 / 44100},     {"amr_nb", 8000, 1, 160.0 / 8000},
    {"mp2", 44100, 2, 1152.0 / 44100},
};

class ConvFormats : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        av_log_set_level(AV_LOG_QUIET);
        dir_ = std::make_unique<ScratchDir>();
        const std::string sine = "sine=frequency=440:sample_rate=44100:duration=1";
        const std::vector<std::string> tags = {"-metadata", "title=Test Title", "-metadata",
                                               "artist=Test Artist"};
        auto make = [&](const std::string& name, std::vector<std::string> extra) {
            std::vector<std::string> args = {"-f", "lavfi", "-i", sine, "-ac", "2"};
            args.insert(args.end(), extra.begin(), extra.end());
            args.insert(args.end(), tags.begin(), tags.end());
            args.push_back(dir_->file(name));
            ASSERT_TRUE(Ffmpeg(args)) << name;
        };
        make("in.wav", {});
        make("in.flac", {});
        make("in.mp3", {"-b:a", "128k"});
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
    for (const char* inputName : {"in.wav", "in.flac", "in.mp3", "in.mp4"}) {
        const std::string input = dir_->file(inputName);
        const MediaInfo in = Probe(input);
        ASSERT_TRUE(in.ok) << inputName;
        for (int format = 0; format < 9; ++format) {
            SCOPED_TRACE(std::string(inputName) + " to format " + std::to_string(format));
            ScratchDir out;
            Outcome outcome;
            const std::string output =
                ConvertLikeTheWindow(input, Settings(format, out.path()), &outcome);
            const MediaInfo info = Probe(output);
            ASSERT_TRUE(info.ok);
            const Expected& want = kExpected[format];
            EXPECT_EQ(info.codec, want.codec);
            EXPECT_EQ(info.sampleRate, want.sampleRate ? want.sampleRate : in.sampleRate);
            EXPECT_EQ(info.channels, want.channels ? want.channels : in.channels);
            // Encoder delay and padding may add up to two frames where no gapless data exists.
            EXPECT_NEAR(info.seconds(), in.seconds(), 2 * want.frameSeconds + 0.005);
            // Only the output itself is left behind.
            EXPECT_EQ(out.entries().size(), 1u);
            EXPECT_NE(outcome.console.find("  Duration: 00:00:01.0"), std::string::npos);
            const auto lastTime = outcome.console.rfind("time=");
            ASSERT_NE(lastTime, std::string::npos);
            EXPECT_NEAR(std::stod(outcome.console.substr(lastTime + 5)), in.seconds(), 0.011);
        }
    }
}

TEST_F(ConvFormats, LosslessOutputsKeepEverySample) {
    const std::vector<std::int16_t> original = DecodeS16(dir_->file("in.wav"));
    ASSERT_EQ(original.size(), 44100u * 2);
    ScratchDir out;
    const std::string wav = ConvertLikeTheWindow(dir_->file("in.wav"), Settings(3, out.path()));
    EXPECT_EQ(DecodeS16(wav), original);
    const std::string flac = ConvertLikeTheWindow(dir_->file("in.wav"), Settings(4, out.path()));
    EXPECT_EQ(DecodeS16(flac), original);
    // And back from FLAC to WAV.
    ScratchDir back;
    const std::string again = ConvertLikeTheWindow(flac, Settings(3, back.path()));
    EXPECT_EQ(DecodeS16(again), original);
}

TEST_F(ConvFormats, TagsAreCopiedWhereTheMapIsGiven) {
    for (int format : {0, 1, 2, 4}) {
        SCOPED_TRACE(format);
        ScratchDir out;
        const std::string output =
            ConvertLikeTheWindow(dir_->file("in.flac"), Settings(format, out.path()));
        const MediaInfo info = Probe(output);
        EXPECT_EQ(info.tags.count("title") ? info.tags.at("title") : "", "Test Title");
        EXPECT_EQ(info.tags.count("artist") ? info.tags.at("artist") : "", "Test Artist");
    }
    // Without the map no tags are carried over.
    ScratchDir out;
    ASSERT_FALSE(ConvertArgs({"-i", dir_->file("in.flac"), "-y", out.file("x.mp3")}).status);
    EXPECT_EQ(Probe(out.file("x.mp3")).tags.count("title"), 0u);
}

// Every combination the window offers for MP3 and MPG yields a playable file; a refused value
// is replaced by one the file really carries, and the note says which.
TEST_F(ConvFormats, Mp3AndMpgAcrossEveryWindowChoice) {
    const char* bitrates[] = {"32",  "48",  "56",  "64",  "80",  "96",
                              "112", "128", "192", "224", "256", "320"};
    const char* rates[] = {"48000", "44100", "32000", "24000", "22050", "16000", "12050", "8000"};
    ScratchDir out;
    for (int format : {0, 8}) {
        for (const char* br : bitrates) {
            for (const char* rate : rates) {
                for (int channelIndex : {0, 1}) {
                    SCOPED_TRACE(std::to_string(format) + " " + br + "k " + rate + " Hz ch" +
                                 std::to_string(channelIndex + 1));
                    Outcome outcome;
                    const std::string output = ConvertLikeTheWindow(
                        dir_->file("in.wav"), Settings(format, out.path(), br, rate, channelIndex),
                        &outcome);
                    const MediaInfo info = Probe(output);
                    ASSERT_TRUE(info.ok);
                    EXPECT_EQ(info.channels, channelIndex + 1);
                    EXPECT_NEAR(info.seconds(), 1.0, 2 * 1152.0 / info.sampleRate + 0.01);
                    const std::string wantRate = std::string(rate) + " Hz";
                    if (std::to_string(info.sampleRate) != rate) {
                        EXPECT_NE(outcome.console.find("cannot use " + wantRate),
                                  std::string::npos);
                        EXPECT_NE(
                            outcome.console.find(std::to_string(info.sampleRate) + " Hz instead"),
                            std::string::npos);
                    }
                    const std::int64_t asked = std::stoll(br) * 1000;
                    if (info.bitRate != asked) {
                        EXPECT_NE(outcome.console.find("cannot use " + std::string(br) + " kbit/s"),
                                  std::string::npos);
                        EXPECT_NE(outcome.console.find(std::to_string(info.bitRate / 1000) +
                                                       " kbit/s instead"),
                                  std::string::npos);
                    } else {
                        EXPECT_EQ(outcome.console.find("kbit/s instead"), std::string::npos);
                    }
                }
            }
        }
    }
}

TEST_F(ConvFormats, OddInputsGetFittedValuesEverywhere) {
    // 8 kHz mono and 96 kHz six-channel inputs, to every format.
    ScratchDir in;
    ASSERT_TRUE(Ffmpeg(
        {"-f", "lavfi", "-i", "sine=sample_rate=8000:duration=1", "-ac", "1", in.file("low.wav")}));
    ASSERT_TRUE(Ffmpeg({"-f", "lavfi", "-i", "sine=sample_rate=96000:duration=1", "-ac", "6",
                        "-c:a", "flac", in.file("wide.flac")}));
    for (const char* name : {"low.wav", "wide.flac"}) {
        for (int format = 0; format < 9; ++format) {
            SCOPED_TRACE(std::string(name) + " to format " + std::to_string(format));
            ScratchDir out;
            const std::string output =
                ConvertLikeTheWindow(in.file(name), Settings(format, out.path()));
            const MediaInfo info = Probe(output);
            ASSERT_TRUE(info.ok);
            // ADTS carries no gapless data: up to two 1024-sample frames more at 8 kHz.
            EXPECT_NEAR(info.seconds(), 1.0, 2 * 1024.0 / 8000 + 0.005);
        }
    }
}

TEST_F(ConvFormats, CutStartIsSampleAccurateAndLengthExact) {
    // A mono ramp: every sample tells its own position.
    ScratchDir in;
    ASSERT_TRUE(
        Ffmpeg({"-f", "lavfi", "-i",
                "aevalsrc=exprs='(mod(n\\,20000)-10000)/32768':sample_rate=44100:duration=5",
                "-c:a", "pcm_s16le", in.file("ramp.wav")}));
    ASSERT_TRUE(Ffmpeg({"-i", in.file("ramp.wav"), in.file("ramp.flac")}));
    const std::vector<std::int16_t> ramp = DecodeS16(in.file("ramp.wav"));
    ASSERT_EQ(ramp.size(), 5u * 44100);

    for (const char* name : {"ramp.wav", "ramp.flac"}) {
        SCOPED_TRACE(name);
        ScratchDir out;
        const auto r = ConvertArgs({"-i", in.file(name), "-ss", "1.5", "-t", "2", "-y", "-vn",
                                    "-acodec", "pcm_s16le", out.file("cut.wav")});
        ASSERT_FALSE(r.status) << Describe(r.status);
        const std::vector<std::int16_t> cut = DecodeS16(out.file("cut.wav"));
        ASSERT_EQ(cut.size(), 2u * 44100);
        EXPECT_TRUE(std::equal(cut.begin(), cut.end(), ramp.begin() + 66150));
    }

    // Whole seconds as the window writes them, into a lossy format: within one frame.
    ScratchDir out;
    ConversionSettings s = Settings(0, out.path());
    s.cutEnabled = true;
    s.cutStart = 1;
    s.cutLength = 3;
    Outcome outcome;
    const std::string mp3 = ConvertLikeTheWindow(in.file("ramp.wav"), s, &outcome);
    EXPECT_NEAR(Probe(mp3).seconds(), 3.0, 1152.0 / 44100);
    EXPECT_NE(outcome.console.find("  Duration: 00:00:05.00, "), std::string::npos);

    // A lossy input cut into a lossy output.
    const auto r = ConvertArgs(
        {"-i", dir_->file("in.mp3"), "-ss", "0.25", "-t", "0.5", "-y", out.file("part.ogg")});
    ASSERT_FALSE(r.status) << Describe(r.status);
    EXPECT_NEAR(Probe(out.file("part.ogg")).seconds(), 0.5, 2048.0 / 44100);
}

TEST_F(ConvFormats, CutLengthZeroRunsToTheEndAndLateStartsFail) {
    ScratchDir out;
    auto r = ConvertArgs(
        {"-i", dir_->file("in.wav"), "-ss", "0.25", "-t", "0", "-y", out.file("rest.wav")});
    ASSERT_FALSE(r.status) << Describe(r.status);
    EXPECT_EQ(Probe(out.file("rest.wav")).decodedSamples, 44100 - 11025);

    // A length past the end stops at the end.
    r = ConvertArgs(
        {"-i", dir_->file("in.flac"), "-ss", "0.5", "-t", "30", "-y", out.file("tail.flac")});
    ASSERT_FALSE(r.status) << Describe(r.status);
    EXPECT_EQ(Probe(out.file("tail.flac")).decodedSamples, 22050);

    for (const char* start : {"1", "2", "00:01:00"}) {
        r = ConvertArgs(
            {"-i", dir_->file("in.mp3"), "-ss", start, "-t", "1", "-y", out.file("late.mp3")});
        ASSERT_TRUE(r.status) << start;
        EXPECT_EQ(r.status->reason, "the cut starts after the end of the file");
        EXPECT_FALSE(Exists(out.file("late.mp3")));
    }
}
