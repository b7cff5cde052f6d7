#pragma once

#include <array>
#include <string_view>

// The lists the conversion choices are picked from, in the order the window shows them.
// The settings files store positions in these lists, so their order is part of the format.
namespace choices {

inline constexpr std::array<std::string_view, 9> kFormats = {"MP3", "WMA", "OGG", "WAV", "FLAC",
                                                             "AC3", "AAC", "AMR", "MPG"};
inline constexpr std::array<std::string_view, 12> kBitrates = {
    "32", "48", "56", "64", "80", "96", "112", "128", "192", "224", "256", "320"};
inline constexpr std::array<std::string_view, 8> kSampleRates = {"48000", "44100", "32000", "24000",
                                                                 "22050", "16000", "12050", "8000"};
inline constexpr std::array<std::string_view, 2> kChannels = {"Mono", "Stereo"};
inline constexpr std::array<std::string_view, 2> kFinishSound = {"ON", "OFF"};

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

} // namespace choices
