#pragma once

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

// Keeps a path on one line and readable: control characters and bytes that are not UTF-8
// become \xNN.
[[nodiscard]] std::string EscapeForLine(std::string_view text);
// "conv: <path>: <reason>" followed by a newline.
[[nodiscard]] std::string FailureLine(const Failure& failure);

} // namespace conv
