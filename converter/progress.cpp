#include "progress.h"

#include "errors.h"

#include <optional>

extern "C" {
#include <libavutil/avutil.h>
}

namespace conv {

namespace {

constexpr auto kProgressInterval = std::chrono::milliseconds(250);

} // namespace

std::string DurationLine(std::int64_t durationUs, std::int64_t startUs, std::int64_t bitRate) {
    const auto known = [](std::int64_t value) {
        return value == AV_NOPTS_VALUE ? std::nullopt : std::optional(value);
    };
    return conv_protocol::DurationLine(known(durationUs), known(startUs), bitRate);
}

void Console::put(const std::string& text) {
    if (!out_)
        return;
    std::fwrite(text.data(), 1, text.size(), out_);
    std::fflush(out_);
}

void Console::header(std::int64_t durationUs, std::int64_t startUs, std::int64_t bitRate) {
    put(DurationLine(durationUs, startUs, bitRate) + "\n");
}

void Console::note(const std::string& line) {
    endLine();
    // Notes may quote a file's tags: a line break or terminal control in them stays visible
    // text, never a line of its own.
    put(EscapeForLine(line) + "\n");
}

void Console::progress(std::int64_t bytes, double seconds) {
    const auto now = std::chrono::steady_clock::now();
    if (lineOpen_ && now - lastShown_ < kProgressInterval)
        return;
    lastShown_ = now;
    put(ProgressLine(bytes, seconds) + " \r");
    lineOpen_ = true;
}

void Console::done(std::int64_t bytes, double seconds) {
    put(ProgressLine(bytes, seconds) + " \n");
    lineOpen_ = false;
}

void Console::endLine() {
    if (lineOpen_)
        put("\n");
    lineOpen_ = false;
}

} // namespace conv
