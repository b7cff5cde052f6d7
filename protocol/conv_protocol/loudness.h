#pragma once

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

// Loudness after EBU R128 (ITU-R BS.1770), as the converter reports it and the program adds up
// for albums: the 400 ms gating blocks of a track are kept as a histogram of 0.1 LU steps from
// the absolute gate (-70 LUFS) to +30 LUFS, so the blocks of several tracks can be gated
// together, which an average of their loudness cannot do.
namespace conv_protocol {

inline constexpr int kLoudnessBins = 1000;
inline constexpr double kAbsoluteGateLufs = -70.0;
inline constexpr double kBinLu = 0.1;
// ReplayGain 2.0 aims at -18 LUFS; Ogg Opus's R128 gains at -23 LUFS (RFC 7845).
inline constexpr double kReplayGainReferenceLufs = -18.0;
inline constexpr double kR128ReferenceLufs = -23.0;

class BlockHistogram {
public:
    // A block's loudness in LUFS; blocks below the absolute gate count for nothing.
    void addBlock(double lufs) {
        if (!(lufs >= kAbsoluteGateLufs))
            return;
        const auto bin = static_cast<int>(std::floor((lufs - kAbsoluteGateLufs) / kBinLu));
        add(bin < kLoudnessBins ? bin : kLoudnessBins - 1, 1);
    }
    void add(int bin, std::uint64_t count) { counts_[static_cast<std::size_t>(bin)] += count; }
    void add(const BlockHistogram& other) {
        for (int i = 0; i < kLoudnessBins; ++i)
            counts_[static_cast<std::size_t>(i)] += other.count(i);
    }
    [[nodiscard]] std::uint64_t count(int bin) const {
        return counts_[static_cast<std::size_t>(bin)];
    }

    // Integrated loudness: the blocks above the absolute gate, then those within 10 LU of
    // their mean. Nothing for silence.
    [[nodiscard]] std::optional<double> integratedLufs() const {
        double energy = 0.0;
        std::uint64_t blocks = 0;
        for (int i = 0; i < kLoudnessBins; ++i) {
            energy += static_cast<double>(count(i)) * BinEnergy(i);
            blocks += count(i);
        }
        if (blocks == 0)
            return std::nullopt;
        const double relativeGate = energy / static_cast<double>(blocks) * 0.1;
        double gated = 0.0;
        std::uint64_t kept = 0;
        for (int i = 0; i < kLoudnessBins; ++i) {
            if (BinEnergy(i) < relativeGate)
                continue;
            gated += static_cast<double>(count(i)) * BinEnergy(i);
            kept += count(i);
        }
        if (kept == 0)
            return std::nullopt;
        return 10.0 * std::log10(gated / static_cast<double>(kept)) - 0.691;
    }

private:
    // The mean-square energy of a bin's middle.
    static double BinEnergy(int bin) {
        const double lufs = kAbsoluteGateLufs + (bin + 0.5) * kBinLu;
        return std::pow(10.0, (lufs + 0.691) / 10.0);
    }

    std::array<std::uint64_t, kLoudnessBins> counts_{};
};

struct Loudness {
    std::optional<double> integratedLufs; // nothing for silence
    double peak = 0.0;                    // largest sample, 1.0 = full scale
    BlockHistogram blocks;
};

inline constexpr std::string_view kLoudnessMarker = "loudness: ";

// "loudness: -20.03 LUFS, peak 0.316228, blocks 499x12 500x301", or "loudness: silent, ..."
// with no blocks.
[[nodiscard]] inline std::string LoudnessLine(const Loudness& loudness) {
    char buffer[64];
    std::string line(kLoudnessMarker);
    if (loudness.integratedLufs) {
        std::snprintf(buffer, sizeof buffer, "%.2f LUFS", *loudness.integratedLufs);
        line += buffer;
    } else {
        line += "silent";
    }
    std::snprintf(buffer, sizeof buffer, ", peak %.6f, blocks", loudness.peak);
    line += buffer;
    for (int i = 0; i < kLoudnessBins; ++i) {
        if (loudness.blocks.count(i) == 0)
            continue;
        std::snprintf(buffer, sizeof buffer, " %dx%llu", i,
                      static_cast<unsigned long long>(loudness.blocks.count(i)));
        line += buffer;
    }
    return line;
}

// A loudness line read back; nothing for any other line.
[[nodiscard]] inline std::optional<Loudness> ParseLoudnessLine(std::string_view line) {
    if (!line.starts_with(kLoudnessMarker))
        return std::nullopt;
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);
    line.remove_prefix(kLoudnessMarker.size());
    Loudness loudness;
    std::string text(line);
    double lufs = 0.0;
    double peak = 0.0;
    int used = 0;
    if (std::sscanf(text.c_str(), "%lf LUFS, peak %lf, blocks%n", &lufs, &peak, &used) == 2) {
        loudness.integratedLufs = lufs;
    } else if (std::sscanf(text.c_str(), "silent, peak %lf, blocks%n", &peak, &used) != 1) {
        return std::nullopt;
    }
    if (used == 0 || !std::isfinite(peak) || peak < 0.0 ||
        (loudness.integratedLufs && !std::isfinite(*loudness.integratedLufs)))
        return std::nullopt;
    loudness.peak = peak;
    std::string_view rest = line.substr(static_cast<std::size_t>(used));
    while (!rest.empty()) {
        if (rest.front() != ' ')
            return std::nullopt;
        rest.remove_prefix(1);
        int bin = -1;
        unsigned long long count = 0;
        auto [afterBin, binError] = std::from_chars(rest.data(), rest.data() + rest.size(), bin);
        if (binError != std::errc() || afterBin == rest.data() + rest.size() || *afterBin != 'x' ||
            bin < 0 || bin >= kLoudnessBins)
            return std::nullopt;
        auto [end, countError] = std::from_chars(afterBin + 1, rest.data() + rest.size(), count);
        if (countError != std::errc())
            return std::nullopt;
        loudness.blocks.add(bin, count);
        rest.remove_prefix(static_cast<std::size_t>(end - rest.data()));
    }
    return loudness;
}

// "-2.03 dB": what brings a loudness to ReplayGain's reference.
[[nodiscard]] inline std::string ReplayGainText(double lufs) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%+.2f dB", kReplayGainReferenceLufs - lufs);
    return buffer;
}

[[nodiscard]] inline std::string PeakText(double peak) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.6f", peak);
    return buffer;
}

// An Ogg Opus gain: Q7.8 fixed point relative to -23 LUFS, kept within 16 bits.
[[nodiscard]] inline std::string R128GainText(double lufs) {
    const double q78 = std::round((kR128ReferenceLufs - lufs) * 256.0);
    const double kept = q78 < -32768.0 ? -32768.0 : (q78 > 32767.0 ? 32767.0 : q78);
    return std::to_string(static_cast<int>(kept));
}

} // namespace conv_protocol
