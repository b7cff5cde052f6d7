#include "core/system/path_message.h"

#include <algorithm>

namespace platform {
namespace {

void putNumber(std::string& out, std::uint32_t n) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<char>((n >> shift) & 0xffu));
}

// Moves up to `wanted` bytes (counting what pending already holds) from bytes to pending;
// true once pending holds them all.
bool gather(std::string& pending, std::string_view& bytes, std::size_t wanted) {
    const std::size_t take = std::min(wanted - pending.size(), bytes.size());
    pending.append(bytes.substr(0, take));
    bytes.remove_prefix(take);
    return pending.size() == wanted;
}

} // namespace

std::string EncodePathMessage(const std::vector<std::string>& paths) {
    std::string out(kPathMessageMagic);
    putNumber(out, static_cast<std::uint32_t>(paths.size()));
    for (const std::string& path : paths) {
        putNumber(out, static_cast<std::uint32_t>(path.size()));
        out += path;
    }
    return out;
}

PathMessageReader::State PathMessageReader::feed(std::string_view bytes) {
    if (state_ == State::Reading) {
        total_ += bytes.size();
        if (total_ > kMaxMessageBytes || !parse(bytes))
            state_ = State::Invalid;
    } else if (!bytes.empty()) {
        state_ = State::Invalid; // one message per connection, nothing after it
    }
    if (state_ == State::Invalid)
        paths_.clear();
    return state_;
}

bool PathMessageReader::takeNumber(std::string_view& bytes, std::uint32_t& number) {
    if (!gather(pending_, bytes, 4))
        return false;
    number = 0;
    for (const char c : pending_)
        number = (number << 8) | static_cast<unsigned char>(c);
    pending_.clear();
    return true;
}

// False when the message is malformed; running out of bytes is not.
bool PathMessageReader::parse(std::string_view& bytes) {
    if (!magicSeen_) {
        if (!gather(pending_, bytes, kPathMessageMagic.size()))
            return kPathMessageMagic.starts_with(pending_);
        if (pending_ != kPathMessageMagic)
            return false;
        pending_.clear();
        magicSeen_ = true;
    }
    if (!countSeen_) {
        if (!takeNumber(bytes, count_))
            return true;
        if (count_ > kMaxMessagePaths)
            return false;
        countSeen_ = true;
    }
    while (paths_.size() < count_) {
        if (!lengthSeen_) {
            if (!takeNumber(bytes, length_))
                return true;
            if (length_ == 0 || length_ > kMaxMessagePathBytes)
                return false;
            lengthSeen_ = true;
        }
        if (!gather(pending_, bytes, length_))
            return true;
        if (pending_.find('\0') != std::string::npos)
            return false;
        paths_.push_back(std::move(pending_));
        pending_.clear();
        lengthSeen_ = false;
    }
    if (!bytes.empty())
        return false;
    state_ = State::Complete;
    return true;
}

} // namespace platform
