#include "core/engine/progress_parser.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <vector>

namespace {

constexpr std::string_view kDurationMarker = "Duration: ";
constexpr std::string_view kTimeMarker = "time=";

// Every value that follows the marker, glued together. A marker counts only when at least
// one character follows it in the same chunk; a value ends at the next blank.
std::string CollectValues(std::string_view chunk, std::string_view marker) {
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

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (true) {
        const auto end = text.find(separator, start);
        if (end == std::string_view::npos) {
            fields.push_back(text.substr(start));
            return fields;
        }
        fields.push_back(text.substr(start, end - start));
        start = end + 1;
    }
}

// hours:minutes:seconds(.fraction)(,) to whole seconds; 0 when it cannot be read.
std::int32_t DurationSeconds(std::string_view text) {
    const auto fields = Split(text, ':');
    if (fields.size() < 3)
        return 0;
    double parts[3];
    for (int i = 0; i < 3; ++i) {
        bool found = false;
        parts[i] = LeadingNumber(fields[static_cast<std::size_t>(i)], &found);
        if (!found)
            return 0;
    }
    return RoundHalfEven(parts[0] * 3600.0 + parts[1] * 60.0 + parts[2]);
}

} // namespace

std::int32_t RoundHalfEven(double value) {
    if (!std::isfinite(value))
        return 0;
    const double r = std::nearbyint(value); // default rounding mode: halves to even
    if (r >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    if (r <= static_cast<double>(std::numeric_limits<std::int32_t>::min()))
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(r);
}

double LeadingNumber(std::string_view text, bool* found) {
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
    const std::string_view number = text.substr(0, i);
    double whole = 0.0;
    double scale = 1.0;
    bool afterPoint = false;
    for (char c : number) {
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

std::string PercentCaption(double percent) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", percent);
    std::string plain = buffer;
    // Tiny values come out in exponent form; their plain form starts with "0.00".
    if (plain.find('e') != std::string::npos)
        plain = "0.00";
    return plain.substr(0, 4) + "%";
}

ProgressUpdate ParseProgressChunk(std::string_view chunk, std::int32_t totalSeconds,
                                  bool cutEnabled, std::int32_t cutLength, std::int32_t cutStart) {
    ProgressUpdate update;
    update.totalSeconds = totalSeconds;

    if (update.totalSeconds == 0) {
        if (cutEnabled && cutLength != 0) {
            update.totalSeconds = cutLength;
        } else {
            const std::string duration = CollectValues(chunk, kDurationMarker);
            if (!duration.empty())
                update.totalSeconds = DurationSeconds(duration);
            if (cutEnabled && update.totalSeconds != 0)
                update.totalSeconds = std::max<std::int32_t>(0, update.totalSeconds - cutStart);
        }
    }

    const std::string elapsedText = CollectValues(chunk, kTimeMarker);
    if (elapsedText.empty())
        return update;
    const std::int32_t elapsed = RoundHalfEven(LeadingNumber(elapsedText));

    update.displayChanged = true;
    if (update.totalSeconds == 0) {
        update.barWidth = kProgressBarFullWidth;
        update.caption = "100%";
        return update;
    }
    const double ratio = static_cast<double>(elapsed) / update.totalSeconds;
    const double percent = 100.0 * ratio;
    if (percent >= 100.0) {
        update.barWidth = kProgressBarFullWidth;
        update.caption = "100%";
    } else {
        update.barWidth = static_cast<float>(kProgressBarFullWidth * ratio);
        update.caption = PercentCaption(percent);
    }
    return update;
}
