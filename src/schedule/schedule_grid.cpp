#include "schedule/schedule_grid.h"

#include <utility>

#include "support/sjis_text.h"

namespace koyomi {
namespace {

constexpr ColumnBackground kAqua{false, 0x00, 0xFF, 0xFF};
constexpr ColumnBackground kInfo{true, 0, 0, 0};
constexpr ColumnBackground kLightGreen{false, 0xBB, 0xFF, 0xBB};
constexpr ColumnBackground kLightPink{false, 0xFC, 0xC5, 0xF1};
constexpr ColumnBackground kWhite{false, 0xFF, 0xFF, 0xFF};

std::array<ScheduleColumn, kScheduleColumnCount> MakeColumns() {
    struct Source {
        const char* heading;  // UTF-8
        int width;
        ColumnBackground background;
        bool left_aligned;
    };
    static constexpr Source kSources[kScheduleColumnCount] = {
        {"No.", 25, kAqua, false},         {"年月日", 85, kInfo, false},
        {"曜日", 25, kInfo, false},        {"場所", 27, kLightGreen, false},
        {"回", 15, kLightGreen, false},    {"日", 15, kLightGreen, false},
        {"ｸﾞﾚｰﾄﾞ", 35, kLightPink, false}, {"種別", 45, kLightPink, false},
        {"記号", 95, kWhite, true},        {"重量", 27, kWhite, false},
        {"距離", 27, kWhite, false},       {"ﾄﾗｯｸ", 27, kWhite, false},
        {"重賞回", 38, kWhite, false},     {"レース名", 230, kWhite, true},
    };
    std::array<ScheduleColumn, kScheduleColumnCount> columns;
    for (int i = 0; i < kScheduleColumnCount; ++i) {
        columns[i] = {Utf8ToSjis(kSources[i].heading), kSources[i].width, kSources[i].background,
                      kSources[i].left_aligned};
    }
    return columns;
}

// The column list and every row are indexed by a column's place from the left.
static_assert([] {
    for (int place = 0; place < kScheduleColumnCount; ++place) {
        if (static_cast<int>(kGridColumnOrder[static_cast<size_t>(place)]) != place) {
            return false;
        }
    }
    return true;
}());

}  // namespace

const std::array<ScheduleColumn, kScheduleColumnCount>& ScheduleColumns() {
    static const std::array<ScheduleColumn, kScheduleColumnCount> columns = MakeColumns();
    return columns;
}

const ScheduleColumn& ColumnOf(GridColumn column) {
    return ScheduleColumns()[static_cast<size_t>(column)];
}

std::optional<GridColumn> GridColumnAt(int place) {
    if (place < 0 || place >= kScheduleColumnCount) {
        return std::nullopt;
    }
    return kGridColumnOrder[static_cast<size_t>(place)];
}

const std::string& ScheduleGrid::Cell(GridColumn column, int row) const {
    static const std::string empty;
    if (row < 0 || row >= RowCount()) {
        return empty;
    }
    return rows_[static_cast<size_t>(row)][column];
}

}  // namespace koyomi
