#include "settings/cut_range.h"
#include "settings/number_text.h"
#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

using namespace settings;
namespace fs = std::filesystem;

TEST(NumberText, RoundingLeadingAndStrictNumbers) {
    EXPECT_EQ(RoundHalfEven(-1.5), -2);
    EXPECT_EQ(RoundToInt16(32767.5), std::nullopt);
    EXPECT_EQ(RoundToInt32(2147483647.0), 2147483647);

    // An exponent without digits is not part of the number.
    const std::pair<const char*, double> leading[] = {
        {"abc", 0}, {"  -1:30", -1}, {"+.5e1x", 5}, {"1.2.3", 1.2}, {"2e", 2}, {"1e-999", 0}};
    for (const auto& [text, value] : leading)
        EXPECT_EQ(LeadingNumber(text), value) << text;
    EXPECT_TRUE(std::isinf(LeadingNumber("1e999")));

    EXPECT_EQ(StrictNumber(" -1 "), -1);
    for (const char* bad : {"", " ", "abc", "7x", "1 2"})
        EXPECT_EQ(StrictNumber(bad), std::nullopt) << bad;
}

TEST(FieldReader, QuotedBareAndCutOffFields) {
    FieldReader r("\"C:\\Music, Old\\out\" , tail\r\n  42  ,x\r\n\r\n\"a\"junk\r\nlast\n");
    // After a closing quote the rest up to the comma is dropped.
    for (const char* field : {"C:\\Music, Old\\out", "tail", "42", "x", "", "a", "last"})
        EXPECT_EQ(r.next(), field);
    EXPECT_EQ(r.next(), std::nullopt);

    FieldReader broken("\"abc\r\n\"5\"\r\n\"C:\\Aud");
    EXPECT_EQ(broken.next(), std::nullopt); // an unclosed quote spoils its own line only
    EXPECT_EQ(broken.next(), "5");
    EXPECT_EQ(broken.next(), std::nullopt);
    EXPECT_EQ(FieldReader("\"0\"").next(), "0"); // closed, though the line end is missing
}

// A private folder per test: two trees testing at once must not share files.
class SafeFile : public testing::Test {
protected:
    void SetUp() override {
        std::string name = (fs::temp_directory_path() / "pelkora-safe-file.XXXXXX").string();
        ASSERT_NE(::mkdtemp(name.data()), nullptr);
        dir = name;
    }
    void TearDown() override { fs::remove_all(dir); }

    fs::path dir;
};

TEST_F(SafeFile, FailedReplaceKeepsWhatWasThere) {
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
}

TEST_F(SafeFile, NewAndRewrittenFilesGetTheUsualMode) {
    const mode_t mask = ::umask(022);
    const fs::perms usual = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                            fs::perms::others_read;
    const fs::path p = dir / "options.ini";
    ASSERT_TRUE(SaveOptionsFile(p, {}));
    EXPECT_EQ(fs::status(p).permissions() & fs::perms::all, usual);
    // A file nobody may read is not rewritten unreadable, nor a private one private.
    for (fs::perms old : {fs::perms::none, fs::perms::owner_read | fs::perms::owner_write}) {
        fs::permissions(p, old);
        ASSERT_TRUE(SaveOptionsFile(p, {}));
        EXPECT_EQ(fs::status(p).permissions() & fs::perms::all, usual);
    }
    ::umask(077);
    ASSERT_TRUE(SaveOptionsFile(p, {}));
    EXPECT_EQ(fs::status(p).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    ::umask(mask);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

// The dialog's messages, focus and the usual limits are tested on the dialog itself.
TEST(CutEntries, LeadingNumbersHalfToEvenAndAllZero) {
    const auto cut = CheckCutEntries({"0", "0", "1.5", "0", "1:30", "0.5"});
    EXPECT_EQ(cut.start, 2);
    EXPECT_EQ(cut.length, 60); // "1:30" counts as 1; half a second rounds to even
    EXPECT_EQ(CheckCutEntries({"0", "0", "0", "0", "0", "-5"}).length, -5);
    EXPECT_TRUE(CheckCutEntries({"abc", "", " 0", "-0", "0.0", "x"}).allZero);
    EXPECT_FALSE(CheckCutEntries({"0", "0", "0", "0", "0", "0.4"}).allZero);
}

TEST(CutEntries, TimesBeyond32BitsAreRefusedNotWrapped) {
    const auto start = CheckCutEntries({"600000", "0", "0", "0", "0", "0"});
    ASSERT_TRUE(start.problem);
    EXPECT_EQ(start.problem->focus, CutBox::FromH);
    const auto length = CheckCutEntries({"0", "0", "0", "-1e300", "0", "0"});
    ASSERT_TRUE(length.problem);
    EXPECT_EQ(length.problem->focus, CutBox::ToH);
    EXPECT_FALSE(CheckCutEntries({"596522", "59", "59", "0", "0", "0"}).problem);
}

TEST(CutBoxes, NegativeTimesSplitDownAndAddUpAgain) {
    const CutBoxTexts n = CutBoxTextsFor(-5, std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(n.fromH + "," + n.fromM + "," + n.fromS, "-1,59,55");
    const auto back = CheckCutEntries(n);
    EXPECT_EQ(back.start, -5);
    EXPECT_EQ(back.length, std::numeric_limits<std::int32_t>::min());
}

TEST(VersionLabel, PlainDecimalParts) {
    EXPECT_EQ(VersionText(2, 0, 1), "Ver 2.0.1");
}
