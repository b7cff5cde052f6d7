// Leftovers of killed converters go; what a running one writes, links and other names stay.
#include "core/engine/orphan_parts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct Folder {
    Folder() {
        std::string pattern = (fs::temp_directory_path() / "orphans-XXXXXX").string();
        EXPECT_NE(mkdtemp(pattern.data()), nullptr);
        path = pattern;
    }
    ~Folder() { fs::remove_all(path); }
    std::string file(const std::string& name) const { return path / name; }
    std::vector<std::string> parts() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(path))
            if (entry.path().extension() == ".part")
                names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }
    fs::path path;
};

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

TEST(OrphanParts, OnlyLeftoversOfKilledConvertersGo) {
    Folder folder;
    // Two minutes of silence: the converter is caught while it writes.
    const std::string make =
        "ffmpeg -v error -f lavfi -i anullsrc -t 120 " + folder.file("long.wav");
    ASSERT_EQ(std::system(make.c_str()), 0);

    const pid_t pid = fork();
    if (pid == 0) {
        const std::string in = folder.file("long.wav"), out = folder.file("out.mp3");
        ::dup2(::open("/dev/null", O_WRONLY), STDERR_FILENO);
        ::execl(PELKORA_PROGRAM_DIR "/data/conv", "conv", "-i", in.c_str(), "-y", out.c_str(),
                nullptr);
        _exit(127);
    }
    ASSERT_GT(pid, 0);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!HeldPartIn(folder) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    kill(pid, SIGSTOP);
    const std::vector<std::string> held = folder.parts();
    EXPECT_EQ(held.size(), 1u) << "no temporary file, or finished too soon";

    // Look-alikes that are not leftovers: a link, other names, a folder, a pipe.
    std::ofstream(folder.file("victim")) << "precious";
    EXPECT_EQ(symlink(folder.file("victim").c_str(), folder.file(".l.conv-aaaaaa.part").c_str()),
              0);
    std::ofstream(folder.file("n.conv-aaaaaa.part")) << "not ours";
    std::ofstream(folder.file(".n.conv-aaaaa.part")) << "not ours";
    fs::create_directory(folder.file(".d.conv-aaaaaa.part"));
    EXPECT_EQ(mkfifo(folder.file(".p.conv-aaaaaa.part").c_str(), 0600), 0);
    const std::vector<std::string> before = folder.parts();
    EXPECT_EQ(orphan_parts::RemoveOrphanedParts(folder.path), 0) << "a held file was taken";
    EXPECT_EQ(folder.parts(), before);

    kill(pid, SIGKILL); // the one way a converter cannot clean up after itself
    waitpid(pid, nullptr, 0);
    ASSERT_EQ(held.size(), 1u);
    EXPECT_EQ(orphan_parts::RemoveOrphanedParts(folder.path), 1);
    std::vector<std::string> left = before;
    std::erase(left, held[0]);
    EXPECT_EQ(folder.parts(), left);
    std::ifstream victim(folder.file("victim"));
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(victim), {}), "precious");
}

} // namespace
