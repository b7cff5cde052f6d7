// Outputs that can be trusted: a damaged or short input still converts what can be read and
// says so (status 3); clean inputs say nothing; a file that does not read back is never put
// in place.
#include "conv_test_support.h"

#include "converter/output_check.h"
#include "converter/progress.h"
#include "converter/transcoder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <tuple>

#include <unistd.h>

extern "C" {
#include <libavutil/log.h>
}

using namespace convtest;

namespace {

class ConvTrust : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = std::make_unique<ScratchDir>();
        // Noise, so that compressed frames are large and VBR really varies.
        const std::string noise = "anoisesrc=duration=10:sample_rate=44100:amplitude=0.3";
        const std::string tone = "sine=duration=10:sample_rate=44100";
        const std::vector<std::vector<std::string>> makes = {
            {"-f", "lavfi", "-i", tone, "-ac", "2", "-c:a", "libmp3lame", "-b:a", "128k",
             dir_->file("padded.mp3")},
            // Silence, then noise: a length guessed from the first frames' bitrate is twice
            // the real one.
            {"-f", "lavfi", "-i",
             "aevalsrc=exprs=if(lt(t\\,5)\\,0\\,0.4*(random(0)-0.5)):sample_rate=44100:duration=10",
             "-ac", "2", "-c:a", "libmp3lame", "-q:a", "2", "-write_xing", "0",
             dir_->file("vbr.mp3")},
            {"-f", "lavfi", "-i", tone, "-ac", "2", "-c:a", "libvorbis", dir_->file("in.ogg")},
            {"-f", "lavfi", "-i", noise, "-ac", "2", dir_->file("in.flac")},
            {"-f", "lavfi", "-i", tone, "-ac", "2", dir_->file("in.wav")},
            // The picture runs two seconds past the sound.
            {"-f", "lavfi", "-i", "testsrc=duration=12:size=64x48:rate=10", "-f", "lavfi", "-i",
             tone, "-c:v", "mpeg4", "-c:a", "aac", "-ac", "2", "-movflags", "+faststart",
             dir_->file("video.mp4")}};
        for (const auto& args : makes)
            ASSERT_TRUE(Ffmpeg(args)) << args.back();
    }
    static void TearDownTestSuite() { dir_.reset(); }
    static std::unique_ptr<ScratchDir> dir_;
};

std::unique_ptr<ScratchDir> ConvTrust::dir_;

std::string Cut(const std::string& bytes, double fraction) {
    return bytes.substr(0, static_cast<std::size_t>(static_cast<double>(bytes.size()) * fraction));
}

} // namespace

TEST_F(ConvTrust, DamagedOrShortInputsConvertWhatCanBeReadWithAWarning) {
    ScratchDir work;
    WriteFile(work.file("truncated.mp3"), Cut(ReadFile(dir_->file("padded.mp3")), 0.5));
    WriteFile(work.file("cut-audio.mp4"), Cut(ReadFile(dir_->file("video.mp4")), 0.5));
    std::string flac = ReadFile(dir_->file("in.flac"));
    for (std::size_t i = flac.size() * 4 / 10; i < flac.size() * 6 / 10; ++i)
        flac[i] = static_cast<char>(i * 2654435761u >> 13);
    WriteFile(work.file("damaged.flac"), flac);
    // A four-second WAV whose header claims ten.
    ASSERT_TRUE(Ffmpeg({"-f", "lavfi", "-i", "sine=duration=4", "-ac", "2", work.file("4s.wav")}));
    std::string wav = ReadFile(work.file("4s.wav"));
    const std::size_t data = wav.find("data");
    ASSERT_NE(data, std::string::npos);
    const std::uint32_t claimed = 10 * 44100 * 4;
    for (int i = 0; i < 4; ++i)
        wav[data + 4 + i] = static_cast<char>(claimed >> (8 * i));
    WriteFile(work.file("overstated.wav"), wav);

    // Input, the warning expected, and the length of audio that can be read.
    const std::tuple<const char*, const char*, double, double> cases[] = {
        {"truncated.mp3", "warning: input ends at 0:0", 5.0, 0.6},
        {"cut-audio.mp4", "warning: input ends at 0:0", 5.0, 2.0},
        {"damaged.flac", " in the input's audio (", 8.0, 1.0},
        {"overstated.wav", "warning: input ends at 0:04 of 0:10 (damaged or cut short)", 4.0,
         0.01}};
    for (const auto& [name, warning, seconds, within] : cases) {
        SCOPED_TRACE(name);
        const std::string in = work.file(name), out = work.file(std::string(name) + ".flac");
        const RunResult r = RunConv({"-i", in, "-y", "-vn", out});
        EXPECT_EQ(r.exitCode, 3) << r.output;
        EXPECT_EQ(r.lastLine().rfind("conv: " + in + ": warning: ", 0), 0u) << r.output;
        EXPECT_NE(r.output.find(warning), std::string::npos) << r.output;
        const MediaInfo info = Probe(out);
        EXPECT_TRUE(info.ok);
        EXPECT_NEAR(info.seconds(), seconds, within);
    }
}

TEST_F(ConvTrust, CleanInputsGiveNoWarning) {
    ScratchDir out;
    int conversions = 0, falseAlarms = 0;
    for (const char* name : {"padded.mp3", "vbr.mp3", "in.ogg", "in.flac", "in.wav", "video.mp4"}) {
        for (const char* extension : {".mp3", ".flac", ".ogg"}) {
            SCOPED_TRACE(std::string(name) + " to " + extension);
            const RunResult r = RunConv(
                {"-i", dir_->file(name), "-y", "-vn", out.file(std::string("x") + extension)});
            ++conversions;
            falseAlarms += r.output.find("warning") != std::string::npos;
            EXPECT_EQ(r.exitCode, 0) << r.output;
        }
    }
    // The cut of a longer file gives no warning either, nor one that runs past the end.
    for (const char* length : {"3", "30"}) {
        const RunResult r = RunConv(
            {"-i", dir_->file("vbr.mp3"), "-ss", "5", "-t", length, "-y", out.file("cut.flac")});
        ++conversions;
        falseAlarms += r.output.find("warning") != std::string::npos;
        EXPECT_EQ(r.exitCode, 0) << r.output;
    }
    std::printf("false alarms: %d of %d clean conversions\n", falseAlarms, conversions);
    EXPECT_EQ(falseAlarms, 0);
}

// A temporary file spoiled just before it is read back: refused, removed, and the earlier
// output left as it was.
TEST_F(ConvTrust, AnOutputThatDoesNotReadBackIsNotPutInPlace) {
    av_log_set_level(AV_LOG_QUIET);
    ScratchDir out;
    const std::string in = out.file("in.wav");
    ASSERT_TRUE(Ffmpeg({"-f", "lavfi", "-i", "sine=duration=1", "-ac", "2", in}));
    const std::pair<const char*, std::function<void(int)>> spoils[] = {
        {"none", nullptr},
        {"half", [](int fd) { ASSERT_EQ(ftruncate(fd, lseek(fd, 0, SEEK_END) / 2), 0); }},
        {"head", [](int fd) {
             const std::string zeros(4096, '\0');
             ASSERT_EQ(pwrite(fd, zeros.data(), zeros.size(), 0), 4096);
         }}};
    for (const char* extension :
         {".mp3", ".wma", ".ogg", ".wav", ".flac", ".ac3", ".aac", ".amr", ".mpg"}) {
        for (const auto& [spoil, step] : spoils) {
            SCOPED_TRACE(std::string(extension) + " " + spoil);
            const std::string output = out.file(std::string("out") + extension);
            WriteFile(output, "earlier result");
            conv::CheckHooks().beforeCheck = step;
            conv::Console quiet(nullptr);
            std::vector<std::string> warnings;
            conv::Options options;
            options.input = in;
            options.output = output;
            options.overwrite = true;
            const conv::Status failed = conv::Convert(options, quiet, warnings);
            conv::CheckHooks().beforeCheck = nullptr;
            for (const std::string& name : out.entries())
                EXPECT_FALSE(name.ends_with(".part")) << name;
            if (!step) {
                EXPECT_FALSE(failed) << failed->reason;
                EXPECT_TRUE(Probe(output).ok);
                continue;
            }
            ASSERT_TRUE(failed);
            EXPECT_EQ(failed->path, output);
            EXPECT_NE(failed->reason.find("does not read back correctly"), std::string::npos)
                << failed->reason;
            EXPECT_EQ(ReadFile(output), "earlier result");
        }
    }
}
