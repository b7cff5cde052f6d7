#include "settings/number_text.h"
#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

using namespace settings;
namespace fs = std::filesystem;

TEST(NumberText, RoundingLeadingAndStrictNumbers) {
    EXPECT_EQ(RoundHalfEven(90.5), 90);
    EXPECT_EQ(RoundHalfEven(91.5), 92);
    EXPECT_EQ(RoundHalfEven(-1.5), -2);
    EXPECT_EQ(RoundToInt16(32767.5), std::nullopt);
    EXPECT_EQ(RoundToInt32(2147483647.0), 2147483647);

    EXPECT_EQ(LeadingNumber("abc"), 0);
    EXPECT_EQ(LeadingNumber("  -1:30"), -1);
    EXPECT_EQ(LeadingNumber("+.5e1x"), 5);
    EXPECT_EQ(LeadingNumber("1.2.3"), 1.2);
    EXPECT_EQ(LeadingNumber("2e"), 2); // an exponent without digits is not part of it
    EXPECT_TRUE(std::isinf(LeadingNumber("1e999")));
    EXPECT_EQ(LeadingNumber("1e-999"), 0);

    EXPECT_EQ(StrictNumber(" -1 "), -1);
    for (const char* bad : {"", " ", "abc", "7x", "1 2"})
        EXPECT_EQ(StrictNumber(bad), std::nullopt) << bad;
}

TEST(FieldReader, QuotedAndBareFields) {
    FieldReader r("\"C:\\Music, Old\\out\" , tail\r\n  42  ,x\r\n\r\n\"a\"junk\r\nlast\n");
    EXPECT_EQ(r.next(), "C:\\Music, Old\\out"); // the rest up to the comma is dropped
    EXPECT_EQ(r.next(), "tail");
    EXPECT_EQ(r.next(), "42");
    EXPECT_EQ(r.next(), "x");
    EXPECT_EQ(r.next(), "");
    EXPECT_EQ(r.next(), "a");
    EXPECT_EQ(r.next(), "last");
    EXPECT_EQ(r.next(), std::nullopt);
}

TEST(FieldReader, CutOffFieldsAreNotReturned) {
    FieldReader bare("0\r\n9");
    EXPECT_EQ(bare.next(), "0");
    EXPECT_EQ(bare.next(), std::nullopt); // "90" cut to "9" must not count

    FieldReader broken("\"abc\r\n\"5\"\r\n\"C:\\Aud");
    EXPECT_EQ(broken.next(), std::nullopt); // an unclosed quote spoils its own line only
    EXPECT_EQ(broken.next(), "5");
    EXPECT_EQ(broken.next(), std::nullopt);

    EXPECT_EQ(FieldReader("\"0\"").next(), "0"); // closed, though the line end is missing
}

TEST(OptionsText, WorkedExampleAndLeadingNumbers) {
    EXPECT_EQ(FormatOptionsText({0, 1, 90, 45}), "0\r\n1\r\n90\r\n45\r\n");
    EXPECT_EQ(FormatOptionsText({1, 0, -5, 360000}), "1\r\n0\r\n-5\r\n360000\r\n");

    OptionsRecords o{1, 0, 7, 7};
    ApplyOptionsUpdate(ParseOptionsText("abc\r\n1\r\n90.5\r\n91.5\r\n"), o);
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

    ApplyOptionsUpdate(OptionsUpdate{}, kept); // no file: sound on, cutter off
    EXPECT_EQ(kept.FinishSound, 0);
    EXPECT_EQ(kept.CutEnabled, 0);
    EXPECT_EQ(kept.CutStart, 30);
}

TEST(SetupText, StrictIndexesAndFoldersTheFileCannotHold) {
    const SetupUpdate u = ParseSetupText("\"12\"\r\n\"abc\"\r\n\"40000\"\r\n\"\"\r\n\"2.5\"\r\n");
    EXPECT_EQ(u.cmbBR, 12); // whether the list has it is checked on applying
    EXPECT_FALSE(u.cmbR);
    EXPECT_FALSE(u.cmbChannel);
    EXPECT_EQ(u.txtPath, "");
    EXPECT_EQ(u.cmbOF, 2);
    EXPECT_TRUE(IsListIndex(-1, 12));
    EXPECT_FALSE(IsListIndex(12, 12));

    SetupRecords quoted;
    quoted.txtPath = "/music/\"best\"";
    EXPECT_EQ(FormatSetupText(quoted), std::nullopt);
    quoted.txtPath = "/music\n/x";
    EXPECT_EQ(FormatSetupText(quoted), std::nullopt);
}

TEST(SafeFile, FailedReplaceKeepsWhatWasThere) {
    const fs::path dir = fs::temp_directory_path() / "pelkora-safe-file-test";
    fs::remove_all(dir);
    fs::create_directories(dir / "setup.ini");
    std::ofstream(dir / "plain") << "x";

    // A folder below a plain file cannot be written, even by root.
    const WriteResult below = SaveOptionsFile(dir / "plain" / "options.ini", {});
    EXPECT_FALSE(below);
    EXPECT_NE(below.error.find("options.ini"), std::string::npos);

    // A target that cannot be replaced stays, and no temporary file is left behind.
    EXPECT_FALSE(SaveSetupFile(dir / "setup.ini", SetupRecords{}));
    EXPECT_TRUE(fs::is_directory(dir / "setup.ini"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);

    // Replacing keeps the file's permissions.
    const fs::path p = dir / "options.ini";
    std::ofstream(p) << "1";
    fs::permissions(p, fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(SaveOptionsFile(p, {}));
    EXPECT_EQ(fs::status(p).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    fs::remove_all(dir);
}
