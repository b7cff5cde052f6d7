#include "core/batch/batch_arguments.h"

#include "core/batch/batch_texts.h"
#include "core/batch/run_report_file.h"
#include "core/engine/choice_lists.h"
#include "core/naming/name_pattern.h"
#include "core/text/translate.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace headless {
namespace {

const char* const kContext = "BatchArguments";

std::string seeHelp() {
    return PK_TR("BatchArguments", " (pelkora --batch --help lists the options)");
}

// The template with the values in its places.
std::string said(const char* pattern, std::initializer_list<std::string_view> values) {
    return translation::Fill(translation::Translate(kContext, pattern), values);
}

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string lowered(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    });
    return out;
}

// A whole number of plain digits, nothing when it is empty, signed or above the limit.
std::optional<std::int64_t> digitsValue(std::string_view text, std::int64_t limit) {
    if (text.empty() ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value > limit)
        return std::nullopt;
    return value;
}

template <std::size_t N>
std::optional<int> indexIgnoringCase(const std::array<std::string_view, N>& list,
                                     std::string_view text) {
    const std::string wanted = lowered(trimmed(text));
    for (std::size_t i = 0; i < N; ++i)
        if (lowered(list[i]) == wanted)
            return static_cast<int>(i);
    return std::nullopt;
}

std::optional<int> bitrateIndex(std::string_view text) {
    text = trimmed(text);
    if (!text.empty() && (text.back() == 'k' || text.back() == 'K'))
        text.remove_suffix(1);
    const int index = choices::IndexOf(choices::kBitrates, text);
    return index >= 0 ? std::optional<int>(index) : std::nullopt;
}

std::optional<int> channelsIndex(std::string_view text) {
    text = trimmed(text);
    if (text == "1")
        return 0;
    if (text == "2")
        return 1;
    return indexIgnoringCase(choices::kChannels, text);
}

// Digits, colons and blanks only: meant as a time, even if not a valid one.
bool LooksLikeTime(std::string_view text) {
    return !trimmed(text).empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= '0' && c <= '9') || c == ':' || c == ' ' || c == '\t';
    });
}

enum class Kind { Flag, Value, TwoValues };

struct OptionInfo {
    std::string_view longName;
    char shortName; // 0: none
    Kind kind;
};

constexpr std::array<OptionInfo, 18> kOptions = {{
    {"batch", 'b', Kind::Flag},
    {"format", 0, Kind::Value},
    {"bitrate", 0, Kind::Value},
    {"rate", 0, Kind::Value},
    {"channels", 0, Kind::Value},
    {"output", 0, Kind::Value},
    {"cut", 0, Kind::TwoValues},
    {"jobs", 'j', Kind::Value},
    {"keep-tree", 0, Kind::Flag},
    {"name", 0, Kind::Value},
    {"report", 0, Kind::Value},
    {"sync", 0, Kind::Flag},
    {"replaygain", 0, Kind::Flag},
    {"prune", 0, Kind::Flag},
    {"shard", 0, Kind::Value},
    {"quiet", 'q', Kind::Flag},
    {"help", 'h', Kind::Flag},
    {"version", 'V', Kind::Flag},
}};

const OptionInfo* findLong(std::string_view name) {
    for (const auto& option : kOptions)
        if (option.longName == name)
            return &option;
    return nullptr;
}

const OptionInfo* findShort(char name) {
    for (const auto& option : kOptions)
        if (option.shortName != 0 && option.shortName == name)
            return &option;
    return nullptr;
}

class Parser {
public:
    Parser(const std::vector<std::string>& arguments, int cores)
        : arguments_(arguments), maxJobs_(MaxBatchJobs(cores)) {}

    ParsedArguments run() {
        bool optionsEnded = false;
        while (next_ < arguments_.size()) {
            const std::string& argument = arguments_[next_++];
            if (argument.empty())
                fail(PK_TR("BatchArguments", "an empty argument names no file or folder"));
            else if (optionsEnded || argument == "-" || argument[0] != '-')
                result_.inputs.push_back(argument);
            else if (argument == "--")
                optionsEnded = true;
            else if (argument.starts_with("--"))
                longOption(std::string_view(argument).substr(2));
            else
                shortOptions(std::string_view(argument).substr(1));
            if (error_)
                return *error_;
            if (result_.help || result_.version)
                return result_;
        }
        if (result_.inputs.empty())
            return UsageError{
                "pelkora: " + PK_TR("BatchArguments", "no files or folders to convert") +
                seeHelp()};
        // Only the sync record tells which outputs are Pelkora's own.
        if (result_.prune && !result_.sync)
            return UsageError{"pelkora: " + PK_TR("BatchArguments", "--prune needs --sync") +
                              seeHelp()};
        // Only the record keeps runs that share an output folder from taking one name twice.
        if (result_.shard && !result_.sync)
            return UsageError{"pelkora: " + PK_TR("BatchArguments", "--shard needs --sync") +
                              seeHelp()};
        return result_;
    }

private:
    void fail(std::string message) {
        if (!error_)
            error_ = UsageError{"pelkora: " + std::move(message)};
    }

    std::optional<std::string_view> takeNext() {
        if (next_ >= arguments_.size())
            return std::nullopt;
        return arguments_[next_++];
    }

    void longOption(std::string_view text) {
        const std::size_t equals = text.find('=');
        const std::string spelled = "--" + std::string(text.substr(0, equals));
        const OptionInfo* option = findLong(text.substr(0, equals));
        if (!option)
            return fail(
                said(PK_TR_NOOP("BatchArguments", "unknown option %1"), {ShownValue(spelled)}) +
                seeHelp());
        std::optional<std::string_view> attached;
        if (equals != std::string_view::npos)
            attached = text.substr(equals + 1);
        if (option->kind == Kind::Flag && attached)
            return fail(said(PK_TR_NOOP("BatchArguments", "%1 takes no value"), {spelled}));
        apply(*option, spelled, attached);
    }

    void shortOptions(std::string_view cluster) {
        for (std::size_t i = 0; i < cluster.size() && !error_; ++i) {
            const std::string spelled = std::string("-") + cluster[i];
            const OptionInfo* option = findShort(cluster[i]);
            if (!option)
                return fail(
                    said(PK_TR_NOOP("BatchArguments", "unknown option %1"), {ShownValue(spelled)}) +
                    seeHelp());
            if (option->kind != Kind::Flag) {
                // -j4 and -j 4 alike; the rest of the cluster is the value.
                std::optional<std::string_view> attached;
                if (i + 1 < cluster.size())
                    attached = cluster.substr(i + 1);
                return apply(*option, spelled, attached);
            }
            apply(*option, spelled, std::nullopt);
            if (result_.help || result_.version)
                return;
        }
    }

    void apply(const OptionInfo& option, const std::string& spelled,
               std::optional<std::string_view> attached) {
        if (option.kind == Kind::Flag)
            return setFlag(option.longName);
        const auto value = attached ? attached : takeNext();
        if (option.kind == Kind::TwoValues) {
            const auto second = value ? takeNext() : std::nullopt;
            if (!second)
                return fail(
                    said(PK_TR_NOOP("BatchArguments", "%1 needs START and LENGTH (as 75 30)"),
                         {spelled}));
            return setCut(spelled, *value, *second);
        }
        if (!value)
            return fail(said(PK_TR_NOOP("BatchArguments", "%1 needs a value"), {spelled}));
        setValue(option.longName, spelled, *value);
    }

    void setFlag(std::string_view name) {
        if (name == "keep-tree")
            result_.keepTree = true;
        else if (name == "sync")
            result_.sync = true;
        else if (name == "replaygain")
            result_.replayGain = true;
        else if (name == "prune")
            result_.prune = true;
        else if (name == "quiet")
            result_.quiet = true;
        else if (name == "help")
            result_.help = true;
        else if (name == "version")
            result_.version = true;
        // "batch" again changes nothing.
    }

    void notOneOf(const std::string& spelled, std::string_view value, const std::string& list) {
        fail(said(PK_TR_NOOP("BatchArguments", "%1 %2 is not one of %3"),
                  {spelled, ShownValue(value), list}));
    }

    void setValue(std::string_view name, const std::string& spelled, std::string_view value) {
        if (name == "format") {
            result_.format = indexIgnoringCase(choices::kFormats, value);
            if (!result_.format)
                notOneOf(spelled, value, FormatList());
        } else if (name == "bitrate") {
            result_.bitrate = bitrateIndex(value);
            if (!result_.bitrate)
                notOneOf(spelled, value, BitrateList());
        } else if (name == "rate") {
            const int index = choices::IndexOf(choices::kSampleRates, trimmed(value));
            if (index < 0)
                return notOneOf(spelled, value, RateList());
            result_.rate = index;
        } else if (name == "channels") {
            result_.channels = channelsIndex(value);
            if (!result_.channels)
                notOneOf(spelled, value, ChannelsList());
        } else if (name == "output") {
            if (value.empty())
                return fail(said(PK_TR_NOOP("BatchArguments", "%1 needs a folder"), {spelled}));
            result_.output = std::string(value);
        } else if (name == "jobs") {
            setJobs(spelled, value);
        } else if (name == "name") {
            std::string reason;
            if (!NamePattern::Parse(std::string(value), &reason))
                return fail(spelled + " " + ShownValue(value) + ": " + reason);
            result_.namePattern = std::string(value);
        } else if (name == "shard") {
            setShard(spelled, value);
        } else if (name == "report") {
            if (!ReportFormatOf(value))
                return fail(
                    said(PK_TR_NOOP("BatchArguments", "%1 %2 does not end in .csv or .json"),
                         {spelled, ShownValue(value)}));
            result_.report = std::string(value);
        }
    }

    void setJobs(const std::string& spelled, std::string_view value) {
        const std::string_view digits = trimmed(value);
        const bool number =
            !digits.empty() &&
            std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
        if (!number || digits.find_first_not_of('0') == std::string_view::npos)
            return fail(
                said(PK_TR_NOOP("BatchArguments", "%1 %2 is not a whole number of 1 or more"),
                     {spelled, ShownValue(value)}));
        // Too many digits for any number type is above the limit too.
        const auto jobs = digitsValue(digits, maxJobs_);
        result_.jobs = jobs ? static_cast<int>(*jobs) : maxJobs_;
        if (!jobs)
            result_.notes.push_back(
                "pelkora: " +
                said(PK_TR_NOOP("BatchArguments", "%1 %2 lowered to %3, the most conversions at "
                                                  "once here (4 per processor core)"),
                     {spelled, ShownValue(value), std::to_string(maxJobs_)}));
    }

    void setShard(const std::string& spelled, std::string_view value) {
        constexpr std::int64_t kMostShares = 1'000'000;
        const std::size_t slash = value.find('/');
        const auto index = slash == std::string_view::npos
                               ? std::nullopt
                               : digitsValue(value.substr(0, slash), kMostShares);
        const auto count = index ? digitsValue(value.substr(slash + 1), kMostShares) : std::nullopt;
        if (!index || !count || *index < 1 || *index > *count)
            return fail(said(PK_TR_NOOP("BatchArguments",
                                        "%1 %2 is not K/N, share K of N, with K from 1 to N "
                                        "(as 2/5)"),
                             {spelled, ShownValue(value)}));
        result_.shard = ShardChoice{static_cast<int>(*index), static_cast<int>(*count)};
    }

    void setCut(const std::string& spelled, std::string_view startText,
                std::string_view lengthText) {
        const auto start = ParseCutTime(startText);
        const auto length = ParseCutTime(lengthText);
        const auto badTime = [&](const char* pattern, std::string_view text) {
            fail(said(pattern, {spelled, ShownValue(text)}));
        };
        if (!start)
            return badTime(PK_TR_NOOP("BatchArguments",
                                      "%1 start %2 is not a time: whole seconds, M:S or "
                                      "H:M:S, minutes and seconds below 60, at most "
                                      "2147483647 seconds"),
                           startText);
        // What is no attempt at a time (a file, an option) means the length was left out.
        if (!length && !LooksLikeTime(lengthText))
            return fail(said(PK_TR_NOOP("BatchArguments",
                                        "%1 needs START and LENGTH (as 75 30); %2 is not a "
                                        "time"),
                             {spelled, ShownValue(lengthText)}));
        if (!length)
            return badTime(PK_TR_NOOP("BatchArguments",
                                      "%1 length %2 is not a time: whole seconds, M:S or "
                                      "H:M:S, minutes and seconds below 60, at most "
                                      "2147483647 seconds"),
                           lengthText);
        result_.cut = CutChoice{*start, *length};
    }

    const std::vector<std::string>& arguments_;
    const int maxJobs_;
    std::size_t next_ = 0;
    BatchArguments result_;
    std::optional<UsageError> error_;
};

} // namespace

namespace {

// `pelkora --help` and `pelkora --version` answer on the terminal, without a window.
bool IsTextRequest(std::string_view first) {
    return first == "--help" || first == "-h" || first == "--version" || first == "-V";
}

} // namespace

bool IsBatchInvocation(int argc, char** argv) {
    if (argc < 2 || argv == nullptr || argv[1] == nullptr)
        return false;
    const std::string_view first = argv[1];
    return first == "--batch" || first == "-b" || IsTextRequest(first);
}

int MaxBatchJobs(int cores) {
    constexpr int kPerCore = 4;
    return std::max(kPerCore, kPerCore * std::clamp(cores, 1, 1024));
}

ParsedArguments ParseBatchArguments(const std::vector<std::string>& arguments, int cores) {
    return Parser(arguments, cores).run();
}

ParsedArguments ParseBatchArguments(int argc, char** argv, int cores) {
    std::vector<std::string> arguments;
    const int first = argc > 1 && argv[1] != nullptr && IsTextRequest(argv[1]) ? 1 : 2;
    for (int i = first; i < argc; ++i)
        if (argv[i] != nullptr)
            arguments.emplace_back(argv[i]);
    return ParseBatchArguments(arguments, cores);
}

std::optional<std::int32_t> ParseCutTime(std::string_view text) {
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    text = trimmed(text);
    std::array<std::int64_t, 3> parts{};
    std::size_t count = 0;
    while (true) {
        const std::size_t colon = text.find(':');
        if (count == parts.size())
            return std::nullopt;
        const auto part = digitsValue(text.substr(0, colon), kMax);
        if (!part)
            return std::nullopt;
        parts[count++] = *part;
        if (colon == std::string_view::npos)
            break;
        text.remove_prefix(colon + 1);
    }
    // The leading part may be as large as it likes; the ones after it count in sixties.
    std::int64_t total = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0 && parts[i] > 59)
            return std::nullopt;
        total = total * 60 + parts[i];
        if (total > kMax)
            return std::nullopt;
    }
    return static_cast<std::int32_t>(total);
}

} // namespace headless
