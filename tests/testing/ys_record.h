// "YS" records (one meeting day of the schedule, 380 bytes of code page 932) as JV-Link
// delivers them, built field by field.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "support/sjis_text.h"

namespace koyomi::testing {

// Pads a code page 932 text to `width` bytes with ideographic spaces (an ASCII space for an
// odd last byte), as JV-Data pads its names.
std::string PadFullWidth(std::string text, std::size_t width);

// The fields of a "YS" record; Line() is the 380-byte record without its CR LF, Record() the
// record with it.
struct YsRecord {
    std::string data_kind = "7";
    std::string created = "20240315";
    std::string year = "2024";
    std::string month = "05";
    std::string day = "04";
    std::string venue = "05";
    std::string meeting = "02";
    std::string day_number = "03";
    std::string weekday = "1";
    std::string race_number = "1234";
    std::string race_name =
        Utf8ToSjis("天皇賞（春）");  // code page 932, padded to 60 bytes by Line()
    std::string count = "169";
    std::string grade = "A";
    std::string kind = "13";
    std::string symbol = "000";
    std::string weight = "4";
    std::string distance = "3200";
    std::string track = "17";

    // One meeting day: `date` "yyyymmdd" (any eight bytes, taken as they come), the venue
    // code, the meeting and day numbers and the weekday code; every other field as above.
    static YsRecord Day(std::string_view date, std::string_view venue, int meeting = 1, int day = 1,
                        char weekday = '1');

    std::string Line() const;
    std::string Record() const { return Line() + "\r\n"; }
};

}  // namespace koyomi::testing
