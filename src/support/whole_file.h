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

// What tells one version of a file from another without reading it: a write by anyone
// changes the size, the modification time or (an atomic replace) the inode; a chmod changes
// the permissions.
struct FileStamp {
    bool exists = false;
    ino_t inode = 0;
    off_t size = 0;
    std::int64_t modified_ns = 0;
    mode_t permissions = 0;

    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// The stamp of the file under the name now; a name that cannot be examined has none
// (exists false).
FileStamp StampOf(const std::filesystem::path& file);

struct ReplaceOptions {
    std::optional<mode_t> permissions;  // those of the file replaced; none: the umask decides
    bool sync = false;                  // flush the file and its folder before returning
    FileStamp* written = nullptr;       // when given, receives the stamp of the new file
};

// Writes the bytes to a new temporary file beside `target` ("<name>.~<hex>", never the name of a
// year file or a settings file) and renames it over `target`, so the target is always the old or
// the new content whole. A failure removes the temporary file. Returns 0 or the errno value.
int ReplaceFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                          const ReplaceOptions& options = {});

}  // namespace koyomi
