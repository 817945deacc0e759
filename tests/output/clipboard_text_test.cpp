#include "output/clipboard_text.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "fake_grid.h"
#include "support/sjis_text.h"

namespace koyomi {
namespace {

FakeGrid ScheduleGrid(int data_rows) {
    FakeGrid grid(std::vector<int>(14, 25), std::vector<int>(data_rows + 1, 15));
    static const char* const kHeadings[] = {"No.",  "年月日", "曜日",   "場所",    "回",
                                            "日",   "ｸﾞﾚｰﾄﾞ", "種別",   "記号",    "重量",
                                            "距離", "ﾄﾗｯｸ",   "重賞回", "レース名"};
    for (int col = 0; col < 14; ++col) {
        grid.SetCell(col, 0, Utf8ToSjis(kHeadings[col]));
    }
    return grid;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    EXPECT_EQ(start, text.size()) << "text does not end with CR LF";
    return lines;
}

TEST(ClipboardText, WholeGridGivesTitleAndOneLinePerRow) {
    const FakeGrid grid = ScheduleGrid(3);
    const std::string title = Utf8ToSjis("2024年 スケジュール【ALL】");
    const std::string text = ClipboardText(grid, 0, 0, 13, 3, title);

    const std::vector<std::string> lines = SplitLines(text);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], title);
    EXPECT_EQ(
        SjisToUtf8(lines[1]),
        "No.\t年月日\t曜日\t場所\t回\t日\tｸﾞﾚｰﾄﾞ\t種別\t記号\t重量\t距離\tﾄﾗｯｸ\t重賞回\tレース名");
    EXPECT_EQ(lines[4],
              "r3c0\tr3c1\tr3c2\tr3c3\tr3c4\tr3c5\tr3c6\tr3c7\tr3c8\tr3c9\tr3c10\tr3c11"
              "\tr3c12\tr3c13");
    for (size_t i = 1; i < lines.size(); ++i) {
        EXPECT_EQ(std::count(lines[i].begin(), lines[i].end(), '\t'), 13);
    }
}

TEST(ClipboardText, CellsAreCopiedAsTheyStand) {
    FakeGrid grid({10, 10, 10}, {15, 15});
    grid.SetCell(0, 1, "");
    grid.SetCell(1, 1, " a\tb\r\n ");
    grid.SetCell(2, 1, "");
    EXPECT_EQ(ClipboardText(grid, 0, 1, 2, 1, ""), "\r\n\t a\tb\r\n \t\r\n");
}

TEST(ClipboardText, PartialRangeKeepsItsColumnsAndRows) {
    const FakeGrid grid({10, 10, 10, 10}, {15, 15, 15});
    EXPECT_EQ(ClipboardText(grid, 1, 1, 2, 2, "T"), "T\r\nr1c1\tr1c2\r\nr2c1\tr2c2\r\n");
    EXPECT_EQ(ClipboardText(grid, 3, 0, 3, 0, "T"), "T\r\nr0c3\r\n");
}

TEST(ClipboardText, RangeReachingPastTheGridIsCutAtItsEdges) {
    const FakeGrid grid({10, 10}, {15, 15});
    const std::string whole = "T\r\nr0c0\tr0c1\r\nr1c0\tr1c1\r\n";
    EXPECT_EQ(ClipboardText(grid, -5, -1, 99, 99, "T"), whole);
    EXPECT_EQ(ClipboardText(grid, 1, 1, 2, 2, "T"), "T\r\nr1c1\r\n");
}

TEST(ClipboardText, EmptyOrOutsideRangesGiveTheEmptyText) {
    const FakeGrid grid({10, 10}, {15, 15});
    EXPECT_EQ(ClipboardText(grid, 1, 0, 0, 1, "T"), "");    // first_col > last_col
    EXPECT_EQ(ClipboardText(grid, 0, 1, 1, 0, "T"), "");    // lastRow < firstRow
    EXPECT_EQ(ClipboardText(grid, -3, 0, -1, 1, "T"), "");  // last_col < 0
    EXPECT_EQ(ClipboardText(grid, 0, -3, 1, -1, "T"), "");  // lastRow < 0
    EXPECT_EQ(ClipboardText(grid, 2, 0, 5, 1, "T"), "");    // first_col past the columns
    EXPECT_EQ(ClipboardText(grid, 0, 2, 1, 5, "T"), "");    // firstRow past the rows
}

TEST(ClipboardText, GridWithoutColumnsOrRowsIsNeverRead) {
    const FakeGrid NoColumns({}, {15, 15});
    EXPECT_EQ(ClipboardText(NoColumns, -1, 0, 0, 1, "T"), "");
    const FakeGrid NoRows({10, 10}, {});
    EXPECT_EQ(ClipboardText(NoRows, 0, -1, 1, 0, "T"), "");
}

TEST(ClipboardText, UnbuiltGridCopiesHeaderAndEmptyRows) {
    FakeGrid grid = ScheduleGrid(2);
    for (int row = 1; row <= 2; ++row) {
        for (int col = 0; col < 14; ++col) {
            grid.SetCell(col, row, "");
        }
    }
    const std::vector<std::string> lines = SplitLines(ClipboardText(grid, 0, 0, 13, 2, ""));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "");
    EXPECT_EQ(lines[2], std::string(13, '\t'));
    EXPECT_EQ(lines[3], std::string(13, '\t'));
}

}  // namespace
}  // namespace koyomi
