#include "platform/run_end_text.h"
#include "platform/runtime_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

mode_t modeOf(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

std::string env(const char* name) {
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
        saveEnv("TMPDIR");
        saveEnv("XDG_RUNTIME_DIR");
        ::setenv("TMPDIR", temp.c_str(), 1);
        ::unsetenv("XDG_RUNTIME_DIR");
        own = temp + "/pelkora-" + std::to_string(::geteuid());
    }
    void TearDown() override {
        for (const auto& [name, value] : saved)
            value == "<unset>" ? ::unsetenv(name.c_str())
                               : ::setenv(name.c_str(), value.c_str(), 1);
        fs::permissions(temp, fs::perms::owner_all);
        fs::remove_all(temp);
    }
    void saveEnv(const char* name) { saved.emplace_back(name, env(name)); }
    std::string makeFolder(const std::string& name, mode_t mode) const {
        const std::string path = temp + "/" + name;
        ::mkdir(path.c_str(), mode);
        ::chmod(path.c_str(), mode);
        return path;
    }

    std::string temp;
    std::string own;
    std::vector<std::pair<std::string, std::string>> saved;
};

} // namespace

TEST_F(RuntimeDir, UnsetIsProvidedWithAPrivateFolderAndASetOneIsLeftAlone) {
    EXPECT_EQ(platform::ProvideRuntimeDir(), own);
    EXPECT_EQ(env("XDG_RUNTIME_DIR"), own);
    EXPECT_EQ(modeOf(own), 0700u);
    EXPECT_TRUE(platform::IsPrivateFolder(own));

    // Set, even to an empty-looking or unsuitable value, it is the environment's choice.
    const std::string open = makeFolder("open", 0755);
    ::setenv("XDG_RUNTIME_DIR", open.c_str(), 1);
    EXPECT_EQ(platform::ProvideRuntimeDir(), "");
    EXPECT_EQ(env("XDG_RUNTIME_DIR"), open);
    // Empty counts as unset.
    ::setenv("XDG_RUNTIME_DIR", "", 1);
    EXPECT_EQ(platform::ProvideRuntimeDir(), own);
    EXPECT_EQ(env("XDG_RUNTIME_DIR"), own);
}

TEST_F(RuntimeDir, FoldersOthersCouldSwapOrEnterAreNotUsed) {
    const std::string elsewhere = makeFolder("elsewhere", 0700);
    ASSERT_EQ(::symlink(elsewhere.c_str(), own.c_str()), 0);
    EXPECT_FALSE(platform::IsPrivateFolder(own));
    EXPECT_EQ(platform::OwnPrivateFolder(), "");
    EXPECT_EQ(platform::ProvideRuntimeDir(), "");
    EXPECT_EQ(env("XDG_RUNTIME_DIR"), "<unset>");
    ::unlink(own.c_str());

    makeFolder(own.substr(temp.size() + 1), 0770);
    EXPECT_EQ(platform::OwnPrivateFolder(), "");
    ::chmod(own.c_str(), 0700);
    EXPECT_EQ(platform::OwnPrivateFolder(), own);

    // A file where the folder should be, and a temporary folder that is a file.
    ::rmdir(own.c_str());
    std::ofstream(own).put('x');
    EXPECT_EQ(platform::OwnPrivateFolder(), "");
    ::setenv("TMPDIR", (own + "/below").c_str(), 1);
    EXPECT_EQ(platform::OwnPrivateFolder(), "");
}

TEST_F(RuntimeDir, TheRuntimeFolderServesOnlyWhenPrivate) {
    const std::string run = makeFolder("run", 0700);
    ::setenv("XDG_RUNTIME_DIR", run.c_str(), 1);
    EXPECT_EQ(platform::PrivateRuntimeFolder(), run);
    ::chmod(run.c_str(), 0711);
    EXPECT_EQ(platform::PrivateRuntimeFolder(), own);
    ::setenv("XDG_RUNTIME_DIR", "relative/run", 1);
    EXPECT_EQ(platform::PrivateRuntimeFolder(), own);
    // Trailing slashes of TMPDIR do not change the folder.
    ::setenv("TMPDIR", (temp + "//").c_str(), 1);
    EXPECT_EQ(platform::OwnPrivateFolder(), own);
}

TEST(RunEndText, CountsWithTheirNouns) {
    EXPECT_EQ(platform::RunEndText(1, 0), "1 file converted");
    EXPECT_EQ(platform::RunEndText(12, 0), "12 files converted");
    EXPECT_EQ(platform::RunEndText(11, 1), "11 files converted, 1 failed");
    EXPECT_EQ(platform::RunEndText(0, 2), "0 files converted, 2 failed");
}
