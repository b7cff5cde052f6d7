#pragma once

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

// The converter's progress: a header line "  Duration: 00:03:25.46, start: 0.000000, bitrate:
// 1411 kb/s", then lines "size=     123kB time=5.00 bitrate= 201.5kbits/s" that the reader
// receives in chunks of any size.
namespace conv_protocol {

inline constexpr std::string_view kDurationMarker = "Duration: ";
inline constexpr std::string_view kTimeMarker = "time=";

// Unknown values are "N/A"; a negative duration is unknown too. The bit rate in bit/s, 0 for
// unknown.
[[nodiscard]] inline std::string DurationLine(std::optional<std::int64_t> durationUs,
                                              std::optional<std::int64_t> startUs,
                                              std::int64_t bitRate) {
    char buffer[160];
    std::string line = "  ";
    line += kDurationMarker;
    if (durationUs && *durationUs >= 0) {
        // Rounded to hundredths.
        const std::int64_t d = *durationUs <= INT64_MAX - 5000 ? *durationUs + 5000 : *durationUs;
        const std::int64_t seconds = d / 1000000;
        std::snprintf(buffer, sizeof buffer, "%02" PRId64 ":%02d:%02d.%02d", seconds / 3600,
                      static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60),
                      static_cast<int>(d % 1000000 / 10000));
        line += buffer;
    } else {
        line += "N/A";
    }
    line += ", start: ";
    if (startUs) {
        const auto raw = static_cast<std::uint64_t>(*startUs);
        const std::uint64_t magnitude = *startUs < 0 ? std::uint64_t{0} - raw : raw;
        std::snprintf(buffer, sizeof buffer, "%s%" PRIu64 ".%06" PRIu64, *startUs < 0 ? "-" : "",
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

// The time is in seconds even past an hour: the reader takes the leading number.
[[nodiscard]] inline std::string ProgressLine(std::int64_t bytes, double seconds) {
    char buffer[128];
    const double kbits = seconds > 0 ? static_cast<double>(bytes) * 8.0 / seconds / 1000.0 : 0.0;
    std::snprintf(buffer, sizeof buffer, "size=%8" PRId64 "kB time=%.2f bitrate=%6.1fkbits/s",
                  (bytes + 512) / 1024, seconds, kbits);
    return buffer;
}

// The leading decimal number of a text (digits, at most one point); 0 when there is none.
[[nodiscard]] inline double LeadingNumber(std::string_view text, bool* found = nullptr) {
    std::size_t i = 0;
    bool point = false;
    bool digit = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            digit = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (found)
        *found = digit;
    if (!digit)
        return 0.0;
    // Summed by hand, so the locale's decimal point never matters.
    double whole = 0.0;
    double scale = 1.0;
    bool afterPoint = false;
    for (const char c : text.substr(0, i)) {
        if (c == '.') {
            afterPoint = true;
            continue;
        }
        if (afterPoint) {
            scale /= 10.0;
            whole += (c - '0') * scale;
        } else {
            whole = whole * 10.0 + (c - '0');
        }
    }
    return whole;
}

// Every value that follows the marker in a chunk, glued together. A marker counts only when
// at least one character follows it in the same chunk; a value ends at the next blank. So a
// chunk with two progress lines reads "time=1.5 ... time=3 " as 1.53, as it always has.
[[nodiscard]] inline std::string MarkerValues(std::string_view chunk, std::string_view marker) {
    std::string values;
    std::size_t pos = 0;
    while ((pos = chunk.find(marker, pos)) != std::string_view::npos) {
        const std::size_t start = pos + marker.size();
        if (start >= chunk.size())
            break;
        std::size_t end = chunk.find(' ', start);
        if (end == std::string_view::npos)
            end = chunk.size();
        values.append(chunk.substr(start, end - start));
        pos = end;
    }
    return values;
}

// The duration a chunk announces, in seconds: hours:minutes:seconds(.fraction), anything after
// the third field ignored. Nothing when the chunk has none or it cannot be read.
[[nodiscard]] inline std::optional<double> ChunkDuration(std::string_view chunk) {
    const std::string values = MarkerValues(chunk, kDurationMarker);
    std::string_view rest = values;
    double seconds = 0.0;
    for (const double scale : {3600.0, 60.0, 1.0}) {
        bool found = false;
        seconds += scale * LeadingNumber(rest, &found);
        const std::size_t colon = rest.find(':');
        if (!found || (scale > 1.0 && colon == std::string_view::npos))
            return std::nullopt;
        rest = scale > 1.0 ? rest.substr(colon + 1) : rest;
    }
    return seconds;
}

// The time a chunk's progress reached, in seconds: nothing without a complete "time="
// marker, 0 when its value is no number.
[[nodiscard]] inline std::optional<double> ChunkTime(std::string_view chunk) {
    const std::string values = MarkerValues(chunk, kTimeMarker);
    if (values.empty())
        return std::nullopt;
    return LeadingNumber(values);
}

} // namespace conv_protocol
