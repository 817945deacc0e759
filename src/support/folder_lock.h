// One fetch a data folder at a time: an advisory lock on the folder itself, held for the
// length of a fetch. No lock file is made, so it works in a folder the program may not write,
// and the system drops it with the program that held it, so a killed program never blocks
// the next fetch. Each platform implements this header in a file of its own.
#pragma once

#include <cstdint>
#include <filesystem>

#include "support/result.h"

namespace koyomi {

class FolderLock {
  public:
    // Takes the lock without waiting. A folder another program (or another window) holds
    // fails with the kind InUse; a folder that cannot be opened fails with the system's
    // reason (NotFound when it is missing).
    static Result<FolderLock> Take(const std::filesystem::path& folder);

    FolderLock(FolderLock&& other) noexcept;
    FolderLock& operator=(FolderLock&& other) noexcept;
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    // Releases the lock.
    ~FolderLock();

  private:
    explicit FolderLock(std::intptr_t handle) : handle_(handle) {}

    std::intptr_t handle_ = -1;  // the platform's handle of the open folder
};

}  // namespace koyomi
