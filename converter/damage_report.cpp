#include "damage_report.h"

#include "conv_protocol/messages.h"

#include <cstdio>

namespace conv {

namespace {

constexpr std::int64_t kEarlyEndUs = 1'000'000;
constexpr std::int64_t kEarlyEndPerCent = 1;
constexpr std::int64_t kSkippedUs = 100'000;

std::string Warning(const std::string& text) {
    return std::string(conv_protocol::kWarningPrefix) + text;
}

std::string Seconds(std::int64_t us) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.1f s", static_cast<double>(us) / 1e6);
    return buffer;
}

} // namespace

std::string ClockTime(std::int64_t us) {
    const std::int64_t total = us > 0 ? us / 1'000'000 : 0;
    char buffer[48];
    if (total >= 3600)
        std::snprintf(buffer, sizeof buffer, "%lld:%02lld:%02lld",
                      static_cast<long long>(total / 3600), static_cast<long long>(total / 60 % 60),
                      static_cast<long long>(total % 60));
    else
        std::snprintf(buffer, sizeof buffer, "%lld:%02lld", static_cast<long long>(total / 60),
                      static_cast<long long>(total % 60));
    return buffer;
}

std::vector<std::string> WarningLines(const InputLosses& losses) {
    std::vector<std::string> lines;
    if (losses.endUs && losses.expectedEndUs) {
        const std::int64_t missing = *losses.expectedEndUs - *losses.endUs;
        if (missing > kEarlyEndUs && missing * 100 > *losses.expectedEndUs * kEarlyEndPerCent)
            lines.push_back(Warning("input ends at " + ClockTime(*losses.endUs) + " of " +
                                    ClockTime(*losses.expectedEndUs) + " (damaged or cut short)"));
    }
    if (losses.damagedUs + losses.gapUs <= kSkippedUs)
        return lines;
    if (losses.damagedPackets > 0)
        lines.push_back(Warning(std::to_string(losses.damagedPackets) + " damaged packet" +
                                (losses.damagedPackets == 1 ? "" : "s") + " skipped (" +
                                Seconds(losses.damagedUs) + ")"));
    if (losses.gaps > 0)
        lines.push_back(Warning(std::to_string(losses.gaps) + " gap" +
                                (losses.gaps == 1 ? "" : "s") + " in the input's audio (" +
                                Seconds(losses.gapUs) + " missing)"));
    return lines;
}

} // namespace conv
