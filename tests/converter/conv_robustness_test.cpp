// A bounded robustness run: a few hundred damaged copies of valid media, each converted by
// the conv program with a time limit. Every run must end by itself, cleanly: success, or the
// one error line; never a crash, a sanitizer report, a hang or a leftover temporary file.
#include "conv_test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <future>
#include <random>

using namespace convtest;

namespace {

constexpr int kCopiesPerSource = 36;
constexpr double kTimeLimitSeconds = 60;

// One kind of damage per copy, chosen by the seed.
std::string Mutate(const std::string& original, std::mt19937& random) {
    std::string data = original;
    const auto pick = [&](std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
    };
    switch (pick(5)) {
    case 0: // scattered bit flips
        for (std::size_t i = 0, n = 1 + pick(40); i < n; ++i)
            data[pick(data.size())] ^= static_cast<char>(1u << pick(8));
        break;
    case 1: // a run of random bytes, often in the header
    {
        const std::size_t at =
            pick(2) ? pick(std::min<std::size_t>(data.size(), 512)) : pick(data.size());
        for (std::size_t i = at, n = 1 + pick(64); i < data.size() && n; ++i, --n)
            data[i] = static_cast<char>(pick(256));
        break;
    }
    case 2: // truncated anywhere
        data.resize(1 + pick(data.size()));
        break;
    case 3: // a slice repeated
    {
        const std::size_t from = pick(data.size());
        const std::size_t length = std::min<std::size_t>(1 + pick(4096), data.size() - from);
        data.insert(pick(data.size()), data.substr(from, length));
        break;
    }
    default: // header bytes set to extremes
        for (std::size_t i = 0, n = 1 + pick(8); i < n; ++i)
            data[pick(std::min<std::size_t>(data.size(), 128))] = pick(2) ? '\xFF' : '\0';
        break;
    }
    return data;
}

struct Case {
    std::string input;
    std::string output;
};

std::string Check(const Case& c, const RunResult& r, const ScratchDir& out) {
    if (r.timedOut)
        return "hang";
    if (r.signal != 0)
        return "killed by signal " + std::to_string(r.signal);
    if (r.output.find("Sanitizer") != std::string::npos ||
        r.output.find("runtime error") != std::string::npos)
        return "sanitizer report";
    if (r.exitCode == 0) {
        if (!Exists(c.output))
            return "success without output";
    } else if (r.exitCode != 1 || r.lastLine().rfind("conv: ", 0) != 0) {
        return "status " + std::to_string(r.exitCode) + ", last line: " + r.lastLine();
    } else if (Exists(c.output)) {
        return "failure left an output";
    }
    // Only this case's own temporary name: the other run may be busy beside it.
    const std::string own = "." + c.output.substr(c.output.rfind('/') + 1) + ".conv-";
    for (const auto& name : out.entries()) {
        if (name.rfind(own, 0) == 0)
            return "temporary file left: " + name;
    }
    return {};
}

} // namespace

TEST(ConvRobustness, DamagedMediaNeverCrashOrHang) {
    ScratchDir sources;
    const std::string sine = "sine=frequency=330:sample_rate=22050:duration=1";
    const std::vector<std::pair<std::string, std::vector<std::string>>> kinds = {
        {"a.wav", {}},
        {"a.flac", {}},
        {"a.mp3", {"-b:a", "64k"}},
        {"a.ogg", {"-c:a", "libvorbis"}},
        {"a.m4a", {"-c:a", "aac"}},
        {"a.ac3", {}},
        {"a.wma", {"-c:a", "wmav2"}},
        {"a.mp2", {}},
    };
    std::vector<std::string> valid;
    for (const auto& [name, extra] : kinds) {
        std::vector<std::string> args = {"-f",  "lavfi", "-i",        sine,
                                         "-ac", "2",     "-metadata", "title=x"};
        args.insert(args.end(), extra.begin(), extra.end());
        args.push_back(sources.file(name));
        ASSERT_TRUE(Ffmpeg(args)) << name;
        valid.push_back(sources.file(name));
    }

    ScratchDir damaged;
    ScratchDir out;
    std::vector<Case> cases;
    const char* outputs[] = {".mp3", ".wav", ".flac", ".ogg", ".aac",
                             ".ac3", ".amr", ".mpg",  ".wma"};
    std::mt19937 random(20240611);
    for (std::size_t s = 0; s < valid.size(); ++s) {
        const std::string original = ReadFile(valid[s]);
        for (int i = 0; i < kCopiesPerSource; ++i) {
            const std::string base = "m" + std::to_string(s) + "_" + std::to_string(i);
            const std::string in = damaged.file(base + kinds[s].first.substr(1));
            WriteFile(in, Mutate(original, random));
            cases.push_back({in, out.file(base + outputs[(s + i) % 9])});
        }
    }

    RunOptions options;
    options.timeoutSeconds = kTimeLimitSeconds;
    // A sanitizer report must not pass for our own failure status.
    const char* asan = std::getenv("ASAN_OPTIONS");
    const char* ubsan = std::getenv("UBSAN_OPTIONS");
    options.extraEnv = {std::string("ASAN_OPTIONS=") + (asan ? asan : "") + ":exitcode=86",
                        std::string("UBSAN_OPTIONS=") + (ubsan ? ubsan : "") + ":exitcode=87"};

    // Two at a time: the machine has two cores.
    std::vector<std::string> problems;
    int succeeded = 0;
    for (std::size_t i = 0; i < cases.size(); i += 2) {
        std::vector<std::future<RunResult>> running;
        for (std::size_t k = i; k < std::min(i + 2, cases.size()); ++k)
            running.push_back(std::async(std::launch::async, [&, k] {
                return RunConv({"-i", cases[k].input, "-y", "-vn", "-map_meta_data",
                                cases[k].input + ":" + cases[k].output, cases[k].output},
                               options);
            }));
        for (std::size_t k = i; k < std::min(i + 2, cases.size()); ++k) {
            const RunResult r = running[k - i].get();
            succeeded += r.exitCode == 0;
            const std::string problem = Check(cases[k], r, out);
            if (!problem.empty())
                problems.push_back(cases[k].input + " -> " + cases[k].output + ": " + problem +
                                   "\n" + r.output.substr(0, 2000));
        }
    }
    for (const auto& p : problems)
        ADD_FAILURE() << p;
    EXPECT_TRUE(problems.empty());
    // The run is only meaningful when some copies still convert and some do not.
    EXPECT_GT(succeeded, 0);
    EXPECT_LT(succeeded, static_cast<int>(cases.size()));
}
