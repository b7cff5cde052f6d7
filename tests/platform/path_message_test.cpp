#include "core/system/path_message.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using platform::EncodePathMessage;
using platform::PathMessageReader;
using State = PathMessageReader::State;

namespace {

std::string Number(std::uint32_t n) {
    return {static_cast<char>(n >> 24), static_cast<char>(n >> 16), static_cast<char>(n >> 8),
            static_cast<char>(n)};
}

const std::vector<std::string> kPaths = {"/music/a.mp3", "/m/\xff\xfe caf\xe9.wav",
                                         "/music/folder"};

} // namespace

TEST(PathMessage, ExactBytesWithinTheLimitsMalformedOrOversizedMessagesGiveNoPaths) {
    const std::string good = EncodePathMessage(kPaths);
    const std::string biggest =
        Number(platform::kMaxMessagePathBytes) + std::string(platform::kMaxMessagePathBytes, 'a');
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"wrong magic", "PKP2" + Number(1) + Number(1) + "/"},
        {"empty path", "PKP1" + Number(1) + Number(0)},
        {"NUL in a path", "PKP1" + Number(1) + Number(3) + std::string("/a\0", 3)},
        {"too many paths", "PKP1" + Number(platform::kMaxMessagePaths + 1)},
        {"path too long", "PKP1" + Number(1) + Number(platform::kMaxMessagePathBytes + 1)},
        {"bytes after the end", good + "x"},
    };
    for (const auto& c : cases) {
        PathMessageReader reader;
        EXPECT_EQ(reader.feed(c.bytes), State::Invalid) << c.what;
        EXPECT_TRUE(reader.takePaths().empty()) << c.what;
        EXPECT_EQ(reader.feed(good), State::Invalid) << c.what << ": invalid for good";
    }
    PathMessageReader inclusive;
    const std::vector<std::string> paths = {kPaths[1], biggest.substr(4)};
    EXPECT_EQ(inclusive.feed(EncodePathMessage(paths)), State::Complete) << "limits are inclusive";
    EXPECT_EQ(inclusive.takePaths(), paths);
    // Many paths of the largest size: refused once the whole passes its cap, while reading.
    PathMessageReader reader;
    State state = reader.feed("PKP1" + Number(2000));
    std::size_t fed = 8;
    while (state == State::Reading && fed <= platform::kMaxMessageBytes + biggest.size()) {
        state = reader.feed(biggest);
        fed += biggest.size();
    }
    EXPECT_EQ(state, State::Invalid);
    EXPECT_GT(fed, platform::kMaxMessageBytes);
}
