// The formats with bitrate lists of their own and the loudness tags, through the batch mode: what
// is refused, and the converter's command line (a stand-in records it) for what is not.
#include "headless/cli_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;
using namespace cli;

using FormatsCli = ProgramCopy;

std::string SetupText(int format, int bitrate, const std::string& folder) {
    return "\"" + std::to_string(bitrate) + "\"\r\n\"1\"\r\n\"1\"\r\n\"" + folder + "\"\r\n\"" +
           std::to_string(format) + "\"\r\n";
}

TEST_F(FormatsCli, ABitrateTheFormatDoesNotTakeIsBadUsageAndNamesTheOnesItDoes) {
    MakeTone(in + "/tone.wav", 1);
    const struct {
        std::vector<std::string> args;
        int savedFormat; // setup.ini's, -1: none
        std::string message;
    } cases[] = {
        {{"--format", "opus", "--bitrate", "320"},
         -1,
         "pelkora: --bitrate 320 is not a bitrate of opus, which takes 32, 48, 56, 64, 80, 96, "
         "112, 128, 192, 224, 256\n"},
        {{"--bitrate", "48k", "--format", "M4A"},
         -1,
         "pelkora: --bitrate 48 is not a bitrate of m4a, which takes 64, 80, 96, 112, 128, 192, "
         "224, 256, 320\n"},
        // The format saved by the window counts as much as one given here.
        {{"--bitrate", "320"}, 9, "pelkora: --bitrate 320 is not a bitrate of opus"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        fs::remove(program + "/setup.ini");
        if (c.savedFormat >= 0)
            WriteFile(program + "/setup.ini", SetupText(c.savedFormat, 7, out));
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--output", out, in + "/tone.wav"});
        const Finished run = Batch(args);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.err.starts_with(c.message)) << run.err;
        EXPECT_FALSE(fs::exists(out)) << "nothing made, not even the output folder";
    }
}

// Each argument the converter was started with, one per line.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

TEST_F(FormatsCli, TheChoicesAndTheLoudnessSwitchReachTheConverter) {
    MakeTone(in + "/tone.wav", 1);
    const std::string recorded = root.filePath("arguments").toStdString();
    WriteFile(converter, "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + recorded + "'\nexit 1\n");
    ASSERT_EQ(::chmod(converter.c_str(), 0755), 0);
    const std::string input = in + "/tone.wav";
    const struct {
        std::vector<std::string> args;
        int savedBitrate;                 // setup.ini's position in the whole list, with MP3 saved
        std::vector<std::string> options; // after the input, up to the metadata map
        std::string output;
    } cases[] = {
        // A saved bitrate the format does not take gives way to the nearest, silently.
        {{"--format", "opus", "--replaygain"},
         11,
         {"-y", "-vn", "-replaygain", "1", "-acodec", "libopus", "-ab", "256k", "-ac", "2"},
         "tone.opus"},
        {{"--format", "m4a"},
         0,
         {"-y", "-vn", "-acodec", "aac", "-ab", "64k", "-ar", "44100", "-ac", "2"},
         "tone.m4a"},
        {{"--format", "m4a", "--bitrate", "320", "--channels", "mono", "--rate", "22050"},
         0,
         {"-y", "-vn", "-acodec", "aac", "-ab", "320k", "-ar", "22050", "-ac", "1"},
         "tone.m4a"},
        {{"--format", "alac", "--replaygain"},
         11,
         {"-y", "-vn", "-replaygain", "1", "-acodec", "alac"},
         "tone.m4a"},
        {{"--replaygain"},
         11,
         {"-y", "-vn", "-replaygain", "1", "-ab", "320k", "-ar", "44100", "-ac", "2"},
         "tone.mp3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.output + " " + std::to_string(&c - cases));
        WriteFile(program + "/setup.ini", SetupText(0, c.savedBitrate, out));
        fs::remove(recorded);
        std::vector<std::string> args = c.args;
        args.push_back(input);
        const Finished run = Batch(args);
        EXPECT_EQ(run.exitCode, 1) << "the stand-in fails every file: " << run.err;
        std::vector<std::string> expected = {"-i", input};
        expected.insert(expected.end(), c.options.begin(), c.options.end());
        const std::string output = out + "/" + c.output;
        expected.insert(expected.end(), {"-map_meta_data", input + ":" + output, output});
        EXPECT_EQ(Lines(ReadFile(recorded)), expected);
    }
}

} // namespace
