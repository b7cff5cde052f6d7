#pragma once

#include "conv_protocol/progress_lines.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

namespace conv {

// The header line from a file's own figures: AV_NOPTS_VALUE (or a bit rate of 0) for unknown.
[[nodiscard]] std::string DurationLine(std::int64_t durationUs, std::int64_t startUs,
                                       std::int64_t bitRate);
using conv_protocol::ProgressLine;

// Writes what the window reads: the header, notes, and progress lines separated by "\r",
// a few times a second at most.
class Console {
public:
    explicit Console(std::FILE* out) : out_(out) {}

    void header(std::int64_t durationUs, std::int64_t startUs, std::int64_t bitRate);
    // One line, whatever the text holds.
    void note(const std::string& line);
    void progress(std::int64_t bytes, double seconds);
    // The last progress line, ending with a newline.
    void done(std::int64_t bytes, double seconds);
    // Ends an open progress line before an error line follows.
    void endLine();

private:
    void put(const std::string& text);

    std::FILE* out_;
    std::chrono::steady_clock::time_point lastShown_{};
    bool lineOpen_ = false;
};

} // namespace conv
