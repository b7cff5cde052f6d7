#include "headless/cli_harness.h"
#include "settings/settings_file.h"

#include <csignal>
#include <filesystem>

#include <sys/stat.h>

#include <gtest/gtest.h>

namespace {

using namespace clitest;
namespace fs = std::filesystem;

using Names = std::vector<std::string>;

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class HeadlessCli : public ::testing::Test {
protected:
    HeadlessCli() {
        fs::create_directories(home);
        fs::create_directories(in);
    }

    Finished Batch(const std::vector<std::string>& args) const { return program.batch(args, home); }
    void StopMidRun(int signal, bool wholeGroup, int expectedStatus);

    TempDir root;
    ProgramCopy program{root / "program"};
    std::string home = root / "home";
    std::string in = root / "in";
    std::string out = root / "out";
};

TEST_F(HeadlessCli, EachFormatGivesItsKindOfFile) {
    MakeTone(in + "/tone.wav", 3);
    struct Expected {
        const char* format;
        const char* codec;
        int rate;
        int channels;
    };
    // Only mp3 and mpg take rate and channels; the others keep the input's or fix their own.
    for (const Expected& e :
         {Expected{"mp3", "mp3", 44100, 2}, Expected{"ogg", "vorbis", 44100, 2},
          Expected{"flac", "flac", 44100, 1}, Expected{"wav", "pcm_s16le", 44100, 1},
          Expected{"AMR", "amr_nb", 8000, 1}}) {
        SCOPED_TRACE(e.format);
        std::string extension = e.format;
        for (char& c : extension)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        const std::string folder = out + "/" + extension;
        const Finished run = Batch({"--format", e.format, "--output", folder, in + "/tone.wav"});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_TRUE(Contains(run.err, "1 converted")) << run.err;
        EXPECT_EQ(Tree(folder), Names{"tone." + extension});
        const Probed probed = Probe(folder + "/tone." + extension);
        EXPECT_EQ(probed.codec, e.codec);
        EXPECT_EQ(probed.sampleRate, e.rate);
        EXPECT_EQ(probed.channels, e.channels);
        EXPECT_NEAR(probed.seconds, 3.0, 0.15);
    }
}

TEST_F(HeadlessCli, CommandLineChoicesReachTheOutput) {
    MakeTone(in + "/tone.wav", 3);
    const Finished run =
        Batch({in + "/tone.wav", "--format", "mp3", "--rate", "22050", "--channels", "mono",
               "--bitrate", "64", "--cut", "0:01", "1", "--output=" + out});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const Probed probed = Probe(out + "/tone.mp3");
    EXPECT_EQ(probed.codec, "mp3");
    EXPECT_EQ(probed.sampleRate, 22050);
    EXPECT_EQ(probed.channels, 1);
    EXPECT_EQ(probed.bitRate, 64000);
    EXPECT_NEAR(probed.seconds, 1.0, 0.15) << "the cut's length";
}

TEST_F(HeadlessCli, FolderGivesItsOwnFilesFirstAndSkipsWhatIsNoFile) {
    const std::string album = in + "/album";
    fs::create_directories(album + "/sub/deeper");
    fs::create_directories(in + "/elsewhere");
    MakeTone(album + "/song.wav", 1);
    MakeTone(album + "/b.wav", 1);
    MakeTone(album + "/sub/song.wav", 2);
    MakeTone(album + "/sub/deeper/c.wav", 1);
    MakeTone(in + "/elsewhere/x.wav", 1);
    ASSERT_EQ(::mkfifo((album + "/pipe.wav").c_str(), 0600), 0);
    fs::create_directory_symlink(in + "/elsewhere", album + "/linked");

    const Finished run = Batch({"-j", "1", "--format", "wav", "--output", out, album});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Tree(out), (Names{"b.wav", "c.wav", "song (2).wav", "song.wav"}))
        << "the pipe and the linked folder are left alone";
    EXPECT_NEAR(Probe(out + "/song.wav").seconds, 1.0, 0.1) << "the folder's own file came first";
    EXPECT_NEAR(Probe(out + "/song (2).wav").seconds, 2.0, 0.1);
    EXPECT_TRUE(Contains(run.err, "[3/4] song.wav \u2192 song (2).wav\n")) << run.err;
    EXPECT_TRUE(Contains(run.err, "[4/4] c.wav \u2192 c.wav\n")) << run.err;
    EXPECT_TRUE(Contains(run.err, "4 converted\n")) << run.err;
    EXPECT_TRUE(Contains(run.err, "Renamed to keep outputs apart:\n  " + album +
                                      "/sub/song.wav \u2192 " + out + "/song (2).wav\n"))
        << run.err;
}

TEST_F(HeadlessCli, KeepTreeMirrorsTheFoldersBelowEachFolderArgument) {
    const std::string album = in + "/album";
    fs::create_directories(album + "/sub/deeper");
    MakeTone(album + "/song.wav", 1);
    MakeTone(album + "/sub/song.wav", 1);
    MakeTone(album + "/sub/deeper/c.wav", 1);
    MakeTone(in + "/loose.wav", 1);

    const Finished run =
        Batch({"--keep-tree", "--format", "flac", "--output", out, album, in + "/loose.wav"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Tree(out), (Names{"loose.flac", "song.flac", "sub/", "sub/deeper/",
                                "sub/deeper/c.flac", "sub/song.flac"}));
    EXPECT_FALSE(Contains(run.err, "Renamed")) << run.err;
}

TEST_F(HeadlessCli, FailingFileFailsAloneAndTheSummaryGivesTheReason) {
    MakeTone(in + "/good1.wav", 1);
    MakeTone(in + "/good2.wav", 1);
    WriteFile(in + "/x.wav", "this is not audio\n");

    const Finished run = Batch({"-j1", "--format", "flac", "--output", out, in + "/good1.wav",
                                in + "/x.wav", in + "/good2.wav"});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_EQ(Tree(out), (Names{"good1.flac", "good2.flac"})) << "nothing half-written is left";
    EXPECT_EQ(ReadFile(in + "/x.wav"), "this is not audio\n");
    EXPECT_TRUE(Contains(run.err, "[2/3] x.wav \u2192 x.flac: failed: ")) << run.err;
    const std::string summary = "2 converted, 1 failed\n  " + in + "/x.wav: ";
    const std::size_t at = run.err.find(summary);
    ASSERT_NE(at, std::string::npos) << run.err;
    const std::size_t reason = at + summary.size();
    EXPECT_GT(run.err.find('\n', reason), reason) << "a reason follows the path";
}

TEST_F(HeadlessCli, ShortInputConvertsWithAWarningAndItsOwnStatus) {
    MakeTone(in + "/clean.wav", 1);
    MakeTone(in + "/short.wav", 4);
    // The header claims ten seconds of sound; the file holds four.
    std::string bytes = ReadFile(in + "/short.wav");
    const std::size_t data = bytes.find("data");
    ASSERT_NE(data, std::string::npos);
    const std::uint32_t claimed = 10 * 44100 * 2;
    for (int i = 0; i < 4; ++i)
        bytes[data + 4 + i] = static_cast<char>((claimed >> (8 * i)) & 0xff);
    WriteFile(in + "/short.wav", bytes);

    const Finished run =
        Batch({"-j1", "--format", "flac", "--output", out, in + "/clean.wav", in + "/short.wav"});
    EXPECT_EQ(run.exitCode, 3) << run.err;
    EXPECT_EQ(Tree(out), (Names{"clean.flac", "short.flac"})) << "what could be read is kept";
    EXPECT_TRUE(Contains(run.err, "2 converted, 1 with warnings\n")) << run.err;
    EXPECT_TRUE(Contains(run.err, "(damaged or cut short)")) << run.err;
}

TEST_F(HeadlessCli, BadUsageConvertsNothing) {
    MakeTone(in + "/tone.wav", 1);
    const std::string tone = in + "/tone.wav";
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{"--bogus", tone}, "pelkora: unknown option --bogus"},
        {{"--rate", "11025", tone},
         "pelkora: --rate 11025 is not one of 48000, 44100, 32000, 24000, 22050, 16000, "
         "12050, 8000\n"},
        {{"--format", "mp3"}, "pelkora: no files or folders to convert"},
        {{tone, in + "/missing.wav"}, in + "/missing.wav"},
        {{"--jobs", "100000", tone}, "pelkora: --jobs 100000 is not a number from 1 to "},
        {{"--cut", "10", tone}, "pelkora: --cut length " + tone + " is not a time"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        std::vector<std::string> args = c.args;
        args.insert(args.begin(), {"--output", out});
        const Finished run = Batch(args);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(Contains(run.err, c.message)) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(Tree(out), Names{});
        EXPECT_EQ(Tree(in), Names{"tone.wav"});
    }
}

// A long second file is being converted when the signal comes.
void HeadlessCli::StopMidRun(int signal, bool wholeGroup, int expectedStatus) {
    MakeTone(in + "/short.wav", 1);
    MakeTone(in + "/long.flac", 30 * 60, 8000);
    auto run = program.start(
        {"-j", "1", "--format", "mp3", "--output", out, in + "/short.wav", in + "/long.flac"}, home,
        wholeGroup);
    ASSERT_TRUE(run->waitUntil([&] { return Contains(run->err(), "[1/2] short.wav"); }))
        << run->err();
    ASSERT_TRUE(run->waitUntil([&] { return Tree(out).size() >= 2; }))
        << "the long file's output never appeared";
    ASSERT_EQ(::kill(wholeGroup ? -run->pid() : run->pid(), signal), 0);

    const Finished done = run->finish();
    EXPECT_FALSE(done.timedOut);
    EXPECT_EQ(done.exitCode, expectedStatus) << done.err;
    EXPECT_TRUE(run->waitUntil([&] { return !program.converterRunning(); }))
        << "a converter outlived the program";
    EXPECT_EQ(Tree(out), Names{"short.mp3"}) << "nothing unfinished is left";
    EXPECT_NEAR(Probe(out + "/short.mp3").seconds, 1.0, 0.1);
    EXPECT_EQ(Tree(in), (Names{"long.flac", "short.wav"}));
}

TEST_F(HeadlessCli, CtrlCStopsTheRunAndLeavesOnlyFinishedOutputs) {
    StopMidRun(SIGINT, true, 130);
}

TEST_F(HeadlessCli, SigtermStopsTheRunAndLeavesOnlyFinishedOutputs) {
    StopMidRun(SIGTERM, false, 143);
}

TEST_F(HeadlessCli, SettingsFilesAreReadAndNeverWritten) {
    MakeTone(in + "/tone.wav", 3);
    settings::SetupRecords setup;
    setup.cmbOF = 2; // OGG
    setup.txtPath = out;
    const auto setupText = settings::FormatSetupText(setup);
    ASSERT_TRUE(setupText);
    settings::OptionsRecords options;
    options.CutEnabled = 1;
    options.CutStart = 1;
    options.CutLength = 1;
    const std::string optionsText = settings::FormatOptionsText(options);
    WriteFile(program.folder() + "/setup.ini", *setupText);
    WriteFile(program.folder() + "/options.ini", optionsText);
    const Names before = Tree(program.folder());

    Finished run = Batch({in + "/tone.wav"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Tree(out), Names{"tone.ogg"});
    EXPECT_NEAR(Probe(out + "/tone.ogg").seconds, 1.0, 0.15) << "the cut of options.ini";

    run = Batch({"--format", "flac", "--cut", "0", "0", in + "/tone.wav"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NEAR(Probe(out + "/tone.flac").seconds, 3.0, 0.15) << "the command line wins";

    EXPECT_EQ(Tree(program.folder()), before);
    EXPECT_EQ(ReadFile(program.folder() + "/setup.ini"), *setupText);
    EXPECT_EQ(ReadFile(program.folder() + "/options.ini"), optionsText);
    EXPECT_EQ(Tree(home), Names{});
}

TEST_F(HeadlessCli, WithoutSettingsFilesTheDefaultsApplyAndNoneIsWritten) {
    MakeTone(in + "/tone.wav", 1);
    const Finished run = Batch({in + "/tone.wav"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Tree(program.folder()),
              (Names{"data/", "data/conv", "output/", "output/tone.mp3", "pelkora"}));
    EXPECT_EQ(Probe(program.folder() + "/output/tone.mp3").sampleRate, 44100);
    EXPECT_EQ(Tree(home), Names{});
}

TEST_F(HeadlessCli, HelpAndVersion) {
    for (const char* help : {"--help", "-h"}) {
        const Finished run = Batch({help});
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_TRUE(Contains(run.out, "--batch")) << run.out;
        EXPECT_TRUE(Contains(run.out, "--jobs")) << run.out;
        EXPECT_EQ(run.err, "");
    }
    const Finished version = Batch({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "pelkora " PELKORA_VERSION_TEXT "\n");
    EXPECT_EQ(Tree(program.folder()), (Names{"data/", "data/conv", "pelkora"}));
}

} // namespace
