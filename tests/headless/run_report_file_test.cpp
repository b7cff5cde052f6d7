#include "core/batch/run_report_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace {

using headless::ReportFormat;
using headless::ReportRow;
using headless::ReportStatus;
using headless::ReportText;

constexpr std::string_view kHeader =
    "source,output,status,reason,seconds,input_bytes,output_bytes,loudness_lufs,peak\r\n";

// The one row's text: the CSV line after the header, the JSON object inside the array.
std::string CsvRow(const ReportRow& row) {
    const std::string text = ReportText({row}, ReportFormat::Csv);
    EXPECT_EQ(text.substr(0, kHeader.size()), kHeader);
    return text.substr(kHeader.size());
}

std::string JsonRow(const ReportRow& row) {
    const std::string text = ReportText({row}, ReportFormat::Json);
    EXPECT_EQ(text.substr(0, 4), "[\n  ");
    EXPECT_EQ(text.substr(text.size() - 3), "\n]\n");
    return text.substr(4, text.size() - 7);
}

TEST(RunReportFile, FieldsAreQuotedAndEscapedAndNamesThatAreNotUtf8ShownAsInMessages) {
    const struct {
        const char* what;
        ReportRow row;
        std::string csv;
        std::string json; // the fields after "source", "output" and "status"
    } cases[] = {
        {"plain",
         {"/in/a.wav", "/out/a.mp3", ReportStatus::Converted, "", 1.5, 1000, 200, -20.034, 0.5},
         "/in/a.wav,/out/a.mp3,converted,,1.500,1000,200,-20.03,0.500000\r\n",
         R"({"source": "/in/a.wav", "output": "/out/a.mp3", "status": "converted", )"
         R"("reason": "", "seconds": 1.500, "input_bytes": 1000, "output_bytes": 200, )"
         R"("loudness_lufs": -20.03, "peak": 0.500000})"},
        {"comma and quote",
         {"/in/a, \"b\".wav",
          "/out/x.mp3",
          ReportStatus::Failed,
          "bad, \"very\"",
          0.0004,
          5,
          {},
          {},
          {}},
         "\"/in/a, \"\"b\"\".wav\",/out/x.mp3,failed,\"bad, \"\"very\"\"\",0.000,5,,,\r\n",
         R"({"source": "/in/a, \"b\".wav", "output": "/out/x.mp3", "status": "failed", )"
         R"("reason": "bad, \"very\"", "seconds": 0.000, "input_bytes": 5, "output_bytes": null, )"
         R"("loudness_lufs": null, "peak": null})"},
        {"warning lines",
         {"/in/s.wav",
          "/out/s.ogg",
          ReportStatus::ConvertedWithWarnings,
          "one\ntwo\r",
          12.3456,
          {},
          7,
          {},
          {}},
         "/in/s.wav,/out/s.ogg,converted-with-warnings,\"one\ntwo\\x0D\",12.346,,7,,\r\n",
         R"({"source": "/in/s.wav", "output": "/out/s.ogg", "status": "converted-with-warnings", )"
         R"("reason": "one\u000Atwo\\x0D", "seconds": 12.346, "input_bytes": null, )"
         R"("output_bytes": 7, "loudness_lufs": null, "peak": null})"},
        {"bytes that are not UTF-8, control characters, a backslash",
         {"/in/caf\xe9\n.wav", "/out/\x1b[2J\\b.mp3", ReportStatus::Converted, "", 2, 3, 4, {}, {}},
         "/in/caf\\xE9\\x0A.wav,/out/\\x1B[2J\\b.mp3,converted,,2.000,3,4,,\r\n",
         R"({"source": "/in/caf\\xE9\\x0A.wav", "output": "/out/\\x1B[2J\\b.mp3", )"
         R"("status": "converted", "reason": "", "seconds": 2.000, "input_bytes": 3, )"
         R"("output_bytes": 4, "loudness_lufs": null, "peak": null})"},
        {"UTF-8 names as they are, no output planned",
         {"/in/\xc3\xa9t\xc3\xa9.wav",
          "",
          ReportStatus::Failed,
          "no output format is chosen",
          0,
          9,
          {},
          {},
          {}},
         "/in/\xc3\xa9t\xc3\xa9.wav,,failed,no output format is chosen,0.000,9,,,\r\n",
         "{\"source\": \"/in/\xc3\xa9t\xc3\xa9.wav\", \"output\": \"\", \"status\": \"failed\", "
         "\"reason\": \"no output format is chosen\", \"seconds\": 0.000, \"input_bytes\": 9, "
         "\"output_bytes\": null, \"loudness_lufs\": null, \"peak\": null}"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(CsvRow(c.row), c.csv);
        EXPECT_EQ(JsonRow(c.row), c.json);
    }
}

TEST(RunReportFile, RowsFollowEachOtherAndAnEmptyRunHasTheFrameOnly) {
    const std::vector<ReportRow> rows = {
        {"a", "b", ReportStatus::Converted, "", 1, 1, 1, {}, {}},
        {"c", "d", ReportStatus::Failed, "x", 2, 2, {}, {}, {}},
    };
    EXPECT_EQ(ReportText(rows, ReportFormat::Csv),
              std::string(kHeader) + "a,b,converted,,1.000,1,1,,\r\nc,d,failed,x,2.000,2,,,\r\n");
    EXPECT_EQ(ReportText(rows, ReportFormat::Json),
              "[\n"
              R"(  {"source": "a", "output": "b", "status": "converted", "reason": "", )"
              R"("seconds": 1.000, "input_bytes": 1, "output_bytes": 1, "loudness_lufs": null, )"
              R"("peak": null},)"
              "\n"
              R"(  {"source": "c", "output": "d", "status": "failed", "reason": "x", )"
              R"("seconds": 2.000, "input_bytes": 2, "output_bytes": null, "loudness_lufs": null, )"
              R"("peak": null})"
              "\n]\n");
    EXPECT_EQ(ReportText({}, ReportFormat::Csv), kHeader);
    EXPECT_EQ(ReportText({}, ReportFormat::Json), "[]\n");
}

TEST(RunReportFile, TheFormatIsTheExtensionsInAnyCase) {
    const struct {
        const char* path;
        std::optional<ReportFormat> format;
    } cases[] = {
        {"run.csv", ReportFormat::Csv}, {"/a.b/Run.CSV", ReportFormat::Csv},
        {"x.JsOn", ReportFormat::Json}, {"dir/run.json", ReportFormat::Json},
        {"run.csv.txt", std::nullopt},  {"run", std::nullopt},
        {"run.json/", std::nullopt},    {"csv", std::nullopt},
        {"run.jsonl", std::nullopt},    {"", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(headless::ReportFormatOf(c.path), c.format) << c.path;
}

TEST(RunReportFile, APathThatCannotTakeTheReportIsToldBeforeAndLeftAsItWas) {
    namespace fs = std::filesystem;
    const fs::path root =
        fs::temp_directory_path() / ("run_report_file_test." + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "taken.csv");
    std::ofstream(root / "file") << "x";
    const struct {
        fs::path path;
        std::string problem;
    } cases[] = {
        {root / "run.csv", ""},
        {root / "taken.csv", "it is a folder"},
        {root / "missing" / "run.csv", "no such folder"},
        {root / "file" / "run.csv", "no such folder"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(headless::ReportPathProblem(c.path.string()), c.problem) << c.path;
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(root))
        left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"file", "taken.csv"})) << "the trial file is gone";

    // A link in the report's place is replaced, never written through.
    fs::create_symlink(root / "file", root / "link.csv");
    ASSERT_TRUE(headless::WriteReport((root / "link.csv").string(), {}, ReportFormat::Json));
    EXPECT_FALSE(fs::is_symlink(root / "link.csv"));
    std::ifstream file(root / "file");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), "x");
    fs::remove_all(root);
}

} // namespace
