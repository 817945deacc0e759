// Whole-file reads and atomic writes for the stand-in control's files.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "support/result.h"

namespace koyomi {

// Reads a regular file whole. Anything else under the name (a folder, a pipe), a file larger
// than `limit` bytes or a read error fails with the system's reason.
Result<std::string> ReadRegularFile(const std::filesystem::path& file, std::size_t limit);

// ReadRegularFile for the control's small INI files (at most 1 MiB).
Result<std::string> ReadSmallTextFile(const std::filesystem::path& file);

// Writes `content` to a temporary file beside `file` and renames it over `file`, so readers
// see the old or the new content, never a part. Creates missing parent folders.
Status WriteFileAtomically(const std::filesystem::path& file, std::string_view content);

}  // namespace koyomi
