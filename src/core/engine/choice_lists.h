#pragma once

#include "core/text/translate.h"

#include <array>
#include <span>
#include <string_view>

// The lists the conversion choices are picked from, in the order the window shows them.
// The settings files store positions in these lists, so their order is part of the format.
namespace choices {

inline constexpr std::array<std::string_view, 12> kFormats = {
    "MP3", "WMA", "OGG", "WAV", "FLAC", "AC3", "AAC", "AMR", "MPG", "OPUS", "M4A", "ALAC"};
inline constexpr int kOpusFormat = 9;
inline constexpr int kM4aFormat = 10;

// The stored bitrate is always a position in this list; the formats with lists of their own
// offer subsets of it, so the settings files read the same whatever the format.
inline constexpr std::array<std::string_view, 12> kBitrates = {
    "32", "48", "56", "64", "80", "96", "112", "128", "192", "224", "256", "320"};
inline constexpr std::array<std::string_view, 11> kOpusBitrates = {
    "32", "48", "56", "64", "80", "96", "112", "128", "192", "224", "256"};
inline constexpr std::array<std::string_view, 9> kM4aBitrates = {"64",  "80",  "96",  "112", "128",
                                                                 "192", "224", "256", "320"};
inline constexpr std::array<std::string_view, 8> kSampleRates = {"48000", "44100", "32000", "24000",
                                                                 "22050", "16000", "12050", "8000"};
// Shown translated, in the context "Choices"; the command line takes them as written.
inline constexpr std::array<std::string_view, 2> kChannels = {PK_TR_NOOP("Choices", "Mono"),
                                                              PK_TR_NOOP("Choices", "Stereo")};
inline constexpr std::array<std::string_view, 2> kFinishSound = {PK_TR_NOOP("Choices", "ON"),
                                                                 PK_TR_NOOP("Choices", "OFF")};

inline constexpr int kDefaultFormat = 0;   // MP3
inline constexpr int kDefaultBitrate = 7;  // 128
inline constexpr int kDefaultRate = 1;     // 44100
inline constexpr int kDefaultChannels = 1; // Stereo

// Position of a text in a list, or -1.
template <std::size_t N>
[[nodiscard]] constexpr int IndexOf(const std::array<std::string_view, N>& list,
                                    std::string_view text) {
    for (std::size_t i = 0; i < N; ++i)
        if (list[i] == text)
            return static_cast<int>(i);
    return -1;
}

// The list entry at a position, or "" outside the list (no selection).
template <std::size_t N>
[[nodiscard]] constexpr std::string_view At(const std::array<std::string_view, N>& list,
                                            int index) {
    return index >= 0 && static_cast<std::size_t>(index) < N ? list[static_cast<std::size_t>(index)]
                                                             : std::string_view();
}

// The bitrates a format offers; the nine formats of old offer the whole list.
[[nodiscard]] constexpr std::span<const std::string_view> BitratesFor(int formatIndex) {
    if (formatIndex == kOpusFormat)
        return kOpusBitrates;
    if (formatIndex == kM4aFormat)
        return kM4aBitrates;
    return kBitrates;
}

// Whether a format offers the bitrate at a position of kBitrates.
[[nodiscard]] constexpr bool OffersBitrate(int formatIndex, int bitrateIndex) {
    const std::string_view wanted = At(kBitrates, bitrateIndex);
    if (wanted.empty())
        return false;
    for (const std::string_view offered : BitratesFor(formatIndex))
        if (offered == wanted)
            return true;
    return false;
}

// The position in kBitrates of the format's bitrate nearest to the one at `bitrateIndex`
// (the lower of two as near: the lists rise); an index outside kBitrates is left as it is.
[[nodiscard]] constexpr int NearestBitrate(int formatIndex, int bitrateIndex) {
    const std::string_view wanted = At(kBitrates, bitrateIndex);
    if (wanted.empty() || OffersBitrate(formatIndex, bitrateIndex))
        return bitrateIndex;
    const auto kbps = [](std::string_view text) {
        int value = 0;
        for (const char c : text)
            value = value * 10 + (c - '0');
        return value;
    };
    const int target = kbps(wanted);
    int best = bitrateIndex;
    int bestDistance = -1;
    for (const std::string_view offered : BitratesFor(formatIndex)) {
        const int difference = kbps(offered) - target;
        const int distance = difference < 0 ? -difference : difference;
        if (bestDistance < 0 || distance < bestDistance) {
            best = IndexOf(kBitrates, offered);
            bestDistance = distance;
        }
    }
    return best;
}

} // namespace choices
