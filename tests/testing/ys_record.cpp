#include "testing/ys_record.h"

#include <cstdio>

#include "support/sjis_text.h"

namespace koyomi::testing {

std::string PadFullWidth(std::string text, std::size_t width) {
    while (text.size() + 2 <= width) {
        text += kFullWidthSpace;
    }
    text.resize(width, ' ');
    return text;
}

YsRecord YsRecord::Day(std::string_view date, std::string_view venue, int meeting, int day,
                       char weekday) {
    const auto two_digits = [](int number) {
        char digits[8];
        std::snprintf(digits, sizeof digits, "%02d", number % 100);
        return std::string(digits);
    };
    const std::string full_date(date);
    YsRecord record;
    record.year = full_date.substr(0, 4);
    record.month = full_date.size() > 4 ? full_date.substr(4, 2) : "";
    record.day = full_date.size() > 6 ? full_date.substr(6) : "";
    record.venue = venue;
    record.meeting = two_digits(meeting);
    record.day_number = two_digits(day);
    record.weekday = std::string(1, weekday);
    return record;
}

std::string YsRecord::Line() const {
    std::string line = "YS" + data_kind + created + year + month + day + venue + meeting +
                       day_number + weekday + race_number + PadFullWidth(race_name, 60);
    line += PadFullWidth(race_name.substr(0, 10), 20);  // abbreviations, unused
    line += PadFullWidth(race_name.substr(0, 6), 12);
    line += PadFullWidth(race_name.substr(0, 4), 6);
    line += count + grade + kind + symbol + weight + distance + track;
    line.resize(380, '0');  // the second and third graded-race blocks
    return line;
}

}  // namespace koyomi::testing
