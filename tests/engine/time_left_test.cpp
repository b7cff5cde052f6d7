#include "core/engine/time_left.h"
#include "core/system/run_status_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace {

// Short files first, then long ones: an estimate by the count of files would be far off.
const std::vector<double> kLengths{12, 30, 8, 45, 240, 20, 600, 90, 15, 360, 5, 180};
constexpr double kSpeed = 25.0;             // seconds of audio converted per second
constexpr double kBytesPerSecond = 176'400; // CD audio

struct Case {
    const char* name;
    bool lengthsKnown; // from the list; otherwise only the converter's header tells
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class TimeLeftRun : public testing::TestWithParam<Case> {};

// One converter at a time at a steady speed, on a simulated clock: at each quarter of every
// file the estimate is within a fifth of the real time left.
TEST_P(TimeLeftRun, MixedLengthsAtASteadySpeedAreEstimatedWithinAFifth) {
    const bool known = GetParam().lengthsKnown;
    double now = 1000.0;
    TimeLeft estimate(now);
    double total = 0;
    for (std::size_t i = 0; i < kLengths.size(); ++i) {
        total += kLengths[i] / kSpeed;
        estimate.add(std::to_string(i), known ? std::optional<double>(kLengths[i]) : std::nullopt,
                     static_cast<std::uint64_t>(kLengths[i] * kBytesPerSecond));
    }
    const double end = now + total;
    int checked = 0;
    for (std::size_t i = 0; i < kLengths.size(); ++i) {
        const std::string key = std::to_string(i);
        estimate.setLength(key, kLengths[i]);
        for (int quarter = 1; quarter <= 4; ++quarter) {
            now += kLengths[i] / kSpeed / 4;
            if (quarter == 4)
                estimate.finish(key, true);
            else
                estimate.setProgress(key, quarter / 4.0);
            const std::optional<double> left = estimate.secondsLeft(now);
            const double real = end - now;
            if (!left) {
                EXPECT_EQ(i, 0u) << "an estimate from the first file on";
                continue;
            }
            ++checked;
            EXPECT_NEAR(*left, real, std::max(0.2 * real, 0.5))
                << "file " << i << ", quarter " << quarter;
        }
    }
    EXPECT_GT(checked, 40);
}

INSTANTIATE_TEST_SUITE_P(All, TimeLeftRun,
                         testing::Values(Case{"LengthsKnown", true},
                                         Case{"OnlyTheSizesOfWaitingFiles", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TimeLeft, NothingUntilTwoSecondsOrAFileHaveGoneAndAFailureCountsOnlyWhatItDid) {
    TimeLeft estimate(0.0);
    estimate.add("a", 100.0, 0);
    estimate.add("b", 100.0, 0);
    estimate.setProgress("a", 0.01);
    EXPECT_FALSE(estimate.secondsLeft(1.9));
    ASSERT_TRUE(estimate.secondsLeft(2.0));
    EXPECT_NEAR(*estimate.secondsLeft(2.0), 199 * 2.0, 1e-6);

    TimeLeft quick(0.0);
    quick.add("broken", 1000.0, 0);
    quick.add("song", 10.0, 0);
    quick.finish("broken", false);
    EXPECT_FALSE(quick.secondsLeft(0.5)) << "nothing converted yet";
    quick.setProgress("song", 0.5);
    ASSERT_TRUE(quick.secondsLeft(1.0));
    EXPECT_NEAR(*quick.secondsLeft(1.0), 1.0, 1e-6) << "the broken file's length is not speed";
}

TEST(RunStatusText, TheLinesBesideTheBar) {
    struct Row {
        std::string got, want;
    };
    const Row rows[] = {
        {run_status::Running(3, 12, std::nullopt), "File 3 of 12"},
        {run_status::Running(3, 12, 130.0), "File 3 of 12 \u00b7 about 2:10 left"},
        {run_status::Running(1, 1, 0.2), "File 1 of 1 \u00b7 about 0:01 left"},
        {run_status::Running(2, 5, 3723.0), "File 2 of 5 \u00b7 about 1:02:03 left"},
        {run_status::Finished(12, 0, 0, 271.0), "12 converted in 4:31"},
        {run_status::Finished(11, 1, 2, 59.5), "11 converted in 1:00, 1 failed, 2 with warnings"},
        {run_status::Finished(3, 0, 1, 0.0), "3 converted in 0:00, 1 with warnings"},
        {run_status::Stopped(5, 12), "Stopped: 5 of 12 converted"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.got, row.want);
}

} // namespace
