#include "settings/cut_range.h"

#include <gtest/gtest.h>

#include <limits>

using namespace settings;

namespace {

CutBoxTexts boxes(std::string fh, std::string fm, std::string fs, std::string th = "0",
                  std::string tm = "0", std::string ts = "0") {
    return {std::move(fh), std::move(fm), std::move(fs),
            std::move(th), std::move(tm), std::move(ts)};
}

} // namespace

TEST(CutEntries, ProblemsComeInTheDialogsOrder) {
    const auto minutesFirst = CheckCutEntries(boxes("0", "60", "75", "0", "61", "99"));
    ASSERT_TRUE(minutesFirst.problem);
    EXPECT_EQ(minutesFirst.problem->message, "Minutes must less than 60");
    EXPECT_EQ(minutesFirst.problem->title, "Min");
    EXPECT_EQ(minutesFirst.problem->focus, CutBox::FromM);

    const auto durationMinutes = CheckCutEntries(boxes("0", "59", "75", "0", "61", "99"));
    ASSERT_TRUE(durationMinutes.problem);
    EXPECT_EQ(durationMinutes.problem->focus, CutBox::ToM);
    EXPECT_EQ(durationMinutes.problem->message, "Minutes must less than 60");

    const auto startSeconds = CheckCutEntries(boxes("0", "59", "75", "0", "1", "99"));
    ASSERT_TRUE(startSeconds.problem);
    EXPECT_EQ(startSeconds.problem->message, "Seconds must less than 60");
    EXPECT_EQ(startSeconds.problem->title, "Min");
    EXPECT_EQ(startSeconds.problem->focus, CutBox::FromS);

    const auto durationSeconds = CheckCutEntries(boxes("0", "59", "59", "0", "1", "75"));
    ASSERT_TRUE(durationSeconds.problem);
    EXPECT_EQ(durationSeconds.problem->focus, CutBox::ToS);
}

TEST(CutEntries, BoundariesOfMinutesAndSeconds) {
    EXPECT_FALSE(CheckCutEntries(boxes("0", "59", "59", "0", "59", "59")).problem);
    EXPECT_TRUE(CheckCutEntries(boxes("0", "59.5", "0")).problem);
    EXPECT_TRUE(CheckCutEntries(boxes("0", "0", "0", "0", "0", "59.01")).problem);
    const auto negative = CheckCutEntries(boxes("0", "0", "-5"));
    EXPECT_FALSE(negative.problem);
    EXPECT_EQ(negative.start, -5);
}

TEST(CutEntries, TimesAreSummedAndRounded) {
    const auto hours = CheckCutEntries(boxes("100", "0", "0"));
    EXPECT_FALSE(hours.problem);
    EXPECT_EQ(hours.start, 360000);
    EXPECT_FALSE(hours.allZero);

    const auto mixed = CheckCutEntries(boxes("0", "1:30", "30", "0", "0", "45"));
    EXPECT_EQ(mixed.start, 90); // "1:30" counts as 1
    EXPECT_EQ(mixed.length, 45);

    EXPECT_EQ(CheckCutEntries(boxes("0", "0", "0.5")).start, 0);
    EXPECT_EQ(CheckCutEntries(boxes("0", "0", "1.5")).start, 2);
    EXPECT_EQ(CheckCutEntries(boxes("0", "1", "30", "0", "0", "0")).length, 0);
}

TEST(CutEntries, AllZeroCountsNumbersNotTexts) {
    EXPECT_TRUE(CheckCutEntries(boxes("0", "0", "0")).allZero);
    EXPECT_TRUE(CheckCutEntries(boxes("abc", "", " 0", "-0", "0.0", "x")).allZero);
    EXPECT_FALSE(CheckCutEntries(boxes("0", "0", "0", "0", "0", "0.4")).allZero);
}

TEST(CutEntries, TimesBeyond32BitsAreRefusedNotWrapped) {
    const auto start = CheckCutEntries(boxes("600000", "0", "0"));
    ASSERT_TRUE(start.problem);
    EXPECT_EQ(start.problem->focus, CutBox::FromH);
    EXPECT_EQ(start.problem->title, "Hour");

    const auto length = CheckCutEntries(boxes("0", "0", "0", "-1e300", "0", "0"));
    ASSERT_TRUE(length.problem);
    EXPECT_EQ(length.problem->focus, CutBox::ToH);

    EXPECT_FALSE(CheckCutEntries(boxes("596522", "59", "59")).problem);
}

TEST(CutBoxes, ShowHoursMinutesSecondsRoundedDown) {
    const CutBoxTexts t = CutBoxTextsFor(5400, 45);
    EXPECT_EQ(t.fromH, "1");
    EXPECT_EQ(t.fromM, "30");
    EXPECT_EQ(t.fromS, "0");
    EXPECT_EQ(t.toH, "0");
    EXPECT_EQ(t.toM, "0");
    EXPECT_EQ(t.toS, "45");

    // Negative times split so that the parts still add up to the stored value.
    const CutBoxTexts n = CutBoxTextsFor(-5, std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(n.fromH, "-1");
    EXPECT_EQ(n.fromM, "59");
    EXPECT_EQ(n.fromS, "55");
    const auto back = CheckCutEntries({n.fromH, n.fromM, n.fromS, n.toH, n.toM, n.toS});
    EXPECT_FALSE(back.problem);
    EXPECT_EQ(back.start, -5);
    EXPECT_EQ(back.length, std::numeric_limits<std::int32_t>::min());
}
