// Argument reading, value fitting and the printed lines, including both sides of the
// contract with the window: its command lines parse, and its progress parser reads our lines.
#include "converter/errors.h"
#include "converter/fitting.h"
#include "converter/formats.h"
#include "converter/options.h"
#include "converter/output_file.h"
#include "converter/progress.h"

#include "engine/command_line.h"
#include "engine/progress_parser.h"

#include <gtest/gtest.h>

#include <algorithm>

extern "C" {
#include <libavutil/avutil.h>
}

using namespace conv;

namespace {

Options Parse(const std::vector<std::string>& args) {
    Options options;
    const Status failed = ParseArguments(args, options);
    EXPECT_FALSE(failed) << (failed ? failed->path + ": " + failed->reason : "");
    return options;
}

Failure ParseFailure(const std::vector<std::string>& args) {
    Options options;
    const Status failed = ParseArguments(args, options);
    EXPECT_TRUE(failed);
    return failed.value_or(Failure{});
}

BuiltCommand Gui(int format, const std::string& input, bool cut = false, int start = 0,
                 int length = 0, const std::string& bitrate = "128",
                 const std::string& rate = "44100", int channelIndex = 1) {
    ConversionSettings s;
    s.formatIndex = static_cast<std::int16_t>(format);
    s.bitrate = bitrate;
    s.sampleRate = rate;
    s.channelIndex = static_cast<std::int16_t>(channelIndex);
    s.outputFolder = "/out: here";
    s.cutEnabled = cut;
    s.cutStart = start;
    s.cutLength = length;
    return BuildCommandLine(input, s, "/prog").value();
}

} // namespace

TEST(ConvTimes, AcceptsSecondsDecimalsAndClockTimes) {
    EXPECT_EQ(ParseTime("0"), 0);
    EXPECT_EQ(ParseTime("75"), 75'000'000);
    EXPECT_EQ(ParseTime("1.5"), 1'500'000);
    EXPECT_EQ(ParseTime(".25"), 250'000);
    EXPECT_EQ(ParseTime("01:15"), 75'000'000);
    EXPECT_EQ(ParseTime("1:02:03.5"), 3'723'500'000);
    EXPECT_EQ(ParseTime("0.0000009"), 0); // below a microsecond
    for (const char* bad : {"", "-1", "1e3", "abc", "1:2:3:4", "1.5:00", ":", "1..2", "5s", "."})
        EXPECT_FALSE(ParseTime(bad)) << bad;
    EXPECT_FALSE(ParseTime("99999999999999999999")); // no overflow into a small value
}

TEST(ConvTimes, BitRatesWithUnits) {
    EXPECT_EQ(ParseBitRate("128k"), 128000);
    EXPECT_EQ(ParseBitRate("7.4k"), 7400);
    EXPECT_EQ(ParseBitRate("1M"), 1000000);
    EXPECT_EQ(ParseBitRate("64000"), 64000);
    for (const char* bad : {"", "0", "0k", "k", "-128k", "12x", "1.5", "99999999999k"})
        EXPECT_FALSE(ParseBitRate(bad)) << bad;
}

TEST(ConvArguments, EveryWindowCommandLineParses) {
    const std::string in = "/music/-odd: \"name\".wav";
    for (int format = 0; format < kOutputFormatCount; ++format) {
        for (const bool cut : {false, true}) {
            const BuiltCommand built = Gui(format, in, cut, 75, 30);
            const Options o = Parse(built.arguments);
            EXPECT_EQ(o.input, in);
            EXPECT_EQ(o.output, built.outputPath);
            EXPECT_TRUE(o.overwrite);
            ASSERT_NE(FindFormat(o.output), nullptr);
            EXPECT_EQ(o.startUs, cut ? 75'000'000 : 0);
            EXPECT_EQ(o.lengthUs, cut ? 30'000'000 : 0);
            const bool mapped = format <= 2 || (format == 4 && !cut);
            EXPECT_EQ(o.copyTags, mapped) << format;
        }
    }
    const Options mp3 = Parse(Gui(0, in, false, 0, 0, "320", "12050", 0).arguments);
    EXPECT_EQ(mp3.bitRate, 320000);
    EXPECT_EQ(mp3.sampleRate, 12050);
    EXPECT_EQ(mp3.channels, 1);
    const Options amr = Parse(Gui(7, in).arguments);
    EXPECT_EQ(amr.bitRate, 7400);
    EXPECT_EQ(amr.sampleRate, 8000);
    const Options wma = Parse(Gui(1, in).arguments);
    EXPECT_EQ(wma.codec, "wmav1");
}

TEST(ConvArguments, OutputIsAlwaysTheLastArgument) {
    // A leading dash does not make the output an option.
    const Options o = Parse({"-i", "-in.wav", "-y", "-out.mp3"});
    EXPECT_EQ(o.input, "-in.wav");
    EXPECT_EQ(o.output, "-out.mp3");
    EXPECT_FALSE(o.copyTags);
    // An option value may not swallow the output.
    EXPECT_EQ(ParseFailure({"-i", "a.wav", "-ab", "b.mp3"}).path, "-ab");
    EXPECT_EQ(ParseFailure({"-i", "a.wav"}).path, "-i");
}

TEST(ConvArguments, RejectsWhatItCannotHonour) {
    EXPECT_NE(ParseFailure({}).reason.find("usage"), std::string::npos);
    EXPECT_EQ(ParseFailure({"-i", "a.wav", "-q", "3", "b.mp3"}).path, "-q");
    EXPECT_EQ(ParseFailure({"-i", "a.wav", "stray", "b.mp3"}).path, "stray");
    EXPECT_EQ(ParseFailure({"-i", "a.wav", "-i", "c.wav", "b.mp3"}).path, "c.wav");
    EXPECT_EQ(ParseFailure({"-i", "a.wav", "b.xyz"}).path, "b.xyz");
    EXPECT_EQ(ParseFailure({"-i", "a.wav", "b"}).path, "b");
    EXPECT_EQ(ParseFailure({"-y", "b.mp3"}).path, "b.mp3"); // no input
    EXPECT_EQ(ParseFailure({"-i", "a.wav", "-acodec", "aac", "b.mp3"}).path, "aac");
    EXPECT_EQ(ParseFailure({"-i", "a.wav", "-ar", "0", "b.mp3"}).path, "0");
    EXPECT_EQ(ParseFailure({"-i", "a.wav", "-ac", "x", "b.mp3"}).path, "x");
    EXPECT_EQ(ParseFailure({"-i", "a.wav", "-ss", "-5", "b.mp3"}).path, "-5");
    // The map must name exactly this input and output; paths may hold colons.
    EXPECT_TRUE(Parse({"-i", "a:b.wav", "-map_meta_data", "a:b.wav:c:d.mp3", "c:d.mp3"}).copyTags);
    EXPECT_EQ(ParseFailure({"-i", "a.wav", "-map_meta_data", "a.wav:x.mp3", "b.mp3"}).path,
              "a.wav:x.mp3");
    EXPECT_EQ(ParseFailure({"-i", "a.wav", "-map_meta_data", "0:0", "b.mp3"}).path, "0:0");
}

TEST(ConvFormats, ExtensionsAndCodecs) {
    EXPECT_EQ(FindFormat("/a/b.MP3")->muxer, "mp3");
    EXPECT_EQ(FindFormat("/a.flac/.wav")->muxer, "wav"); // a name that is only the extension
    EXPECT_EQ(FindFormat("x.aac")->muxer, "adts");
    EXPECT_EQ(FindFormat("x.mpg")->muxer, "mpeg");
    EXPECT_EQ(FindFormat("/a.mp3/b"), nullptr);
    EXPECT_EQ(FindFormat("b.mp4"), nullptr);
    EXPECT_EQ(ResolveCodec(*FindFormat("x.ogg"), "vorbis"), "libvorbis");
    EXPECT_EQ(ResolveCodec(*FindFormat("x.amr"), "amr_nb"), kAmrNbEncoder);
    EXPECT_FALSE(ResolveCodec(*FindFormat("x.wav"), "libmp3lame"));
}

TEST(ConvFitting, NearestValueWithTiesGoingUp) {
    const std::vector<std::int64_t> list = {10, 20, 40};
    EXPECT_EQ(Nearest(list, 5), 10);
    EXPECT_EQ(Nearest(list, 15), 20);
    EXPECT_EQ(Nearest(list, 29), 20);
    EXPECT_EQ(Nearest(list, 30), 40);
    EXPECT_EQ(Nearest(list, 99), 40);
    EXPECT_EQ(Nearest({}, 7), 7);
}

TEST(ConvFitting, Mp3RefusedValuesAreReplacedAndNoted) {
    Fitted f = FitValues(CodecKind::Mp3, "MP3", {12050, 2, 128000, true});
    EXPECT_EQ(f.sampleRate, 12000);
    EXPECT_EQ(f.bitRate, 64000); // the low rates top out at 64 kbit/s
    ASSERT_EQ(f.notes.size(), 2u);
    EXPECT_NE(f.notes[0].find("12050 Hz"), std::string::npos);
    EXPECT_NE(f.notes[0].find("12000 Hz"), std::string::npos);

    f = FitValues(CodecKind::Mp3, "MP3", {8000, 1, 320000, true});
    EXPECT_EQ(f.bitRate, 64000);
    f = FitValues(CodecKind::Mp3, "MP3", {22050, 2, 320000, true});
    EXPECT_EQ(f.bitRate, 160000);
    f = FitValues(CodecKind::Mp3, "MP3", {44100, 2, 320000, true});
    EXPECT_EQ(f.bitRate, 320000);
    EXPECT_TRUE(f.notes.empty());
}

TEST(ConvFitting, Mp2FollowsLayerTwoRules) {
    Fitted f = FitValues(CodecKind::Mp2, "MPG", {8000, 2, 128000, true});
    EXPECT_EQ(f.sampleRate, 16000);
    EXPECT_EQ(f.bitRate, 128000);
    f = FitValues(CodecKind::Mp2, "MPG", {44100, 2, 32000, true});
    EXPECT_EQ(f.bitRate, 64000); // too low for stereo
    f = FitValues(CodecKind::Mp2, "MPG", {48000, 1, 320000, true});
    EXPECT_EQ(f.bitRate, 192000); // too high for mono
    f = FitValues(CodecKind::Mp2, "MPG", {24000, 1, 320000, true});
    EXPECT_EQ(f.bitRate, 160000);
    // A built-in default is fitted without a note.
    f = FitValues(CodecKind::Mp2, "MPG", {22050, 2, 192000, false});
    EXPECT_EQ(f.bitRate, 160000);
    EXPECT_TRUE(f.notes.empty());
}

TEST(ConvFitting, FixedAndLimitedEncoders) {
    Fitted f = FitValues(CodecKind::AmrNb, "AMR", {44100, 2, 7400, true});
    EXPECT_EQ(f.sampleRate, 8000);
    EXPECT_EQ(f.channels, 1);
    EXPECT_EQ(AmrModeForBitRate(f.bitRate), 4); // 7.4 kbit/s exists
    EXPECT_EQ(AmrModeForBitRate(7950), 5);
    EXPECT_EQ(AmrModeForBitRate(999999), 7);
    EXPECT_EQ(f.notes.size(), 2u);
    f = FitValues(CodecKind::Ac3, "AC3", {22050, 8, 0, false});
    EXPECT_EQ(f.sampleRate, 32000);
    EXPECT_EQ(f.channels, 6);
    f = FitValues(CodecKind::Wma, "WMA", {96000, 2, 16000, true});
    EXPECT_EQ(f.sampleRate, 48000);
    EXPECT_EQ(f.bitRate, 24000);
    f = FitValues(CodecKind::Flac, "FLAC", {96000, 2, 0, false});
    EXPECT_EQ(f.sampleRate, 96000);
    EXPECT_TRUE(f.notes.empty());
}

TEST(ConvFitting, EveryWindowChoiceGivesOneLineNotesWithoutMarkers) {
    for (const char* br :
         {"32", "48", "56", "64", "80", "96", "112", "128", "192", "224", "256", "320"}) {
        for (const char* rate :
             {"48000", "44100", "32000", "24000", "22050", "16000", "12050", "8000"}) {
            for (int ch = 1; ch <= 2; ++ch) {
                for (CodecKind kind : {CodecKind::Mp3, CodecKind::Mp2}) {
                    const Fitted f =
                        FitValues(kind, "X", {std::stoi(rate), ch, std::stoll(br) * 1000, true});
                    const auto bitRates = AllowedBitRates(kind, f.sampleRate, f.channels);
                    EXPECT_NE(std::find(bitRates.begin(), bitRates.end(), f.bitRate),
                              bitRates.end());
                    for (const auto& note : f.notes) {
                        EXPECT_EQ(note.find('\n'), std::string::npos);
                        EXPECT_EQ(note.find("Duration: "), std::string::npos);
                        EXPECT_EQ(note.find("time="), std::string::npos);
                    }
                }
            }
        }
    }
}

TEST(ConvLines, FailureLineStaysOneReadableLine) {
    EXPECT_EQ(FailureLine({"/a b/c.wav", "the file does not exist"}),
              "conv: /a b/c.wav: the file does not exist\n");
    EXPECT_EQ(FailureLine({"a\nb\r.wav", "x"}), "conv: a\\x0Ab\\x0D.wav: x\n");
    EXPECT_EQ(FailureLine({"caf\xC3\xA9-\xFF\xC3.wav", "x"}),
              "conv: caf\xC3\xA9-\\xFF\\xC3.wav: x\n");
    EXPECT_EQ(EscapeForLine("\xE2\x82\xAC \xF0\x9F\x8E\xB5"), "\xE2\x82\xAC \xF0\x9F\x8E\xB5");
    EXPECT_EQ(EscapeForLine("\xC0\xAF\xED\xA0\x80"),
              "\\xC0\\xAF\\xED\\xA0\\x80"); // overlong, surrogate
    EXPECT_EQ(FailureLine({"", "usage"}), "conv: usage\n");
}

TEST(ConvLines, TheWindowReadsDurationAndProgress) {
    const std::string header = DurationLine(205'460'000, 0, 1411200);
    EXPECT_EQ(header, "  Duration: 00:03:25.46, start: 0.000000, bitrate: 1411 kb/s");
    EXPECT_EQ(ParseProgressChunk(header + "\n", 0, false, 0).totalSeconds, 205);
    EXPECT_EQ(DurationLine(3'600'499'999, AV_NOPTS_VALUE, 0),
              "  Duration: 01:00:00.50, start: N/A, bitrate: N/A");
    EXPECT_EQ(DurationLine(AV_NOPTS_VALUE, -1'500'000, 0),
              "  Duration: N/A, start: -1.500000, bitrate: N/A");
    EXPECT_EQ(ParseProgressChunk(DurationLine(AV_NOPTS_VALUE, 0, 0), 0, false, 0).totalSeconds, 0);

    // Past an hour the time stays in seconds, which the window needs.
    const std::string line = ProgressLine(1024 * 1000, 3725.5);
    EXPECT_NE(line.find("time=3725.50 "), std::string::npos);
    const ProgressUpdate half = ParseProgressChunk(ProgressLine(0, 15.0) + " \r", 30, true, 30);
    EXPECT_TRUE(half.displayChanged);
    EXPECT_EQ(half.caption, "50%");
    // Header and first progress line in one chunk.
    const ProgressUpdate both = ParseProgressChunk(
        DurationLine(10'000'000, 0, 0) + "\n" + ProgressLine(10, 2.5) + " \r", 0, false, 0);
    EXPECT_EQ(both.totalSeconds, 10);
    EXPECT_EQ(both.caption, "20%");
}

TEST(ConvTempFile, NameIsOursBesideTheOutputAndFitsTheNameLimit) {
    EXPECT_EQ(TempNameFor("/out/song.mp3", "Ab12Cd"), "/out/.song.mp3.conv-Ab12Cd.part");
    EXPECT_EQ(TempNameFor("song.mp3", "Ab12Cd"), ".song.mp3.conv-Ab12Cd.part");
    EXPECT_EQ(TempNameFor("/song.mp3", "Ab12Cd"), "/.song.mp3.conv-Ab12Cd.part");
    const std::string longName(250, 'x');
    const std::string temp = TempNameFor("/out/" + longName + ".mp3", "Ab12Cd");
    EXPECT_LE(temp.size() - 5, 255u);
    EXPECT_EQ(temp.substr(temp.size() - 17), ".conv-Ab12Cd.part");
}
