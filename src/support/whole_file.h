// Whole-file reads and atomic replacement, for every file the program and its stand-in control
// keep: the settings file, the year files, calendars and the control's own files. Failures come
// as a reason a person can read, the file they concern and a kind a caller may decide by; no
// errno leaves this layer. Each platform implements this header in a file of its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "support/result.h"

namespace koyomi {

// The system's text for an errno value, in UTF-8.
std::string SystemReason(int error);

// Reads a regular file whole. The failure's kind tells a missing file (NotFound), a folder, a
// pipe or a device under the name (NotRegularFile; opening never blocks on a pipe) and a file
// of more than `limit` bytes (TooLarge); its reason is the system's text for each.
Result<std::string> ReadWholeRegularFile(const std::filesystem::path& file,
                                         std::size_t limit = SIZE_MAX);

// What tells one version of a file from another without reading it: a write by anyone
// changes the size, the modification time or (an atomic replace) the inode; a chmod changes
// the permissions.
struct FileStamp {
    bool exists = false;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modified_ns = 0;
    std::uint32_t permissions = 0;

    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// The stamp of the file under the name now; a name that cannot be examined has none
// (exists false).
FileStamp StampOf(const std::filesystem::path& file);

struct ReplaceOptions {
    bool sync = false;             // flush the file and its folder before returning
    FileStamp* written = nullptr;  // when given, receives the stamp of the new file
};

// Writes the bytes to a new temporary file beside the file that `target` names
// ("<name>.~<12 hex digits>", never the name of a year file or a settings file) and renames it
// over that file, so the file is always the old or the new content whole. A symbolic link is
// followed and kept; an existing file keeps its permission bits (and, where the system lets
// the user, its owner and group); a new file gets those the umask leaves. A file the user
// may not open for writing is not replaced: the failure names `target` and the system's
// reason. A failure removes the temporary file.
Status ReplaceFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                             const ReplaceOptions& options = {});

// Removes from `folder` the temporary files that writes cut short by a kill left behind:
// names of the form above only, regular files only, and never one that a live writer still
// holds. Returns how many were removed; a folder that cannot be listed has none.
int RemoveLeftoverTemporaryFiles(const std::filesystem::path& folder);

// Flushes a file, or a folder's entries, to disk. The failure names the path.
Status SyncToDisk(const std::filesystem::path& path);

}  // namespace koyomi
