#include "settings/number_text.h"
#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <optional>
#include <string>

using namespace settings;
namespace fs = std::filesystem;

namespace {

// A fresh folder per test, removed afterwards.
class TempFolder {
public:
    TempFolder() {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        path_ = fs::temp_directory_path() /
                (std::string("pelkora-settings-") + info->test_suite_name() + "-" + info->name());
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

std::string readBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeBytes(const fs::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary) << bytes;
}

std::size_t entriesIn(const fs::path& folder) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

} // namespace

TEST(NumberText, RoundsHalvesToEven) {
    EXPECT_EQ(RoundHalfEven(90.5), 90);
    EXPECT_EQ(RoundHalfEven(91.5), 92);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);
    EXPECT_EQ(RoundHalfEven(-1.5), -2);
    EXPECT_EQ(RoundHalfEven(2.4999), 2);
    EXPECT_EQ(RoundHalfEven(2.5001), 3);
}

TEST(NumberText, LeadingNumberTakesTheLongestNumericBeginning) {
    EXPECT_EQ(LeadingNumber("abc"), 0);
    EXPECT_EQ(LeadingNumber(""), 0);
    EXPECT_EQ(LeadingNumber("  90.5"), 90.5);
    EXPECT_EQ(LeadingNumber("1:30"), 1);
    EXPECT_EQ(LeadingNumber("-5"), -5);
    EXPECT_EQ(LeadingNumber("+7x"), 7);
    EXPECT_EQ(LeadingNumber(".5"), 0.5);
    EXPECT_EQ(LeadingNumber("1.2.3"), 1.2);
    EXPECT_EQ(LeadingNumber("1e3s"), 1000);
    EXPECT_EQ(LeadingNumber("2e"), 2); // an exponent without digits is not part of it
    EXPECT_EQ(LeadingNumber("-"), 0);
    EXPECT_TRUE(std::isinf(LeadingNumber("1e999")));
    EXPECT_EQ(LeadingNumber("1e-999"), 0);
}

TEST(NumberText, StrictNumberRejectsAnythingButANumber) {
    EXPECT_EQ(StrictNumber(" 12 "), 12);
    EXPECT_EQ(StrictNumber("-1"), -1);
    EXPECT_EQ(StrictNumber("7.5"), 7.5);
    EXPECT_EQ(StrictNumber("abc"), std::nullopt);
    EXPECT_EQ(StrictNumber(""), std::nullopt);
    EXPECT_EQ(StrictNumber("  "), std::nullopt);
    EXPECT_EQ(StrictNumber("7x"), std::nullopt);
    EXPECT_EQ(StrictNumber("1 2"), std::nullopt);
}

TEST(NumberText, RoundingChecksTheTargetWidth) {
    EXPECT_EQ(RoundToInt16(32767.4), 32767);
    EXPECT_EQ(RoundToInt16(32767.5), std::nullopt);
    EXPECT_EQ(RoundToInt16(-32768), -32768);
    EXPECT_EQ(RoundToInt32(2147483647.0), 2147483647);
    EXPECT_EQ(RoundToInt32(2147483648.0), std::nullopt);
    EXPECT_EQ(RoundToInt32(std::numeric_limits<double>::infinity()), std::nullopt);
}

TEST(FieldReader, ReadsQuotedAndBareFields) {
    FieldReader r("\"C:\\Music, Old\\out\" , tail\r\n  42  ,x\r\n\r\n\"a\"junk\r\nlast\n");
    EXPECT_EQ(r.next(), "C:\\Music, Old\\out"); // the rest up to the comma is dropped
    EXPECT_EQ(r.next(), "tail");
    EXPECT_EQ(r.next(), "42");
    EXPECT_EQ(r.next(), "x");
    EXPECT_EQ(r.next(), ""); // an empty line is an empty field
    EXPECT_EQ(r.next(), "a");
    EXPECT_EQ(r.next(), "last");
    EXPECT_EQ(r.next(), std::nullopt);
}

TEST(FieldReader, CutOffFieldsAreNotReturned) {
    FieldReader quoted("\"7\"\r\n\"C:\\Aud");
    EXPECT_EQ(quoted.next(), "7");
    EXPECT_EQ(quoted.next(), std::nullopt);

    FieldReader bare("0\r\n9");
    EXPECT_EQ(bare.next(), "0");
    EXPECT_EQ(bare.next(), std::nullopt); // "90" cut to "9" must not count

    // An unclosed quote spoils its own line only.
    FieldReader broken("\"abc\r\n\"5\"\r\n");
    EXPECT_EQ(broken.next(), std::nullopt);
    EXPECT_EQ(broken.next(), "5");

    // A closed quote is complete even without the final line end.
    FieldReader closed("\"0\"");
    EXPECT_EQ(closed.next(), "0");
}

TEST(SettingsText, WorkedExamplesByteForByte) {
    SetupRecords setup;
    setup.txtPath = "C:\\Audio Tools\\output";
    EXPECT_EQ(FormatSetupText(setup),
              "\"7\"\r\n\"1\"\r\n\"1\"\r\n\"C:\\Audio Tools\\output\"\r\n\"0\"\r\n");

    const OptionsRecords options{0, 1, 90, 45};
    EXPECT_EQ(FormatOptionsText(options), "0\r\n1\r\n90\r\n45\r\n");
    EXPECT_EQ(FormatOptionsText({1, 0, -5, 360000}), "1\r\n0\r\n-5\r\n360000\r\n");

    const SetupUpdate back = ParseSetupText(*FormatSetupText(setup));
    EXPECT_EQ(back.cmbBR, 7);
    EXPECT_EQ(back.cmbR, 1);
    EXPECT_EQ(back.cmbChannel, 1);
    EXPECT_EQ(back.txtPath, "C:\\Audio Tools\\output");
    EXPECT_EQ(back.cmbOF, 0);
}

TEST(SettingsText, NoSelectionAndCommasSurviveARoundTrip) {
    SetupRecords setup;
    setup.cmbBR = -1;
    setup.txtPath = "/home/a/Music, Old/out";
    const auto text = FormatSetupText(setup);
    ASSERT_TRUE(text);
    EXPECT_NE(text->find("\"-1\"\r\n"), std::string::npos);
    const SetupUpdate back = ParseSetupText(*text);
    EXPECT_EQ(back.cmbBR, -1);
    EXPECT_EQ(back.txtPath, "/home/a/Music, Old/out");
    EXPECT_EQ(back.cmbOF, 0); // the comma did not shift the later records
}

TEST(SettingsText, FolderTheFileCannotHoldIsRefused) {
    SetupRecords setup;
    setup.txtPath = "/music/\"best\"";
    EXPECT_EQ(FormatSetupText(setup), std::nullopt);
    setup.txtPath = "/music\n/x";
    EXPECT_EQ(FormatSetupText(setup), std::nullopt);
}

TEST(SettingsText, SetupRecordsThatCannotApplyStayEmpty) {
    const SetupUpdate u = ParseSetupText("\"12\"\r\n\"abc\"\r\n\"40000\"\r\n\"\"\r\n\"2.5\"\r\n");
    EXPECT_EQ(u.cmbBR, 12); // a 16-bit number; whether the list has it is checked on applying
    EXPECT_FALSE(u.cmbR);
    EXPECT_FALSE(u.cmbChannel); // outside 16 bits
    EXPECT_EQ(u.txtPath, "");
    EXPECT_EQ(u.cmbOF, 2); // half to even
    EXPECT_FALSE(IsListIndex(12, 12));
    EXPECT_TRUE(IsListIndex(11, 12));
    EXPECT_TRUE(IsListIndex(-1, 12));
    EXPECT_FALSE(IsListIndex(-2, 12));
}

TEST(SettingsText, OptionsReadLeadingNumbersAndKeepWhatCannotApply) {
    const OptionsUpdate u = ParseOptionsText("abc\r\n1\r\n90.5\r\n91.5\r\n");
    OptionsRecords o{1, 0, 7, 7};
    ApplyOptionsUpdate(u, o);
    EXPECT_EQ(o.FinishSound, 0);
    EXPECT_EQ(o.CutEnabled, 1);
    EXPECT_EQ(o.CutStart, 90);
    EXPECT_EQ(o.CutLength, 92);

    OptionsRecords kept{1, 1, 30, 40};
    ApplyOptionsUpdate(ParseOptionsText("0\r\n99999\r\n1e10\r\n4"), kept);
    EXPECT_EQ(kept.FinishSound, 0);
    EXPECT_EQ(kept.CutEnabled, 1); // beyond 16 bits
    EXPECT_EQ(kept.CutStart, 30);  // beyond 32 bits
    EXPECT_EQ(kept.CutLength, 40); // cut off without its line end

    OptionsRecords missing{1, 1, 30, 40};
    ApplyOptionsUpdate(OptionsUpdate{}, missing);
    EXPECT_EQ(missing.FinishSound, 0);
    EXPECT_EQ(missing.CutEnabled, 0);
    EXPECT_EQ(missing.CutStart, 30);
    EXPECT_EQ(missing.CutLength, 40);
}

TEST(SettingsText, VersionText) {
    EXPECT_EQ(VersionText(2, 0, 1), "Ver 2.0.1");
    EXPECT_EQ(VersionText(10, 20, 300), "Ver 10.20.300");
}

TEST(SettingsFiles, SaveAndLoadThroughTheDisk) {
    TempFolder dir;
    const fs::path setupPath = dir.path() / "setup.ini";
    SetupRecords setup;
    setup.cmbOF = 4;
    setup.txtPath = "/srv/Müsik, neu/out"; // UTF-8 bytes kept as they are
    ASSERT_TRUE(SaveSetupFile(setupPath, setup));
    const SetupUpdate back = LoadSetupFile(setupPath);
    EXPECT_TRUE(back.found);
    EXPECT_EQ(back.txtPath, setup.txtPath);
    EXPECT_EQ(back.cmbOF, 4);

    const fs::path optionsPath = dir.path() / "options.ini";
    ASSERT_TRUE(SaveOptionsFile(optionsPath, {0, 1, 90, 45}));
    EXPECT_EQ(readBytes(optionsPath), "0\r\n1\r\n90\r\n45\r\n");
    EXPECT_EQ(entriesIn(dir.path()), 2u); // no temporary file left behind

    EXPECT_FALSE(LoadSetupFile(dir.path() / "absent.ini").found);
    fs::create_directory(dir.path() / "dir.ini");
    EXPECT_FALSE(LoadOptionsFile(dir.path() / "dir.ini").found);
}

TEST(SettingsFiles, FailedWriteReportsAndKeepsTheOldFile) {
    TempFolder dir;
    // A folder below a plain file cannot be written, even by root.
    writeBytes(dir.path() / "plain", "x");
    const auto result = SaveOptionsFile(dir.path() / "plain" / "options.ini", {0, 0, 0, 0});
    EXPECT_FALSE(result);
    EXPECT_NE(result.error.find("options.ini"), std::string::npos);

    // A target that cannot be replaced keeps its contents and leaves no temporary file.
    fs::create_directory(dir.path() / "setup.ini");
    writeBytes(dir.path() / "setup.ini" / "inside", "keep");
    EXPECT_FALSE(SaveSetupFile(dir.path() / "setup.ini", SetupRecords{}));
    EXPECT_EQ(readBytes(dir.path() / "setup.ini" / "inside"), "keep");
    EXPECT_EQ(entriesIn(dir.path()), 2u);

    // A folder the file cannot hold leaves the previous file as it was.
    const fs::path good = dir.path() / "good.ini";
    writeBytes(good, "old");
    SetupRecords quoted;
    quoted.txtPath = "a\"b";
    const auto refused = SaveSetupFile(good, quoted);
    EXPECT_FALSE(refused);
    EXPECT_FALSE(refused.error.empty());
    EXPECT_EQ(readBytes(good), "old");
}

TEST(SettingsFiles, ReplacingKeepsThePermissions) {
    TempFolder dir;
    const fs::path p = dir.path() / "options.ini";
    writeBytes(p, "1\r\n");
    fs::permissions(p, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(SaveOptionsFile(p, {0, 0, 0, 0}));
    EXPECT_EQ(fs::status(p).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}
