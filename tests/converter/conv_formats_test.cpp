// Conversions of generated one-second inputs, mostly with the window's own command lines,
// checked by probing the outputs.
#include "conv_test_support.h"

#include "core/engine/command_line.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <tuple>

using namespace convtest;

namespace {

// Converts with the window's own command line and probes the output.
MediaInfo ConvertLikeTheWindow(const std::string& input, const ConversionSettings& settings,
                               std::string* console = nullptr) {
    const BuiltCommand built = BuildCommandLine(input, settings, "").value();
    const RunResult r = RunConv(built.arguments);
    EXPECT_EQ(r.exitCode, 0) << r.output << " for " << built.text;
    if (console)
        *console = r.output;
    return Probe(built.outputPath);
}

const std::string kSine = "sine=sample_rate=44100:duration=1";

// Also values most encoders must fit: 8 kHz mono, and 96 kHz in six channels.
std::string Input(const std::string& name) {
    if (name == "low.wav")
        return Made(name, "sine=sample_rate=8000:duration=1", {"-ac", "1"});
    if (name == "wide.flac")
        return Made(name, "sine=sample_rate=96000:duration=1", {"-ac", "6"});
    if (name == "in.mp4")
        return Made(name, "testsrc=duration=1:size=64x48:rate=10",
                    {"-f", "lavfi", "-i", kSine, "-c:v", "mpeg4", "-c:a", "aac", "-shortest"});
    return Made(name, kSine);
}

} // namespace

TEST(ConvFormats, EveryFormatFromEveryKindOfInput) {
    // Codec, fixed rate and channels (0: the input's), samples per encoder frame.
    const struct {
        const char* codec;
        int rate, channels, frame;
    } expected[9] = {{"mp3", 44100, 2, 1152}, {"wmav1", 0, 0, 2048},    {"vorbis", 0, 2, 2048},
                     {"pcm_s16le", 0, 0, 1},  {"flac", 0, 0, 4608},     {"ac3", 0, 0, 1536},
                     {"aac", 0, 0, 1024},     {"amr_nb", 8000, 1, 160}, {"mp2", 44100, 2, 1152}};
    for (const char* name : {"in.wav", "in.flac", "in.mp3", "in.mp4", "low.wav", "wide.flac"}) {
        const MediaInfo in = Probe(Input(name));
        ASSERT_TRUE(in.ok) << name;
        for (int format = 0; format < 9; ++format) {
            SCOPED_TRACE(std::string(name) + " to format " + std::to_string(format));
            ScratchDir out;
            std::string console;
            const MediaInfo info = ConvertLikeTheWindow(
                Input(name), {.formatIndex = std::int16_t(format), .outputFolder = out.path()},
                &console);
            ASSERT_TRUE(info.ok);
            const auto& want = expected[format];
            EXPECT_EQ(info.codec, want.codec);
            // Encoder delay and padding add up to two frames where no gapless data exists.
            EXPECT_NEAR(info.seconds(), in.seconds(), 2.0 * want.frame / info.sampleRate + 0.005);
            EXPECT_EQ(out.entries().size(), 1u);                       // no temporary file left
            if ((format == 3 || format == 4) && !in.samples.empty()) { // lossless from 16 bits
                EXPECT_EQ(info.samples, in.samples);
            }
            if (name[0] != 'i') // odd values: only a playable file of the right length
                continue;
            EXPECT_EQ(info.sampleRate, want.rate ? want.rate : in.sampleRate);
            EXPECT_EQ(info.channels, want.channels ? want.channels : in.channels);
            // The window's bar ends where the input ends, on a line of its own ("\n", the
            // others end in "\r") in the grammar the window reads.
            std::smatch end;
            ASSERT_TRUE(std::regex_search(
                console, end,
                std::regex("[\r\n]size= *\\d+kB time=([0-9.]+) bitrate= *[0-9.]+kbits/s \n$")))
                << console;
            EXPECT_NEAR(std::stod(end[1]), in.seconds(), 0.011);
        }
    }
}

// Every combination the window offers for MP3 and MPG yields a playable file.
TEST(ConvFormats, Mp3AndMpgAcrossEveryWindowChoice) {
    ScratchDir out;
    for (const std::int16_t format : {0, 8})
        for (const std::string br :
             {"32", "48", "56", "64", "80", "96", "112", "128", "192", "224", "256", "320"})
            for (const std::string rate :
                 {"48000", "44100", "32000", "24000", "22050", "16000", "12050", "8000"})
                for (const std::int16_t channels : {0, 1}) {
                    SCOPED_TRACE(std::to_string(format) + " " + br + "k " + rate + " Hz ch" +
                                 std::to_string(channels + 1));
                    const MediaInfo info = ConvertLikeTheWindow(
                        Input("in.wav"), {format, br, rate, channels, out.path()});
                    ASSERT_TRUE(info.ok);
                    EXPECT_EQ(info.channels, channels + 1);
                    EXPECT_NEAR(info.seconds(), 1.0, 2 * 1152.0 / info.sampleRate + 0.01);
                }
}

TEST(ConvFormats, CutsAreSampleAccurateAndLateStartsFail) {
    // A mono ramp: every sample tells its own position.
    ScratchDir in, out;
    ASSERT_TRUE(
        Ffmpeg({"-f", "lavfi", "-i",
                "aevalsrc=exprs='(mod(n\\,20000)-10000)/32768':sample_rate=44100:duration=5",
                "-c:a", "pcm_s16le", in.file("ramp.wav")}));
    ASSERT_TRUE(Ffmpeg({"-i", in.file("ramp.wav"), in.file("ramp.flac")}));
    const std::vector<std::int16_t> ramp = Probe(in.file("ramp.wav")).samples;
    ASSERT_EQ(ramp.size(), 5u * 44100);
    for (const char* name : {"ramp.wav", "ramp.flac"}) {
        ASSERT_EQ(RunConv({"-i", in.file(name), "-ss", "1.5", "-t", "2", "-y", "-vn", "-acodec",
                           "pcm_s16le", out.file("cut.wav")})
                      .exitCode,
                  0);
        const std::vector<std::int16_t> cut = Probe(out.file("cut.wav")).samples;
        ASSERT_EQ(cut.size(), 2u * 44100) << name;
        EXPECT_TRUE(std::equal(cut.begin(), cut.end(), ramp.begin() + 66150)) << name;
    }

    // Whole seconds as the window writes them, into a lossy format: within one frame.
    const MediaInfo lossy = ConvertLikeTheWindow(
        in.file("ramp.wav"),
        {.outputFolder = out.path(), .cutEnabled = true, .cutStart = 1, .cutLength = 3});
    EXPECT_NEAR(lossy.seconds(), 3.0, 1152.0 / 44100);

    // Length 0 runs to the end; a length past the end stops there; a start at the end fails.
    for (const auto& [start, length, samples] :
         {std::tuple{"0.25", "0", 44100 - 11025}, {"0.5", "30", 22050}, {"1", "1", 0}}) {
        std::filesystem::remove(out.file("part.flac"));
        const RunResult r = RunConv(
            {"-i", Input("in.flac"), "-ss", start, "-t", length, "-y", out.file("part.flac")});
        EXPECT_EQ(Probe(out.file("part.flac")).decodedSamples, samples) << start;
        EXPECT_EQ(r.lastLine().ends_with(": the cut starts after the end of the file"), !samples);
    }
}

// A lossy input is decoded from a little before the cut, so that the decoder has settled by the
// first sample kept: a click at or just after the start is where it belongs, at full strength.
TEST(ConvFormats, Mp3CutsStartAtTheRequestedSample) {
    ScratchDir out;
    const std::string mp3 = out.file("click.mp3");
    ASSERT_EQ(RunConv({"-i",
                       Made("click.wav",
                            "aevalsrc=exprs='if(eq(n\\,110250)\\,0.9\\,0)':sample_rate=44100:"
                            "duration=4",
                            {"-ac", "1"}),
                       "-y", mp3})
                  .exitCode,
              0);
    // Starts 0 to 30 ms before the click, at 2.5 s: some within its MP3 frame, some before.
    for (const auto& [start, before] :
         {std::pair{"2.5", 0}, {"2.49", 441}, {"2.48", 882}, {"2.47", 1323}}) {
        SCOPED_TRACE(start);
        ASSERT_EQ(
            RunConv({"-i", mp3, "-ss", start, "-t", "0.5", "-y", out.file("cut.wav")}).exitCode, 0);
        const std::vector<std::int16_t> cut = Probe(out.file("cut.wav")).samples;
        ASSERT_EQ(cut.size(), 22050u);
        const auto peak = std::max_element(cut.begin(), cut.end(),
                                           [](int a, int b) { return std::abs(a) < std::abs(b); });
        EXPECT_GT(std::abs(*peak), 0.45 * 32767) << "the click is lost";
        EXPECT_NEAR(peak - cut.begin(), before, 1152);
    }
}

// Two MP3 streams end to end at different rates, as a joined file or a recorded broadcast holds
// them: the resampler is drained and set up anew where the rate changes, so both parts arrive
// whole. A low output rate makes the resampler's tail count.
TEST(ConvFormats, ARateChangeMidStreamKeepsBothParts) {
    ScratchDir work;
    const std::string joined = work.file("joined.mp3"), out = work.file("out.wav");
    WriteFile(joined,
              ReadFile(Made("44k.mp3", "sine=frequency=440:sample_rate=44100:duration=2",
                            {"-write_xing", "0", "-id3v2_version", "0"})) +
                  ReadFile(Made("22k.mp3", "sine=frequency=880:sample_rate=22050:duration=3",
                                {"-write_xing", "0", "-id3v2_version", "0"})));
    const MediaInfo in = Probe(joined);
    ASSERT_NEAR(in.decodedSeconds, 5.1, 0.1);
    const RunResult r = RunConv({"-i", joined, "-ar", "8000", "-y", out});
    ASSERT_EQ(r.exitCode, 0) << r.output;
    const MediaInfo written = Probe(out);
    EXPECT_EQ(written.sampleRate, 8000);
    EXPECT_NEAR(written.seconds(), in.decodedSeconds, 4.0 / 8000);
}
