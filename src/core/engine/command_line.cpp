#include "core/engine/command_line.h"

#include <array>

namespace {

constexpr std::array<std::string_view, kOutputFormatCount> kExtensions = {
    ".mp3", ".wma", ".ogg", ".wav",  ".flac", ".ac3",
    ".aac", ".amr", ".mpg", ".opus", ".m4a",  ".m4a"};

// Builds the shown text and the argument vector side by side, so that the vector never
// comes from re-parsing the text.
class CommandWriter {
public:
    explicit CommandWriter(std::string start) : text_(std::move(start)) {}

    // Option words as they stand in the text; blanks separate arguments.
    void options(std::string_view words) {
        text_ += words;
        std::size_t pos = 0;
        while (pos < words.size()) {
            const auto begin = words.find_first_not_of(' ', pos);
            if (begin == std::string_view::npos)
                break;
            auto end = words.find(' ', begin);
            if (end == std::string_view::npos)
                end = words.size();
            args_.emplace_back(words.substr(begin, end - begin));
            pos = end;
        }
    }

    // An option word whose value is glued to it in the text ("-ab " BR "k").
    void option(std::string_view name, std::string_view value, std::string_view unit = {}) {
        text_ += ' ';
        text_ += name;
        text_ += ' ';
        text_ += value;
        text_ += unit;
        args_.emplace_back(name);
        args_.push_back(std::string(value) + std::string(unit));
    }

    void quoted(std::string_view path) {
        text_ += '"';
        text_ += path;
        text_ += '"';
        args_.emplace_back(path);
    }

    // "IN":"OUT" as one argument.
    void metadataMap(std::string_view in, std::string_view out) {
        text_ += '"';
        text_ += in;
        text_ += "\":\"";
        text_ += out;
        text_ += '"';
        args_.push_back(std::string(in) + ":" + std::string(out));
    }

    std::string text_;
    std::vector<std::string> args_;
};

} // namespace

std::string_view FormatExtension(int formatIndex) {
    if (formatIndex < 0 || formatIndex >= kOutputFormatCount)
        return {};
    return kExtensions[static_cast<std::size_t>(formatIndex)];
}

std::string GetFileName(std::string_view path, char separator) {
    const auto last = path.rfind(separator);
    if (last == std::string_view::npos)
        return std::string(path);
    return std::string(path.substr(last + 1));
}

std::string GetBaseName(std::string_view path, char separator) {
    const std::string name = GetFileName(path, separator);
    return name.substr(0, name.find('.'));
}

std::string DefaultOutputPath(const std::string& in, const ConversionSettings& s,
                              const PathStyle& style) {
    std::string folder = s.outputFolder;
    if (folder.empty() || folder.back() != style.separator)
        folder += style.separator;
    return folder + GetBaseName(in, style.separator) + std::string(FormatExtension(s.formatIndex));
}

std::optional<BuiltCommand> BuildCommandLine(const std::string& in, const ConversionSettings& s,
                                             const std::string& programFolder,
                                             const PathStyle& style) {
    return BuildCommandLineTo(in, DefaultOutputPath(in, s, style), s, programFolder, style);
}

std::optional<BuiltCommand> BuildCommandLineTo(const std::string& in, const std::string& out,
                                               const ConversionSettings& s,
                                               const std::string& programFolder,
                                               const PathStyle& style) {
    if (s.formatIndex < 0 || s.formatIndex >= kOutputFormatCount)
        return std::nullopt;
    const auto format = static_cast<OutputFormat>(s.formatIndex);

    BuiltCommand built;
    built.program = programFolder + style.separator + style.converter;
    built.outputPath = out;

    CommandWriter w(built.program);
    w.options(" -i ");
    w.quoted(in);
    if (s.cutEnabled) {
        w.option("-ss", std::to_string(s.cutStart));
        w.option("-t", std::to_string(s.cutLength));
    }

    const bool cut = s.cutEnabled;
    const std::string channels = std::to_string(s.channelIndex + 1);
    auto mapThenOutput = [&] {
        w.metadataMap(in, out);
        w.options(" ");
        w.quoted(out);
    };
    // Every format's options start with " -y -vn"; the loudness switch goes right behind it,
    // and without it the line stays as it always was.
    auto start = [&](std::string_view rest) {
        w.options(" -y -vn");
        if (s.replayGain)
            w.options(" -replaygain 1");
        w.options(rest);
    };
    // The user's bitrate, rate (unless the format fixes its own) and channels.
    auto choices = [&](bool withRate) {
        w.option("-ab", s.bitrate, "k");
        if (withRate)
            w.option("-ar", s.sampleRate);
        w.option("-ac", channels);
    };

    switch (format) {
    case OutputFormat::MP3:
        start("");
        choices(true);
        w.options(" -map_meta_data ");
        mapThenOutput();
        break;
    case OutputFormat::WMA:
        start(cut ? " -acodec wmav1  -map_meta_data " : " -acodec wmav1 -map_meta_data ");
        mapThenOutput();
        break;
    case OutputFormat::OGG:
        start(cut ? " -ac 2  -map_meta_data " : " -ac 2 -map_meta_data ");
        mapThenOutput();
        break;
    case OutputFormat::WAV:
        start(" -acodec pcm_s16le ");
        w.quoted(out);
        break;
    case OutputFormat::FLAC:
        if (cut) {
            start(" ");
            w.quoted(out);
        } else {
            start("  -map_meta_data ");
            mapThenOutput();
        }
        break;
    case OutputFormat::AC3:
    case OutputFormat::AAC:
        start(" ");
        w.quoted(out);
        break;
    case OutputFormat::AMR:
        start(" -ar 8000 -ab 7.4k -ac 1 ");
        w.quoted(out);
        break;
    case OutputFormat::OPUS:
        // Opus runs at 48 kHz only; the converter resamples by itself.
        start(" -acodec libopus");
        choices(false);
        w.options(" -map_meta_data ");
        mapThenOutput();
        break;
    case OutputFormat::M4A:
        start(" -acodec aac");
        choices(true);
        w.options(" -map_meta_data ");
        mapThenOutput();
        break;
    case OutputFormat::ALAC:
        // Lossless keeps the source's rate and channels.
        start(" -acodec alac -map_meta_data ");
        mapThenOutput();
        break;
    case OutputFormat::MPG:
        start("");
        choices(true);
        w.options(" ");
        w.quoted(out);
        break;
    }

    built.text = std::move(w.text_);
    built.arguments = std::move(w.args_);
    return built;
}
