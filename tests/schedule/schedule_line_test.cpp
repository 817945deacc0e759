#include <gtest/gtest.h>

#include "schedule/schedule_grid.h"
#include "schedule/schedule_line.h"
#include "testing/ys_record.h"

namespace koyomi {
namespace {

using testing::YsRecord;

TEST(ScheduleLine, DateIsReadOnlyWhenItNamesARealDay) {
    EXPECT_EQ(LineDateOf(YsRecord::Day("20240229", "05").Line()), (LineDate{2024, 2, 29}));
    EXPECT_EQ(LineDateOf("YS00000000020241231"), (LineDate{2024, 12, 31}));
    for (const char* date :
         {"20230229", "20240431", "20241301", "20240100", "00000101", "2024 504", "+2024050"}) {
        EXPECT_EQ(LineDateOf(YsRecord::Day(date, "05").Line()), std::nullopt) << date;
    }
    // A line that ends inside the date has none.
    EXPECT_EQ(LineDateOf("YS0000000002024123"), std::nullopt);
    EXPECT_EQ(LineDateOf(""), std::nullopt);
}

TEST(ScheduleLine, FieldsOfAShortLineReadAsTheBytesPresent) {
    const std::string line = YsRecord::Day("20240504", "05", 2, 3).Line().substr(0, 40);
    EXPECT_EQ(LineVenueCode(line), "05");
    EXPECT_EQ(LineMeetingDigit(line), "2");
    EXPECT_EQ(LineRaceName(line).size(), 10u);
    EXPECT_EQ(LineGradeCode(line), "");
    EXPECT_EQ(LineKey(line.substr(0, 19)), "20240504");
}

TEST(GridColumns, OnlyTheFourteenPlacesHaveAColumn) {
    EXPECT_EQ(GridColumnAt(0), GridColumn::Number);
    EXPECT_EQ(GridColumnAt(13), GridColumn::RaceName);
    EXPECT_EQ(GridColumnAt(14), std::nullopt);
    EXPECT_EQ(GridColumnAt(-1), std::nullopt);
}

}  // namespace
}  // namespace koyomi
