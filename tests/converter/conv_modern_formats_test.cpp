// Opus, and AAC and Apple Lossless in M4A: converted from every common kind of input, then read
// back by readers that are not the converter's own.
#include "conv_test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

using namespace convtest;

namespace {

struct Source {
    const char* name;
    int rate, channels;
    bool lossy;
};

const std::string kTone = "sine=frequency=523:sample_rate=44100:duration=1.5";

std::string MakeSource(const Source& source) {
    const std::string name = source.name;
    std::vector<std::string> args = {"-ar", std::to_string(source.rate), "-ac",
                                     std::to_string(source.channels)};
    if (name.ends_with(".flac"))
        args.insert(args.end(), {"-sample_fmt", "s32", "-bits_per_raw_sample", "24"});
    if (name.ends_with(".m4a"))
        args.insert(args.end(), {"-c:a", "aac"});
    args.insert(args.end(), {"-metadata", "title=Tüll & Spitze", "-metadata", "album=Nähte"});
    return Made(name, kTone, args);
}

// The decoded samples as raw 32-bit words, by the ffmpeg program.
std::string DecodedBytes(const ScratchDir& dir, const std::string& path) {
    const std::string raw = dir.file("decoded.raw");
    EXPECT_TRUE(Ffmpeg({"-i", path, "-f", "s32le", raw}));
    return ReadFile(raw);
}

} // namespace

TEST(ConvModernFormats, OpusM4aAndAlacFromEveryKindOfInput) {
    const Source sources[] = {{"m16.wav", 44100, 2, false},
                              {"m24.flac", 96000, 2, false},
                              {"m.mp3", 44100, 1, true},
                              {"m.m4a", 48000, 2, true}};
    const struct {
        const char* output;
        std::vector<std::string> args;
        const char* codec;
        int frame; // samples per encoder frame
    } outputs[] = {{"x.opus", {"-acodec", "libopus", "-ab", "96k"}, "opus", 960},
                   {"x.m4a", {"-acodec", "aac", "-ab", "192k"}, "aac", 1024},
                   {"x_lossless.m4a", {"-acodec", "alac"}, "alac", 4096}};
    for (const Source& source : sources) {
        const std::string input = MakeSource(source);
        const MediaInfo in = Probe(input);
        ASSERT_TRUE(in.ok) << source.name;
        for (const auto& output : outputs) {
            SCOPED_TRACE(std::string(source.name) + " to " + output.output);
            ScratchDir out;
            std::vector<std::string> args = {"-i", input, "-y", "-vn"};
            args.insert(args.end(), output.args.begin(), output.args.end());
            args.push_back(out.file(output.output));
            const RunResult r = RunConv(args);
            ASSERT_EQ(r.exitCode, 0) << r.output;
            // Opus resamples without a word: the format is always 48 kHz.
            EXPECT_EQ(r.output.find("note:"), std::string::npos) << r.output;
            EXPECT_EQ(out.entries().size(), 1u);

            const MediaInfo got = Probe(out.file(output.output));
            ASSERT_TRUE(got.ok);
            EXPECT_EQ(got.codec, output.codec);
            const bool opus = std::string(output.codec) == "opus";
            EXPECT_EQ(got.sampleRate, opus ? 48000 : in.sampleRate);
            EXPECT_EQ(got.channels, in.channels);
            // AAC in MP4 keeps its last frame's padding for this reader.
            EXPECT_NEAR(got.seconds(), in.seconds(),
                        static_cast<double>(output.frame) / got.sampleRate + 0.001);

            const FfprobeTags tags = ReadTagsWithFfprobe(out.file(output.output));
            EXPECT_TRUE(tags.clean) << tags.complaints;
            EXPECT_EQ(tags.tags.count("title") ? tags.tags.at("title") : "", "Tüll & Spitze");
            EXPECT_EQ(tags.tags.count("album") ? tags.tags.at("album") : "", "Nähte");

            if (std::string(output.codec) == "alac" && !source.lossy) {
                // Lossless: every sample as the source decodes, 24 bits kept where it had them.
                const std::string ours = DecodedBytes(out, out.file(output.output));
                EXPECT_TRUE(ours == DecodedBytes(out, input)) << "the samples differ";
            }
        }
    }
}

// The index comes before the audio, so a player can start from the first bytes; the brand
// says M4A, as Apple devices want.
TEST(ConvModernFormats, M4aIsStreamableAndBrandedForPlayers) {
    ScratchDir out;
    const std::string input = MakeSource({"s16.wav", 44100, 2, false});
    for (const char* codec : {"aac", "alac"}) {
        SCOPED_TRACE(codec);
        const std::string output = out.file(std::string(codec) + ".m4a");
        ASSERT_EQ(RunConv({"-i", input, "-y", "-acodec", codec, output}).exitCode, 0);
        const std::string bytes = ReadFile(output);
        ASSERT_GT(bytes.size(), 64u);
        EXPECT_EQ(bytes.substr(4, 8), "ftypM4A ");
        const auto moov = bytes.find("moov");
        const auto mdat = bytes.find("mdat");
        ASSERT_NE(moov, std::string::npos);
        ASSERT_NE(mdat, std::string::npos);
        EXPECT_LT(moov, mdat);
    }
}

// Opus holds mono or stereo; more channels are mixed down with a note, and an asked-for rate
// other than 48 kHz is said to be replaced.
TEST(ConvModernFormats, OpusFitsWhatItCannotHoldAndSaysSo) {
    ScratchDir out;
    const std::string wide =
        Made("six.wav", "sine=sample_rate=44100:duration=1", {"-ac", "6", "-ar", "44100"});
    const RunResult r = RunConv({"-i", wide, "-y", "-ar", "22050", out.file("x.opus")});
    ASSERT_EQ(r.exitCode, 0) << r.output;
    EXPECT_NE(r.output.find("note: OPUS cannot hold 6 channels; using stereo instead"),
              std::string::npos)
        << r.output;
    EXPECT_NE(r.output.find("note: OPUS cannot use 22050 Hz; using 48000 Hz instead"),
              std::string::npos)
        << r.output;
    const MediaInfo got = Probe(out.file("x.opus"));
    EXPECT_EQ(got.channels, 2);
    EXPECT_EQ(got.sampleRate, 48000);
}

// A cut gives the new formats just the part asked for, as it does the others.
TEST(ConvModernFormats, ACutKeepsThePartAskedFor) {
    ScratchDir out;
    const std::string input = MakeSource({"cut.wav", 44100, 2, false});
    for (const auto& [name, codec, frame] :
         {std::tuple<const char*, const char*, int>{"x.opus", "libopus", 960},
          {"x.m4a", "aac", 1024},
          {"y.m4a", "alac", 4096}}) {
        SCOPED_TRACE(name);
        const RunResult r = RunConv(
            {"-i", input, "-ss", "0.5", "-t", "0.75", "-y", "-acodec", codec, out.file(name)});
        ASSERT_EQ(r.exitCode, 0) << r.output;
        const MediaInfo got = Probe(out.file(name));
        EXPECT_NEAR(got.seconds(), 0.75, static_cast<double>(frame) / got.sampleRate + 0.001);
    }
}
