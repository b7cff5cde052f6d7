#include "headless/cli_harness.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

extern char** environ;

namespace fs = std::filesystem;

namespace clitest {
namespace {

std::vector<std::string> Environment(const std::map<std::string, std::string>& changes) {
    std::vector<std::string> out;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        if (!changes.contains(text.substr(0, text.find('='))))
            out.push_back(text);
    }
    for (const auto& [name, value] : changes)
        if (!value.empty())
            out.push_back(name + "=" + value);
    return out;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> out;
    for (auto& text : texts)
        out.push_back(text.data());
    out.push_back(nullptr);
    return out;
}

std::string Field(const std::string& text, const std::string& name) {
    const std::string key = name + "=";
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line))
        if (line.rfind(key, 0) == 0)
            return line.substr(key.size());
    return {};
}

} // namespace

TempDir::TempDir() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/pelkora-cli-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

Process::Process(const std::string& program, const std::vector<std::string>& args,
                 const std::map<std::string, std::string>& env, bool ownProcessGroup) {
    std::vector<std::string> argv{program};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<std::string> envp = Environment(env);
    auto argvPointers = Pointers(argv);
    auto envPointers = Pointers(envp);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    const std::string out = files_ / "out";
    const std::string err = files_ / "err";
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    if (ownProcessGroup) {
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
        posix_spawnattr_setpgroup(&attributes, 0);
    }
    const int error = ::posix_spawnp(&pid_, program.c_str(), &actions, &attributes,
                                     argvPointers.data(), envPointers.data());
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        pid_ = -1;
        ADD_FAILURE() << "cannot start " << program << ": " << std::strerror(error);
    }
}

Process::~Process() {
    if (pid_ > 0 && !reap(false)) {
        ::kill(pid_, SIGKILL);
        reap(true);
    }
}

bool Process::reap(bool block) {
    if (reaped_ || pid_ <= 0)
        return true;
    int status = 0;
    pid_t done;
    do
        done = ::waitpid(pid_, &status, block ? 0 : WNOHANG);
    while (done < 0 && errno == EINTR);
    if (done != pid_)
        return false;
    reaped_ = true;
    status_ = status;
    return true;
}

std::string Process::err() const {
    return ReadFile(files_ / "err");
}

bool Process::waitUntil(const std::function<bool()>& condition, std::chrono::seconds deadline) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (std::chrono::steady_clock::now() < end) {
        if (condition())
            return true;
        if (reap(false))
            return condition();
        std::this_thread::sleep_for(20ms);
    }
    return false;
}

Finished Process::finish(std::chrono::seconds deadline) {
    Finished result;
    if (pid_ <= 0)
        return result;
    if (!waitUntil([this] { return reap(false); }, deadline)) {
        result.timedOut = true;
        ::kill(pid_, SIGKILL);
        reap(true);
    }
    if (WIFEXITED(status_))
        result.exitCode = WEXITSTATUS(status_);
    else if (WIFSIGNALED(status_))
        result.signal = WTERMSIG(status_);
    result.out = ReadFile(files_ / "out");
    result.err = ReadFile(files_ / "err");
    return result;
}

ProgramCopy::ProgramCopy(const std::string& folder) : folder_(folder) {
    fs::create_directories(folder_ + "/data");
    fs::copy_file(PELKORA_PROGRAM_DIR "/pelkora", folder_ + "/pelkora");
    fs::copy_file(PELKORA_PROGRAM_DIR "/data/conv", converter());
}

std::unique_ptr<Process> ProgramCopy::start(const std::vector<std::string>& args,
                                            const std::string& home, bool ownProcessGroup) const {
    std::vector<std::string> all{"--batch"};
    all.insert(all.end(), args.begin(), args.end());
    const std::map<std::string, std::string> env = {
        {"DISPLAY", ""},
        {"WAYLAND_DISPLAY", ""},
        {"QT_QPA_PLATFORM", ""},
        {"HOME", home},
        {"XDG_CONFIG_HOME", home + "/.config"},
        {"XDG_DATA_HOME", home + "/.local/share"},
        {"XDG_MUSIC_DIR", ""},
        {"LC_ALL", "C.UTF-8"},
    };
    return std::make_unique<Process>(folder_ + "/pelkora", all, env, ownProcessGroup);
}

Finished ProgramCopy::batch(const std::vector<std::string>& args, const std::string& home) const {
    auto run = start(args, home);
    Finished result = run->finish();
    EXPECT_FALSE(result.timedOut) << "pelkora still ran after " << kDeadline.count() << " s";
    return result;
}

ProgramCopy::~ProgramCopy() {
    for (const pid_t pid : converterProcesses())
        ::kill(pid, SIGKILL);
}

std::vector<pid_t> ProgramCopy::converterProcesses() const {
    std::vector<pid_t> pids;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator("/proc", error)) {
        std::error_code linkError;
        const fs::path exe = fs::read_symlink(entry.path() / "exe", linkError);
        if (!linkError && exe == converter())
            pids.push_back(static_cast<pid_t>(std::atoi(entry.path().filename().c_str())));
    }
    return pids;
}

std::vector<std::string> Tree(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(folder, error);
         !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        std::string name = fs::relative(it->path(), folder).string();
        if (it->is_directory() && !it->is_symlink())
            name += "/";
        names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

void MakeTone(const std::string& output, double seconds, int sampleRate) {
    const std::string source = "sine=frequency=440:sample_rate=" + std::to_string(sampleRate) +
                               ":duration=" + std::to_string(seconds);
    Process ffmpeg("ffmpeg", {"-nostdin", "-hide_banner", "-loglevel", "error", "-y", "-f", "lavfi",
                              "-i", source, "-ac", "1", output});
    const Finished done = ffmpeg.finish();
    ASSERT_EQ(done.exitCode, 0) << "ffmpeg could not make " << output << ": " << done.err;
}

Probed Probe(const std::string& path) {
    Process ffprobe("ffprobe", {"-v", "error", "-select_streams", "a:0", "-show_entries",
                                "stream=codec_name,sample_rate,channels,bit_rate:format=duration",
                                "-of", "default=noprint_wrappers=1", path});
    const Finished done = ffprobe.finish();
    Probed probed;
    if (done.exitCode != 0)
        return probed;
    probed.codec = Field(done.out, "codec_name");
    probed.sampleRate = std::atoi(Field(done.out, "sample_rate").c_str());
    probed.channels = std::atoi(Field(done.out, "channels").c_str());
    probed.bitRate = std::atoll(Field(done.out, "bit_rate").c_str());
    probed.seconds = std::atof(Field(done.out, "duration").c_str());
    return probed;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    ASSERT_TRUE(out.good()) << "cannot write " << path;
}

} // namespace clitest
