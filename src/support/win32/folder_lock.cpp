// Windows file systems take byte-range locks (LockFileEx) on data files only and refuse them
// on a folder's handle, and a folder opened without sharing would keep every other program
// from listing it. The lock is therefore a named mutex that stands for the folder's identity
// (its volume and file index, so that every spelling of the path meets the same one): it
// needs no right to the folder beyond reading its attributes, leaves nothing in it, and the
// system removes it with the last handle, when the holder closes it or ends.
#include <windows.h>

#include <cstdio>
#include <utility>

#include "support/folder_lock.h"
#include "support/win32/windows_error.h"

namespace koyomi {
namespace {

constexpr std::intptr_t kNoHandle = -1;

Failure FolderFailure(DWORD code, const std::filesystem::path& folder) {
    FailureKind kind = FailureKind::Failed;
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) {
        kind = FailureKind::NotFound;
    }
    return Fail(WindowsErrorReason(code), folder, kind);
}

// Said in the words Windows uses for a file another program holds.
Failure HeldByAnother(const std::filesystem::path& folder) {
    return Fail(WindowsErrorReason(ERROR_SHARING_VIOLATION), folder, FailureKind::InUse);
}

void Close(std::intptr_t handle) {
    if (handle != kNoHandle) {
        CloseHandle(reinterpret_cast<HANDLE>(handle));
    }
}

}  // namespace

Result<FolderLock> FolderLock::Take(const std::filesystem::path& folder) {
    HANDLE opened = CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (opened == INVALID_HANDLE_VALUE) {
        return FolderFailure(GetLastError(), folder);
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const bool examined = GetFileInformationByHandle(opened, &info);
    const DWORD examine_error = GetLastError();
    CloseHandle(opened);
    if (!examined) {
        return FolderFailure(examine_error, folder);
    }
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        return FolderFailure(ERROR_DIRECTORY, folder);
    }
    // Global, so that another user's fetch into a shared folder is kept out too.
    wchar_t name[80];
    std::swprintf(name, sizeof name / sizeof name[0], L"Global\\koyomivw-folder-%08lx-%08lx%08lx",
                  info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow);
    HANDLE mutex = CreateMutexW(nullptr, FALSE, name);
    const DWORD error = GetLastError();
    if (mutex == nullptr) {
        // Another user's mutex, which this user may not open, is held all the same.
        return error == ERROR_ACCESS_DENIED ? HeldByAnother(folder) : FolderFailure(error, folder);
    }
    // The mutex exists as long as a holder keeps a handle of it: one that already existed is
    // another holder's.
    if (error == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return HeldByAnother(folder);
    }
    return FolderLock(reinterpret_cast<std::intptr_t>(mutex));
}

FolderLock::FolderLock(FolderLock&& other) noexcept
    : handle_(std::exchange(other.handle_, kNoHandle)) {}

FolderLock& FolderLock::operator=(FolderLock&& other) noexcept {
    if (this != &other) {
        Close(handle_);
        handle_ = std::exchange(other.handle_, kNoHandle);
    }
    return *this;
}

FolderLock::~FolderLock() {
    Close(handle_);
}

}  // namespace koyomi
