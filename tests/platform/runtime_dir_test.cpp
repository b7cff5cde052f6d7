#include "core/system/runtime_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? "<unset>" : value;
}

// A private temporary folder of the test's own as TMPDIR; the environment is put back.
class RuntimeDir : public testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/runtime-dir-test-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        temp = pattern;
        own = temp + "/pelkora-" + std::to_string(::geteuid());
        ::setenv("TMPDIR", temp.c_str(), 1);
        ::unsetenv("XDG_RUNTIME_DIR");
    }
    void TearDown() override {
        for (const auto& [name, value] : saved)
            value == "<unset>" ? ::unsetenv(name) : ::setenv(name, value.c_str(), 1);
        std::filesystem::remove_all(temp);
    }
    std::string folder(const std::string& name, mode_t mode) const {
        const std::string path = temp + "/" + name;
        ::mkdir(path.c_str(), mode);
        ::chmod(path.c_str(), mode);
        return path;
    }

    const std::pair<const char*, std::string> saved[2] = {
        {"TMPDIR", Env("TMPDIR")}, {"XDG_RUNTIME_DIR", Env("XDG_RUNTIME_DIR")}};
    std::string temp, own;
};

} // namespace

TEST_F(RuntimeDir, APrivateRuntimeFolderOrElseAClosedOneOfTheUsersOwnInTheTemporaryFolder) {
    EXPECT_EQ(platform::ProvideRuntimeDir(), own);
    EXPECT_EQ(Env("XDG_RUNTIME_DIR"), own);
    struct stat st = {};
    ASSERT_EQ(::lstat(own.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0700u);

    const std::string open = folder("open", 0755);
    ::setenv("XDG_RUNTIME_DIR", open.c_str(), 1);
    EXPECT_EQ(platform::ProvideRuntimeDir(), "");
    EXPECT_EQ(Env("XDG_RUNTIME_DIR"), open);
    ::setenv("XDG_RUNTIME_DIR", "", 1);
    EXPECT_EQ(platform::ProvideRuntimeDir(), own);

    // The runtime folder serves only when private, else the own one does.
    const std::string run = folder("run", 0700);
    ::setenv("XDG_RUNTIME_DIR", run.c_str(), 1);
    EXPECT_EQ(platform::PrivateRuntimeFolder(), run);
    ::chmod(run.c_str(), 0711);
    EXPECT_EQ(platform::PrivateRuntimeFolder(), own);
    ::setenv("XDG_RUNTIME_DIR", "relative/run", 1);
    EXPECT_EQ(platform::PrivateRuntimeFolder(), own);
    ::setenv("TMPDIR", (temp + "//").c_str(), 1);
    EXPECT_EQ(platform::OwnPrivateFolder(), own) << "trailing slashes change nothing";
}

TEST_F(RuntimeDir, AnOwnFolderOthersCouldSwapOrEnterIsNotUsed) {
    ASSERT_EQ(::symlink(folder("elsewhere", 0700).c_str(), own.c_str()), 0);
    EXPECT_EQ(platform::OwnPrivateFolder(), "");
    EXPECT_EQ(platform::ProvideRuntimeDir(), "");
    EXPECT_EQ(Env("XDG_RUNTIME_DIR"), "<unset>");
    ::unlink(own.c_str());

    folder(own.substr(temp.size() + 1), 0770);
    EXPECT_EQ(platform::OwnPrivateFolder(), "");
    ::rmdir(own.c_str());
    std::ofstream(own).put('x');
    EXPECT_EQ(platform::OwnPrivateFolder(), "") << "a file where the folder should be";
}
