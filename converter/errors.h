#pragma once

#include "conv_protocol/line_escape.h"
#include "conv_protocol/messages.h"

#include <optional>
#include <string>
#include <string_view>

namespace conv {

// Why a conversion failed, and which file the user should look at.
struct Failure {
    std::string path;
    std::string reason;
};

// Empty on success.
using Status = std::optional<Failure>;

[[nodiscard]] inline Status Fail(std::string path, std::string reason) {
    return Failure{std::move(path), std::move(reason)};
}

// Plain words for an errno value met while reading or writing a file.
[[nodiscard]] std::string DescribeErrno(int err);
// Plain words for a libav error code (which may wrap an errno value).
[[nodiscard]] std::string DescribeAvError(int err);

using conv_protocol::EscapeForLine;

// "conv: <path>: <reason>" followed by a newline.
[[nodiscard]] inline std::string FailureLine(const Failure& failure) {
    return conv_protocol::FormatMessage(failure.path, failure.reason);
}

} // namespace conv
