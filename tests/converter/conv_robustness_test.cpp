// A bounded robustness run: a few hundred damaged copies of valid media, each converted by
// the conv program with a deadline. Every run must end by itself, cleanly: success, a warning
// or the one error line; never a crash, a sanitizer report, a hang or a leftover file.
#include "conv_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <future>
#include <random>

using namespace convtest;

namespace {

// One kind of damage per copy.
std::string Mutate(std::string data, std::mt19937& random) {
    const auto pick = [&](std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
    };
    switch (pick(4)) {
    case 0: // scattered bit flips
        for (std::size_t n = 1 + pick(40); n; --n)
            data[pick(data.size())] ^= static_cast<char>(1u << pick(8));
        break;
    case 1: // a run of random bytes, often in the header
        for (std::size_t i = pick(pick(2) ? std::min<std::size_t>(data.size(), 512) : data.size()),
                         n = 1 + pick(64);
             i < data.size() && n; ++i, --n)
            data[i] = static_cast<char>(pick(256));
        break;
    case 2: // truncated anywhere
        data.resize(1 + pick(data.size()));
        break;
    default: // a slice repeated elsewhere
        data.insert(pick(data.size()), data.substr(pick(data.size()), 1 + pick(4096)));
    }
    return data;
}

std::string Problem(const std::string& output, const RunResult& r, const ScratchDir& out) {
    if (r.timedOut || r.signal != 0)
        return r.timedOut ? "hang" : "killed by signal " + std::to_string(r.signal);
    if (r.output.find("Sanitizer") != std::string::npos ||
        r.output.find("runtime error") != std::string::npos)
        return "sanitizer report";
    // 3: converted what could be read, with a warning line per kind of loss.
    if (r.exitCode != 0 &&
        ((r.exitCode != 1 && r.exitCode != 3) || r.lastLine().rfind("conv: ", 0) != 0 ||
         (r.exitCode == 3) != (r.lastLine().find(": warning: ") != std::string::npos)))
        return "status " + std::to_string(r.exitCode);
    if (std::filesystem::exists(output) != (r.exitCode != 1))
        return "output present after failure, or missing after success";
    // Only this run's own temporary name: the other run may be busy beside it.
    const std::string own = "." + output.substr(output.rfind('/') + 1) + ".conv-";
    for (const auto& name : out.entries())
        if (name.starts_with(own))
            return "temporary file left: " + name;
    return {};
}

} // namespace

TEST(ConvRobustness, DamagedMediaNeverCrashOrHang) {
    ScratchDir sources, damaged, out;
    const std::pair<std::string, const char*> kinds[] = {
        {".wav", "pcm_s16le"}, {".flac", "flac"}, {".mp3", "libmp3lame"}, {".ogg", "libvorbis"},
        {".m4a", "aac"},       {".ac3", "ac3"},   {".wma", "wmav2"},      {".mp2", "mp2"}};
    const char* outputs[] = {".mp3", ".wav", ".flac", ".ogg",  ".aac", ".ac3",
                             ".amr", ".mpg", ".wma",  ".opus", ".m4a"};
    std::mt19937 random(20240611);
    std::vector<std::pair<std::string, std::string>> cases; // input, output
    for (std::size_t s = 0; s < std::size(kinds); ++s) {
        const std::string valid = sources.file("a" + kinds[s].first);
        ASSERT_TRUE(Ffmpeg({"-f", "lavfi", "-i", "sine=sample_rate=22050:duration=1", "-ac", "2",
                            "-metadata", "title=x", "-c:a", kinds[s].second, valid}));
        for (int i = 0; i < 36; ++i) {
            const std::string base = "m" + std::to_string(s) + "_" + std::to_string(i);
            WriteFile(damaged.file(base + kinds[s].first), Mutate(ReadFile(valid), random));
            cases.emplace_back(damaged.file(base + kinds[s].first),
                               out.file(base + outputs[(s + i) % std::size(outputs)]));
        }
    }

    int succeeded = 0;
    for (std::size_t i = 0; i < cases.size(); i += 2) { // two at a time, one per core
        std::vector<std::future<RunResult>> running;
        for (std::size_t k = i; k < std::min(i + 2, cases.size()); ++k)
            running.push_back(std::async(std::launch::async, [&, k] {
                const auto& [in, output] = cases[k];
                return RunConv({"-i", in, "-y", "-vn", "-map_meta_data", in + ":" + output, output},
                               -1, 60);
            }));
        for (std::size_t k = i; k < i + running.size(); ++k) {
            const RunResult r = running[k - i].get();
            succeeded += r.exitCode == 0;
            const std::string problem = Problem(cases[k].second, r, out);
            EXPECT_EQ(problem, "") << cases[k].first << " -> " << cases[k].second << "\n"
                                   << r.output.substr(0, 2000);
        }
    }
    // Only meaningful when some copies still convert and some do not.
    EXPECT_GT(succeeded, 0);
    EXPECT_LT(succeeded, static_cast<int>(cases.size()));
}
