// The files of a data service folder: one file per delivery, named by a four-letter dataspec
// ID and a 14-digit creation time, e.g. "YSCH20260105093000.jvd".
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/result.h"

namespace koyomi {

struct ServiceFile {
    std::string name;      // the file name, e.g. "YSCH20260105093000.jvd"
    std::string dataspec;  // "YSCH"
    std::string created;   // "20260105093000"
    std::uintmax_t size = 0;
};

// The parts of a service file name; nothing for any other name (extension case ignored).
std::optional<ServiceFile> ParseServiceFileName(std::string_view name);

// The four-letter IDs of a JVOpen dataspec ("YSCH", or several joined, e.g.
// "YSCHTOKU"); nothing when it is empty, not a whole number of IDs, or names an unknown ID.
std::optional<std::vector<std::string>> ParseDataSpec(std::u16string_view dataspec);

// True for exactly 14 ASCII digits.
bool IsFourteenDigits(std::u16string_view text);

// The regular files of `folder` of the given dataspec IDs created later than `after`
// (14 digits), oldest first (ties by name); fails with the system's reason when the folder
// cannot be listed.
Result<std::vector<ServiceFile>> SelectServiceFiles(const std::filesystem::path& folder,
                                                    const std::vector<std::string>& dataspecs,
                                                    std::string_view after);

}  // namespace koyomi
