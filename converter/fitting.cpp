#include "fitting.h"

#include <algorithm>
#include <cstdio>

namespace conv {

namespace {

std::vector<std::int64_t> Kilo(std::initializer_list<int> values) {
    std::vector<std::int64_t> out;
    out.reserve(values.size());
    for (int v : values)
        out.push_back(std::int64_t{v} * 1000);
    return out;
}

const std::vector<std::int64_t> kAmrRates = {4750, 5150, 5900, 6700, 7400, 7950, 10200, 12200};

int MaxChannels(CodecKind kind) {
    switch (kind) {
    case CodecKind::Mp3:
    case CodecKind::Mp2:
    case CodecKind::Wma:
    case CodecKind::Opus:
        return 2;
    case CodecKind::AmrNb:
        return 1;
    case CodecKind::Ac3:
        return 6;
    case CodecKind::Vorbis:
    case CodecKind::Flac:
    case CodecKind::Aac:
    case CodecKind::Alac:
        return 8;
    case CodecKind::Pcm:
        return 64;
    }
    return 2;
}

// Range for encoders that take any rate in it.
std::pair<int, int> RateRange(CodecKind kind) {
    switch (kind) {
    case CodecKind::Vorbis:
        return {8000, 192000};
    case CodecKind::Flac:
        return {1, 655350};
    default:
        return {1, 768000};
    }
}

std::string FormatBitRate(std::int64_t bitRate) {
    char buffer[32];
    if (bitRate % 1000 == 0)
        std::snprintf(buffer, sizeof buffer, "%lld kbit/s", static_cast<long long>(bitRate / 1000));
    else
        std::snprintf(buffer, sizeof buffer, "%.2f kbit/s", static_cast<double>(bitRate) / 1000.0);
    return buffer;
}

std::string ChannelsText(int channels) {
    if (channels == 1)
        return "mono";
    if (channels == 2)
        return "stereo";
    return std::to_string(channels) + " channels";
}

} // namespace

std::int64_t Nearest(const std::vector<std::int64_t>& sorted, std::int64_t value) {
    if (sorted.empty())
        return value;
    auto upper = std::lower_bound(sorted.begin(), sorted.end(), value);
    if (upper == sorted.end())
        return sorted.back();
    if (upper == sorted.begin() || *upper == value)
        return *upper;
    const auto lower = std::prev(upper);
    return (value - *lower) < (*upper - value) ? *lower : *upper;
}

std::vector<std::int64_t> AllowedSampleRates(CodecKind kind) {
    switch (kind) {
    case CodecKind::Mp3:
        return {8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000};
    case CodecKind::Mp2:
        return {16000, 22050, 24000, 32000, 44100, 48000};
    case CodecKind::Ac3:
        return {32000, 44100, 48000};
    case CodecKind::Aac:
        return {7350,  8000,  11025, 12000, 16000, 22050, 24000,
                32000, 44100, 48000, 64000, 88200, 96000};
    case CodecKind::Wma:
        // The rates players of this format are known to take.
        return {8000, 11025, 16000, 22050, 32000, 44100, 48000};
    case CodecKind::AmrNb:
        return {8000};
    case CodecKind::Opus:
        // Ogg Opus is decoded at 48 kHz whatever it was made from.
        return {48000};
    default:
        return {};
    }
}

std::vector<std::int64_t> AllowedBitRates(CodecKind kind, int sampleRate, int channels) {
    switch (kind) {
    case CodecKind::Mp3:
        if (sampleRate >= 32000)
            return Kilo({32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320});
        if (sampleRate >= 16000)
            return Kilo({8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160});
        return Kilo({8, 16, 24, 32, 40, 48, 56, 64});
    case CodecKind::Mp2:
        if (sampleRate < 32000)
            return Kilo({8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160});
        // Layer II forbids the highest rates in mono and the lowest in stereo.
        if (channels == 1)
            return Kilo({32, 48, 56, 64, 80, 96, 112, 128, 160, 192});
        return Kilo({64, 96, 112, 128, 160, 192, 224, 256, 320, 384});
    case CodecKind::Ac3:
        return Kilo({32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 448, 512,
                     576, 640});
    case CodecKind::AmrNb:
        return kAmrRates;
    default:
        return {};
    }
}

int AmrModeForBitRate(std::int64_t bitRate) {
    const auto it = std::find(kAmrRates.begin(), kAmrRates.end(), Nearest(kAmrRates, bitRate));
    return static_cast<int>(it - kAmrRates.begin());
}

Fitted FitValues(CodecKind kind, std::string_view label, const Wanted& wanted) {
    Fitted fitted;
    const std::string name(label);

    fitted.channels = std::clamp(wanted.channels, 1, MaxChannels(kind));
    if (fitted.channels != wanted.channels)
        fitted.notes.push_back("note: " + name + " cannot hold " + ChannelsText(wanted.channels) +
                               "; using " + ChannelsText(fitted.channels) + " instead");

    const auto rates = AllowedSampleRates(kind);
    if (rates.empty()) {
        const auto [low, high] = RateRange(kind);
        fitted.sampleRate = std::clamp(wanted.sampleRate, low, high);
    } else {
        fitted.sampleRate = static_cast<int>(Nearest(rates, wanted.sampleRate));
    }
    // Opus always resamples; that is only worth a note when another rate was asked for.
    const bool rateNoted = kind != CodecKind::Opus || wanted.sampleRateAsked;
    if (fitted.sampleRate != wanted.sampleRate && rateNoted)
        fitted.notes.push_back("note: " + name + " cannot use " +
                               std::to_string(wanted.sampleRate) + " Hz; using " +
                               std::to_string(fitted.sampleRate) + " Hz instead");

    fitted.bitRate = wanted.bitRate;
    if (wanted.bitRate > 0) {
        const auto bitRates = AllowedBitRates(kind, fitted.sampleRate, fitted.channels);
        fitted.bitRate = Nearest(bitRates, wanted.bitRate);
        if (kind == CodecKind::Wma)
            fitted.bitRate = std::max<std::int64_t>(fitted.bitRate, 24000);
        if (fitted.bitRate != wanted.bitRate && wanted.bitRateAsked)
            fitted.notes.push_back(
                "note: " + name + " cannot use " + FormatBitRate(wanted.bitRate) + " at " +
                std::to_string(fitted.sampleRate) + " Hz " + ChannelsText(fitted.channels) +
                "; using " + FormatBitRate(fitted.bitRate) + " instead");
    }
    return fitted;
}

} // namespace conv
