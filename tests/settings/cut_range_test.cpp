#include "settings/cut_range.h"

#include <gtest/gtest.h>

#include <limits>

using namespace settings;

TEST(CutEntries, LimitsSumsAndRounding) {
    EXPECT_FALSE(CheckCutEntries({"0", "59", "59", "0", "59", "59"}).problem);
    EXPECT_TRUE(CheckCutEntries({"0", "59.5", "0", "0", "0", "0"}).problem);

    const auto hours = CheckCutEntries({"100", "0", "0", "0", "1:30", "0.5"});
    EXPECT_EQ(hours.start, 360000);
    EXPECT_EQ(hours.length, 60); // "1:30" counts as 1; half a second rounds to even
    EXPECT_EQ(CheckCutEntries({"0", "0", "1.5", "0", "0", "-5"}).start, 2);
    EXPECT_EQ(CheckCutEntries({"0", "0", "1.5", "0", "0", "-5"}).length, -5);

    EXPECT_TRUE(CheckCutEntries({"abc", "", " 0", "-0", "0.0", "x"}).allZero);
    EXPECT_FALSE(CheckCutEntries({"0", "0", "0", "0", "0", "0.4"}).allZero);
}

TEST(CutEntries, TimesBeyond32BitsAreRefusedNotWrapped) {
    const auto start = CheckCutEntries({"600000", "0", "0", "0", "0", "0"});
    ASSERT_TRUE(start.problem);
    EXPECT_EQ(start.problem->focus, CutBox::FromH);
    const auto length = CheckCutEntries({"0", "0", "0", "-1e300", "0", "0"});
    ASSERT_TRUE(length.problem);
    EXPECT_EQ(length.problem->focus, CutBox::ToH);
    EXPECT_FALSE(CheckCutEntries({"596522", "59", "59", "0", "0", "0"}).problem);
}

TEST(CutBoxes, SplitRoundsDownAndAddsUpAgain) {
    const CutBoxTexts t = CutBoxTextsFor(5400, 45);
    EXPECT_EQ((std::vector<std::string>{t.fromH, t.fromM, t.fromS, t.toH, t.toM, t.toS}),
              (std::vector<std::string>{"1", "30", "0", "0", "0", "45"}));

    const CutBoxTexts n = CutBoxTextsFor(-5, std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(n.fromH + "," + n.fromM + "," + n.fromS, "-1,59,55");
    const auto back = CheckCutEntries(n);
    EXPECT_EQ(back.start, -5);
    EXPECT_EQ(back.length, std::numeric_limits<std::int32_t>::min());
}
