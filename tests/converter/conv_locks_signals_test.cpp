// The converter in a folder shared with other users: no one else can hang it through a lock,
// and it refuses an output that is not its to replace before converting.
#include "conv_test_support.h"

#include <gtest/gtest.h>

#include <functional>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/ptrace.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace convtest;

namespace {

using Names = std::vector<std::string>;

std::string Long() {
    return Made("long.wav", "sine=duration=60");
}

std::string PartIn(const ScratchDir& folder) {
    for (const std::string& name : folder.entries())
        if (name.ends_with(".part"))
            return folder.file(name);
    return "";
}

// Runs conv traced until its first temporary file exists in `folder`, lets `held` act on the
// file while conv is stopped right after creating it, then lets conv run on untraced. The
// caller reaps the returned child; -1 when this system forbids tracing.
pid_t StartHeldAtTemporaryFile(std::vector<std::string> argv, const ScratchDir& folder,
                               const std::string& log,
                               const std::function<void(const std::string&)>& held) {
    std::vector<char*> pointers;
    for (auto& a : argv)
        pointers.push_back(a.data());
    pointers.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (out < 0 || dup2(out, STDOUT_FILENO) < 0 || dup2(out, STDERR_FILENO) < 0 ||
            ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0)
            _exit(126);
        execv(pointers[0], pointers.data());
        _exit(127);
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFSTOPPED(status))
        return -1; // reaped, or never started
    ptrace(PTRACE_SETOPTIONS, pid, nullptr, PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL);
    long pass = 0;
    while (ptrace(PTRACE_SYSCALL, pid, nullptr, pass) == 0 && waitpid(pid, &status, 0) == pid &&
           WIFSTOPPED(status)) {
        pass = WSTOPSIG(status) == (SIGTRAP | 0x80) ? 0 : WSTOPSIG(status);
        const std::string part = PartIn(folder);
        if (!part.empty()) {
            held(part);
            ptrace(PTRACE_DETACH, pid, nullptr, nullptr);
            return pid;
        }
    }
    return pid;
}

} // namespace

// Someone holds a lock on the temporary file the moment it exists: the converter takes another
// name instead of waiting for ever, and a stop signal still ends it.
TEST(ConvLocksSignals, ALockOnTheNewTemporaryFileCostsOnlyItsName) {
    const mode_t mask = umask(0);
    umask(mask);
    for (const int stop : {0, SIGTERM}) {
        SCOPED_TRACE(stop ? "stopped meanwhile" : "left alone");
        ScratchDir shared, logs;
        ASSERT_EQ(chmod(shared.path().c_str(), 01777), 0); // anyone may write, as in /tmp
        const std::string out = shared.file("out.mp3"), log = logs.file("log");
        int lock = -1;
        mode_t created = 0;
        const pid_t pid = StartHeldAtTemporaryFile(
            {kConv, "-i", Long(), out}, shared, log, [&](const std::string& part) {
                struct stat st = {};
                if (stat(part.c_str(), &st) == 0)
                    created = st.st_mode & 07777;
                lock = open(part.c_str(), O_RDONLY | O_CLOEXEC);
                EXPECT_EQ(flock(lock, LOCK_SH | LOCK_NB), 0);
            });
        if (pid < 0)
            GTEST_SKIP() << "this system does not let a test trace its child";
        EXPECT_EQ(created, 0600u) << "others could open the temporary file";
        if (stop)
            kill(pid, stop);
        const RunResult r = Reap(pid, log, 90);
        close(lock);
        ASSERT_FALSE(r.timedOut) << "waited for the lock: " << r.output;
        EXPECT_EQ(r.signal, stop) << r.output;
        EXPECT_EQ(r.exitCode, stop ? -1 : 0) << r.output;
        EXPECT_EQ(shared.entries(), stop ? Names{} : Names{"out.mp3"});
        struct stat st = {};
        if (!stop && stat(out.c_str(), &st) == 0) {
            EXPECT_EQ(st.st_mode & 07777, 0666 & ~mask) << "the output kept the private mode";
        }
    }
}

// In a sticky folder only an entry's owner, the folder's owner or a process allowed to act as
// any owner may replace it. Root without that power stands in for another user.
TEST(ConvLocksSignals, AnOutputThatIsNotOursToReplaceFailsBeforeConverting) {
    if (geteuid() != 0 || access("/usr/bin/setpriv", X_OK) != 0)
        GTEST_SKIP() << "needs root and setpriv to make files of another user";
    constexpr uid_t kOther = 65534, kThird = 65533, kMe = 0;
    const struct {
        uid_t folderOwner, fileOwner;
        bool replaced;
    } cases[] = {{kThird, kOther, false}, {kThird, kMe, true}, {kMe, kOther, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE("folder of " + std::to_string(c.folderOwner) + ", file of " +
                     std::to_string(c.fileOwner));
        ScratchDir shared;
        const std::string out = shared.file("out.mp3");
        ASSERT_EQ(chown(shared.path().c_str(), c.folderOwner, c.folderOwner), 0);
        ASSERT_EQ(chmod(shared.path().c_str(), 01777), 0);
        WriteFile(out, "theirs");
        ASSERT_EQ(chown(out.c_str(), c.fileOwner, c.fileOwner), 0);
        const RunResult r = Child({"/usr/bin/setpriv", "--bounding-set", "-fowner", kConv, "-i",
                                   Long(), "-t", "1", "-y", out})
                                .wait();
        if (r.output.find("setpriv:") != std::string::npos)
            GTEST_SKIP() << "setpriv cannot drop the capability here: " << r.output;
        if (c.replaced) {
            EXPECT_EQ(r.exitCode, 0) << r.output;
            EXPECT_TRUE(Probe(out).ok);
        } else {
            EXPECT_EQ(r.exitCode, 1) << r.output;
            EXPECT_EQ(r.output, "conv: " + out +
                                    ": the output file belongs to another user and the folder "
                                    "lets only its owner replace it\n");
            EXPECT_EQ(ReadFile(out), "theirs");
        }
        EXPECT_EQ(shared.entries(), Names{"out.mp3"});
    }
}
