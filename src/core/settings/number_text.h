#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace settings {

// Nearest whole number, a half going to the even neighbour (90.5 -> 90, 91.5 -> 92).
[[nodiscard]] double RoundHalfEven(double value);

// The longest beginning of the text that forms a decimal number (sign, digits, one point,
// exponent), after leading blanks; 0 when there is none. Never depends on the locale.
[[nodiscard]] double LeadingNumber(std::string_view text);

// The whole text as a decimal number, blanks around it allowed; nothing when anything else
// is in it or it is empty.
[[nodiscard]] std::optional<double> StrictNumber(std::string_view text);

// Rounded half to even; nothing when the result does not fit (or is not a number).
[[nodiscard]] std::optional<std::int16_t> RoundToInt16(double value);
[[nodiscard]] std::optional<std::int32_t> RoundToInt32(double value);

} // namespace settings
