// Argument reading, value fitting and the printed lines, including both sides of the
// contract with the window: its progress parser reads our lines.
#include "converter/damage_report.h"
#include "converter/errors.h"
#include "converter/fitting.h"
#include "converter/options.h"
#include "converter/output_file.h"
#include "converter/progress.h"
#include "converter/utf8_text.h"

#include "core/engine/progress_parser.h"

#include <gtest/gtest.h>

#include <tuple>

extern "C" {
#include <libavutil/avutil.h>
}

using namespace conv;

TEST(ConvArguments, TimesAndBitRates) {
    EXPECT_EQ(ParseTime("75"), 75'000'000);
    EXPECT_EQ(ParseTime("01:15"), 75'000'000);
    EXPECT_EQ(ParseTime("1:02:03.5"), 3'723'500'000);
    for (const char* bad :
         {"", "-1", "1e3", "1:2:3:4", "1.5:00", "1..2", "5s", "99999999999999999999"})
        EXPECT_FALSE(ParseTime(bad)) << bad;
    EXPECT_EQ(ParseBitRate("128k"), 128000);
    EXPECT_EQ(ParseBitRate("7.4k"), 7400);
    EXPECT_EQ(ParseBitRate("64000"), 64000);
    for (const char* bad : {"", "0k", "k", "-128k", "12x", "1.5", "99999999999k"})
        EXPECT_FALSE(ParseBitRate(bad)) << bad;
}

TEST(ConvArguments, RefusalsNameTheArgument) {
    using Args = std::vector<std::string>;
    const std::pair<Args, std::string> cases[] = {
        {{"-i", "a.wav", "-ab", "b.mp3"}, "-ab"}, // no value may swallow the output
        {{"-i", "a.wav"}, "-i"},
        {{"-y", "b.mp3"}, "b.mp3"},
        {{"-i", "a.wav", "-q", "3", "b.mp3"}, "-q"},
        {{"-i", "a.wav", "stray", "b.mp3"}, "stray"},
        {{"-i", "a.wav", "-i", "c.wav", "b.mp3"}, "c.wav"},
        {{"-i", "a.wav", "/x.mp3/b"}, "/x.mp3/b"},
        {{"-i", "a.wav", "-acodec", "aac", "b.mp3"}, "aac"},
        {{"-i", "a.wav", "-ar", "0", "b.mp3"}, "0"},
        {{"-i", "a.wav", "-map_meta_data", "a.wav:x.mp3", "b.mp3"}, "a.wav:x.mp3"}};
    for (const auto& [args, named] : cases) {
        Options o;
        const Status failed = ParseArguments(args, o);
        EXPECT_EQ(failed ? failed->path : "(accepted)", named);
    }
    // The output is the last argument even with a leading dash; the map may hold colons.
    Options o;
    ASSERT_FALSE(
        ParseArguments({"-i", "a:b.wav", "-map_meta_data", "a:b.wav:-c:d.mp3", "-c:d.mp3"}, o));
    EXPECT_EQ(o.output, "-c:d.mp3");
}

// A refused value is replaced by the nearest allowed one and noted; defaults silently.
TEST(ConvFitting, RefusedValuesAreReplacedAndNoted) {
    const struct {
        CodecKind kind;
        Wanted wanted;
        int rate, channels;
        std::int64_t bitRate;
        std::size_t notes;
    } cases[] = {
        {CodecKind::Mp3, {12050, 2, 320000, true}, 12000, 2, 64000, 2},
        {CodecKind::Mp2, {22050, 2, 192000, false}, 22050, 2, 160000, 0},
        {CodecKind::AmrNb, {44100, 2, 7400, true}, 8000, 1, 7400, 2},
        {CodecKind::Ac3, {22050, 8, 0, false}, 32000, 6, 0, 2},
        {CodecKind::Wma, {96000, 2, 16000, true}, 48000, 2, 24000, 2},
        // Halfway between 64k and 96k: the higher, so the file keeps more quality than asked.
        {CodecKind::Mp2, {44100, 2, 80000, true}, 44100, 2, 96000, 1}};
    for (const auto& c : cases) {
        const Fitted f = FitValues(c.kind, "MPG", c.wanted);
        EXPECT_EQ(std::tuple(f.sampleRate, f.channels, f.bitRate, f.notes.size()),
                  std::tuple(c.rate, c.channels, c.bitRate, c.notes));
    }
}

TEST(ConvLines, FailureLineStaysOneReadableLine) {
    EXPECT_EQ(FailureLine({"a\nb\r.wav", "x"}), "conv: a\\x0Ab\\x0D.wav: x\n");
    EXPECT_EQ(FailureLine({"caf\xC3\xA9-\xFF\xC3.wav", "x"}),
              "conv: caf\xC3\xA9-\\xFF\\xC3.wav: x\n");
    EXPECT_EQ(EscapeForLine("\xE2\x82\xAC \xF0\x9F\x8E\xB5"), "\xE2\x82\xAC \xF0\x9F\x8E\xB5");
    // An overlong form and a surrogate are not UTF-8 either.
    EXPECT_EQ(EscapeForLine("\xC0\xAF\xED\xA0\x80"), "\\xC0\\xAF\\xED\\xA0\\x80");
    EXPECT_EQ(FailureLine({"", "usage"}), "conv: usage\n");
}

// Tag text is checked: each broken sequence becomes one U+FFFD. (Outputs show the kinds of
// damage that end to end; the edges are here.)
TEST(Utf8Text, BrokenSequencesAreReplacedOnceEach) {
    const std::string r = "\xEF\xBF\xBD";
    const std::pair<std::string, std::string> cases[] = {
        {"\xC3\x81g \xE6\x97\xA5 \xF0\x9F\x8E\xB5", "\xC3\x81g \xE6\x97\xA5 \xF0\x9F\x8E\xB5"},
        {"a\xC3", "a" + r},                        // cut short at the end
        {"\xC3\x41", r + "A"},                     // a lead byte without its continuation
        {"\xE6\x97\x62", r + "b"},                 // the same, three bytes long
        {"\x80\x80x", r + "x"},                    // stray continuation bytes
        {"\xE0\x80\xAF", r},                       // an overlong '/', three bytes long
        {"\xED\xA0\x80\xED\xB0\x80", r + r},       // surrogates written as UTF-8
        {"\xF8\x88\x80\x80\x80", r},               // five bytes
        {r, r},                                    // U+FFFD itself is fine
        {"\xF4\x8F\xBF\xBF", "\xF4\x8F\xBF\xBF"}}; // the last character
    for (const auto& [in, valid] : cases)
        EXPECT_EQ(ValidUtf8(in), valid) << in;
}

TEST(ConvLines, UnknownValuesAndLongTimesStayReadable) {
    EXPECT_EQ(DurationLine(3'600'499'999, AV_NOPTS_VALUE, 0),
              "  Duration: 01:00:00.50, start: N/A, bitrate: N/A");
    EXPECT_EQ(DurationLine(AV_NOPTS_VALUE, -1'500'000, 0),
              "  Duration: N/A, start: -1.500000, bitrate: N/A");
    // Past an hour the time stays in seconds, which the window needs.
    const ProgressUpdate u = ParseProgressChunk(
        DurationLine(7'200'000'000, 0, 0) + "\n" + ProgressLine(1024, 3600.5) + " \r", 0, false, 0);
    EXPECT_EQ(u.totalSeconds, 7200);
    EXPECT_DOUBLE_EQ(u.fraction, 0.5);
}

// Losses are told only past their thresholds: an end early by more than a second and 1 %,
// more than a tenth of a second skipped in all (then each kind gets its line).
TEST(ConvWarnings, OnlyLossesPastTheThresholdsAreTold) {
    using Lines = std::vector<std::string>;
    const std::pair<InputLosses, Lines> cases[] = {
        {{0, 0, 0, 0, 133'000'000, 205'000'000},
         {"warning: input ends at 2:13 of 3:25 (damaged or cut short)"}},
        {{0, 0, 0, 0, 99'000'000, 100'000'000}, {}},
        {{0, 0, 0, 0, 197'000'000, 199'000'000},
         {"warning: input ends at 3:17 of 3:19 (damaged or cut short)"}},
        {{0, 0, 0, 0, 3598'000'000, 3600'000'000}, {}},
        {{0, 0, 0, 0, std::nullopt, 100'000'000}, {}}, // stopped at the cut's end
        {{37, 900'000, 0, 0, {}, {}}, {"warning: 37 damaged packets skipped (0.9 s)"}},
        {{3, 100'000, 0, 0, {}, {}}, {}},
        {{1, 60'000, 2, 60'000, {}, {}},
         {"warning: 1 damaged packet skipped (0.1 s)",
          "warning: 2 gaps in the input's audio (0.1 s missing)"}}};
    for (const auto& [losses, lines] : cases)
        EXPECT_EQ(WarningLines(losses), lines);
    EXPECT_EQ(ClockTime(3'723'900'000), "1:02:03");
    EXPECT_EQ(ClockTime(59'999'999), "0:59");
}

TEST(ConvTempFile, NameFitsTheNameLimit) {
    const std::string temp = TempNameFor("/out/" + std::string(250, 'x') + ".mp3", "Ab12Cd");
    EXPECT_EQ(temp.size(), 5u + 255u);
    EXPECT_EQ(temp.substr(temp.size() - 17), ".conv-Ab12Cd.part");
}
