// The whole-file layer on Windows: wide paths through the Win32 file calls, never the ANSI code
// page. A temporary file is held open without sharing while it is written, which is what keeps
// the clean-up of leftovers away from it; ReplaceFileW puts it over an existing file, so the
// file keeps its attributes and its ACL. Windows files have no Unix permission bits or owners
// to keep; the read-only attribute stands in for the permissions in a stamp.
#include <windows.h>

#include <optional>
#include <string>
#include <system_error>

#include "support/temporary_name.h"
#include "support/whole_file.h"
#include "support/win32/windows_error.h"

namespace koyomi {
namespace {

namespace fs = std::filesystem;

// Between 1601-01-01 (FILETIME) and 1970-01-01, in 100 ns units.
constexpr std::int64_t kUnixEpochTicks = 116'444'736'000'000'000;

Failure WindowsFailure(DWORD code, const fs::path& file) {
    FailureKind kind = FailureKind::Failed;
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            kind = FailureKind::NotFound;
            break;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            kind = FailureKind::InUse;
            break;
        case ERROR_FILE_TOO_LARGE:
            kind = FailureKind::TooLarge;
            break;
        case ERROR_DIRECTORY:
        case ERROR_BAD_FILE_TYPE:
            kind = FailureKind::NotRegularFile;
            break;
        default:
            break;
    }
    return Fail(WindowsErrorReason(code), file, kind);
}

Failure LastFailure(const fs::path& file) {
    return WindowsFailure(GetLastError(), file);
}

// Closes a handle at the end of a scope.
class Handle {
  public:
    explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
    ~Handle() { Reset(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    // Closes now; false when the close failed (GetLastError tells why).
    bool Reset() {
        const bool closed = !valid() || CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

  private:
    HANDLE handle_;
};

// Opening for reading or examining never keeps another program from writing, renaming or
// deleting the file meanwhile.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

FileStamp StampFrom(const BY_HANDLE_FILE_INFORMATION& info) {
    FileStamp stamp;
    stamp.exists = true;
    stamp.inode = (static_cast<std::uint64_t>(info.dwVolumeSerialNumber) << 32) ^
                  ((static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow);
    stamp.size = static_cast<std::int64_t>((static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) |
                                           info.nFileSizeLow);
    const std::int64_t ticks = static_cast<std::int64_t>(
        (static_cast<std::uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32) |
        info.ftLastWriteTime.dwLowDateTime);
    stamp.modified_ns = (ticks - kUnixEpochTicks) * 100;
    stamp.permissions = (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0 ? 0444 : 0666;
    return stamp;
}

// Creates an unused temporary file beside `target`, open for writing and shared with nobody.
// The name only has to be unlikely to be taken: CREATE_NEW settles any clash. Returns an
// invalid handle with GetLastError set on failure.
HANDLE CreateTemporaryBeside(const fs::path& target, bool write_through, fs::path& temporary) {
    TemporaryNames names(GetCurrentProcessId());
    const DWORD flags = FILE_ATTRIBUTE_NORMAL | (write_through ? FILE_FLAG_WRITE_THROUGH : 0);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = names.Next(target);
        HANDLE handle =
            CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, flags, nullptr);
        if (handle != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) {
            return handle;
        }
    }
    SetLastError(ERROR_FILE_EXISTS);
    return INVALID_HANDLE_VALUE;
}

// The attributes of the file under the name, none when there is none; fails when it is one the user
// may not replace: no regular file, read-only, refused for writing by its ACL, or held open by a
// program that shares it with nobody. Nothing is truncated or written.
Result<std::optional<DWORD>> ExaminedTarget(const fs::path& target) {
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND) {
            return std::optional<DWORD>();
        }
        return WindowsFailure(error, target);
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return WindowsFailure(ERROR_DIRECTORY, target);
    }
    // The folder may let the user replace a read-only file; the attribute says the user
    // means it to stay.
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        return WindowsFailure(ERROR_ACCESS_DENIED, target);
    }
    Handle file(CreateFileW(target.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        return LastFailure(target);
    }
    if (GetFileType(file.get()) != FILE_TYPE_DISK) {
        return WindowsFailure(ERROR_BAD_FILE_TYPE, target);
    }
    return std::optional<DWORD>(attributes);
}

bool WriteAll(HANDLE handle, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD size = bytes.size() > 1u << 30 ? 1u << 30 : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!WriteFile(handle, bytes.data(), size, &written, nullptr)) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

}  // namespace

std::string SystemReason(int error) {
    return std::generic_category().message(error);
}

FileStamp StampOf(const fs::path& file) {
    Handle handle(CreateFileW(file.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!handle.valid() || !GetFileInformationByHandle(handle.get(), &info)) {
        return {};
    }
    return StampFrom(info);
}

Result<std::string> ReadWholeRegularFile(const fs::path& file, std::size_t limit) {
    // Backup semantics open a folder too, so that it is told apart from a file that may not
    // be read.
    Handle handle(CreateFileW(file.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle.valid()) {
        return LastFailure(file);
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(handle.get()) != FILE_TYPE_DISK) {
        return WindowsFailure(ERROR_BAD_FILE_TYPE, file);
    }
    if (!GetFileInformationByHandle(handle.get(), &info)) {
        return LastFailure(file);
    }
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return WindowsFailure(ERROR_DIRECTORY, file);
    }
    const std::uint64_t size =
        (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    if (size > limit || size >= SIZE_MAX) {
        return WindowsFailure(ERROR_FILE_TOO_LARGE, file);
    }
    // One byte more than the size, so a file of the expected size ends in one read.
    std::string content(static_cast<std::size_t>(size) + 1, '\0');
    std::size_t used = 0;
    for (;;) {
        if (used == content.size()) {
            if (used > limit) {
                return WindowsFailure(ERROR_FILE_TOO_LARGE, file);  // it grew while being read
            }
            content.resize(content.size() * 2);
        }
        const std::size_t room = content.size() - used;
        DWORD got = 0;
        if (!ReadFile(handle.get(), content.data() + used,
                      room > 1u << 30 ? 1u << 30 : static_cast<DWORD>(room), &got, nullptr)) {
            return LastFailure(file);
        }
        if (got == 0) {
            break;
        }
        used += got;
    }
    content.resize(used);
    if (used > limit) {
        return WindowsFailure(ERROR_FILE_TOO_LARGE, file);
    }
    return content;
}

Status ReplaceFileAtomically(const fs::path& target, std::string_view bytes,
                             const ReplaceOptions& options) {
    const fs::path file = FollowLinks(target);
    const Result<std::optional<DWORD>> examined = ExaminedTarget(file);
    if (!examined) {
        Failure failure = examined.Error();
        failure.file = target;
        return failure;
    }
    const bool exists = examined->has_value();
    fs::path temporary;
    Handle handle(CreateTemporaryBeside(file, options.sync, temporary));
    if (!handle.valid()) {
        return LastFailure(target);
    }
    DWORD error = ERROR_SUCCESS;
    if (!WriteAll(handle.get(), bytes) || (options.sync && !FlushFileBuffers(handle.get()))) {
        error = GetLastError();
    }
    BY_HANDLE_FILE_INFORMATION written{};
    if (error == ERROR_SUCCESS && options.written != nullptr &&
        !GetFileInformationByHandle(handle.get(), &written)) {
        error = GetLastError();
    }
    // Both calls below open the file themselves, which its own handle (shared with nobody)
    // would refuse. A clean-up that takes the file in between makes the call fail with the
    // file gone; the target stays as it was either way.
    if (!handle.Reset() && error == ERROR_SUCCESS) {
        error = GetLastError();
    }
    // ReplaceFileW is documented to carry the old file's attributes over; Wine's does not, so
    // the new file takes them before it takes the name.
    constexpr DWORD kKept = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                            FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    if (error == ERROR_SUCCESS && exists && (**examined & kKept) != 0 &&
        !SetFileAttributesW(temporary.c_str(), **examined & kKept)) {
        error = GetLastError();
    }
    if (error == ERROR_SUCCESS && exists &&
        !ReplaceFileW(file.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                      nullptr, nullptr)) {
        error = GetLastError();
        // The file went meanwhile: the new content takes its place as a new file.
        if (error == ERROR_FILE_NOT_FOUND &&
            GetFileAttributesW(temporary.c_str()) != INVALID_FILE_ATTRIBUTES) {
            error = ERROR_SUCCESS;
            if (!MoveFileExW(temporary.c_str(), file.c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
                error = GetLastError();
            }
        } else if (error == ERROR_UNABLE_TO_REMOVE_REPLACED) {
            // Held open by a program that does not share deletion with others.
            error = ERROR_SHARING_VIOLATION;
        }
    } else if (error == ERROR_SUCCESS && !exists &&
               !MoveFileExW(temporary.c_str(), file.c_str(),
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = GetLastError();
    }
    if (error != ERROR_SUCCESS) {
        DeleteFileW(temporary.c_str());
        return WindowsFailure(error, target);
    }
    if (options.written != nullptr) {
        *options.written = StampFrom(written);
    }
    return {};
}

int RemoveLeftoverTemporaryFiles(const fs::path& folder) {
    int removed = 0;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const fs::path& path = it->path();
        if (!IsTemporaryName(path)) {
            continue;
        }
        // A writer holds its file open, shared with nobody, until the file is in place; one
        // that opens without sharing was left by a write that ended without finishing. The
        // reparse point itself is opened, so a link is never followed to another file.
        Handle handle(CreateFileW(path.c_str(), GENERIC_READ | DELETE, 0, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS,
                                  nullptr));
        BY_HANDLE_FILE_INFORMATION info{};
        if (!handle.valid() || !GetFileInformationByHandle(handle.get(), &info) ||
            (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) !=
                0) {
            continue;
        }
        // Deleted through the handle, so it is the file examined and not whatever takes the
        // name meanwhile.
        FILE_DISPOSITION_INFO disposition{};
        disposition.DeleteFile = TRUE;
        if (SetFileInformationByHandle(handle.get(), FileDispositionInfo, &disposition,
                                       sizeof disposition)) {
            ++removed;
        }
    }
    return removed;
}

Status SyncToDisk(const fs::path& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return LastFailure(path);
    }
    // Windows offers no flush of a folder's entries: the file system journals them, and a new
    // file is moved into place written through.
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return {};
    }
    Handle handle(CreateFileW(path.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle.valid() || !FlushFileBuffers(handle.get())) {
        return LastFailure(path);
    }
    return {};
}

}  // namespace koyomi
