#include "schedule/meetings_message.h"

#include <algorithm>

#include "codes/code_tables.h"
#include "schedule/schedule_line.h"
#include "support/sjis_text.h"

namespace koyomi {
namespace {

struct MessageTexts {
    std::string star;         // "★"
    std::string meeting;      // "回"
    std::string day;          // "日　"
    std::string entry_end;    // "★　　　"
    std::string headings[3];  // today, tomorrow, the day after
};

const MessageTexts& Texts() {
    static const MessageTexts texts{
        Utf8ToSjis("★"),
        Utf8ToSjis("回"),
        Utf8ToSjis("日　"),
        Utf8ToSjis("★　　　"),
        {Utf8ToSjis("【本日の開催】　"), Utf8ToSjis("【明日の開催】　"),
         Utf8ToSjis("【明後日の開催】　")},
    };
    return texts;
}

// The entries of every row dated `day`, in grid order.
std::string DayEntries(const std::vector<std::string>& shown_lines, const ScheduleGrid& grid,
                       const LineDate& day) {
    const MessageTexts& texts = Texts();
    std::string part;
    const size_t rows = std::min(shown_lines.size(), static_cast<size_t>(grid.RowCount()));
    for (size_t i = 0; i < rows; ++i) {
        if (LineDateOf(shown_lines[i]) != day) {
            continue;
        }
        const ScheduleRow& row = grid.Row(static_cast<int>(i));
        part += texts.star;
        part += row[GridColumn::Venue];
        part += row[GridColumn::Meeting];
        part += texts.meeting;
        part += row[GridColumn::DayNumber];
        part += texts.day;
        part += StripFullWidthSpaces(TrimBlanks(row[GridColumn::RaceName]));
        part += texts.entry_end;
    }
    return part;
}

}  // namespace

std::string BuildMeetingsMessage(const std::vector<std::string>& shown_lines,
                                 const ScheduleGrid& grid, const LocalDateTime& today) {
    std::string message;
    for (int offset = 0; offset < 3; ++offset) {
        const LocalDateTime day = AddDays(today, offset);
        std::string part = DayEntries(shown_lines, grid, {day.year, day.month, day.day});
        if (!TrimBlanks(part).empty()) {
            message += Texts().headings[offset];
            message += part;
        }
    }
    return message;
}

std::string BuildMeetingsMessage(const std::vector<std::string>& shown_lines,
                                 const ScheduleGrid& grid, const Clock& clock) {
    return BuildMeetingsMessage(shown_lines, grid, clock.Now());
}

}  // namespace koyomi
