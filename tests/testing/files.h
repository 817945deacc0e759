// Whole files as bytes, and the names in a folder, for tests, fuzz targets and benchmarks.
// These stay apart from the program's own file layer, so that a fault there is not hidden by
// the same fault here.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "support/result.h"

namespace koyomi::testing {

// Writes `bytes` as the whole file, making its folder when it is missing. Throws when the
// file cannot be written, so that a test never goes on with a file it did not get.
void WriteBytes(const std::filesystem::path& file, std::string_view bytes);

// The file's bytes; empty when it is missing or cannot be read.
std::string ReadBytes(const std::filesystem::path& file);

// The file's bytes, or why they cannot be read (missing, a folder, no permission).
Result<std::string> TryReadBytes(const std::filesystem::path& file);

// The names in a folder, sorted; none when it cannot be listed.
std::vector<std::string> FolderNames(const std::filesystem::path& folder);

}  // namespace koyomi::testing
