// Whole-file reads and atomic replacement, for every file the program and its stand-in control
// keep: the settings file, the year files and the control's own files.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace koyomi {

// The system's text for an errno value, in UTF-8.
std::string SystemReason(int error);

// Reads a regular file whole. Returns 0 or the errno value: ENOENT when it is missing, EISDIR
// or EINVAL when a folder, a pipe or a device stands under the name (opening never blocks on a
// pipe), EFBIG when it holds more than `limit` bytes. `permissions`, when given, receives the
// file's permission bits.
int ReadWholeRegularFile(const std::filesystem::path& file, std::string& content,
                         mode_t* permissions = nullptr, std::size_t limit = SIZE_MAX);

struct ReplaceOptions {
    std::optional<mode_t> permissions;  // those of the file replaced; none: the umask decides
    bool sync = false;                  // flush the file and its folder before returning
};

// Writes the bytes to a new temporary file beside `target` ("<name>.~<hex>", never the name of a
// year file or a settings file) and renames it over `target`, so the target is always the old or
// the new content whole. A failure removes the temporary file. Returns 0 or the errno value.
int ReplaceFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                          const ReplaceOptions& options = {});

}  // namespace koyomi
