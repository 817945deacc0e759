// The window's sizes: column widths and the placing of its parts at any size and DPI.
#include <gtest/gtest.h>

#include "app/win32/column_widths.h"
#include "app/win32/window_layout.h"

namespace koyomi::win32 {
namespace {

TEST(ScheduleColumnWidthsTest, KeepTheGridsWidthsAndWidenOnlyForHeadingsThatDoNotFit) {
    std::array<int, kScheduleColumnCount> headings{};
    headings.fill(10);
    headings[6] = 40;  // "ｸﾞﾚｰﾄﾞ", wider than its 35 pixels
    const auto widths = ScheduleColumnWidths(headings, 96);
    EXPECT_EQ(widths[0], 25);
    EXPECT_EQ(widths[13], 230);
    EXPECT_EQ(widths[6], 40 + kHeadingPadding);

    // At 150 % every width grows, the widened one from the heading measured at that DPI.
    headings[6] = 60;
    const auto scaled = ScheduleColumnWidths(headings, 144);
    EXPECT_EQ(scaled[1], 128);  // 85 * 1.5, rounded
    EXPECT_EQ(scaled[6], 60 + 18);
}

TEST(LayOutWindowTest, FillsTheClientAreaDownToTheStatusLineAtEveryDpi) {
    const WindowLayout layout = LayOutWindow(765, 480, 30, 22, 96);
    const Box& list = layout.schedule_list;
    EXPECT_EQ(list.top + list.height, 480 - 22);
    EXPECT_EQ(list.left + list.width, 765 - 4);
    EXPECT_GT(list.top, layout.ticker.top + layout.ticker.height - 1);
    EXPECT_EQ(layout.ticker.height, 18);

    const WindowLayout doubled = LayOutWindow(1530, 960, 60, 44, 192);
    EXPECT_EQ(doubled.ticker.height, 36);
    EXPECT_EQ(doubled.schedule_list.top + doubled.schedule_list.height, 960 - 44);
}

TEST(LayOutWindowTest, GivesNoPartANegativeSizeInATinyWindow) {
    const WindowLayout layout = LayOutWindow(3, 10, 30, 22, 120);
    for (const Box& box : {layout.venue_selector, layout.period_group, layout.graded_check,
                           layout.title, layout.ticker, layout.schedule_list}) {
        EXPECT_GE(box.width, 0);
        EXPECT_GE(box.height, 0);
    }
}

}  // namespace
}  // namespace koyomi::win32
