// The conv program seen from outside, as the window sees it: exit status, the one error line,
// the progress grammar, odd file names, signals, and files left behind.
#include "conv_test_support.h"

#include "converter/errors.h"

#include "engine/command_line.h"
#include "engine/progress_parser.h"

#include <gtest/gtest.h>

#include <chrono>
#include <regex>
#include <thread>

#include <fcntl.h>
#include <signal.h>
#include <string.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace convtest;

namespace {

using Names = std::vector<std::string>;

const std::string kOddNames[] = {
    "with \"quotes\" and 'more'", "  spaces  ", "-leading dash", "new\nline",
    "latin1 \xE9\xE8 bytes",      "colon: here"};

class ConvCli : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = std::make_unique<ScratchDir>();
        // The long one takes the converter about a second to MP3, time enough to catch it.
        for (const char* name : {"in.wav", "in.flac", "long.wav"})
            ASSERT_TRUE(Ffmpeg({"-f", "lavfi", "-i",
                                "sine=duration=" + std::string(name[0] == 'l' ? "60" : "1"), "-ac",
                                "2", dir_->file(name)}));
    }
    static void TearDownTestSuite() { dir_.reset(); }
    static std::string input() { return dir_->file("in.wav"); }
    static std::unique_ptr<ScratchDir> dir_;
};

std::unique_ptr<ScratchDir> ConvCli::dir_;

} // namespace

TEST_F(ConvCli, SuccessPrintsWhatTheWindowReads) {
    ScratchDir out;
    const RunResult r =
        RunConv(BuildCommandLine(input(), {.outputFolder = out.path()}, "")->arguments);
    ASSERT_EQ(r.exitCode, 0) << r.output;
    EXPECT_EQ(out.entries(), Names{"in.mp3"});
    // The last progress line ends in "\n" (the others in "\r"); times are plain seconds.
    EXPECT_TRUE(std::regex_search(
        r.output, std::regex("[\r\n]size= *\\d+kB time=1\\.00 bitrate= *[0-9.]+kbits/s \n$")))
        << r.output;

    // Each line is written at once, so the window gets it whole; its bar ends full.
    std::int32_t total = 0;
    ProgressUpdate last;
    for (std::size_t start = 0, end; start < r.output.size(); start = end + 1) {
        end = std::min(r.output.find_first_of("\r\n", start), r.output.size() - 1);
        const ProgressUpdate u =
            ParseProgressChunk(r.output.substr(start, end - start + 1), total, false, 0);
        total = u.totalSeconds;
        last = u.displayChanged ? u : last;
    }
    EXPECT_EQ(total, 1);
    EXPECT_EQ(last.caption, "100%");
}

// Each failure: one line naming the file, a non-zero status, no sanitizer report, and the
// output folder (an earlier result, the input, a read-only folder) exactly as it was.
TEST_F(ConvCli, BadInputAndOutputFailWithOneLineAndTouchNothing) {
    ScratchDir work, out;
    WriteFile(work.file("empty.wav"), "");
    std::string noise;
    for (int i = 0; i < 20000; ++i)
        noise.push_back(static_cast<char>((i * 7919 + i / 7) % 251));
    WriteFile(work.file("noise.mp3"), noise);
    ASSERT_TRUE(Ffmpeg({"-f", "lavfi", "-i", "testsrc=duration=1:size=64x48", "-c:v", "mpeg4",
                        work.file("silent.mp4")}));
    const std::string earlier = out.file("earlier.wav"), song = out.file("song.wav");
    WriteFile(earlier, "earlier result");
    WriteFile(song, ReadFile(input()));
    ASSERT_EQ(link(song.c_str(), out.file("link.wav").c_str()), 0); // the input by another name
    std::string locked = "/sys"; // root writes anywhere but on a read-only file system
    if (geteuid() != 0 && mkdir((locked = out.file("locked")).c_str(), 0555) != 0)
        FAIL() << locked;
    const Names kept = out.entries();

    struct Case {
        std::vector<std::string> args;
        std::string named, reason;
        long long sizeLimit = -1;
        int status = 1;
    };
    std::vector<Case> cases = {
        {{"-i", input(), "-y", out.file("no/x.mp3")}, out.file("no/x.mp3"), "does not exist"},
        {{"-i", input(), "-y", locked + "/x.mp3"}, locked + "/x.mp3", "cannot write in the"},
        {{"-i", input(), "-y", earlier}, earlier, "too large", 32 * 1024}, // a full disk
        {{"-i", input(), earlier}, earlier, "already exists"},
        {{"-i", song, "-y", "-acodec", "pcm_s16le", song}, song, "input file itself"},
        {{"-i", song, "-y", out.file("link.wav")}, out.file("link.wav"), "input file itself"},
        {{"-i", input(), "-y", "out.ogx"}, "out.ogx", "unsupported output type", -1, 2}};
    const std::pair<std::string, const char*> inputs[] = {
        {work.file("missing.wav"), "does not exist"},
        {work.path(), "folder"},
        {work.file("empty.wav"), "empty"},
        {work.file("noise.mp3"), "not a media file"},
        {work.file("silent.mp4"), "no audio"}};
    for (const auto& [in, reason] : inputs)
        cases.push_back({{"-i", in, "-y", "-vn", out.file("x.mp3")}, in, reason});
    for (const std::string& name : kOddNames) // bare, so that a name may start with a dash
        cases.push_back({{"-i", name, "-y", out.file("x.mp3")}, name, "does not exist"});

    for (const Case& c : cases) {
        SCOPED_TRACE(c.named);
        const RunResult r = RunConv(c.args, c.sizeLimit);
        EXPECT_EQ(r.exitCode, c.status) << r.output;
        EXPECT_EQ(r.lastLine().rfind("conv: " + conv::EscapeForLine(c.named) + ": ", 0), 0u)
            << r.output;
        EXPECT_NE(r.lastLine().find(c.reason), std::string::npos) << r.output;
        EXPECT_EQ(r.output.find("conv: "), r.output.rfind("conv: ")) << r.output;
        EXPECT_EQ(r.output.find("Sanitizer"), std::string::npos) << r.output;
        EXPECT_EQ(out.entries(), kept);
    }
    EXPECT_EQ(ReadFile(earlier), "earlier result");
    EXPECT_EQ(ReadFile(song), ReadFile(input()));
}

TEST_F(ConvCli, OddNamesConvertWithTheWindowsCommandLine) {
    for (const std::string& name : kOddNames) {
        ScratchDir work;
        WriteFile(work.file(name + ".wav"), ReadFile(input()));
        // MP3 also carries the metadata map with both names.
        const BuiltCommand built =
            BuildCommandLine(work.file(name + ".wav"), {.outputFolder = work.path()}, "").value();
        const RunResult r = RunConv(built.arguments);
        EXPECT_EQ(r.exitCode, 0) << r.output;
        EXPECT_TRUE(Probe(built.outputPath).ok) << name;
    }
}

// An input that is no regular file is refused before anything could block on it.
TEST_F(ConvCli, InputsThatAreNoRegularFileAreRefusedAtOnce) {
    ScratchDir work;
    const std::string fifo = work.file("pipe.wav"), socketPath = work.file("socket.wav");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const int listener = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    socketPath.copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(listener, 1), 0);

    for (const std::string& in : {fifo, socketPath, std::string("/dev/zero"), work.path()}) {
        SCOPED_TRACE(in);
        const RunResult r = RunConv({"-i", in, "-y", work.file("x.mp3")}, -1, 10);
        EXPECT_EQ(r.exitCode, 1) << r.output;
        EXPECT_EQ(r.output.rfind("conv: " + in + ": not a regular file", 0), 0u) << r.output;
        EXPECT_EQ(r.output.find('\n'), r.output.size() - 1) << r.output;
    }
    close(listener);
    EXPECT_EQ(work.entries(), (Names{"pipe.wav", "socket.wav"}));
}

namespace {

// The temporary file of a running conversion once output reaches it, or "" when none did
// before the deadline. A name alone is not enough: between creating the file and locking it
// the converter may still give up that name for another.
std::string AwaitTemporary(const ScratchDir& dir) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < deadline) {
        struct stat info {};
        for (const std::string& name : dir.entries())
            if (name.ends_with(".part") && stat(dir.file(name).c_str(), &info) == 0 &&
                info.st_size > 0)
                return name;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return "";
}

} // namespace

TEST_F(ConvCli, StopSignalsRemoveTheTemporaryFile) {
    for (const int sig : {SIGTERM, SIGINT, SIGHUP, SIGUSR1, SIGUSR2, SIGALRM}) {
        SCOPED_TRACE(strsignal(sig));
        ScratchDir work;
        WriteFile(work.file("out.mp3"), "earlier result");
        Child child({kConv, "-i", dir_->file("long.wav"), "-y", work.file("out.mp3")});
        const std::string temporary = AwaitTemporary(work);
        ASSERT_NE(temporary, "");
        // Stopped mid-output, the signal waits for it to go on.
        child.freeze();
        ASSERT_EQ(work.entries(), (Names{temporary, "out.mp3"})) << "finished too soon";
        kill(child.pid(), sig);
        kill(child.pid(), SIGCONT);
        const RunResult r = child.wait(60);
        EXPECT_FALSE(r.timedOut);
        EXPECT_EQ(r.signal, sig);
        EXPECT_EQ(r.lastLine(),
                  "conv: " + work.file("out.mp3") + ": the conversion was interrupted");
        EXPECT_EQ(work.entries(), Names{"out.mp3"});
        EXPECT_EQ(ReadFile(work.file("out.mp3")), "earlier result");
    }
}

// A temporary file swapped for a link mid-output: nothing is written through the link, and
// the link is not put in place of the output.
TEST_F(ConvCli, TemporaryFileSwappedForALinkChangesNothing) {
    ScratchDir work;
    const std::string victim = work.file("victim.txt"), out = work.file("out.mp3");
    WriteFile(victim, "precious");
    WriteFile(out, "earlier result");
    Child child({kConv, "-i", dir_->file("long.wav"), "-y", out});
    const std::string temporary = AwaitTemporary(work);
    ASSERT_NE(temporary, "");
    child.freeze();
    ASSERT_EQ(unlink(work.file(temporary).c_str()), 0) << "finished too soon";
    ASSERT_EQ(symlink(victim.c_str(), work.file(temporary).c_str()), 0);
    kill(child.pid(), SIGCONT);
    const RunResult r = child.wait(60);

    EXPECT_EQ(r.exitCode, 1) << r.output;
    EXPECT_NE(r.lastLine().find("temporary file was replaced"), std::string::npos) << r.output;
    EXPECT_EQ(ReadFile(victim), "precious");
    EXPECT_EQ(ReadFile(out), "earlier result");
    struct stat info {};
    ASSERT_EQ(lstat(out.c_str(), &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode));
}
