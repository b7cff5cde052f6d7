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

using Names = std::vector<std::string>;

class ConvCli : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = std::make_unique<ScratchDir>();
        for (const char* name : {"in.wav", "in.flac"})
            ASSERT_TRUE(Ffmpeg({"-f", "lavfi", "-i", "sine=sample_rate=44100:duration=1", "-ac",
                                "2", dir_->file(name)}));
        ASSERT_TRUE(Ffmpeg({"-f", "lavfi", "-i", "sine=sample_rate=44100:duration=10", "-ac", "2",
                            dir_->file("long.wav")}));
    }
    static void TearDownTestSuite() { dir_.reset(); }
    static std::string input() { return dir_->file("in.wav"); }
    static std::unique_ptr<ScratchDir> dir_;
};

std::unique_ptr<ScratchDir> ConvCli::dir_;

// A failed run: status 1, exactly one error line and it comes last, no sanitizer report,
// and only `kept` left in the output folder.
void ExpectCleanFailure(const RunResult& r, const std::string& path, const std::string& reason,
                        const ScratchDir& out, Names kept = {}) {
    EXPECT_EQ(r.exitCode, 1) << r.output;
    EXPECT_EQ(r.lastLine().rfind("conv: " + path + ": ", 0), 0u) << r.output;
    EXPECT_NE(r.lastLine().find(reason), std::string::npos) << r.output;
    EXPECT_EQ(r.output.find("conv: "), r.output.rfind("conv: ")) << r.output;
    EXPECT_EQ(r.output.find("Sanitizer"), std::string::npos) << r.output;
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(out.entries(), kept);
}

} // namespace

TEST_F(ConvCli, SuccessPrintsWhatTheWindowReads) {
    ScratchDir out;
    ConversionSettings s;
    s.outputFolder = out.path();
    const RunResult r = RunConv(BuildCommandLine(input(), s, PELKORA_PROGRAM_DIR)->arguments);
    ASSERT_EQ(r.exitCode, 0) << r.output;
    EXPECT_EQ(out.entries(), Names{"in.mp3"});
    EXPECT_TRUE(std::regex_search(
        r.output,
        std::regex("  Duration: 00:00:01\\.00, start: [0-9.N/A]+, bitrate: \\d+ kb/s\n")));
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

TEST_F(ConvCli, BadInputsFailWithOneClearLine) {
    ScratchDir work;
    WriteFile(work.file("empty.wav"), "");
    std::string noise;
    for (int i = 0; i < 20000; ++i)
        noise.push_back(static_cast<char>((i * 7919 + i / 7) % 251));
    WriteFile(work.file("noise.mp3"), noise);
    const std::string flac = ReadFile(dir_->file("in.flac"));
    WriteFile(work.file("cut.flac"), flac.substr(0, flac.size() / 2));
    ASSERT_TRUE(Ffmpeg({"-f", "lavfi", "-i", "testsrc=duration=1:size=64x48", "-c:v", "mpeg4",
                        work.file("silent.mp4")}));
    const std::pair<std::string, const char*> cases[] = {
        {work.file("missing.wav"), "does not exist"},
        {work.path(), "folder"},
        {work.file("empty.wav"), "empty"},
        {work.file("noise.mp3"), "not a media file"},
        {work.file("cut.flac"), "incomplete"},
        {work.file("silent.mp4"), "no audio"}};
    for (const auto& [in, reason] : cases) {
        ScratchDir out;
        ExpectCleanFailure(RunConv({"-i", in, "-y", "-vn", out.file("x.mp3")}), in, reason, out);
    }
}

TEST_F(ConvCli, BadOutputsFailWithoutLeavingFiles) {
    ScratchDir out;
    ExpectCleanFailure(RunConv({"-i", input(), "-y", out.file("no/x.mp3")}), out.file("no/x.mp3"),
                       "output folder does not exist", out);

    // Read-only: a folder without write permission, or for root a read-only file system.
    Names kept;
    std::string locked = "/sys";
    if (geteuid() != 0) {
        locked = out.file("locked");
        ASSERT_EQ(mkdir(locked.c_str(), 0555), 0);
        kept.push_back("locked");
    }
    ExpectCleanFailure(RunConv({"-i", input(), "-y", locked + "/x.mp3"}), locked + "/x.mp3",
                       "cannot write in the output folder", out, kept);

    // A full disk, simulated by a file-size limit; the earlier output stays as it was.
    WriteFile(out.file("full.wav"), "earlier result");
    kept.push_back("full.wav");
    RunOptions limited;
    limited.fileSizeLimit = 32 * 1024;
    ExpectCleanFailure(RunConv({"-i", input(), "-y", out.file("full.wav")}, limited),
                       out.file("full.wav"), "too large", out, kept);
    EXPECT_EQ(ReadFile(out.file("full.wav")), "earlier result");
}

TEST_F(ConvCli, NeverOverwritesTheInputOrAnEarlierFileOnFailure) {
    ScratchDir work;
    const std::string original = ReadFile(input());
    WriteFile(work.file("song.wav"), original);
    ExpectCleanFailure(RunConv({"-i", work.file("song.wav"), "-y", "-vn", "-acodec", "pcm_s16le",
                                work.file("song.wav")}),
                       work.file("song.wav"), "input file itself", work, {"song.wav"});
    // The same file under another name (a hard link) is still the input.
    ASSERT_EQ(link(work.file("song.wav").c_str(), work.file("link.wav").c_str()), 0);
    ExpectCleanFailure(RunConv({"-i", work.file("song.wav"), "-y", work.file("link.wav")}),
                       work.file("link.wav"), "input file itself", work, {"link.wav", "song.wav"});
    EXPECT_EQ(ReadFile(work.file("song.wav")), original);

    // A failed conversion keeps the earlier output; so does a run without -y.
    WriteFile(work.file("bad.mp3"), std::string(4096, 'x'));
    WriteFile(work.file("bad.flac"), "earlier result");
    EXPECT_EQ(RunConv({"-i", work.file("bad.mp3"), "-y", work.file("bad.flac")}).exitCode, 1);
    EXPECT_NE(RunConv({"-i", input(), work.file("bad.flac")}).lastLine().find("already exists"),
              std::string::npos);
    EXPECT_EQ(ReadFile(work.file("bad.flac")), "earlier result");
}

TEST_F(ConvCli, OddNamesWorkBothWays) {
    for (const std::string name : {"with \"quotes\" and 'more'", "  spaces  ", "-leading dash",
                                   "new\nline", "latin1 \xE9\xE8 bytes", "colon: here"}) {
        ScratchDir work;
        WriteFile(work.file(name + ".wav"), ReadFile(input()));
        ConversionSettings s; // MP3 also carries the metadata map with both names
        s.outputFolder = work.path();
        const BuiltCommand built =
            BuildCommandLine(work.file(name + ".wav"), s, PELKORA_PROGRAM_DIR).value();
        const RunResult r = RunConv(built.arguments);
        EXPECT_EQ(r.exitCode, 0) << r.output;
        EXPECT_TRUE(Probe(built.outputPath).ok) << name;
    }
    // The error line for such a name stays one line.
    ScratchDir out;
    EXPECT_EQ(RunConv({"-i", out.file("gone\nfile.wav"), "-y", out.file("x.mp3")}).output,
              "conv: " + out.path() + "/gone\\x0Afile.wav: the file does not exist\n");
}

TEST_F(ConvCli, StopSignalsRemoveTheTemporaryFile) {
    for (const int sig : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(sig);
        ScratchDir work;
        // A FIFO input with half of the promised data keeps conv waiting mid-output.
        const std::string fifo = work.file("slow.wav");
        ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
        WriteFile(work.file("out.flac"), "earlier result");
        Child child(ConvPath(), {"-i", fifo, "-y", work.file("out.flac")});
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

TEST_F(ConvCli, UsageErrorsNameTheArgument) {
    RunResult r = RunConv({});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.lastLine().rfind("conv: usage: conv -i INPUT", 0), 0u);
    r = RunConv({"-i", input(), "-y", "out.ogx"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.lastLine().rfind("conv: out.ogx: unsupported output type", 0), 0u);
}
