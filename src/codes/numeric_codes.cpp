// Codes that are read as numbers: weekday, track, and the plain numeric fields.
#include <array>
#include <string>
#include <string_view>

#include "codes/code_tables.h"
#include "codes/fixed_code_table.h"
#include "support/sjis_text.h"

namespace koyomi {
namespace {

// Beyond every table; a longer run of digits reads as this instead of overflowing.
constexpr int kLargeCodeValue = 1'000'000'000;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t SkipSpaces(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') {
        ++i;
    }
    return i;
}

// Leading spaces skipped, then the digits up to the first other character. No digits: 0.
int ReadCodeNumber(std::string_view code) {
    int value = 0;
    for (std::size_t i = SkipSpaces(code); i < code.size() && IsDigit(code[i]); ++i) {
        value = value >= kLargeCodeValue / 10 ? kLargeCodeValue : value * 10 + (code[i] - '0');
    }
    return value;
}

// Value 0 is the blank; forms 1 to 3 are one to three full-width characters wide.
constexpr std::array<CodeForm, 3> kWeekdayForms = {{
    {1, 2, Padding::FullWidthSpaces, ""},
    {2, 4, Padding::FullWidthSpaces, ""},
    {3, 6, Padding::FullWidthSpaces, ""},
}};

constexpr FixedCodeTable<3>::Row kWeekdayRows[] = {
    {"0", {"", "", ""}},
    {"1", {"土", "土曜", "土曜日"}},
    {"2", {"日", "日曜", "日曜日"}},
    {"3", {"祝", "祝日", "祝日"}},
    {"4", {"月", "月曜", "月曜日"}},
    {"5", {"火", "火曜", "火曜日"}},
    {"6", {"水", "水曜", "水曜日"}},
    {"7", {"木", "木曜", "木曜日"}},
    {"8", {"金", "金曜", "金曜日"}},
};

struct TrackRange {
    int low;
    int high;
    std::string_view text;
};

// Values 25 to 28 and the rest are not shown.
constexpr TrackRange kTrackRanges[] = {
    {10, 10, "芝直"}, {11, 16, "芝左"}, {17, 22, "芝右"}, {23, 23, "ダ左"},
    {24, 24, "ダ右"}, {29, 29, "ダ直"}, {51, 59, "障害"},
};

}  // namespace

std::string WeekdayText(std::string_view code, int form) {
    static const FixedCodeTable<3> table(kWeekdayForms, kWeekdayRows);
    return table.Text(std::to_string(ReadCodeNumber(code)), form);
}

std::string TrackText(std::string_view code) {
    static const auto texts = [] {
        std::array<std::string, std::size(kTrackRanges)> sjis;
        for (std::size_t i = 0; i < sjis.size(); ++i) {
            sjis[i] = Utf8ToSjis(kTrackRanges[i].text);
        }
        return sjis;
    }();
    const int value = ReadCodeNumber(code);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (value >= kTrackRanges[i].low && value <= kTrackRanges[i].high) {
            return texts[i];
        }
    }
    return {};
}

// Works on the digits as text, so a field of any length keeps its exact value.
std::string NumberField(std::string_view field) {
    std::size_t end = SkipSpaces(field);
    const std::size_t begin = end;
    while (end < field.size() && IsDigit(field[end])) {
        ++end;
    }
    std::string_view digits = field.substr(begin, end - begin);
    while (!digits.empty() && digits.front() == '0') {
        digits.remove_prefix(1);
    }
    std::string result(field.size() - digits.size(), ' ');
    result += digits;
    return result;
}

}  // namespace koyomi
