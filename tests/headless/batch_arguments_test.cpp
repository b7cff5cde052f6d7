#include "core/batch/batch_arguments.h"

#include "core/batch/batch_texts.h"

#include <gtest/gtest.h>

namespace {

using headless::BatchArguments;
using headless::ParseBatchArguments;
using headless::UsageError;

BatchArguments Parsed(const std::vector<std::string>& args) {
    const auto result = ParseBatchArguments(args, 4);
    if (const auto* error = std::get_if<UsageError>(&result)) {
        ADD_FAILURE() << "refused: " << error->message;
        return {};
    }
    return std::get<BatchArguments>(result);
}

std::string Refusal(const std::vector<std::string>& args) {
    const auto result = ParseBatchArguments(args, 4);
    const auto* error = std::get_if<UsageError>(&result);
    return error != nullptr ? error->message : "<accepted>";
}

TEST(BatchArguments, ChoicesBecomePositionsInTheWindowsListsFormatsInAnyCase) {
    const auto a =
        Parsed({"--format", "OgG", "--bitrate", " 64 ", "--rate", "12050", "--channels", "MONO",
                "b.wav", "--output", "out dir/\xc3\xa9", "a.wav", "--report", "Run.JSON"});
    EXPECT_EQ(a.format, 2);
    EXPECT_EQ(a.bitrate, 3);
    EXPECT_EQ(a.rate, 6);
    EXPECT_EQ(a.channels, 0);
    EXPECT_EQ(a.output, "out dir/\xc3\xa9");
    EXPECT_EQ(a.report, "Run.JSON");
    EXPECT_EQ(a.inputs, (std::vector<std::string>{"b.wav", "a.wav"}));
    EXPECT_FALSE(a.cut || a.jobs || a.quiet || a.keepTree);

    const auto b = Parsed({"--format=mpg", "--bitrate", "320k", "-qj", "2", "--keep-tree",
                           "--channels", "2", "--rate", "8000", "--rate", "48000", "--", "-x"});
    EXPECT_EQ(b.format, 8);
    EXPECT_EQ(b.bitrate, 11);
    EXPECT_EQ(b.channels, 1);
    EXPECT_EQ(b.rate, 0) << "the last one counts";
    EXPECT_EQ(b.jobs, 2);
    EXPECT_TRUE(b.quiet && b.keepTree);
    EXPECT_EQ(b.inputs, std::vector<std::string>{"-x"});
    EXPECT_FALSE(a.replayGain || b.replayGain);

    // The bitrate stays a position in the whole list; whether the format takes it is known
    // only once a format from the settings files may have been added.
    const struct {
        std::string format;
        int index;
    } added[] = {{"opus", 9}, {"M4A", 10}, {"Alac", 11}};
    for (const auto& row : added) {
        const auto c = Parsed({"--replaygain", "--format", row.format, "--bitrate", "320", "x"});
        EXPECT_EQ(c.format, row.index) << row.format;
        EXPECT_EQ(c.bitrate, 11);
        EXPECT_TRUE(c.replayGain);
    }
}

TEST(BatchArguments, CutTakesTwoTimes) {
    const auto a = Parsed({"x", "--cut=1:00:00", "2:03"});
    ASSERT_TRUE(a.cut);
    EXPECT_EQ(a.cut->start, 3600);
    EXPECT_EQ(a.cut->length, 123);
    EXPECT_EQ(a.inputs, std::vector<std::string>{"x"});
    EXPECT_EQ(headless::ParseCutTime("90:59"), 5459) << "the leading part has no limit of its own";
    EXPECT_EQ(headless::ParseCutTime("596523:14:07"), 2147483647);
    for (const char* bad :
         {"596523:14:08", "99999999999999999999", "1:60", "-5", "1.5", "", "1::2", "1:2:3:4", "5s"})
        EXPECT_FALSE(headless::ParseCutTime(bad)) << bad;
}

TEST(BatchArguments, BadValuesNameTheOptionAndWhatIsAllowed) {
    const std::string hint = " (pelkora --batch --help lists the options)";
    const struct {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"--rate", "11025", "x"},
         "--rate 11025 is not one of 48000, 44100, 32000, 24000, 22050, 16000, 12050, 8000"},
        {{"x", "--format=m4b"},
         "--format m4b is not one of mp3, wma, ogg, wav, flac, ac3, aac, "
         "amr, mpg, opus, m4a, alac"},
        {{"-j0", "x"}, "-j 0 is not a whole number of 1 or more"},
        {{"--jobs=two", "x"}, "--jobs two is not a whole number of 1 or more"},
        {{"--cut", "1:75", "0", "x"},
         "--cut start 1:75 is not a time: whole seconds, M:S or H:M:S, minutes and seconds below "
         "60, at most 2147483647 seconds"},
        {{"--format", "a\nb\x1b[2J", "x"},
         "--format a?b?[2J is not one of mp3, wma, ogg, wav, "
         "flac, ac3, aac, amr, mpg, opus, m4a, alac"},
        {{"--output=", "x"}, "--output needs a folder"},
        {{"--report", "run.csv.txt", "x"}, "--report run.csv.txt does not end in .csv or .json"},
        {{"--report=", "x"}, "--report '' does not end in .csv or .json"},
        {{"-qz", "x"}, "unknown option -z" + hint},
        {{"x", "--cut", "10"}, "--cut needs START and LENGTH (as 75 30)"},
        {{"--cut", "75", "x"}, "--cut needs START and LENGTH (as 75 30); x is not a time"},
        {{"--cut=75", "--quiet", "x"},
         "--cut needs START and LENGTH (as 75 30); --quiet is not a time"},
        {{"--cut", "75", "1:75", "x"},
         "--cut length 1:75 is not a time: whole seconds, M:S or H:M:S, minutes and seconds "
         "below 60, at most 2147483647 seconds"},
        {{"--quiet=yes", "x"}, "--quiet takes no value"},
        {{"--replaygain=1", "x"}, "--replaygain takes no value"},
        {{"--format", "mp3", "--"}, "no files or folders to convert" + hint},
        {{"--bogus", "--help"}, "unknown option --bogus" + hint},
        {{"--sync", "--shard", "0/3", "x"},
         "--shard 0/3 is not K/N, share K of N, with K from 1 to N (as 2/5)"},
        {{"--sync", "--shard=4/3", "x"},
         "--shard 4/3 is not K/N, share K of N, with K from 1 to N (as 2/5)"},
        {{"--sync", "--shard", "2", "x"},
         "--shard 2 is not K/N, share K of N, with K from 1 to N (as 2/5)"},
        {{"--sync", "--shard", "1/99999999999", "x"},
         "--shard 1/99999999999 is not K/N, share K of N, with K from 1 to N (as 2/5)"},
        {{"--shard", "1/2", "x"}, "--shard needs --sync" + hint},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Refusal(c.args), "pelkora: " + c.message);
}

// As the window's setting, a number of jobs above the most allowed is lowered, not refused;
// more jobs than cores are allowed up to that.
TEST(BatchArguments, JobsAboveTheMostAllowedAreLoweredWithANote) {
    const struct {
        int cores;
        const char* jobs;
        int taken;
        bool noted;
    } cases[] = {
        {1, "3", 3, false},   {1, "4", 4, false},     {1, "5", 4, true},
        {4, "16", 16, false}, {4, " 017 ", 16, true}, {2, "99999999999999999999", 8, true},
        {0, "9", 4, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.jobs);
        const auto result = ParseBatchArguments({"--jobs", c.jobs, "x"}, c.cores);
        ASSERT_TRUE(std::holds_alternative<BatchArguments>(result));
        const auto& a = std::get<BatchArguments>(result);
        EXPECT_EQ(a.jobs, c.taken);
        const std::vector<std::string> note = {
            "pelkora: --jobs " + headless::ShownValue(c.jobs) + " lowered to " +
            std::to_string(c.taken) + ", the most conversions at once here (4 per processor core)"};
        EXPECT_EQ(a.notes, c.noted ? note : std::vector<std::string>{});
    }
}

TEST(BatchArguments, TheModeIsTheFirstArgumentAndHelpAndVersionNeedNoInputs) {
    std::string program = "pelkora", batch = "--batch", file = "a.wav", help = "--help";
    char* both[] = {program.data(), batch.data(), file.data(), nullptr};
    char* later[] = {program.data(), file.data(), batch.data(), nullptr};
    char* asked[] = {program.data(), help.data(), nullptr};
    EXPECT_TRUE(headless::IsBatchInvocation(3, both) && headless::IsBatchInvocation(2, asked));
    EXPECT_FALSE(headless::IsBatchInvocation(3, later));
    EXPECT_EQ(std::get<BatchArguments>(ParseBatchArguments(3, both, 4)).inputs,
              std::vector<std::string>{"a.wav"});
    EXPECT_TRUE(Parsed({"--format", "mp3", "--help", "--bogus"}).help);
    EXPECT_TRUE(Parsed({"-qV"}).version);
}

} // namespace
