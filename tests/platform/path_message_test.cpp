#include "platform/path_message.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using platform::EncodePathMessage;
using platform::PathMessageReader;
using State = PathMessageReader::State;

namespace {

std::string number(std::uint32_t n) {
    return {static_cast<char>(n >> 24), static_cast<char>(n >> 16), static_cast<char>(n >> 8),
            static_cast<char>(n)};
}

State readAll(const std::string& bytes, std::vector<std::string>* paths = nullptr) {
    PathMessageReader reader;
    const State state = reader.feed(bytes);
    if (paths != nullptr)
        *paths = reader.takePaths();
    return state;
}

const std::vector<std::string> kPaths = {"/music/a.mp3", std::string("/m/\xff\xfe caf\xe9.wav"),
                                         "/music/folder"};

} // namespace

TEST(PathMessage, ExactBytesArriveInOrderHoweverThePiecesAreCut) {
    const std::string message = EncodePathMessage(kPaths);
    ASSERT_EQ(message.substr(0, 8), "PKP1" + number(3));
    // Every cut into two pieces, then one byte at a time.
    for (std::size_t cut = 0; cut <= message.size(); ++cut) {
        PathMessageReader reader;
        EXPECT_EQ(reader.feed(std::string_view(message).substr(0, cut)),
                  cut == message.size() ? State::Complete : State::Reading)
            << cut;
        EXPECT_EQ(reader.feed(std::string_view(message).substr(cut)), State::Complete) << cut;
        EXPECT_EQ(reader.takePaths(), kPaths) << cut;
    }
    PathMessageReader reader;
    for (const char c : message)
        reader.feed(std::string_view(&c, 1));
    EXPECT_EQ(reader.state(), State::Complete);
    EXPECT_EQ(reader.takePaths(), kPaths);
}

TEST(PathMessage, MalformedMessagesAreRefusedAndGiveNoPaths) {
    const std::string good = EncodePathMessage(kPaths);
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"wrong magic", "PKP2" + number(1) + number(1) + "/"},
        {"magic wrong in its first byte", "X"},
        {"empty path", "PKP1" + number(1) + number(0)},
        {"NUL in a path", "PKP1" + number(1) + number(3) + std::string("/a\0", 3)},
        {"too many paths", "PKP1" + number(platform::kMaxMessagePaths + 1)},
        {"path too long", "PKP1" + number(1) + number(platform::kMaxMessagePathBytes + 1)},
        {"bytes after the end", good + "x"},
        {"a second message", good + good},
    };
    for (const auto& c : cases) {
        std::vector<std::string> paths = {"untouched"};
        EXPECT_EQ(readAll(c.bytes, &paths), State::Invalid) << c.what;
        EXPECT_TRUE(paths.empty()) << c.what;
    }
    // Invalid for good: a valid message after it changes nothing.
    PathMessageReader reader;
    reader.feed("XXXX");
    EXPECT_EQ(reader.feed(good), State::Invalid);
    // Bytes after a complete message, in a later piece.
    PathMessageReader late;
    ASSERT_EQ(late.feed(good), State::Complete);
    EXPECT_EQ(late.feed("x"), State::Invalid);
}

TEST(PathMessage, LimitsAreInclusiveAndTheWholeMessageIsCapped) {
    const std::string longest(platform::kMaxMessagePathBytes, 'a');
    std::vector<std::string> paths;
    EXPECT_EQ(readAll(EncodePathMessage({longest}), &paths), State::Complete);
    EXPECT_EQ(paths, std::vector<std::string>{longest});

    // Many paths of the largest size: refused once the total passes the cap, while reading.
    PathMessageReader reader;
    ASSERT_EQ(reader.feed("PKP1" + number(2000)), State::Reading);
    const std::string one = number(platform::kMaxMessagePathBytes) + longest;
    State state = State::Reading;
    std::size_t fed = 8;
    while (state == State::Reading && fed <= platform::kMaxMessageBytes + one.size()) {
        state = reader.feed(one);
        fed += one.size();
    }
    EXPECT_EQ(state, State::Invalid);
    EXPECT_GT(fed, platform::kMaxMessageBytes);
}
