#include "support/clock.h"

#include <gtest/gtest.h>

namespace koyomi {
namespace {

TEST(ClockArithmetic, StepsAcrossMonthYearAndLeapDays) {
    EXPECT_EQ(AddDays({2024, 2, 28, 9, 30, 0}, 1), (LocalDateTime{2024, 2, 29, 9, 30, 0}));
    EXPECT_EQ(AddDays({2023, 2, 28, 0, 0, 0}, 1), (LocalDateTime{2023, 3, 1, 0, 0, 0}));
    EXPECT_EQ(AddDays({2025, 12, 31, 0, 0, 0}, 2), (LocalDateTime{2026, 1, 2, 0, 0, 0}));
    EXPECT_EQ(AddDays({2026, 12, 8, 21, 20, 5}, -3650), (LocalDateTime{2016, 12, 10, 21, 20, 5}));
    EXPECT_EQ(AddDays({1900, 3, 1, 0, 0, 0}, -1), (LocalDateTime{1900, 2, 28, 0, 0, 0}));
}

TEST(ClockFormat, CompactForm) {
    EXPECT_EQ(FormatCompact({2003, 4, 6, 10, 46, 42}), "20030406104642");
}

}  // namespace
}  // namespace koyomi
