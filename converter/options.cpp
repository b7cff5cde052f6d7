#include "options.h"

#include "formats.h"

#include <charconv>
#include <limits>

namespace conv {

namespace {

// Far beyond any real media, small enough that later arithmetic cannot overflow.
constexpr std::int64_t kMaxTimeUs = std::int64_t{1000} * 3600 * 1000000;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Digits with an optional fraction, scaled by `unit`; the fraction is rounded to the unit.
std::optional<std::int64_t> ParseDecimal(std::string_view text, std::int64_t unit,
                                         bool fractionAllowed) {
    if (text.empty())
        return std::nullopt;
    std::int64_t whole = 0;
    std::size_t i = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        whole = whole * 10 + (text[i] - '0');
        if (whole > kMaxTimeUs)
            return std::nullopt;
    }
    const bool hadDigits = i > 0;
    std::int64_t fraction = 0;
    if (i < text.size() && text[i] == '.') {
        if (!fractionAllowed)
            return std::nullopt;
        ++i;
        std::int64_t scale = unit;
        bool fractionDigits = false;
        for (; i < text.size() && IsDigit(text[i]); ++i) {
            fractionDigits = true;
            if (scale >= 10) {
                scale /= 10;
                fraction += (text[i] - '0') * scale;
            }
        }
        if (!hadDigits && !fractionDigits)
            return std::nullopt;
    } else if (!hadDigits) {
        return std::nullopt;
    }
    if (i != text.size())
        return std::nullopt;
    if (whole > kMaxTimeUs / unit)
        return std::nullopt;
    return whole * unit + fraction;
}

std::optional<int> ParsePositive(std::string_view text, int max) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value <= 0 || value > max)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<std::int64_t> ParseTime(std::string_view text) {
    // Up to three fields; only the last may carry a fraction.
    std::int64_t total = 0;
    int fields = 0;
    std::size_t start = 0;
    while (true) {
        const auto colon = text.find(':', start);
        const bool last = colon == std::string_view::npos;
        const auto field = text.substr(start, last ? std::string_view::npos : colon - start);
        if (++fields > 3)
            return std::nullopt;
        const auto value = ParseDecimal(field, 1000000, last);
        if (!value)
            return std::nullopt;
        total = total * 60 + *value;
        if (total > kMaxTimeUs)
            return std::nullopt;
        if (last)
            break;
        start = colon + 1;
    }
    return total;
}

std::optional<std::int64_t> ParseBitRate(std::string_view text) {
    std::int64_t unit = 1;
    if (!text.empty()) {
        const char suffix = text.back();
        if (suffix == 'k' || suffix == 'K')
            unit = 1000;
        else if (suffix == 'm' || suffix == 'M')
            unit = 1000000;
        if (unit != 1)
            text.remove_suffix(1);
    }
    const auto value = ParseDecimal(text, unit, unit != 1);
    if (!value || *value <= 0 || *value > std::numeric_limits<int>::max())
        return std::nullopt;
    return value;
}

Status ParseArguments(const std::vector<std::string>& args, Options& options) {
    options = Options{};
    if (args.empty())
        return Fail("", std::string(kUsage));
    if (args.size() == 1)
        return Fail(args.front(), "no input given (" + std::string(kUsage) + ")");

    const std::size_t last = args.size() - 1;
    bool haveInput = false;
    std::optional<std::string> tagMap;

    for (std::size_t i = 0; i < last; ++i) {
        const std::string& arg = args[i];
        if (arg.empty())
            continue;
        auto value = [&]() -> const std::string* {
            if (i + 1 >= last)
                return nullptr;
            return &args[++i];
        };
        const bool takesValue = arg == "-i" || arg == "-ss" || arg == "-t" || arg == "-acodec" ||
                                arg == "-ab" || arg == "-ar" || arg == "-ac" ||
                                arg == "-map_meta_data" || arg == "-replaygain";
        if (arg == "-y") {
            options.overwrite = true;
        } else if (arg == "-vn") {
            // Video is never converted.
        } else if (takesValue) {
            const std::string* v = value();
            if (!v)
                return Fail(arg, "this option needs a value, and the output name comes last");
            if (arg == "-i") {
                if (haveInput)
                    return Fail(*v, "only one input can be converted at a time");
                if (v->empty())
                    return Fail(arg, "the input name is empty");
                options.input = *v;
                haveInput = true;
            } else if (arg == "-ss" || arg == "-t") {
                const auto time = ParseTime(*v);
                if (!time)
                    return Fail(*v, "not a time (write seconds, or hh:mm:ss)");
                (arg == "-ss" ? options.startUs : options.lengthUs) = *time;
            } else if (arg == "-acodec") {
                options.codec = *v;
            } else if (arg == "-ab") {
                const auto rate = ParseBitRate(*v);
                if (!rate)
                    return Fail(*v, "not a bitrate (write for example 128k)");
                options.bitRate = *rate;
            } else if (arg == "-ar") {
                const auto rate = ParsePositive(*v, 10000000);
                if (!rate)
                    return Fail(*v, "not a sample rate in Hz");
                options.sampleRate = *rate;
            } else if (arg == "-replaygain") {
                if (*v != "0" && *v != "1")
                    return Fail(*v, "-replaygain takes 1 (measure and tag) or 0");
                options.replayGain = *v == "1";
            } else if (arg == "-ac") {
                const auto channels = ParsePositive(*v, 64);
                if (!channels)
                    return Fail(*v, "not a channel count");
                options.channels = *channels;
            } else {
                tagMap = *v;
            }
        } else if (!arg.empty() && arg.front() == '-') {
            return Fail(arg, "unknown option (" + std::string(kUsage) + ")");
        } else {
            return Fail(arg, "unexpected argument; the output name comes last");
        }
    }

    if (!haveInput)
        return Fail(args.back(), "no input given (" + std::string(kUsage) + ")");
    options.output = args.back();
    if (options.output.empty())
        return Fail("", "the output name is empty");

    // Tags are always carried over; the map is still checked, as it names the files.
    // Paths may contain colons, so it must be exactly INPUT:OUTPUT.
    if (tagMap && *tagMap != options.input + ":" + options.output)
        return Fail(*tagMap, "-map_meta_data expects INPUT:OUTPUT with this input and output");

    const FormatInfo* format = FindFormat(options.output);
    if (!format)
        return Fail(options.output,
                    "unsupported output type; the name must end in " + SupportedExtensions());
    if (!options.codec.empty() && !ResolveCodec(*format, options.codec))
        return Fail(options.codec,
                    "this codec cannot be used for " + std::string(format->extension) + " output");
    return std::nullopt;
}

} // namespace conv
