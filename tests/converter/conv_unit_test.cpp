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

// The argument the failure names.
std::string Refused(const std::vector<std::string>& args) {
    Options options;
    const Status failed = ParseArguments(args, options);
    EXPECT_TRUE(failed);
    return failed ? failed->path : "";
}

} // namespace

TEST(ConvArguments, TimesAndBitRates) {
    EXPECT_EQ(ParseTime("75"), 75'000'000);
    EXPECT_EQ(ParseTime("1.5"), 1'500'000);
    EXPECT_EQ(ParseTime("01:15"), 75'000'000);
    EXPECT_EQ(ParseTime("1:02:03.5"), 3'723'500'000);
    for (const char* bad :
         {"", "-1", "1e3", "1:2:3:4", "1.5:00", "1..2", "5s", ".", "99999999999999999999"})
        EXPECT_FALSE(ParseTime(bad)) << bad;
    EXPECT_EQ(ParseBitRate("128k"), 128000);
    EXPECT_EQ(ParseBitRate("7.4k"), 7400);
    EXPECT_EQ(ParseBitRate("64000"), 64000);
    for (const char* bad : {"", "0k", "k", "-128k", "12x", "1.5", "99999999999k"})
        EXPECT_FALSE(ParseBitRate(bad)) << bad;
}

TEST(ConvArguments, EveryWindowCommandLineParses) {
    const std::string in = "/music/-odd: \"name\".wav";
    for (int format = 0; format < kOutputFormatCount; ++format) {
        for (const bool cut : {false, true}) {
            ConversionSettings s;
            s.formatIndex = static_cast<std::int16_t>(format);
            s.outputFolder = "/out: here";
            s.cutEnabled = cut;
            s.cutStart = 75;
            s.cutLength = 30;
            s.sampleRate = "12050";
            s.channelIndex = 0;
            const BuiltCommand built = BuildCommandLine(in, s, "/prog").value();
            const Options o = Parse(built.arguments);
            EXPECT_EQ(o.input, in);
            EXPECT_EQ(o.output, built.outputPath);
            EXPECT_TRUE(o.overwrite);
            EXPECT_EQ(o.startUs, cut ? 75'000'000 : 0);
            EXPECT_EQ(o.lengthUs, cut ? 30'000'000 : 0);
            EXPECT_EQ(o.copyTags, format <= 2 || (format == 4 && !cut)) << format;
            if (format == 0 || format == 8) {
                EXPECT_EQ(o.bitRate, 128000);
                EXPECT_EQ(o.sampleRate, 12050);
                EXPECT_EQ(o.channels, 1);
            }
        }
    }
}

TEST(ConvArguments, RejectsWhatItCannotHonour) {
    // The output is the last argument even with a leading dash; no value may swallow it.
    EXPECT_EQ(Parse({"-i", "-in.wav", "-y", "-out.MP3"}).output, "-out.MP3");
    EXPECT_EQ(Refused({"-i", "a.wav", "-ab", "b.mp3"}), "-ab");
    EXPECT_EQ(Refused({"-i", "a.wav"}), "-i");
    EXPECT_EQ(Refused({"-y", "b.mp3"}), "b.mp3"); // no input
    EXPECT_EQ(Refused({"-i", "a.wav", "-q", "3", "b.mp3"}), "-q");
    EXPECT_EQ(Refused({"-i", "a.wav", "stray", "b.mp3"}), "stray");
    EXPECT_EQ(Refused({"-i", "a.wav", "-i", "c.wav", "b.mp3"}), "c.wav");
    EXPECT_EQ(Refused({"-i", "a.wav", "/x.mp3/b"}), "/x.mp3/b");
    EXPECT_EQ(Refused({"-i", "a.wav", "-acodec", "aac", "b.mp3"}), "aac");
    EXPECT_EQ(Refused({"-i", "a.wav", "-ar", "0", "b.mp3"}), "0");
    // A name that is only the extension is still that format.
    EXPECT_EQ(FindFormat("/a.flac/.wav")->muxer, "wav");
    // The map must name exactly this input and output; paths may hold colons.
    EXPECT_TRUE(Parse({"-i", "a:b.wav", "-map_meta_data", "a:b.wav:c:d.mp3", "c:d.mp3"}).copyTags);
    EXPECT_EQ(Refused({"-i", "a.wav", "-map_meta_data", "a.wav:x.mp3", "b.mp3"}), "a.wav:x.mp3");
}

TEST(ConvFitting, NearestValueWithTiesGoingUp) {
    const std::vector<std::int64_t> list = {10, 20, 40};
    EXPECT_EQ(Nearest(list, 5), 10);
    EXPECT_EQ(Nearest(list, 29), 20);
    EXPECT_EQ(Nearest(list, 30), 40);
    EXPECT_EQ(Nearest(list, 99), 40);
}

TEST(ConvFitting, RefusedValuesAreReplacedAndNoted) {
    Fitted f = FitValues(CodecKind::Mp3, "MP3", {12050, 2, 320000, true});
    EXPECT_EQ(f.sampleRate, 12000);
    EXPECT_EQ(f.bitRate, 64000); // the lowest rates top out at 64 kbit/s
    ASSERT_EQ(f.notes.size(), 2u);
    EXPECT_EQ(f.notes[0], "note: MP3 cannot use 12050 Hz; using 12000 Hz instead");
    EXPECT_EQ(FitValues(CodecKind::Mp3, "MP3", {22050, 2, 320000, true}).bitRate, 160000);
    EXPECT_TRUE(FitValues(CodecKind::Mp3, "MP3", {44100, 2, 320000, true}).notes.empty());

    // Layer II forbids low rates in stereo and high ones in mono.
    EXPECT_EQ(FitValues(CodecKind::Mp2, "MPG", {8000, 2, 128000, true}).sampleRate, 16000);
    EXPECT_EQ(FitValues(CodecKind::Mp2, "MPG", {44100, 2, 32000, true}).bitRate, 64000);
    EXPECT_EQ(FitValues(CodecKind::Mp2, "MPG", {48000, 1, 320000, true}).bitRate, 192000);
    // A built-in default is fitted without a note.
    f = FitValues(CodecKind::Mp2, "MPG", {22050, 2, 192000, false});
    EXPECT_EQ(f.bitRate, 160000);
    EXPECT_TRUE(f.notes.empty());

    f = FitValues(CodecKind::AmrNb, "AMR", {44100, 2, 7400, true});
    EXPECT_EQ(f.sampleRate, 8000);
    EXPECT_EQ(f.channels, 1);
    EXPECT_EQ(AmrModeForBitRate(f.bitRate), 4); // 7.4 kbit/s is a mode of its own
    EXPECT_EQ(FitValues(CodecKind::Ac3, "AC3", {22050, 8, 0, false}).channels, 6);
    EXPECT_EQ(FitValues(CodecKind::Wma, "WMA", {96000, 2, 16000, true}).bitRate, 24000);
    EXPECT_TRUE(FitValues(CodecKind::Flac, "FLAC", {96000, 2, 0, false}).notes.empty());
}

TEST(ConvLines, FailureLineStaysOneReadableLine) {
    EXPECT_EQ(FailureLine({"/a b/c.wav", "gone"}), "conv: /a b/c.wav: gone\n");
    EXPECT_EQ(FailureLine({"a\nb\r.wav", "x"}), "conv: a\\x0Ab\\x0D.wav: x\n");
    EXPECT_EQ(FailureLine({"caf\xC3\xA9-\xFF\xC3.wav", "x"}),
              "conv: caf\xC3\xA9-\\xFF\\xC3.wav: x\n");
    EXPECT_EQ(EscapeForLine("\xE2\x82\xAC \xF0\x9F\x8E\xB5"), "\xE2\x82\xAC \xF0\x9F\x8E\xB5");
    EXPECT_EQ(EscapeForLine("\xC0\xAF\xED\xA0\x80"), "\\xC0\\xAF\\xED\\xA0\\x80");
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

    // Past an hour the time stays in seconds, which the window needs.
    EXPECT_NE(ProgressLine(1024 * 1000, 3725.5).find("time=3725.50 "), std::string::npos);
    const ProgressUpdate both = ParseProgressChunk(
        DurationLine(10'000'000, 0, 0) + "\n" + ProgressLine(10, 2.5) + " \r", 0, false, 0);
    EXPECT_EQ(both.totalSeconds, 10);
    EXPECT_EQ(both.caption, "20%");
}

TEST(ConvTempFile, NameIsOursBesideTheOutputAndFitsTheNameLimit) {
    EXPECT_EQ(TempNameFor("/out/song.mp3", "Ab12Cd"), "/out/.song.mp3.conv-Ab12Cd.part");
    EXPECT_EQ(TempNameFor("song.mp3", "Ab12Cd"), ".song.mp3.conv-Ab12Cd.part");
    EXPECT_EQ(TempNameFor("/song.mp3", "Ab12Cd"), "/.song.mp3.conv-Ab12Cd.part");
    const std::string temp = TempNameFor("/out/" + std::string(250, 'x') + ".mp3", "Ab12Cd");
    EXPECT_EQ(temp.size(), 5u + 255u);
    EXPECT_EQ(temp.substr(temp.size() - 17), ".conv-Ab12Cd.part");
}
