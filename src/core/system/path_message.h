#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The message by which a second start hands its files to the running copy: a magic word,
// the number of paths, then each path as a length and its exact bytes (a name need not be
// UTF-8). Numbers are 32-bit big-endian.
namespace platform {

inline constexpr std::string_view kPathMessageMagic = "PKP1";
inline constexpr std::uint32_t kMaxMessagePaths = 1'000'000;
inline constexpr std::uint32_t kMaxMessagePathBytes = 65'536;
inline constexpr std::size_t kMaxMessageBytes = 64u << 20;
// The running copy's answer once it has taken the paths.
inline constexpr char kPathMessageAck = '\x06';

[[nodiscard]] std::string EncodePathMessage(const std::vector<std::string>& paths);

// Takes a message in pieces as they arrive. Anything but one well-formed message (a wrong
// magic word, an empty path or one holding a NUL, limits exceeded, bytes after the end) makes
// it invalid for good, without reserving memory for what a length only claims.
class PathMessageReader {
public:
    enum class State { Reading, Complete, Invalid };

    State feed(std::string_view bytes);
    [[nodiscard]] State state() const { return state_; }
    // The paths of a complete message, in the order sent.
    [[nodiscard]] std::vector<std::string> takePaths() { return std::move(paths_); }

private:
    bool takeNumber(std::string_view& bytes, std::uint32_t& number);
    bool parse(std::string_view& bytes);

    State state_ = State::Reading;
    std::string pending_; // a number or path cut by the end of a piece
    std::size_t total_ = 0;
    bool magicSeen_ = false;
    bool countSeen_ = false;
    std::uint32_t count_ = 0;
    bool lengthSeen_ = false;
    std::uint32_t length_ = 0;
    std::vector<std::string> paths_;
};

} // namespace platform
