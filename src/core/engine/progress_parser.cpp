#include "core/engine/progress_parser.h"

#include "conv_protocol/progress_lines.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

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
            if (const auto duration = conv_protocol::ChunkDuration(chunk))
                update.totalSeconds = RoundHalfEven(*duration);
            if (cutEnabled && update.totalSeconds != 0)
                update.totalSeconds = std::max<std::int32_t>(0, update.totalSeconds - cutStart);
        }
    }

    const auto reached = conv_protocol::ChunkTime(chunk);
    if (!reached)
        return update;
    const std::int32_t elapsed = RoundHalfEven(*reached);

    update.moved = true;
    update.fraction =
        update.totalSeconds == 0
            ? 1.0
            : std::clamp(static_cast<double>(elapsed) / update.totalSeconds, 0.0, 1.0);
    return update;
}
