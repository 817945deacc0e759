#include "schedule/schedule_line.h"

#include "codes/code_tables.h"
#include "support/sjis_text.h"

namespace koyomi {
namespace {

struct Span {
    int position;  // 1-based
    int length;
};

constexpr Span kRecordKind{1, 2};
constexpr Span kHead{1, static_cast<int>(kLineKeyEnd)};
constexpr Span kErasedHeader{3, 9};  // data kind and creation date
static_assert(kStoredLineHeader.size() == kErasedHeader.position - 1 + kErasedHeader.length);
constexpr Span kYear{12, 4};
constexpr Span kMonth{16, 2};
constexpr Span kDayOfMonth{18, 2};
constexpr Span kDate{12, 8};
constexpr Span kVenueCode{20, 2};
constexpr Span kMeeting{22, 2};
constexpr Span kMeetingDigit{23, 1};
constexpr Span kDayNumber{24, 2};
constexpr Span kDayNumberDigit{25, 1};
constexpr Span kWeekdayCode{26, 1};
constexpr Span kKey{12, 16};
constexpr Span kRaceName{31, 60};
constexpr Span kRunningCount{129, 3};
constexpr Span kGradeCode{132, 1};
constexpr Span kRaceKindCode{133, 2};
constexpr Span kRaceSymbolCode{135, 3};
constexpr Span kWeightKindCode{138, 1};
constexpr Span kDistance{139, 4};
constexpr Span kTrackCode{143, 2};

std::string_view Read(std::string_view line, Span span) {
    return Field(line, span.position, span.length);
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

}  // namespace

std::string_view LineRecordKind(std::string_view line) {
    return Read(line, kRecordKind);
}
std::string_view LineYear(std::string_view line) {
    return Read(line, kYear);
}
std::string_view LineMonth(std::string_view line) {
    return Read(line, kMonth);
}
std::string_view LineDayOfMonth(std::string_view line) {
    return Read(line, kDayOfMonth);
}
std::string_view LineVenueCode(std::string_view line) {
    return Read(line, kVenueCode);
}
std::string_view LineMeeting(std::string_view line) {
    return Read(line, kMeeting);
}
std::string_view LineDayNumber(std::string_view line) {
    return Read(line, kDayNumber);
}
std::string_view LineWeekdayCode(std::string_view line) {
    return Read(line, kWeekdayCode);
}
std::string_view LineKey(std::string_view line) {
    return Read(line, kKey);
}
std::string_view LineHead(std::string_view line) {
    return Read(line, kHead);
}
std::string_view LineMeetingDigit(std::string_view line) {
    return Read(line, kMeetingDigit);
}
std::string_view LineDayNumberDigit(std::string_view line) {
    return Read(line, kDayNumberDigit);
}
std::string_view LineRaceName(std::string_view line) {
    return Read(line, kRaceName);
}
std::string_view LineRunningCount(std::string_view line) {
    return Read(line, kRunningCount);
}
std::string_view LineGradeCode(std::string_view line) {
    return Read(line, kGradeCode);
}
std::string_view LineRaceKindCode(std::string_view line) {
    return Read(line, kRaceKindCode);
}
std::string_view LineRaceSymbolCode(std::string_view line) {
    return Read(line, kRaceSymbolCode);
}
std::string_view LineWeightKindCode(std::string_view line) {
    return Read(line, kWeightKindCode);
}
std::string_view LineDistance(std::string_view line) {
    return Read(line, kDistance);
}
std::string_view LineTrackCode(std::string_view line) {
    return Read(line, kTrackCode);
}

std::optional<LineDate> LineDateOf(std::string_view line) {
    const std::string_view digits = Read(line, kDate);
    if (digits.size() != static_cast<size_t>(kDate.length)) {
        return std::nullopt;
    }
    int value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    const LineDate date{value / 10000, value / 100 % 100, value % 100};
    if (date.year < 1 || date.month < 1 || date.month > 12 || date.day < 1 ||
        date.day > DaysInMonth(date.year, date.month)) {
        return std::nullopt;
    }
    return date;
}

std::string NormalisedLine(std::string_view record) {
    return OverwriteAt(record, kStoredLineHeader.substr(kRecordKind.length),
                       kErasedHeader.position);
}

}  // namespace koyomi
