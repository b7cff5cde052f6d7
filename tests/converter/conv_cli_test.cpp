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
#include <sys/stat.h>
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
        for (const char* name : {"in.wav", "in.flac", "long.wav"})
            ASSERT_TRUE(Ffmpeg({"-f", "lavfi", "-i",
                                "sine=duration=" + std::string(name[0] == 'l' ? "10" : "1"), "-ac",
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
    const std::string flac = ReadFile(dir_->file("in.flac"));
    WriteFile(work.file("cut.flac"), flac.substr(0, flac.size() / 2));
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
        {work.file("cut.flac"), "incomplete"},
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

TEST_F(ConvCli, StopSignalsRemoveTheTemporaryFile) {
    for (const int sig : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(sig);
        ScratchDir work;
        // A FIFO input with half of the promised data keeps conv waiting mid-output.
        const std::string fifo = work.file("slow.wav");
        ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
        WriteFile(work.file("out.flac"), "earlier result");
        Child child(kConv, {"-i", fifo, "-y", work.file("out.flac")});
        const int writer = open(fifo.c_str(), O_WRONLY);
        const std::string wav = ReadFile(dir_->file("long.wav"));
        ASSERT_EQ(write(writer, wav.data(), wav.size() / 2), static_cast<ssize_t>(wav.size() / 2));
        for (int i = 0; i < 1000 && work.entries().size() < 3; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ASSERT_EQ(work.entries().size(), 3u); // the temporary file appeared

        const auto sent = std::chrono::steady_clock::now();
        kill(child.pid(), sig);
        const RunResult r = child.wait();
        close(writer);
        EXPECT_LT(std::chrono::steady_clock::now() - sent, std::chrono::seconds(2));
        EXPECT_EQ(r.signal, sig);
        EXPECT_EQ(r.lastLine(),
                  "conv: " + work.file("out.flac") + ": the conversion was interrupted");
        EXPECT_EQ(work.entries(), (Names{"out.flac", "slow.wav"}));
        EXPECT_EQ(ReadFile(work.file("out.flac")), "earlier result");
    }
}
