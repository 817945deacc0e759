// Helpers for the schedule tests: a scratch folder and a builder of "YS" records.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "support/sjis_text.h"

namespace koyomi::testing {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
  public:
    TempFolder() {
        std::random_device random;
        path_ = std::filesystem::temp_directory_path() /
                ("koyomi-schedule-" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

inline std::string ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

inline void WriteBytes(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// Pads a code page 932 text to `width` bytes with ideographic spaces (an ASCII space for an
// odd last byte), as JV-Data pads its names.
inline std::string PadFullWidth(std::string text, size_t width) {
    while (text.size() + 2 <= width) {
        text += kFullWidthSpace;
    }
    text.resize(width, ' ');
    return text;
}

// The fields of a "YS" record as JV-Link delivers it; Line() is the 380-byte record without
// its CR LF, Record() the record with it.
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
    std::string race_name = Utf8ToSjis("天皇賞（春）");  // padded to 60 bytes by Line()
    std::string count = "169";
    std::string grade = "A";
    std::string kind = "13";
    std::string symbol = "000";
    std::string weight = "4";
    std::string distance = "3200";
    std::string track = "17";

    std::string Line() const {
        std::string line = "YS" + data_kind + created + year + month + day + venue + meeting +
                           day_number + weekday + race_number + PadFullWidth(race_name, 60);
        line += PadFullWidth(race_name.substr(0, 10), 20);  // abbreviations, unused
        line += PadFullWidth(race_name.substr(0, 6), 12);
        line += PadFullWidth(race_name.substr(0, 4), 6);
        line += count + grade + kind + symbol + weight + distance + track;
        line.resize(380, '0');  // the second and third graded-race blocks
        return line;
    }
    std::string Record() const { return Line() + "\r\n"; }
};

}  // namespace koyomi::testing
