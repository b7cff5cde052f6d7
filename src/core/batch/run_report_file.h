#pragma once

#include "core/settings/safe_file.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The file --report writes: a row per source of the run, as CSV or JSON.
namespace headless {

// How a source ended. A new kind needs its name in ReportStatusName too (the switch there
// warns when one is missing).
enum class ReportStatus { Converted, ConvertedWithWarnings, Failed, UpToDate, Renamed, Pruned };

// "converted", "converted-with-warnings", "failed", "up-to-date", "renamed", "pruned".
[[nodiscard]] std::string_view ReportStatusName(ReportStatus status);

struct ReportRow {
    std::string source; // the file system's bytes
    std::string output; // empty when no output was planned
    ReportStatus status = ReportStatus::Converted;
    std::string reason; // the failure's reason or the warning lines, apart by '\n'
    double seconds = 0.0;
    std::optional<std::uintmax_t> inputBytes;
    std::optional<std::uintmax_t> outputBytes; // only of an output that was made
    // With ReplayGain: the output's integrated loudness (LUFS) and sample peak (1.0 = full
    // scale), as the converter measured them.
    std::optional<double> loudnessLufs;
    std::optional<double> peak;
};

enum class ReportFormat { Csv, Json };

// By the name's extension, in any case; nothing for any other.
[[nodiscard]] std::optional<ReportFormat> ReportFormatOf(std::string_view path);

// The whole file. Paths and reasons are UTF-8: bytes that are not, and control characters in
// a path, are shown as \xNN, as the converter's messages show them.
[[nodiscard]] std::string ReportText(const std::vector<ReportRow>& rows, ReportFormat format);

// Why no report can be written at the path ("no such folder", "it is a folder" ...), found
// by trying to create a file beside it; empty when one can.
[[nodiscard]] std::string ReportPathProblem(const std::string& path);

// Replaces the file in one step, never writing through a link at the path.
settings::WriteResult WriteReport(const std::string& path, const std::vector<ReportRow>& rows,
                                  ReportFormat format);

} // namespace headless
