#include "core/batch/run_report_file.h"

#include "core/text/translate.h"

#include "conv_protocol/line_escape.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

namespace headless {
namespace {

// Each line of a reason on its own, so that the line ends stay line ends.
std::string shownReason(std::string_view text) {
    std::string out;
    while (true) {
        const std::size_t end = text.find('\n');
        out += conv_protocol::EscapeForLine(text.substr(0, end));
        if (end == std::string_view::npos)
            return out;
        out += '\n';
        text.remove_prefix(end + 1);
    }
}

// Never by printf: the program runs under the user's locale, which may write "1,5".
std::string secondsText(double seconds) {
    std::array<char, 64> buffer{};
    const auto [end, error] =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), seconds < 0 ? 0.0 : seconds,
                      std::chars_format::fixed, 3);
    return error == std::errc() ? std::string(buffer.data(), end) : std::string("0.000");
}

std::string decimalText(const std::optional<double>& value, int digits, std::string_view none) {
    if (!value)
        return std::string(none);
    std::array<char, 64> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), *value,
                                            std::chars_format::fixed, digits);
    return error == std::errc() ? std::string(buffer.data(), end) : std::string(none);
}

std::string bytesText(const std::optional<std::uintmax_t>& bytes, std::string_view none) {
    return bytes ? std::to_string(*bytes) : std::string(none);
}

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + "\"";
}

std::string jsonString(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04X", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

struct Fields {
    std::string source, output, status, reason, seconds;
};

Fields fieldsOf(const ReportRow& row) {
    return {conv_protocol::EscapeForLine(row.source), conv_protocol::EscapeForLine(row.output),
            std::string(ReportStatusName(row.status)), shownReason(row.reason),
            secondsText(row.seconds)};
}

std::string csvText(const std::vector<ReportRow>& rows) {
    // RFC 4180: CRLF after every record, the header included.
    std::string out =
        "source,output,status,reason,seconds,input_bytes,output_bytes,loudness_lufs,peak\r\n";
    for (const ReportRow& row : rows) {
        const Fields f = fieldsOf(row);
        out += csvField(f.source) + ',' + csvField(f.output) + ',' + f.status + ',' +
               csvField(f.reason) + ',' + f.seconds + ',' + bytesText(row.inputBytes, "") + ',' +
               bytesText(row.outputBytes, "") + ',' + decimalText(row.loudnessLufs, 2, "") + ',' +
               decimalText(row.peak, 6, "") + "\r\n";
    }
    return out;
}

std::string jsonText(const std::vector<ReportRow>& rows) {
    std::string out = "[";
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Fields f = fieldsOf(rows[i]);
        out += i == 0 ? "\n" : ",\n";
        out += "  {\"source\": " + jsonString(f.source) + ", \"output\": " + jsonString(f.output) +
               ", \"status\": " + jsonString(f.status) + ", \"reason\": " + jsonString(f.reason) +
               ", \"seconds\": " + f.seconds +
               ", \"input_bytes\": " + bytesText(rows[i].inputBytes, "null") +
               ", \"output_bytes\": " + bytesText(rows[i].outputBytes, "null") +
               ", \"loudness_lufs\": " + decimalText(rows[i].loudnessLufs, 2, "null") +
               ", \"peak\": " + decimalText(rows[i].peak, 6, "null") + "}";
    }
    return out + (rows.empty() ? "]\n" : "\n]\n");
}

std::string lowered(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

} // namespace

std::string_view ReportStatusName(ReportStatus status) {
    switch (status) {
    case ReportStatus::Converted:
        return "converted";
    case ReportStatus::ConvertedWithWarnings:
        return "converted-with-warnings";
    case ReportStatus::Failed:
        return "failed";
    case ReportStatus::UpToDate:
        return "up-to-date";
    case ReportStatus::Renamed:
        return "renamed";
    case ReportStatus::Pruned:
        return "pruned";
    }
    return "failed";
}

std::optional<ReportFormat> ReportFormatOf(std::string_view path) {
    const std::string extension =
        lowered(std::filesystem::path(path).filename().extension().string());
    if (extension == ".csv")
        return ReportFormat::Csv;
    if (extension == ".json")
        return ReportFormat::Json;
    return std::nullopt;
}

std::string ReportText(const std::vector<ReportRow>& rows, ReportFormat format) {
    return format == ReportFormat::Csv ? csvText(rows) : jsonText(rows);
}

std::string ReportPathProblem(const std::string& path) {
    struct stat st = {};
    if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        return PK_TR("ReportFile", "it is a folder");
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (folder.empty())
        folder = ".";
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return PK_TR("ReportFile", "no such folder");
    // Only a file actually made tells: permissions, read-only mounts and ACLs all have a say.
    std::string probe = (folder / (std::filesystem::path(path).filename().string() + ".XXXXXX"));
    const int fd = ::mkstemp(probe.data());
    if (fd < 0)
        return translation::Fill(PK_TR("ReportFile", "its folder is not writable (%1)"),
                                 {std::strerror(errno)});
    ::close(fd);
    ::unlink(probe.c_str());
    return {};
}

settings::WriteResult WriteReport(const std::string& path, const std::vector<ReportRow>& rows,
                                  ReportFormat format) {
    return settings::ReplaceFileContents(path, ReportText(rows, format));
}

} // namespace headless
