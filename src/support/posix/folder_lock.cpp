#include "support/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "support/whole_file.h"

namespace koyomi {

Result<FolderLock> FolderLock::Take(const std::filesystem::path& folder) {
    // flock, not a record lock: it belongs to this open folder, so a second window of the
    // same program is kept out as surely as another program.
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        return Fail(SystemReason(error), folder,
                    error == ENOENT ? FailureKind::NotFound : FailureKind::Failed);
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        return Fail(SystemReason(error), folder,
                    error == EWOULDBLOCK ? FailureKind::InUse : FailureKind::Failed);
    }
    return FolderLock(fd);
}

FolderLock::FolderLock(FolderLock&& other) noexcept : handle_(std::exchange(other.handle_, -1)) {}

FolderLock& FolderLock::operator=(FolderLock&& other) noexcept {
    if (this != &other) {
        if (handle_ >= 0) {
            ::close(static_cast<int>(handle_));
        }
        handle_ = std::exchange(other.handle_, -1);
    }
    return *this;
}

FolderLock::~FolderLock() {
    if (handle_ >= 0) {
        ::close(static_cast<int>(handle_));
    }
}

}  // namespace koyomi
