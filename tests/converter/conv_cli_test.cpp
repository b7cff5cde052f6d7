// The conv program seen from outside, as the window sees it: exit status, the one error line,
// odd file names, signals, and files left behind.
#include "conv_test_support.h"

#include "converter/errors.h"

#include "core/engine/command_line.h"

#include <gtest/gtest.h>

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

// The long one takes the converter about a second to MP3, time enough to catch it.
std::string In() {
    return Made("in.wav", "sine=duration=1");
}
std::string Long() {
    return Made("long.wav", "sine=duration=60");
}

} // namespace

// Each failure: one line naming the file, a non-zero status at once (nothing blocks on a FIFO or
// a socket), no sanitizer report, and the output folder (an earlier result, the input, a
// read-only folder) exactly as it was.
TEST(ConvCli, BadInputAndOutputFailWithOneLineAndTouchNothing) {
    ScratchDir work, out;
    const std::string input = In(), fifo = work.file("pipe.wav");
    WriteFile(work.file("empty.wav"), "");
    std::string noise;
    for (int i = 0; i < 20000; ++i)
        noise.push_back(static_cast<char>((i * 7919 + i / 7) % 251));
    WriteFile(work.file("noise.mp3"), noise);
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    sockaddr_un address{.sun_family = AF_UNIX, .sun_path = {}};
    work.file("socket.wav").copy(address.sun_path, sizeof address.sun_path - 1);
    const int listener = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(listener, 1), 0);
    const std::string earlier = out.file("earlier.wav"), song = out.file("song.wav");
    WriteFile(earlier, "earlier result");
    WriteFile(song, ReadFile(input));
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
        {{"-i", input, "-y", out.file("no/x.mp3")}, out.file("no/x.mp3"), "does not exist"},
        {{"-i", input, "-y", locked + "/x.mp3"}, locked + "/x.mp3", "cannot write in the"},
        {{"-i", input, "-y", earlier}, earlier, "too large", 32 * 1024}, // a full disk
        {{"-i", input, earlier}, earlier, "already exists"},
        {{"-i", song, "-y", "-acodec", "pcm_s16le", song}, song, "input file itself"},
        {{"-i", song, "-y", out.file("link.wav")}, out.file("link.wav"), "input file itself"},
        {{"-i", input, "-y", "out.ogx"}, "out.ogx", "unsupported output type", -1, 2}};
    const std::pair<std::string, const char*> inputs[] = {
        {work.file("missing.wav"), "does not exist"},
        {work.file("empty.wav"), "empty"},
        {work.file("noise.mp3"), "not a media file"},
        {Made("silent.mp4", "testsrc=duration=1:size=64x48", {"-c:v", "mpeg4"}), "no audio"},
        {work.path(), "not a regular file"},
        {fifo, "not a regular file"},
        {work.file("socket.wav"), "not a regular file"},
        {"/dev/zero", "not a regular file"}};
    for (const auto& [in, reason] : inputs)
        cases.push_back({{"-i", in, "-y", "-vn", out.file("x.mp3")}, in, reason});
    for (const std::string& name : kOddNames) // bare, so that a name may start with a dash
        cases.push_back({{"-i", name, "-y", out.file("x.mp3")}, name, "does not exist"});

    for (const Case& c : cases) {
        SCOPED_TRACE(c.named);
        const RunResult r = RunConv(c.args, c.sizeLimit, 20);
        EXPECT_EQ(r.exitCode, c.status) << r.output;
        EXPECT_EQ(r.lastLine().rfind("conv: " + conv::EscapeForLine(c.named) + ": ", 0), 0u)
            << r.output;
        EXPECT_NE(r.lastLine().find(c.reason), std::string::npos) << r.output;
        EXPECT_EQ(r.output.find("conv: "), r.output.rfind("conv: ")) << r.output;
        EXPECT_EQ(r.output.find("Sanitizer"), std::string::npos) << r.output;
        EXPECT_EQ(out.entries(), kept);
    }
    close(listener);
    EXPECT_EQ(ReadFile(earlier), "earlier result");
    EXPECT_EQ(ReadFile(song), ReadFile(input));
}

TEST(ConvCli, OddNamesConvertWithTheWindowsCommandLine) {
    for (const std::string& name : kOddNames) {
        ScratchDir work;
        WriteFile(work.file(name + ".wav"), ReadFile(In()));
        // MP3 also carries the metadata map with both names.
        const BuiltCommand built =
            BuildCommandLine(work.file(name + ".wav"), {.outputFolder = work.path()}, "").value();
        EXPECT_EQ(RunConv(built.arguments).exitCode, 0) << name;
        EXPECT_TRUE(Probe(built.outputPath).ok) << name;
    }
}

// Stopped by a signal mid-output, or with its temporary file swapped for a link: the temporary
// file goes, nothing is written through the link, and the earlier output stays as it was. A stop
// signal ignored by whoever started the converter (nohup, a background job) stays ignored.
TEST(ConvCli, StopSignalsAndSwappedTemporaryFilesKeepTheEarlierOutput) {
    const std::pair<int, bool> cases[] = {
        {SIGTERM, false}, {SIGINT, false}, {SIGHUP, false}, {SIGUSR1, false}, {SIGUSR2, false},
        {SIGALRM, false}, {0, false},      {SIGHUP, true},  {SIGINT, true},   {SIGQUIT, true}};
    for (const auto& [sig, ignored] : cases) {
        SCOPED_TRACE(std::string(sig ? strsignal(sig) : "swapped for a link") +
                     (ignored ? ", ignored at start" : ""));
        ScratchDir work;
        const std::string out = work.file("out.mp3"), victim = work.file("victim.txt");
        WriteFile(out, "earlier result");
        WriteFile(victim, "precious");
        struct sigaction ignore = {}, previous = {};
        ignore.sa_handler = SIG_IGN;
        if (ignored)
            sigaction(sig, &ignore, &previous);
        Child child({kConv, "-i", Long(), "-y", out});
        if (ignored)
            sigaction(sig, &previous, nullptr);
        // Output in the temporary file, not only its name: until the converter holds the file
        // open it may still give up that name for another.
        const std::string part = PartWithOutput(work);
        ASSERT_NE(part, "");
        child.freeze(); // mid-output; a signal waits for it to go on
        ASSERT_EQ(work.entries().size(), 3u) << "finished too soon";
        if (sig)
            kill(child.pid(), sig);
        else
            ASSERT_TRUE(unlink(part.c_str()) == 0 && symlink(victim.c_str(), part.c_str()) == 0);
        kill(child.pid(), SIGCONT);
        const RunResult r = child.wait(60);
        EXPECT_EQ(ReadFile(victim), "precious");
        if (ignored) {
            EXPECT_EQ(r.exitCode, 0) << r.output;
            EXPECT_EQ(work.entries(), (Names{"out.mp3", "victim.txt"}));
            EXPECT_NEAR(Probe(out).seconds(), 60.0, 0.2);
            continue;
        }
        EXPECT_EQ(r.signal, sig);
        EXPECT_EQ(r.exitCode, sig ? -1 : 1);
        EXPECT_EQ(r.lastLine().rfind("conv: " + out +
                                         (sig ? ": the conversion was interrupted"
                                              : ": the temporary file was replaced"),
                                     0),
                  0u)
            << r.output;
        // The link is not the converter's to remove.
        const std::string link = sig ? "" : part.substr(work.path().size() + 1);
        EXPECT_EQ(work.entries(),
                  (sig ? Names{"out.mp3", "victim.txt"} : Names{link, "out.mp3", "victim.txt"}));
        EXPECT_EQ(ReadFile(out), "earlier result"); // neither rewritten nor the link
    }
}
