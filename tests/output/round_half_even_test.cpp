#include "output/round_half_even.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <limits>

namespace koyomi {
namespace {

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(0.5L), 0);
    EXPECT_EQ(RoundHalfEven(1.5L), 2);
    EXPECT_EQ(RoundHalfEven(2.5L), 2);
    EXPECT_EQ(RoundHalfEven(237.5L), 238);
    EXPECT_EQ(RoundHalfEven(1436.5L), 1436);
    EXPECT_EQ(RoundHalfEven(-0.5L), 0);
    EXPECT_EQ(RoundHalfEven(-1.5L), -2);
    EXPECT_EQ(RoundHalfEven(-2.5L), -2);
    // Everything else to the nearest.
    EXPECT_EQ(RoundHalfEven(2.4999L), 2);
    EXPECT_EQ(RoundHalfEven(2.5001L), 3);
    EXPECT_EQ(RoundHalfEven(-93.75L), -94);
}

TEST(RoundHalfEven, IgnoresTheFloatingPointRoundingMode) {
    const int saved = std::fegetround();
    ASSERT_EQ(std::fesetround(FE_UPWARD), 0);
    const int up_half = RoundHalfEven(2.5L);
    const int up_other = RoundHalfEven(2.25L);
    ASSERT_EQ(std::fesetround(FE_DOWNWARD), 0);
    const int down_half = RoundHalfEven(3.5L);
    const int down_other = RoundHalfEven(3.75L);
    std::fesetround(saved);
    EXPECT_EQ(up_half, 2);
    EXPECT_EQ(up_other, 2);
    EXPECT_EQ(down_half, 4);
    EXPECT_EQ(down_other, 4);
}

TEST(RoundHalfEven, SaturatesOutsideTheIntRange) {
    EXPECT_EQ(RoundHalfEven(1e30L), std::numeric_limits<int>::max());
    EXPECT_EQ(RoundHalfEven(-1e30L), std::numeric_limits<int>::min());
    EXPECT_EQ(RoundHalfEven(std::numeric_limits<long double>::infinity()),
              std::numeric_limits<int>::max());
    EXPECT_EQ(RoundHalfEven(std::nanl("")), 0);
}

}  // namespace
}  // namespace koyomi
