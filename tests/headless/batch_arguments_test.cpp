#include "headless/batch_arguments.h"

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
    const auto a = Parsed({"--format", "OgG", "--bitrate", " 64 ", "--rate", "12050", "--channels",
                           "MONO", "b.wav", "--output", "out dir/\xc3\xa9", "a.wav"});
    EXPECT_EQ(a.format, 2);
    EXPECT_EQ(a.bitrate, 3);
    EXPECT_EQ(a.rate, 6);
    EXPECT_EQ(a.channels, 0);
    EXPECT_EQ(a.output, "out dir/\xc3\xa9");
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
        {{"x", "--format=m4a"},
         "--format m4a is not one of mp3, wma, ogg, wav, flac, ac3, aac, "
         "amr, mpg"},
        {{"--bitrate", "100", "x"},
         "--bitrate 100 is not one of 32, 48, 56, 64, 80, 96, 112, 128, 192, 224, 256, 320"},
        {{"--channels", "3", "x"}, "--channels 3 is not one of mono, stereo, 1, 2"},
        {{"--jobs", "5", "x"}, "--jobs 5 is not a number from 1 to 4"},
        {{"-j0", "x"}, "-j 0 is not a number from 1 to 4"},
        {{"--cut", "1:75", "0", "x"},
         "--cut start 1:75 is not a time: whole seconds, M:S or H:M:S, minutes and seconds below "
         "60, at most 2147483647 seconds"},
        {{"--format", "a\nb\x1b[2J", "x"},
         "--format a?b?[2J is not one of mp3, wma, ogg, wav, "
         "flac, ac3, aac, amr, mpg"},
        {{"--output=", "x"}, "--output needs a folder"},
        {{"-qz", "x"}, "unknown option -z" + hint},
        {{"x", "--cut", "10"}, "--cut needs a start and a length"},
        {{"--quiet=yes", "x"}, "--quiet takes no value"},
        {{"--format", "mp3", "--"}, "no files or folders to convert" + hint},
        {{"--bogus", "--help"}, "unknown option --bogus" + hint},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Refusal(c.args), "pelkora: " + c.message);
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
