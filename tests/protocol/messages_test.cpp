#include "conv_protocol/messages.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

using conv_protocol::EscapeForLine;
using conv_protocol::FormatMessage;
using conv_protocol::ParseMessage;
using conv_protocol::UnescapeLine;

auto Fields(const std::optional<conv_protocol::Message>& m) {
    return m ? std::tuple(m->path, m->reason, m->warning) : std::tuple("(none)", "", false);
}

// Whatever a file name holds, its message is one line that reads back as the same path and
// reason, and a warning only when the reason is one.
TEST(ConvMessages, AwkwardPathsReadBackExactly) {
    const char* const paths[] = {
        "/m/song.wav",
        "/m/Act 1: Overture.flac",
        "/m/a: warning: b.wav",
        "/m/line\nbreak\r.wav",
        "/m/\x1B[2J\xC2\x9B"
        "31m.wav",
        "/m/caf\xC3\xA9-\xFF\xC3.wav",
        "/m/\xC0\xAF\xED\xA0\x80.wav",
        "/m/literal\\x0A\\x5C\\.wav",
        "/m/ends with a backslash\\",
    };
    const char* const reasons[] = {"the data is damaged or not in a recognised format",
                                   "cannot write the output: the disk is full",
                                   "warning: input ends at 0:05 of 0:10 (damaged or cut short)"};
    for (const std::string path : paths) {
        for (const std::string reason : reasons) {
            const std::string line = FormatMessage(path, reason);
            ASSERT_EQ(line.find_first_of("\r\n\x1B"), line.size() - 1) << line;
            const bool warning = reason.starts_with("warning: ");
            EXPECT_EQ(Fields(ParseMessage(line, {"/m/other.mp3", path})),
                      std::tuple(path, reason, warning))
                << line;
        }
    }
}

TEST(ConvMessages, WithoutKnownPathsTheFirstSeparatorEndsThePath) {
    const struct {
        const char* line;
        std::tuple<std::string, std::string, bool> read;
    } cases[] = {
        {"conv: /m/a.wav: cannot write the output: disk full",
         {"/m/a.wav", "cannot write the output: disk full", false}},
        {"conv: /m/Act 1: Overture.flac: warning: 2 gaps\n",
         {"/m/Act 1: Overture.flac", "warning: 2 gaps", true}},
        {"conv: no input given", {"", "no input given", false}},
        {"conv: /m/caf\\xFF.wav: x\r\n", {"/m/caf\xFF.wav", "x", false}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Fields(ParseMessage(c.line)), c.read) << c.line;
    for (const char* other : {"size=  1kB time=1.00 bitrate= 8.0kbits/s", "note: conv: /m/a.wav: x",
                              " conv: /m/a.wav: x", "conv:"})
        EXPECT_FALSE(ParseMessage(other)) << other;
    // Of two known paths that both fit, the longer is the one named.
    EXPECT_EQ(ParseMessage("conv: /m/a: b.wav: x", {"/m/a", "/m/a: b.wav"})->path, "/m/a: b.wav");
}

// The converter's escaping, byte for byte as the window and the tests have always seen it.
TEST(ConvMessages, EscapingKeepsTextAndMarksTheRest) {
    const std::pair<const char*, const char*> cases[] = {
        {"\xE2\x82\xAC \xF0\x9F\x8E\xB5 C:\\Music", "\xE2\x82\xAC \xF0\x9F\x8E\xB5 C:\\Music"},
        {"a\tb\x7F", "a\\x09b\\x7F"},
        {"\xC2\x9B\xC2\xA0", "\\xC2\\x9B\xC2\xA0"}, // a C1 control, then a no-break space
        {"\\x41\\", "\\x5Cx41\\"},
    };
    for (const auto& [text, escaped] : cases) {
        EXPECT_EQ(EscapeForLine(text), escaped) << text;
        EXPECT_EQ(UnescapeLine(escaped), text) << escaped;
    }
    EXPECT_EQ(FormatMessage("", "usage"), "conv: usage\n");
}

} // namespace
