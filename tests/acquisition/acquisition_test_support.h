// Settings and year files of a program folder for the acquisition and control tests.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "schedule/year_file.h"
#include "support/settings_file.h"
#include "testing/files.h"
#include "testing/temp_folder.h"
#include "testing/ys_record.h"

namespace koyomi::testing {

// The settings file of a program kept in `program_folder`, ready for reads and writes.
inline SettingsFile LoadedSettings(const std::filesystem::path& program_folder) {
    SettingsFile settings(program_folder / "koyomivw");
    settings.Loaded();
    return settings;
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
