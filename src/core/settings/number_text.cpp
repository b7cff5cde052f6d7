#include "core/settings/number_text.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace settings {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

struct NumberSpan {
    std::size_t length = 0; // 0: no number at the start
    bool negative = false;
    long decimalExponent = 0; // where the first significant digit sits, roughly
};

// Measures the decimal number at the start of the text. An exponent counts only when
// digits follow it, so "1e" is the number 1.
NumberSpan scanNumber(std::string_view text) {
    NumberSpan span;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        span.negative = text[i] == '-';
        ++i;
    }
    long intDigits = 0;
    long leadingFractionZeros = 0;
    bool significant = false;
    bool anyDigit = false;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        anyDigit = true;
        significant = significant || text[i] != '0';
        if (significant)
            ++intDigits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        for (; i < text.size() && isDigit(text[i]); ++i) {
            anyDigit = true;
            if (!significant && text[i] == '0')
                ++leadingFractionZeros;
            else
                significant = true;
        }
    }
    if (!anyDigit)
        return span;
    span.length = i;
    long exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        bool negativeExponent = false;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            negativeExponent = text[j] == '-';
            ++j;
        }
        if (j < text.size() && isDigit(text[j])) {
            for (; j < text.size() && isDigit(text[j]); ++j) {
                if (exponent < 100000)
                    exponent = exponent * 10 + (text[j] - '0');
            }
            span.length = j;
            if (negativeExponent)
                exponent = -exponent;
        }
    }
    span.decimalExponent = exponent + (intDigits > 0 ? intDigits : -leadingFractionZeros);
    return span;
}

double valueOf(std::string_view number, const NumberSpan& span) {
    // from_chars takes no plus sign and reads with the "C" decimal point whatever the locale.
    if (!number.empty() && number.front() == '+')
        number.remove_prefix(1);
    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        if (span.decimalExponent > 0)
            return span.negative ? -std::numeric_limits<double>::infinity()
                                 : std::numeric_limits<double>::infinity();
        return span.negative ? -0.0 : 0.0;
    }
    if (result.ec != std::errc())
        return 0.0;
    return value;
}

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

template <typename Int> std::optional<Int> roundTo(double value) {
    if (!std::isfinite(value))
        return std::nullopt;
    const double r = RoundHalfEven(value);
    if (r < static_cast<double>(std::numeric_limits<Int>::min()) ||
        r > static_cast<double>(std::numeric_limits<Int>::max()))
        return std::nullopt;
    return static_cast<Int>(r);
}

} // namespace

double RoundHalfEven(double value) {
    if (!std::isfinite(value))
        return value;
    const double down = std::floor(value);
    const double fraction = value - down; // exact: both share the same binade
    if (fraction > 0.5)
        return down + 1.0;
    if (fraction < 0.5)
        return down;
    return std::fmod(down, 2.0) == 0.0 ? down : down + 1.0;
}

double LeadingNumber(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    const NumberSpan span = scanNumber(text);
    if (span.length == 0)
        return 0.0;
    return valueOf(text.substr(0, span.length), span);
}

std::optional<double> StrictNumber(std::string_view text) {
    text = trimBlanks(text);
    const NumberSpan span = scanNumber(text);
    if (span.length == 0 || span.length != text.size())
        return std::nullopt;
    return valueOf(text, span);
}

std::optional<std::int16_t> RoundToInt16(double value) {
    return roundTo<std::int16_t>(value);
}

std::optional<std::int32_t> RoundToInt32(double value) {
    return roundTo<std::int32_t>(value);
}

} // namespace settings
