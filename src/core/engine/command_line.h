#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The output formats, in the order of the output-format list.
enum class OutputFormat : std::int16_t {
    MP3 = 0,
    WMA,
    OGG,
    WAV,
    FLAC,
    AC3,
    AAC,
    AMR,
    MPG,
    OPUS,
    M4A,
    ALAC
};

inline constexpr int kOutputFormatCount = 12;

// The user's choices, copied afresh before each file.
struct ConversionSettings {
    std::int16_t formatIndex = 0;
    std::string bitrate = "128";      // kbit/s without unit
    std::string sampleRate = "44100"; // Hz without unit
    std::int16_t channelIndex = 1;    // 0 = Mono, 1 = Stereo
    std::string outputFolder;
    bool cutEnabled = false;
    std::int32_t cutStart = 0;  // whole seconds
    std::int32_t cutLength = 0; // whole seconds, counted from cutStart
    bool replayGain = false;    // the converter measures loudness and writes the tags
};

// How paths are joined and where the converter lies below the program folder.
struct PathStyle {
    char separator;
    std::string converter; // relative to the program folder

    [[nodiscard]] static PathStyle windows() { return {'\\', "data\\conv.exe"}; }
    [[nodiscard]] static PathStyle native() { return {'/', "data/conv"}; }
};

struct BuiltCommand {
    std::string text; // what is shown and stored
    std::string outputPath;
    std::string program;                // the converter's full path
    std::vector<std::string> arguments; // what is executed, without the program itself
};

// Extension of a format index ("" outside the list).
[[nodiscard]] std::string_view FormatExtension(int formatIndex);

// Command line and output path for one input; nothing for an index outside the list.
[[nodiscard]] std::optional<BuiltCommand>
BuildCommandLine(const std::string& inputPath, const ConversionSettings& settings,
                 const std::string& programFolder, const PathStyle& style = PathStyle::native());

// The same with the output path given: a run that keeps outputs apart names them itself.
[[nodiscard]] std::optional<BuiltCommand>
BuildCommandLineTo(const std::string& inputPath, const std::string& outputPath,
                   const ConversionSettings& settings, const std::string& programFolder,
                   const PathStyle& style = PathStyle::native());

// The output folder, the input's base name and the format's extension.
[[nodiscard]] std::string DefaultOutputPath(const std::string& inputPath,
                                            const ConversionSettings& settings,
                                            const PathStyle& style = PathStyle::native());

// The part of a path after its last separator.
[[nodiscard]] std::string GetFileName(std::string_view path, char separator = '/');
// The file name of a path up to its first dot.
[[nodiscard]] std::string GetBaseName(std::string_view path, char separator = '/');
