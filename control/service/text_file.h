// Whole-file reads and atomic writes for the stand-in control's files.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace koyomi {

// Reads a regular file whole. Anything else under the name (a folder, a pipe), a file larger
// than `limit` bytes or a read error fails with the system's reason.
bool ReadRegularFile(const std::filesystem::path& file, std::size_t limit, std::string& content,
                     std::string& reason);

// ReadRegularFile for the control's small INI files (at most 1 MiB); the reason is dropped.
bool ReadSmallTextFile(const std::filesystem::path& file, std::string& content);

// Writes `content` to a temporary file beside `file` and renames it over `file`, so readers
// see the old or the new content, never a part. Creates missing parent folders.
bool WriteFileAtomically(const std::filesystem::path& file, std::string_view content,
                         std::string& reason);

}  // namespace koyomi
