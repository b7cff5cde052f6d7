#include "progress.h"

#include "errors.h"

#include <cinttypes>

extern "C" {
#include <libavutil/avutil.h>
}

namespace conv {

namespace {

constexpr auto kProgressInterval = std::chrono::milliseconds(250);

} // namespace

std::string DurationLine(std::int64_t durationUs, std::int64_t startUs, std::int64_t bitRate) {
    char buffer[160];
    std::string line = "  Duration: ";
    if (durationUs != AV_NOPTS_VALUE && durationUs >= 0) {
        // Rounded to hundredths.
        const std::int64_t d = durationUs <= INT64_MAX - 5000 ? durationUs + 5000 : durationUs;
        const std::int64_t seconds = d / 1000000;
        std::snprintf(buffer, sizeof buffer, "%02" PRId64 ":%02d:%02d.%02d", seconds / 3600,
                      static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60),
                      static_cast<int>(d % 1000000 / 10000));
        line += buffer;
    } else {
        line += "N/A";
    }
    line += ", start: ";
    if (startUs != AV_NOPTS_VALUE) {
        const auto raw = static_cast<std::uint64_t>(startUs);
        const std::uint64_t magnitude = startUs < 0 ? std::uint64_t{0} - raw : raw;
        std::snprintf(buffer, sizeof buffer, "%s%" PRIu64 ".%06" PRIu64, startUs < 0 ? "-" : "",
                      magnitude / 1000000, magnitude % 1000000);
        line += buffer;
    } else {
        line += "N/A";
    }
    line += ", bitrate: ";
    if (bitRate > 0) {
        std::snprintf(buffer, sizeof buffer, "%" PRId64 " kb/s", bitRate / 1000);
        line += buffer;
    } else {
        line += "N/A";
    }
    return line;
}

std::string ProgressLine(std::int64_t bytes, double seconds) {
    char buffer[128];
    const double kbits = seconds > 0 ? static_cast<double>(bytes) * 8.0 / seconds / 1000.0 : 0.0;
    std::snprintf(buffer, sizeof buffer, "size=%8" PRId64 "kB time=%.2f bitrate=%6.1fkbits/s",
                  (bytes + 512) / 1024, seconds, kbits);
    return buffer;
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
