#pragma once

#include <optional>
#include <string>
#include <vector>

namespace headless {

// One line each for a --rate or --bitrate the chosen format cannot honour, said once before
// the run instead of being changed or dropped file by file: a rate the format's encoder does
// not take (the converter then uses the nearest it does), or one the format's command line
// never carries, and a bitrate a lossless or fixed-bitrate format has no use for. The indexes
// are positions in choices::kSampleRates and choices::kBitrates, as given on the command line.
[[nodiscard]] std::vector<std::string>
UnusedChoiceNotes(int formatIndex, std::optional<int> rateIndex, std::optional<int> bitrateIndex);

} // namespace headless
