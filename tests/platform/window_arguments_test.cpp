#include "core/system/window_arguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The paths, each ended by '|', or the usage error's message.
std::string Parse(const std::vector<std::string>& arguments, const std::string& current) {
    const auto parsed = platform::ParseWindowArguments(arguments, current);
    if (const auto* error = std::get_if<platform::WindowUsageError>(&parsed))
        return error->message;
    std::string joined;
    for (const std::string& path : std::get<std::vector<std::string>>(parsed))
        joined += path + '|';
    return joined;
}

TEST(WindowArguments, PathsBecomeAbsoluteByteForByteInTheOrderGivenOrAreRefused) {
    const std::string kOptionsHint = " (options apply to --batch only; see pelkora --batch --help)";
    const struct {
        std::vector<std::string> arguments;
        std::string current, expected;
    } cases[] = {
        {{"b.mp3", "/abs/a.wav", "folder/", "./x//y/./z", "../up.ogg"},
         "/home/u",
         "/home/u/b.mp3|/abs/a.wav|/home/u/folder|/home/u/x/y/z|/home/u/../up.ogg|"},
        {{"caf\xe9 \xff.wav"}, "/m\xfc", "/m\xfc/caf\xe9 \xff.wav|"},
        {{"--", "-x.mp3", "--"}, "/", "/-x.mp3|/--|"},
        {{"/abs/a.wav"}, "", "/abs/a.wav|"},
        {{"a.mp3", "--format"}, "/", "pelkora: unknown option --format" + kOptionsHint},
        {{"-\x1b[2J"}, "/", "pelkora: unknown option -?[2J" + kOptionsHint},
        {{"--", ""}, "/", "pelkora: an empty file name was given"},
        // A relative path with no readable current folder is not taken from the root.
        {{"/abs/a.wav", "b c.wav"},
         "",
         "pelkora: 'b c.wav': the current folder cannot be read; give the full path"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Parse(c.arguments, c.current), c.expected);
}

} // namespace
