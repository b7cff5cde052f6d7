// The conv program seen from outside, as the window sees it: exit status, the one error line,
// the progress grammar, odd file names, signals, and files left behind.
#include "conv_test_support.h"

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

class ConvCli : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = std::make_unique<ScratchDir>();
        ASSERT_TRUE(Ffmpeg({"-f", "lavfi", "-i", "sine=sample_rate=44100:duration=1", "-ac", "2",
                            dir_->file("in.wav")}));
        ASSERT_TRUE(Ffmpeg({"-i", dir_->file("in.wav"), dir_->file("in.flac")}));
        ASSERT_TRUE(Ffmpeg({"-f", "lavfi", "-i", "sine=sample_rate=44100:duration=10", "-ac", "2",
                            dir_->file("long.wav")}));
    }
    static void TearDownTestSuite() { dir_.reset(); }

    static std::string input() { return dir_->file("in.wav"); }

    // A failed run: non-zero status, the one error line last, nothing but `keep` in the folder.
    static void ExpectCleanFailure(const RunResult& r, const std::string& path,
                                   const std::string& reasonPart, const ScratchDir& out,
                                   std::vector<std::string> keep = {}) {
        EXPECT_FALSE(r.timedOut);
        EXPECT_EQ(r.signal, 0) << r.output;
        EXPECT_NE(r.exitCode, 0);
        const std::string last = r.lastLine();
        EXPECT_EQ(last.rfind("conv: " + path + ": ", 0), 0u) << last;
        EXPECT_NE(last.find(reasonPart), std::string::npos) << last;
        // Exactly one such line, and nothing a sanitizer would print.
        std::size_t lines = 0;
        for (std::size_t pos = 0; (pos = r.output.find("conv: ", pos)) != std::string::npos; ++pos)
            ++lines;
        EXPECT_EQ(lines, 1u) << r.output;
        EXPECT_EQ(r.output.find("Sanitizer"), std::string::npos) << r.output;
        std::sort(keep.begin(), keep.end());
        EXPECT_EQ(out.entries(), keep);
    }

    static std::unique_ptr<ScratchDir> dir_;
};

std::unique_ptr<ScratchDir> ConvCli::dir_;

} // namespace

TEST_F(ConvCli, SuccessPrintsWhatTheWindowReads) {
    ScratchDir out;
    ConversionSettings s;
    s.formatIndex = 0;
    s.outputFolder = out.path();
    const BuiltCommand built = BuildCommandLine(input(), s, PELKORA_PROGRAM_DIR).value();
    const RunResult r = RunConv(built.arguments);
    ASSERT_EQ(r.exitCode, 0) << r.output;
    EXPECT_EQ(out.entries(), std::vector<std::string>{"in.mp3"});

    EXPECT_TRUE(std::regex_search(
        r.output, std::regex("  Duration: 00:00:01\\.00, start: [0-9.N/A]+, bitrate: \\d+ kb/s\n")))
        << r.output;
    // Progress lines end in "\r", the last one in "\n"; times are plain seconds.
    const std::regex progress("size= *\\d+kB time=(\\d+\\.\\d\\d) bitrate= *[0-9.]+kbits/s ");
    std::vector<double> times;
    for (auto it = std::sregex_iterator(r.output.begin(), r.output.end(), progress);
         it != std::sregex_iterator(); ++it)
        times.push_back(std::stod((*it)[1]));
    ASSERT_FALSE(times.empty());
    EXPECT_TRUE(std::is_sorted(times.begin(), times.end()));
    EXPECT_DOUBLE_EQ(times.back(), 1.0);
    EXPECT_EQ(r.output.back(), '\n');

    // Fed to the window's parser line by line, as each line is written at once, the bar
    // ends full.
    std::int32_t total = 0;
    ProgressUpdate last;
    std::size_t start = 0;
    while (start < r.output.size()) {
        const auto end = r.output.find_first_of("\r\n", start);
        const auto line = r.output.substr(start, end == std::string::npos ? end : end - start + 1);
        const ProgressUpdate u = ParseProgressChunk(line, total, false, 0);
        total = u.totalSeconds;
        if (u.displayChanged)
            last = u;
        start += line.size();
    }
    EXPECT_EQ(total, 1);
    EXPECT_EQ(last.caption, "100%");
}

TEST_F(ConvCli, BadInputsFailWithOneClearLine) {
    ScratchDir work;
    WriteFile(work.file("empty.wav"), "");
    std::string noise;
    for (int i = 0; i < 20000; ++i)
        noise.push_back(static_cast<char>((i * 7919 + 13) % 251));
    WriteFile(work.file("noise.mp3"), noise);
    const std::string flac = ReadFile(dir_->file("in.flac"));
    WriteFile(work.file("cut.flac"), flac.substr(0, flac.size() / 2));
    ASSERT_TRUE(Ffmpeg({"-f", "lavfi", "-i", "testsrc=duration=1:size=64x48", "-c:v", "mpeg4",
                        work.file("silent.mp4")}));

    const struct {
        std::string input;
        const char* reason;
    } cases[] = {
        {work.file("missing.wav"), "does not exist"},
        {work.path(), "folder"},
        {work.file("empty.wav"), "empty"},
        {work.file("noise.mp3"), "not a media file"},
        {work.file("cut.flac"), "incomplete"},
        {work.file("silent.mp4"), "no audio"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        ScratchDir out;
        const RunResult r = RunConv({"-i", c.input, "-y", "-vn", out.file("x.mp3")});
        ExpectCleanFailure(r, c.input, c.reason, out);
    }
}

TEST_F(ConvCli, BadOutputsFailWithoutLeavingFiles) {
    ScratchDir out;
    RunResult r = RunConv({"-i", input(), "-y", out.file("no/such/x.mp3")});
    ExpectCleanFailure(r, out.file("no/such/x.mp3"), "output folder does not exist", out);

    // Read-only: a folder without write permission, or for root a read-only file system.
    std::string locked = out.file("locked");
    if (geteuid() == 0) {
        locked = "/sys";
    } else {
        ASSERT_EQ(mkdir(locked.c_str(), 0555), 0);
    }
    r = RunConv({"-i", input(), "-y", locked + "/x.mp3"});
    ExpectCleanFailure(r, locked + "/x.mp3", "cannot write in the output folder", out,
                       geteuid() == 0 ? std::vector<std::string>{}
                                      : std::vector<std::string>{"locked"});

    // A full disk, simulated by a file-size limit; the earlier output stays as it was.
    WriteFile(out.file("full.wav"), "earlier result");
    RunOptions limited;
    limited.fileSizeLimit = 32 * 1024;
    r = RunConv({"-i", input(), "-y", out.file("full.wav")}, limited);
    std::vector<std::string> kept = {"full.wav"};
    if (geteuid() != 0)
        kept.push_back("locked");
    ExpectCleanFailure(r, out.file("full.wav"), "too large", out, kept);
    EXPECT_EQ(ReadFile(out.file("full.wav")), "earlier result");
}

TEST_F(ConvCli, NeverOverwritesTheInputOrAnEarlierFileOnFailure) {
    ScratchDir work;
    const std::string original = ReadFile(input());
    WriteFile(work.file("song.wav"), original);
    RunResult r = RunConv(
        {"-i", work.file("song.wav"), "-y", "-vn", "-acodec", "pcm_s16le", work.file("song.wav")});
    ExpectCleanFailure(r, work.file("song.wav"), "input file itself", work, {"song.wav"});
    EXPECT_EQ(ReadFile(work.file("song.wav")), original);

    // The same file under another name (a hard link) is still the input.
    ASSERT_EQ(link(work.file("song.wav").c_str(), work.file("link.wav").c_str()), 0);
    r = RunConv({"-i", work.file("song.wav"), "-y", work.file("link.wav")});
    ExpectCleanFailure(r, work.file("link.wav"), "input file itself", work,
                       {"link.wav", "song.wav"});
    EXPECT_EQ(ReadFile(work.file("song.wav")), original);

    // A failed conversion keeps the earlier output of that name.
    WriteFile(work.file("bad.mp3"), std::string(4096, 'x'));
    WriteFile(work.file("bad.flac"), "earlier result");
    r = RunConv({"-i", work.file("bad.mp3"), "-y", work.file("bad.flac")});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_EQ(ReadFile(work.file("bad.flac")), "earlier result");

    // Without -y an existing output is left alone too.
    r = RunConv({"-i", input(), work.file("bad.flac")});
    EXPECT_NE(r.lastLine().find("already exists"), std::string::npos);
    EXPECT_EQ(ReadFile(work.file("bad.flac")), "earlier result");
}

TEST_F(ConvCli, OddNamesWorkBothWays) {
    const std::string names[] = {
        "with \"quotes\" and 'more'", "  spaces  ", "-leading dash", "new\nline",
        "latin1 \xE9\xE8 bytes",      "colon: here"};
    for (const auto& name : names) {
        SCOPED_TRACE(name);
        ScratchDir work;
        WriteFile(work.file(name + ".wav"), ReadFile(input()));
        ConversionSettings s;
        s.formatIndex = 0; // MP3 also carries the metadata map with both names
        s.outputFolder = work.path();
        const BuiltCommand built =
            BuildCommandLine(work.file(name + ".wav"), s, PELKORA_PROGRAM_DIR).value();
        const RunResult r = RunConv(built.arguments);
        EXPECT_EQ(r.exitCode, 0) << r.output;
        EXPECT_TRUE(Probe(built.outputPath).ok);
    }
    // The error line for such a name stays one line.
    ScratchDir out;
    const RunResult r = RunConv({"-i", out.file("gone\nfile.wav"), "-y", out.file("x.mp3")});
    EXPECT_EQ(r.output, "conv: " + out.path() + "/gone\\x0Afile.wav: the file does not exist\n");
}

TEST_F(ConvCli, StopSignalsRemoveTheTemporaryFile) {
    for (const int sig : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(sig);
        ScratchDir work;
        // A FIFO input keeps the conversion waiting in the middle of its output.
        const std::string fifo = work.file("slow.wav");
        ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
        WriteFile(work.file("out.flac"), "earlier result");
        Child child(ConvPath(), {"-i", fifo, "-y", work.file("out.flac")});
        const int writer = open(fifo.c_str(), O_WRONLY);
        ASSERT_GE(writer, 0);
        // Half of the promised data: conv then waits for the rest. Stream probing wants a few
        // seconds of it before the output is started.
        const std::string wav = ReadFile(dir_->file("long.wav"));
        const std::size_t half = wav.size() / 2;
        ASSERT_EQ(write(writer, wav.data(), half), static_cast<ssize_t>(half));

        // Wait for the temporary file to appear.
        bool started = false;
        for (int i = 0; i < 1000 && !started; ++i) {
            started = work.entries().size() == 3;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ASSERT_TRUE(started);
        const auto sent = std::chrono::steady_clock::now();
        kill(child.pid(), sig);
        const RunResult r = child.wait();
        close(writer);
        EXPECT_LT(std::chrono::steady_clock::now() - sent, std::chrono::seconds(2));
        EXPECT_EQ(r.signal, sig);
        EXPECT_EQ(r.lastLine(),
                  "conv: " + work.file("out.flac") + ": the conversion was interrupted");
        EXPECT_EQ(work.entries(), (std::vector<std::string>{"out.flac", "slow.wav"}));
        EXPECT_EQ(ReadFile(work.file("out.flac")), "earlier result");
    }
}

TEST_F(ConvCli, UsageErrorsNameTheArgument) {
    RunResult r = RunConv({});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.lastLine().rfind("conv: usage: conv -i INPUT", 0), 0u);
    r = RunConv({"-i", input(), "-y", "out.ogx"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.lastLine().rfind("conv: out.ogx: unsupported output type", 0), 0u);
}
