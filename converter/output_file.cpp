#include "output_file.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <random>

#include <fcntl.h>
#include <linux/capability.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace conv {

namespace {

// Read by the signal handler; lock-free atomics are safe to read there.
std::atomic<int> g_folderFd{-1};
std::atomic<const char*> g_tempName{nullptr};
std::atomic<const char*> g_interruptLine{nullptr};
static_assert(std::atomic<const char*>::is_always_lock_free);
static_assert(std::atomic<int>::is_always_lock_free);

// Every signal whose default action ends the process, but SIGKILL and SIGSTOP (which cannot
// be caught) and SIGPIPE and SIGXFSZ (ignored: they become write errors).
constexpr int kStopSignals[] = {SIGTERM, SIGINT,  SIGHUP,    SIGQUIT, SIGUSR1,
                                SIGUSR2, SIGALRM, SIGVTALRM, SIGPROF, SIGXCPU};

std::atomic<bool> g_interruptReported{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void OnStopSignal(int signal) {
    const int savedErrno = errno;
    if (const char* name = g_tempName.load())
        unlinkat(g_folderFd.load(), name, 0);
    const char* line = g_interruptLine.load();
    if (line && !g_interruptReported.exchange(true)) {
        const ssize_t ignored = write(STDERR_FILENO, line, std::strlen(line));
        (void)ignored;
    }
    errno = savedErrno;
    // The default action comes back only now that the file is gone. Had the kernel restored
    // it on entry (SA_RESETHAND), a second stop signal reaching another thread meanwhile would
    // end the process at once and leave the file behind. The raised signal waits in this
    // thread's mask until the handler returns, then ends the way the sender expects.
    struct sigaction fallback = {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    sigaction(signal, &fallback, nullptr);
    raise(signal);
}

// Keeps the stop signals out while the registered name and the file disagree. Never around a
// call that can wait: a blocked stop signal would leave the process unstoppable.
class SignalBlock {
public:
    SignalBlock() {
        sigset_t set;
        sigemptyset(&set);
        for (int s : kStopSignals)
            sigaddset(&set, s);
        sigprocmask(SIG_BLOCK, &set, &old_);
    }
    ~SignalBlock() { sigprocmask(SIG_SETMASK, &old_, nullptr); }
    SignalBlock(const SignalBlock&) = delete;
    SignalBlock& operator=(const SignalBlock&) = delete;

private:
    sigset_t old_;
};

// The mode an ordinary new file gets, read before main while no other thread can touch the
// umask. The temporary file is created private and gets this mode before it becomes the output.
const mode_t kOutputMode = [] {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}();

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

std::string RandomTag() {
    static constexpr char kChars[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    static std::mt19937 engine{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kChars - 2);
    std::string tag(6, 'x');
    for (char& c : tag)
        c = kChars[pick(engine)];
    return tag;
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool HasCapability(int capability) {
    __user_cap_header_struct header = {_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3] = {};
    // Unknown: let the rename itself decide.
    if (::syscall(SYS_capget, &header, data) != 0)
        return true;
    return (data[CAP_TO_INDEX(capability)].effective & CAP_TO_MASK(capability)) != 0;
}

// In a sticky folder only the owner of an entry, the owner of the folder or a process with
// CAP_FOWNER may replace it; the kernel would refuse only at the final rename.
bool MayReplaceEntry(const struct stat& folder, const struct stat& entry) {
    const uid_t me = ::geteuid();
    return (folder.st_mode & S_ISVTX) == 0 || entry.st_uid == me || folder.st_uid == me ||
           HasCapability(CAP_FOWNER);
}

Status FolderFailure(const std::string& output, int err) {
    switch (err) {
    case ENOENT:
    case ENOTDIR:
        return Fail(output, "the output folder does not exist");
    case EACCES:
    case EPERM:
        return Fail(output, "cannot write in the output folder (permission denied)");
    case EROFS:
        return Fail(output, "cannot write in the output folder (the disk is read-only)");
    default:
        return Fail(output, "cannot write in the output folder: " + DescribeErrno(err));
    }
}

} // namespace

std::string TempNameFor(const std::string& finalPath, const std::string& tag) {
    const std::string folder = FolderOf(finalPath);
    std::string name = NameOf(finalPath);
    // Stay within the file system's 255-byte name limit.
    constexpr std::size_t kDecoration = 1 + 6 + 6 + 5; // "." ".conv-" tag ".part"
    if (name.size() > 255 - kDecoration)
        name.resize(255 - kDecoration);
    std::string prefix;
    if (finalPath.find('/') != std::string::npos)
        prefix = folder == "/" ? folder : folder + "/";
    return prefix + "." + name + ".conv-" + tag + ".part";
}

TempOutput::~TempOutput() {
    discard();
}

Status TempOutput::create(const std::string& finalPath) {
    finalPath_ = finalPath;
    finalName_ = NameOf(finalPath);
    interruptLine_ = FailureLine({finalPath, "the conversion was interrupted"});
    folder_.reset(::open(FolderOf(finalPath).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder_.valid())
        return FolderFailure(finalPath, errno);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = TempNameFor(finalPath, RandomTag());
        const std::string name = NameOf(candidate);
        {
            // Created and registered for removal with no stop signal in between.
            SignalBlock block;
            // Private, so that no other user can open it, let alone lock it.
            UniqueFd fd(::openat(folder_.get(), name.c_str(),
                                 O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
            if (!fd.valid()) {
                if (errno == EEXIST)
                    continue;
                return FolderFailure(finalPath, errno);
            }
            path_ = candidate;
            name_ = name;
            file_ = std::move(fd);
            active_ = true;
            g_folderFd.store(folder_.get());
            g_tempName.store(name_.c_str());
            g_interruptLine.store(interruptLine_.c_str());
        }
        // Held until the file is renamed or removed. Never waited for: whoever got a lock on
        // the new file first (a cleaner that may take its name, or anyone able to open it)
        // costs this name, not the conversion.
        if (::flock(file_.get(), LOCK_EX | LOCK_NB) == 0 && nameLeadsToFile())
            return std::nullopt;
        discard();
    }
    return Fail(finalPath, "cannot create a temporary file in the output folder");
}

bool TempOutput::nameLeadsToFile() const {
    struct stat named = {};
    struct stat held = {};
    return ::fstatat(folder_.get(), name_.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
           ::fstat(file_.get(), &held) == 0 && SameFile(named, held);
}

Status TempOutput::commit() {
    if (!active_)
        return Fail(finalPath_, "no output was written");
    // Not fatal: the output would only stay private.
    (void)::fchmod(file_.get(), kOutputMode);
    SignalBlock block;
    if (!nameLeadsToFile()) {
        // Whatever is there now is not ours to rename or remove.
        active_ = false;
        g_tempName.store(nullptr);
        file_.reset();
        return Fail(finalPath_, "the temporary file was replaced by something else; the output "
                                "was not put in place");
    }
    if (::renameat(folder_.get(), name_.c_str(), folder_.get(), finalName_.c_str()) != 0) {
        const int err = errno;
        discard();
        if (err == EISDIR)
            return Fail(finalPath_, "a folder of that name is in the way");
        return Fail(finalPath_, "cannot put the output in place: " + DescribeErrno(err));
    }
    active_ = false;
    g_tempName.store(nullptr);
    file_.reset();
    return std::nullopt;
}

void TempOutput::discard() {
    if (!active_)
        return;
    SignalBlock block;
    if (nameLeadsToFile())
        ::unlinkat(folder_.get(), name_.c_str(), 0);
    active_ = false;
    g_tempName.store(nullptr);
    file_.reset();
}

void InstallSignalHandlers() {
    struct sigaction action = {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    for (int s : kStopSignals)
        sigaddset(&action.sa_mask, s);
    action.sa_flags = 0;
    for (int s : kStopSignals) {
        // Ignored by whoever started us (nohup, a background job): it stays ignored.
        struct sigaction inherited = {};
        if (sigaction(s, nullptr, &inherited) == 0 && inherited.sa_handler == SIG_IGN)
            continue;
        sigaction(s, &action, nullptr);
    }
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
}

Status CheckOutput(const Options& options, int inputFd) {
    const std::string& output = options.output;
    if (NameOf(output).empty())
        return Fail(output, "the output name has no file name");
    // Found now rather than when the finished file is put in place.
    if (NameOf(output).size() > NAME_MAX)
        return Fail(output, "the output file name is too long");
    struct stat folder = {};
    if (::stat(FolderOf(output).c_str(), &folder) != 0)
        return FolderFailure(output, errno);
    if (!S_ISDIR(folder.st_mode))
        return FolderFailure(output, ENOTDIR);
    if (::access(FolderOf(output).c_str(), W_OK | X_OK) != 0)
        return FolderFailure(output, errno);

    struct stat existing = {};
    if (::stat(output.c_str(), &existing) != 0)
        return std::nullopt;
    struct stat in = {};
    if (::fstat(inputFd, &in) == 0 && SameFile(in, existing))
        return Fail(output, "the output would replace the input file itself; choose another "
                            "output folder or format");
    if (S_ISDIR(existing.st_mode))
        return Fail(output, "a folder of that name is in the way");
    if (!options.overwrite)
        return Fail(output, "the output file already exists (add -y to replace it)");
    struct stat entry = {};
    if (::lstat(output.c_str(), &entry) == 0 && !MayReplaceEntry(folder, entry))
        return Fail(output, "the output file belongs to another user and the folder lets only "
                            "its owner replace it");
    return std::nullopt;
}

} // namespace conv
