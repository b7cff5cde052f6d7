// Leftover temporary files of the converter are removed; nothing a running converter writes,
// no link and no other name is touched.
#include "engine/orphan_parts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const std::string kConv = PELKORA_PROGRAM_DIR "/data/conv";

class Folder {
public:
    Folder() {
        std::string pattern = (fs::temp_directory_path() / "orphans-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        path_ = pattern;
    }
    ~Folder() { fs::remove_all(path_); }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;
    [[nodiscard]] std::string file(const std::string& name) const { return path_ / name; }
    [[nodiscard]] const fs::path& path() const { return path_; }
    [[nodiscard]] std::vector<std::string> parts() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(path_))
            if (entry.path().extension() == ".part")
                names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    fs::path path_;
};

// A minute of 44.1 kHz stereo tone: about a second of work for the converter.
void WriteLongWav(const std::string& path) {
    constexpr std::uint32_t kRate = 44100, kFrames = 60 * kRate, kBytes = kFrames * 4;
    std::ofstream out(path, std::ios::binary);
    const auto put = [&](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out.put(static_cast<char>(value >> (8 * i)));
    };
    out << "RIFF";
    put(36 + kBytes, 4);
    out << "WAVEfmt ";
    put(16, 4);
    put(1, 2);
    put(2, 2);
    put(kRate, 4);
    put(kRate * 4, 4);
    put(4, 2);
    put(16, 2);
    out << "data";
    put(kBytes, 4);
    for (std::uint32_t i = 0; i < kFrames; ++i) {
        const auto sample = static_cast<std::int16_t>(8000 * std::sin(i * 0.0627));
        put(static_cast<std::uint16_t>(sample), 2);
        put(static_cast<std::uint16_t>(sample), 2);
    }
}

// Whether the folder has a temporary file whose lock someone holds.
bool HeldPartIn(const Folder& folder) {
    for (const std::string& name : folder.parts()) {
        const int fd = open(folder.file(name).c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0)
            continue;
        const bool held = flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
        close(fd); // also lets go of a lock taken here
        if (held)
            return true;
    }
    return false;
}

// A converter stopped while it writes its temporary file.
class FrozenConverter {
public:
    FrozenConverter(const std::string& input, const Folder& folder) {
        std::vector<std::string> args = {kConv, "-i", input, "-y", folder.file("out.mp3")};
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        if (posix_spawn(&pid_, kConv.c_str(), &actions, nullptr, argv.data(), environ) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        // The file appears a moment before the converter holds its lock; wait for both.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (pid_ > 0 && !HeldPartIn(folder) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        int status = 0;
        if (pid_ > 0 && kill(pid_, SIGSTOP) == 0)
            waitpid(pid_, &status, WUNTRACED);
    }
    ~FrozenConverter() { kill9(); }
    FrozenConverter(const FrozenConverter&) = delete;
    FrozenConverter& operator=(const FrozenConverter&) = delete;
    // The one way a converter cannot clean up after itself.
    void kill9() {
        if (pid_ <= 0)
            return;
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
};

} // namespace

TEST(OrphanParts, TheTemporaryNameForm) {
    for (const char* name :
         {".song.mp3.conv-Ab12Cd.part", ".x.conv-000000.part", ".a.conv-b.conv-zzzzzz.part"})
        EXPECT_TRUE(orphan_parts::IsTemporaryName(name)) << name;
    for (const char* name :
         {"song.mp3.conv-Ab12Cd.part", ".conv-Ab12Cd.part", ".song.conv-Ab12C.part",
          ".song.conv-Ab12Cde.part", ".song.conv-Ab 2Cd.part", ".song.conv-Ab12Cd.partx",
          ".song.conv-Ab12Cd"})
        EXPECT_FALSE(orphan_parts::IsTemporaryName(name)) << name;
}

TEST(OrphanParts, OnlyLeftoversOfKilledConvertersGo) {
    Folder folder;
    const std::string input = folder.file("long.wav");
    WriteLongWav(input);
    FrozenConverter running(input, folder);
    const std::vector<std::string> held = folder.parts();
    ASSERT_EQ(held.size(), 1u) << "no temporary file, or finished too soon";

    // Look-alikes that are not leftovers: a link, other names, a folder, a pipe.
    std::ofstream(folder.file("victim")) << "precious";
    ASSERT_EQ(symlink(folder.file("victim").c_str(), folder.file(".l.conv-aaaaaa.part").c_str()),
              0);
    std::ofstream(folder.file("n.conv-aaaaaa.part")) << "not ours";
    std::ofstream(folder.file(".n.conv-aaaaa.part")) << "not ours";
    fs::create_directory(folder.file(".d.conv-aaaaaa.part"));
    ASSERT_EQ(mkfifo(folder.file(".p.conv-aaaaaa.part").c_str(), 0600), 0);
    const std::vector<std::string> before = folder.parts();

    EXPECT_EQ(orphan_parts::RemoveOrphanedParts(folder.path()), 0);
    EXPECT_EQ(folder.parts(), before);

    running.kill9();
    EXPECT_EQ(orphan_parts::RemoveOrphanedParts(folder.path()), 1);
    std::vector<std::string> left = before;
    std::erase(left, held[0]);
    EXPECT_EQ(folder.parts(), left);
    std::ifstream victim(folder.file("victim"));
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(victim), {}), "precious");
}
