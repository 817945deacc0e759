// The year-file merge done the slow, plain way: every record loads its year file, replaces the
// line of its key or appends it, sorts and writes the file again. Tests, fuzz targets and
// benchmarks use it to make year files and as the reference that the fetch's YearFileStore
// must match byte for byte. And the fetch's own store used for one record at a time.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "schedule/year_file.h"
#include "schedule/year_file_store.h"

namespace koyomi::testing {

// Stores one record (code page 932, with or without its CR LF) into its year file in
// `folder`. `work_lines` is reused between calls. FileError when the file cannot be read or
// written.
StoreResult StoreRecordByRewrite(const std::filesystem::path& folder, std::string_view record,
                                 std::vector<std::string>& work_lines);

// Stores one record through a YearFileStore of its own and writes it at once, so that the
// files afterwards are what a fetch leaves when it stops after that record. The store's
// refusal, else the write's FileError, else the store's result.
StoreResult StoreRecordAlone(const std::filesystem::path& folder, const std::string& record);

}  // namespace koyomi::testing
