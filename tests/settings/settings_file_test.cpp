#include "core/settings/settings_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <string>

#include <fcntl.h>
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

// Reads the file on another thread: a read that blocks (on a pipe nobody writes to) is seen
// as such and let go by writing to the pipe.
FileRead readWithin(const fs::path& path, std::size_t maxBytes, LongFile longFile) {
    auto reading =
        std::async(std::launch::async, [&] { return ReadSettingsFile(path, maxBytes, longFile); });
    if (reading.wait_for(std::chrono::seconds(60)) != std::future_status::ready) {
        ADD_FAILURE() << path << ": the read blocked";
        const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
        ::close(fd);
    }
    return reading.get();
}

TEST_F(SafeFile, OnlyOrdinaryFilesAreReadAndLongOnesAreCutOrRefused) {
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
    fs::create_directory(dir / "folder");
    std::ofstream(dir / "long") << std::string(100, 'x');
    fs::create_symlink(dir / "long", dir / "link");
    struct Case {
        const char* name;
        LongFile longFile;
        FileState state;
        std::size_t bytes;
    };
    for (const Case& c : {Case{"pipe", LongFile::Cut, FileState::NotOrdinary, 0},
                          Case{"folder", LongFile::Cut, FileState::NotOrdinary, 0},
                          Case{"missing", LongFile::Cut, FileState::Missing, 0},
                          Case{"long", LongFile::Cut, FileState::Read, 64},
                          Case{"long", LongFile::Refuse, FileState::TooLarge, 0},
                          Case{"link", LongFile::Cut, FileState::Read, 64}}) {
        const FileRead read = readWithin(dir / c.name, 64, c.longFile);
        EXPECT_EQ(read.state, c.state) << c.name;
        EXPECT_EQ(read.bytes, std::string(c.bytes, 'x')) << c.name;
        EXPECT_EQ(MustBeLeftAlone(read.state),
                  c.state == FileState::NotOrdinary || c.state == FileState::TooLarge)
            << c.name;
    }
    EXPECT_EQ(readWithin(dir / "long", 100, LongFile::Refuse).bytes.size(), 100u);
    EXPECT_EQ(WhyNotRead(readWithin(dir / "long", 99, LongFile::Refuse), 1 << 20),
              "larger than 1024 KiB");
}

// A missing file is the first run: sound on, cutter off. Numbers are read as far as they go
// (none is 0; halves round to even). Records beyond their size, outside what the dialog can
// choose (a sound other than on or off, a negative time), or cut off before their line end
// keep what was there.
TEST_F(SafeFile, OptionsRecordsOutsideTheDialogsChoicesKeepTheirValue) {
    struct Case {
        const char* text; // nullptr: no file
        OptionsRecords expected;
    };
    for (const Case& c :
         {Case{nullptr, {0, 0, 12, 34}}, Case{"1\r\n2\r\n30\r\n40\r\n", {1, 2, 30, 40}},
          Case{"2\r\n-1\r\n-5\r\n-1\r\n", {1, -1, 12, 34}},
          Case{"0\r\nabc\r\n90.5\r\n91.5\r\n", {0, 0, 90, 92}},
          Case{"0\r\n99999\r\n1e10\r\n4", {0, 1, 12, 34}},
          Case{"0\r\n1\r\n-2147483648\r\n2147483647\r\n", {0, 1, 12, 2147483647}}}) {
        if (c.text != nullptr)
            std::ofstream(dir / "options.ini", std::ios::binary) << c.text;
        OptionsRecords o{1, 1, 12, 34};
        ApplyOptionsUpdate(LoadOptionsFile(dir / (c.text ? "options.ini" : "missing.ini")), o);
        EXPECT_EQ(o, c.expected) << (c.text ? c.text : "no file");
    }
}
