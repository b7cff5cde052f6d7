#include "headless/batch_arguments.h"

#include <gtest/gtest.h>

namespace {

using headless::BatchArguments;
using headless::ParseBatchArguments;
using headless::UsageError;

constexpr int kCores = 4;

BatchArguments Parsed(const std::vector<std::string>& args) {
    const auto result = ParseBatchArguments(args, kCores);
    if (const auto* error = std::get_if<UsageError>(&result)) {
        ADD_FAILURE() << "refused: " << error->message;
        return {};
    }
    return std::get<BatchArguments>(result);
}

std::string Refusal(const std::vector<std::string>& args) {
    const auto result = ParseBatchArguments(args, kCores);
    if (const auto* error = std::get_if<UsageError>(&result)) {
        EXPECT_EQ(error->message.rfind("pelkora: ", 0), 0u) << error->message;
        EXPECT_EQ(error->message.find('\n'), std::string::npos) << "one line: " << error->message;
        return error->message;
    }
    ADD_FAILURE() << "accepted";
    return {};
}

TEST(BatchArguments, ChoicesBecomeListPositions) {
    const auto a = Parsed(
        {"--format", "OgG", "--bitrate", " 64 ", "--rate", "12050", "--channels", "MONO", "a.wav"});
    EXPECT_EQ(a.format, 2);
    EXPECT_EQ(a.bitrate, 3);
    EXPECT_EQ(a.rate, 6);
    EXPECT_EQ(a.channels, 0);

    EXPECT_EQ(Parsed({"--format", "mpg", "--bitrate", "320k", "x"}).format, 8);
    EXPECT_EQ(Parsed({"--bitrate", "192K", "x"}).bitrate, 8);
    EXPECT_EQ(Parsed({"--rate", "48000", "x"}).rate, 0);
    EXPECT_EQ(Parsed({"--channels", "stereo", "x"}).channels, 1);
    EXPECT_EQ(Parsed({"--channels", "1", "x"}).channels, 0);
    EXPECT_EQ(Parsed({"--channels", "2", "x"}).channels, 1);
}

TEST(BatchArguments, WhatIsNotGivenStaysOpenAndInputsKeepTheirOrder) {
    const auto a = Parsed({"b.wav", "--quiet", "dir/", "--output", "out dir/\xc3\xa9", "a.wav"});
    EXPECT_FALSE(a.format || a.bitrate || a.rate || a.channels || a.cut || a.jobs);
    EXPECT_EQ(a.output, "out dir/\xc3\xa9");
    EXPECT_TRUE(a.quiet);
    EXPECT_FALSE(a.keepTree || a.help || a.version);
    EXPECT_EQ(a.inputs, (std::vector<std::string>{"b.wav", "dir/", "a.wav"}));
}

TEST(BatchArguments, GnuSpellings) {
    const auto a = Parsed({"--format=flac", "--output=o", "-j3", "--keep-tree", "x"});
    EXPECT_EQ(a.format, 4);
    EXPECT_EQ(a.output, "o");
    EXPECT_EQ(a.jobs, 3);
    EXPECT_TRUE(a.keepTree);

    EXPECT_EQ(Parsed({"-j", "2", "x"}).jobs, 2);
    EXPECT_EQ(Parsed({"--jobs=4", "x"}).jobs, 4);
    const auto cluster = Parsed({"-qj", "2", "x"});
    EXPECT_TRUE(cluster.quiet);
    EXPECT_EQ(cluster.jobs, 2);
    EXPECT_EQ(Parsed({"--rate", "8000", "--rate", "16000", "x"}).rate, 5) << "the last one counts";

    const auto ended = Parsed({"--quiet", "--", "--format", "-j2", "-"});
    EXPECT_FALSE(ended.format);
    EXPECT_EQ(ended.inputs, (std::vector<std::string>{"--format", "-j2", "-"}));
    EXPECT_EQ(Parsed({"-", "x"}).inputs.front(), "-") << "a lone dash is a name";
}

TEST(BatchArguments, CutTakesTwoTimes) {
    const auto a = Parsed({"--cut", "1:30", "0", "x"});
    ASSERT_TRUE(a.cut);
    EXPECT_EQ(a.cut->start, 90);
    EXPECT_EQ(a.cut->length, 0);
    const auto b = Parsed({"x", "--cut=1:00:00", "2:03"});
    ASSERT_TRUE(b.cut);
    EXPECT_EQ(b.cut->start, 3600);
    EXPECT_EQ(b.cut->length, 123);
    EXPECT_EQ(b.inputs, std::vector<std::string>{"x"});

    using headless::ParseCutTime;
    EXPECT_EQ(ParseCutTime(" 12 "), 12);
    EXPECT_EQ(ParseCutTime("0:0:0"), 0);
    EXPECT_EQ(ParseCutTime("90:59"), 5459) << "the leading part has no limit of its own";
    EXPECT_EQ(ParseCutTime("2147483647"), 2147483647);
    EXPECT_EQ(ParseCutTime("596523:14:07"), 2147483647);
    for (const char* bad : {"2147483648", "596523:14:08", "99999999999999999999", "1:60", "1:2:60",
                            "-5", "+5", "1.5", "", "1::2", ":1", "1:", "1:2:3:4", "1 2", "5s"})
        EXPECT_FALSE(ParseCutTime(bad)) << bad;
}

TEST(BatchArguments, BadValuesNameTheOptionAndWhatIsAllowed) {
    EXPECT_EQ(Refusal({"--rate", "11025", "x"}),
              "pelkora: --rate 11025 is not one of 48000, 44100, 32000, 24000, 22050, 16000, "
              "12050, 8000");
    EXPECT_EQ(Refusal({"x", "--format=m4a"}),
              "pelkora: --format m4a is not one of mp3, wma, ogg, wav, flac, ac3, aac, amr, mpg");
    EXPECT_EQ(Refusal({"--bitrate", "100", "x"}),
              "pelkora: --bitrate 100 is not one of 32, 48, 56, 64, 80, 96, 112, 128, 192, 224, "
              "256, 320");
    EXPECT_EQ(Refusal({"--channels", "3", "x"}),
              "pelkora: --channels 3 is not one of mono, stereo, 1, 2");
    EXPECT_EQ(Refusal({"--jobs", "5", "x"}), "pelkora: --jobs 5 is not a number from 1 to 4");
    EXPECT_EQ(Refusal({"-j0", "x"}), "pelkora: -j 0 is not a number from 1 to 4");
    for (const char* jobs : {"-1", "two", "99999999999999999999", ""})
        EXPECT_NE(Refusal({"--jobs", jobs, "x"}).find("from 1 to 4"), std::string::npos) << jobs;
    EXPECT_NE(Refusal({"--cut", "1:75", "0", "x"}).find("--cut start 1:75 is not a time"),
              std::string::npos);
    EXPECT_NE(Refusal({"--cut", "0", "-3", "x"}).find("--cut length -3 is not a time"),
              std::string::npos);
    EXPECT_EQ(Refusal({"--output=", "x"}), "pelkora: --output needs a folder");
    EXPECT_EQ(Refusal({"--bitrate", "", "x"}).find("pelkora: --bitrate '' is not"), 0u);
    EXPECT_EQ(Refusal({"--format", "a\nb\x1b[2J", "x"}).find("--format a?b?[2J is not"), 9u)
        << "control characters cannot reach the terminal";
}

TEST(BatchArguments, UnknownOptionsMissingValuesAndNoInputs) {
    EXPECT_NE(Refusal({"--formats", "mp3", "x"}).find("unknown option --formats"),
              std::string::npos);
    EXPECT_NE(Refusal({"x", "-x"}).find("unknown option -x"), std::string::npos);
    EXPECT_NE(Refusal({"-qz", "x"}).find("unknown option -z"), std::string::npos);
    EXPECT_EQ(Refusal({"x", "--rate"}), "pelkora: --rate needs a value");
    EXPECT_EQ(Refusal({"x", "-j"}), "pelkora: -j needs a value");
    EXPECT_EQ(Refusal({"x", "--cut", "10"}), "pelkora: --cut needs a start and a length");
    EXPECT_EQ(Refusal({"--quiet=yes", "x"}), "pelkora: --quiet takes no value");
    EXPECT_NE(Refusal({}).find("no files or folders"), std::string::npos);
    EXPECT_EQ(Refusal({"a.wav", "--", ""}), "pelkora: an empty argument names no file or folder");
    EXPECT_NE(Refusal({"--format", "mp3", "--"}).find("no files or folders"), std::string::npos);
}

TEST(BatchArguments, HelpAndVersionNeedNoInputsAndEndTheParse) {
    EXPECT_TRUE(Parsed({"--help"}).help);
    EXPECT_TRUE(Parsed({"-h"}).help);
    EXPECT_TRUE(Parsed({"--version"}).version);
    EXPECT_TRUE(Parsed({"-qV"}).version);
    EXPECT_TRUE(Parsed({"--format", "mp3", "--help", "--bogus"}).help);
    EXPECT_NE(Refusal({"--bogus", "--help"}).find("--bogus"), std::string::npos)
        << "an error before --help is still an error";
}

TEST(BatchArguments, JobsLimitFollowsTheCaller) {
    EXPECT_EQ(std::get<BatchArguments>(ParseBatchArguments({"-j", "16", "x"}, 16)).jobs, 16);
    const auto one = ParseBatchArguments({"-j", "2", "x"}, 0);
    ASSERT_TRUE(std::holds_alternative<UsageError>(one));
    EXPECT_EQ(std::get<UsageError>(one).message, "pelkora: -j 2 is not a number from 1 to 1");
}

TEST(BatchArguments, InvocationIsDecidedByTheFirstArgument) {
    std::string program = "pelkora", batch = "--batch", shortBatch = "-b", file = "a.wav",
                quiet = "-q";
    char* both[] = {program.data(), batch.data(), quiet.data(), file.data(), nullptr};
    EXPECT_TRUE(headless::IsBatchInvocation(4, both));
    const auto parsed = ParseBatchArguments(4, both, kCores);
    ASSERT_TRUE(std::holds_alternative<BatchArguments>(parsed));
    EXPECT_TRUE(std::get<BatchArguments>(parsed).quiet);
    EXPECT_EQ(std::get<BatchArguments>(parsed).inputs, std::vector<std::string>{"a.wav"});

    char* shortForm[] = {program.data(), shortBatch.data(), file.data(), nullptr};
    EXPECT_TRUE(headless::IsBatchInvocation(3, shortForm));
    char* later[] = {program.data(), file.data(), batch.data(), nullptr};
    EXPECT_FALSE(headless::IsBatchInvocation(3, later));
    std::string longer = "--batches";
    char* other[] = {program.data(), longer.data(), nullptr};
    EXPECT_FALSE(headless::IsBatchInvocation(2, other));
    char* alone[] = {program.data(), nullptr};
    EXPECT_FALSE(headless::IsBatchInvocation(1, alone));

    // Help and version need no window either, and are not taken for the mode switch.
    std::string help = "--help";
    char* asked[] = {program.data(), help.data(), nullptr};
    EXPECT_TRUE(headless::IsBatchInvocation(2, asked));
    const auto helped = ParseBatchArguments(2, asked, kCores);
    ASSERT_TRUE(std::holds_alternative<BatchArguments>(helped));
    EXPECT_TRUE(std::get<BatchArguments>(helped).help);
}

} // namespace
