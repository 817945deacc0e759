// Temporary folders, records and files for the acquisition tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "schedule/year_file.h"
#include "support/settings_file.h"
#include "support/sjis_text.h"

namespace koyomi::testing {

// A fresh folder, removed with everything in it when the test ends.
class TempFolder {
  public:
    TempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "koyomi-acquisition-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            ADD_FAILURE() << "mkdtemp failed";
        }
        path_ = pattern;
    }
    ~TempFolder() {
        std::error_code error;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, error);
        std::filesystem::remove_all(path_, error);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

// The settings file of a program kept in `program_folder`, ready for reads and writes.
inline SettingsFile LoadedSettings(const std::filesystem::path& program_folder) {
    SettingsFile settings(program_folder / "koyomivw");
    settings.Loaded();
    return settings;
}

inline void WriteFile(const std::filesystem::path& file, std::string_view content) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    ASSERT_TRUE(out.good()) << file;
}

inline std::string ReadFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A "YS" record of 380 bytes for one meeting day: `date` "yyyymmdd", venue code, meeting and
// day numbers, weekday code; the first graded-race block carries `race` (UTF-8) when given.
inline std::string ScheduleRecord(std::string_view date, std::string_view venue, int meeting,
                                  int day, char weekday, std::string_view race = {},
                                  char data_kind = '1') {
    char numbers[8];
    std::snprintf(numbers, sizeof numbers, "%02d%02d", meeting % 100, day % 100);
    std::string record = "YS";
    record += data_kind;
    record += "20251115";
    record += date;
    record += venue;
    record += numbers;
    record += weekday;
    record += race.empty() ? "0000" : "0101";
    std::string name = Utf8ToSjis(race);
    name.resize(60, ' ');
    record += name;
    record.resize(380, ' ');
    return record;
}

// The lines of a year file of `folder`, or none when it does not exist.
inline std::vector<std::string> YearFileLines(const std::filesystem::path& folder,
                                              std::string_view year) {
    const std::filesystem::path file = folder / YearFileName(year);
    if (!std::filesystem::exists(file)) {
        return {};
    }
    auto loaded = LoadYearFile(file);
    EXPECT_TRUE(loaded.Ok()) << loaded.Reason();
    return loaded.Ok() ? loaded.Value() : std::vector<std::string>();
}

}  // namespace koyomi::testing
