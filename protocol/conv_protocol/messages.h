#pragma once

#include "conv_protocol/line_escape.h"

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

// The converter's message lines: "conv: PATH: REASON", or "conv: REASON" when no file is
// concerned. A warning is a message whose reason starts with "warning: ". Path and reason
// are escaped, so a message is always one line.
namespace conv_protocol {

inline constexpr std::string_view kMessagePrefix = "conv: ";
inline constexpr std::string_view kWarningPrefix = "warning: ";

struct Message {
    std::string path;
    std::string reason;
    bool warning = false;
};

// The line, with its line end.
[[nodiscard]] inline std::string FormatMessage(std::string_view path, std::string_view reason) {
    std::string line(kMessagePrefix);
    if (!path.empty())
        line += EscapeForLine(path) + ": ";
    return line + EscapeForLine(reason) + "\n";
}

// A message line read back, with or without its line end; nothing when the line is not one.
// A path holding ": " is told from the reason only when it is among `knownPaths` (the longest
// that fits wins). Any other path ends before the first ": warning: ", or else at the first
// ": ", and a line without ": " concerns no file.
[[nodiscard]] inline std::optional<Message>
ParseMessage(std::string_view line, std::initializer_list<std::string_view> knownPaths = {}) {
    if (!line.starts_with(kMessagePrefix))
        return std::nullopt;
    std::string_view rest = line.substr(kMessagePrefix.size());
    while (!rest.empty() && (rest.back() == '\n' || rest.back() == '\r'))
        rest.remove_suffix(1);

    std::size_t pathEnd = std::string_view::npos;
    for (const std::string_view known : knownPaths) {
        const std::string shown = EscapeForLine(known) + ": ";
        if (!known.empty() && rest.starts_with(shown) &&
            (pathEnd == std::string_view::npos || shown.size() - 2 > pathEnd))
            pathEnd = shown.size() - 2;
    }
    if (pathEnd == std::string_view::npos)
        pathEnd = rest.find(": " + std::string(kWarningPrefix));
    if (pathEnd == std::string_view::npos)
        pathEnd = rest.find(": ");

    Message message;
    if (pathEnd == std::string_view::npos) {
        message.reason = UnescapeLine(rest);
    } else {
        message.path = UnescapeLine(rest.substr(0, pathEnd));
        message.reason = UnescapeLine(rest.substr(pathEnd + 2));
    }
    message.warning = message.reason.starts_with(kWarningPrefix);
    return message;
}

} // namespace conv_protocol
