#include "schedule/meetings_message.h"

#include "codes/code_tables.h"
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

// The entries of every grid row dated `date` (column 1), in grid order.
std::string DayEntries(const ScheduleGrid& grid, const std::string& date) {
    const MessageTexts& texts = Texts();
    std::string part;
    for (int row = 1; row < grid.RowCount(); ++row) {
        if (grid.Cell(1, row) != date) {
            continue;
        }
        part += texts.star;
        part += grid.Cell(3, row);
        part += grid.Cell(4, row);
        part += texts.meeting;
        part += grid.Cell(5, row);
        part += texts.day;
        part += StripFullWidthSpaces(TrimBlanks(grid.Cell(13, row)));
        part += texts.entry_end;
    }
    return part;
}

}  // namespace

std::string BuildMeetingsMessage(const ScheduleGrid& grid, const LocalDateTime& today) {
    std::string message;
    for (int offset = 0; offset < 3; ++offset) {
        std::string part = DayEntries(grid, FormatJapaneseDate(AddDays(today, offset)));
        if (!TrimBlanks(part).empty()) {
            message += Texts().headings[offset];
            message += part;
        }
    }
    return message;
}

std::string BuildMeetingsMessage(const ScheduleGrid& grid, const Clock& clock) {
    return BuildMeetingsMessage(grid, clock.Now());
}

}  // namespace koyomi
