#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

using namespace settings;
namespace fs = std::filesystem;

// A private folder per test: two trees testing at once must not share files.
class SafeFile : public testing::Test {
protected:
    void SetUp() override {
        std::string name = (fs::temp_directory_path() / "pelkora-safe-file.XXXXXX").string();
        ASSERT_NE(::mkdtemp(name.data()), nullptr);
        dir = name;
    }
    void TearDown() override { fs::remove_all(dir); }
    long entries() const {
        return std::distance(fs::directory_iterator(dir), fs::directory_iterator());
    }

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
    EXPECT_EQ(entries(), 2);
}

TEST_F(SafeFile, NewAndRewrittenFilesGetTheUsualMode) {
    const mode_t mask = ::umask(022);
    const auto rw = fs::perms::owner_read | fs::perms::owner_write;
    const auto usual = rw | fs::perms::group_read | fs::perms::others_read;
    const fs::path p = dir / "options.ini";
    ASSERT_TRUE(SaveOptionsFile(p, {}));
    EXPECT_EQ(fs::status(p).permissions() & fs::perms::all, usual);
    // A file nobody may read is not rewritten unreadable, nor a private one private.
    for (fs::perms old : {fs::perms::none, rw}) {
        fs::permissions(p, old);
        ASSERT_TRUE(SaveOptionsFile(p, {}));
        EXPECT_EQ(fs::status(p).permissions() & fs::perms::all, usual);
    }
    ::umask(077);
    ASSERT_TRUE(SaveOptionsFile(p, {}));
    EXPECT_EQ(fs::status(p).permissions() & fs::perms::all, rw);
    ::umask(mask);
    EXPECT_EQ(entries(), 1);
}
