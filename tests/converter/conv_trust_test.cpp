// Outputs that can be trusted: a damaged or short input still converts what can be read and
// says so (status 3); clean inputs say nothing; a file that does not read back is never put
// in place.
#include "conv_test_support.h"

#include "converter/output_check.h"
#include "converter/progress.h"
#include "converter/transcoder.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <tuple>

#include <unistd.h>

extern "C" {
#include <libavutil/log.h>
}

using namespace convtest;

namespace {

const std::string kTone = "sine=duration=10:sample_rate=44100";

std::string Input(const std::string& name) {
    const std::map<std::string, std::pair<std::string, std::vector<std::string>>> made = {
        {"padded.mp3", {kTone, {"-c:a", "libmp3lame", "-b:a", "128k"}}},
        // Silence, then noise: a length guessed from the first frames' bitrate is twice the
        // real one.
        {"vbr.mp3",
         {"aevalsrc=exprs=if(lt(t\\,5)\\,0\\,0.4*(random(0)-0.5)):sample_rate=44100:duration=10",
          {"-c:a", "libmp3lame", "-q:a", "2", "-write_xing", "0"}}},
        {"in.ogg", {kTone, {"-c:a", "libvorbis"}}},
        // Noise, so that the frames are large and a damaged stretch hits many.
        {"in.flac", {"anoisesrc=duration=10:sample_rate=44100:amplitude=0.3", {}}},
        {"in.wav", {kTone, {}}},
        // The picture runs two seconds past the sound.
        {"video.mp4",
         {"testsrc=duration=12:size=64x48:rate=10",
          {"-f", "lavfi", "-i", kTone, "-c:v", "mpeg4", "-c:a", "aac", "-movflags",
           "+faststart"}}}};
    const auto& [source, args] = made.at(name);
    return Made(name, source, args);
}

} // namespace

TEST(ConvTrust, DamagedOrShortInputsConvertWhatCanBeReadWithAWarning) {
    ScratchDir work;
    for (const auto& [from, to] :
         {std::pair{"padded.mp3", "truncated.mp3"}, {"video.mp4", "cut-audio.mp4"}}) {
        const std::string bytes = ReadFile(Input(from));
        WriteFile(work.file(to), bytes.substr(0, bytes.size() / 2));
    }
    std::string flac = ReadFile(Input("in.flac"));
    for (std::size_t i = flac.size() * 4 / 10; i < flac.size() * 6 / 10; ++i)
        flac[i] = static_cast<char>(i * 2654435761u >> 13);
    WriteFile(work.file("damaged.flac"), flac);
    // Four seconds whose header claims ten.
    ASSERT_TRUE(Ffmpeg({"-f", "lavfi", "-i", "sine=duration=4", "-ac", "2", work.file("4s.wav")}));
    std::string wav = ReadFile(work.file("4s.wav"));
    const std::size_t data = wav.find("data");
    ASSERT_NE(data, std::string::npos);
    for (int i = 0; i < 4; ++i)
        wav[data + 4 + i] = static_cast<char>((10 * 44100 * 4) >> (8 * i));
    WriteFile(work.file("overstated.wav"), wav);

    // Input, the warning expected, and the length of audio that can be read.
    for (const auto& [name, warning, seconds, within] :
         {std::tuple{"truncated.mp3", "warning: input ends at 0:0", 5.0, 0.6},
          {"cut-audio.mp4", "warning: input ends at 0:0", 5.0, 2.0},
          {"damaged.flac", " in the input's audio (", 8.0, 1.0},
          {"overstated.wav", "warning: input ends at 0:04 of 0:10 (damaged or cut short)", 4.0,
           0.01}}) {
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

TEST(ConvTrust, CleanInputsGiveNoWarning) {
    ScratchDir out;
    for (const char* name : {"padded.mp3", "vbr.mp3", "in.ogg", "in.flac", "in.wav", "video.mp4"})
        for (const std::string extension : {".mp3", ".flac", ".ogg"}) {
            const RunResult r =
                RunConv({"-i", Input(name), "-y", "-vn", out.file("x" + extension)});
            EXPECT_EQ(r.exitCode, 0) << name << " to " << extension << ": " << r.output;
            EXPECT_EQ(r.output.find("warning"), std::string::npos) << r.output;
        }
}

// A temporary file spoiled just before it is read back: refused, removed, and the earlier
// output left as it was.
TEST(ConvTrust, AnOutputThatDoesNotReadBackIsNotPutInPlace) {
    av_log_set_level(AV_LOG_QUIET);
    const std::pair<const char*, std::function<void(int)>> spoils[] = {
        {"none", nullptr},
        {"half", [](int fd) { ASSERT_EQ(ftruncate(fd, lseek(fd, 0, SEEK_END) / 2), 0); }},
        {"head",
         [](int fd) { ASSERT_EQ(pwrite(fd, std::string(4096, '\0').data(), 4096, 0), 4096); }}};
    conv::Options options;
    options.input = Input("in.wav");
    options.overwrite = true;
    for (const std::string extension :
         {".mp3", ".wma", ".ogg", ".wav", ".flac", ".ac3", ".aac", ".amr", ".mpg", ".opus", ".m4a"})
        for (const auto& [spoil, step] : spoils) {
            SCOPED_TRACE(extension + " " + spoil);
            const ScratchDir out;
            options.output = out.file("out" + extension);
            WriteFile(options.output, "earlier result");
            conv::CheckHooks().beforeCheck = step;
            conv::Console quiet(nullptr);
            std::vector<std::string> warnings;
            const conv::Status failed = conv::Convert(options, quiet, warnings);
            conv::CheckHooks().beforeCheck = nullptr;
            EXPECT_EQ(out.entries(), std::vector<std::string>{"out" + extension});
            const bool refused =
                failed && failed->reason.find("does not read back correctly") != std::string::npos;
            EXPECT_EQ(refused ? failed->path : "(put in place)",
                      step ? options.output : "(put in place)")
                << (failed ? failed->reason : "");
            EXPECT_TRUE(step ? ReadFile(options.output) == "earlier result"
                             : Probe(options.output).ok);
        }
}
