#include "support/whole_file.h"
#include "support/temporary_name.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <system_error>

namespace koyomi {
namespace {

namespace fs = std::filesystem;

Failure SystemFailure(int error, const fs::path& file) {
    FailureKind kind = FailureKind::Failed;
    if (error == ENOENT) {
        kind = FailureKind::NotFound;
    } else if (error == EISDIR || error == EINVAL) {
        kind = FailureKind::NotRegularFile;
    } else if (error == EFBIG) {
        kind = FailureKind::TooLarge;
    }
    return Fail(SystemReason(error), file, kind);
}

// Closes a descriptor at the end of a scope.
class Descriptor {
  public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() { Reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now; the result of close().
    int Reset() {
        const int result = fd_ >= 0 ? ::close(fd_) : 0;
        fd_ = -1;
        return result;
    }

  private:
    int fd_;
};

FileStamp StampFrom(const struct stat& info) {
    FileStamp stamp;
    stamp.exists = true;
    stamp.inode = info.st_ino;
    stamp.size = info.st_size;
    stamp.modified_ns =
        static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
    stamp.permissions = info.st_mode & 07777;
    return stamp;
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

int WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

// Creates an unused temporary file beside `target` and locks it for the writer, so that the
// clean-up of leftovers never takes a file still being written. The name only has to be
// unlikely to be taken: O_EXCL settles any clash. Returns the descriptor, or -1 with errno set.
int CreateTemporaryBeside(const fs::path& target, fs::path& temporary) {
    TemporaryNames names(static_cast<std::uint64_t>(::getpid()));
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = names.Next(target);
        // Mode 0666 lets the umask decide, as for any file the user creates.
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) {
                continue;
            }
            return -1;
        }
        // A clean-up may have taken the file between its creation and the lock: then the name
        // is gone or another file's, and the next attempt takes a new one.
        struct stat opened {};
        struct stat named {};
        if (::flock(fd, LOCK_EX) == 0 && ::fstat(fd, &opened) == 0 &&
            ::stat(temporary.c_str(), &named) == 0 && SameFile(opened, named)) {
            return fd;
        }
        ::close(fd);
    }
    errno = EEXIST;
    return -1;
}

// What an existing target keeps through the replacement. Fails when the name holds something
// the user may not write, or no regular file.
int ExaminedTarget(const fs::path& target, std::optional<struct stat>& kept) {
    struct stat info {};
    if (::stat(target.c_str(), &info) != 0) {
        return errno == ENOENT ? 0 : errno;
    }
    if (!S_ISREG(info.st_mode)) {
        return S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
    }
    // The folder may let the user rename over a file that is not the user's to change;
    // opening it for writing asks the file itself. Nothing is truncated or written.
    Descriptor fd(::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.valid()) {
        return errno;
    }
    if (::fstat(fd.get(), &info) != 0) {
        return errno;
    }
    kept = info;
    return 0;
}

void SyncFolderOf(const fs::path& target) {
    // Makes the rename itself durable; a failure here leaves a complete file either way.
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    Descriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.valid()) {
        ::fsync(fd.get());
    }
}

}  // namespace

std::string SystemReason(int error) {
    return std::generic_category().message(error);
}

FileStamp StampOf(const fs::path& file) {
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0) {
        return {};
    }
    return StampFrom(info);
}

Result<std::string> ReadWholeRegularFile(const fs::path& file, std::size_t limit) {
    Descriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.valid()) {
        return SystemFailure(errno, file);
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        return SystemFailure(errno, file);
    }
    if (!S_ISREG(info.st_mode)) {
        return SystemFailure(S_ISDIR(info.st_mode) ? EISDIR : EINVAL, file);
    }
    const auto size = static_cast<std::uintmax_t>(info.st_size);
    if (size > limit) {
        return SystemFailure(EFBIG, file);
    }
    // One byte more than the size, so a file of the expected size ends in one read.
    std::string content(static_cast<std::size_t>(size) + 1, '\0');
    std::size_t used = 0;
    for (;;) {
        if (used == content.size()) {
            if (used > limit) {
                return SystemFailure(EFBIG, file);  // it grew while being read
            }
            content.resize(content.size() * 2);
        }
        const ssize_t got = ::read(fd.get(), content.data() + used, content.size() - used);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return SystemFailure(errno, file);
        }
        if (got == 0) {
            break;
        }
        used += static_cast<std::size_t>(got);
    }
    content.resize(used);
    if (used > limit) {
        return SystemFailure(EFBIG, file);
    }
    return content;
}

Status ReplaceFileAtomically(const fs::path& target, std::string_view bytes,
                             const ReplaceOptions& options) {
    const fs::path file = FollowLinks(target);
    std::optional<struct stat> kept;
    if (const int error = ExaminedTarget(file, kept); error != 0) {
        return SystemFailure(error, target);
    }
    fs::path temporary;
    Descriptor fd(CreateTemporaryBeside(file, temporary));
    if (!fd.valid()) {
        return SystemFailure(errno, target);
    }
    int error = 0;
    if (kept) {
        // Another owner or group is kept only where the system allows it (root, or a group
        // of the user's); the permission bits always are.
        struct stat made {};
        if (::fstat(fd.get(), &made) == 0 &&
            (made.st_uid != kept->st_uid || made.st_gid != kept->st_gid)) {
            (void)::fchown(fd.get(), kept->st_uid, kept->st_gid);
        }
        if (::fchmod(fd.get(), kept->st_mode & 07777) != 0) {
            error = errno;
        }
    }
    if (error == 0) {
        error = WriteAll(fd.get(), bytes);
    }
    if (error == 0 && options.sync && ::fsync(fd.get()) != 0) {
        error = errno;
    }
    struct stat written {};
    if (error == 0 && options.written != nullptr && ::fstat(fd.get(), &written) != 0) {
        // The file's own stamp, taken before the rename: a stat of the name afterwards could
        // already see someone else's file.
        error = errno;
    }
    // The lock lives as long as a descriptor of the file is open: a second one keeps it over
    // the rename, while closing the first still reports a failed write.
    Descriptor lock_keeper(error == 0 ? ::dup(fd.get()) : -1);
    if (error == 0 && !lock_keeper.valid()) {
        error = errno;
    }
    if (fd.Reset() != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 && ::rename(temporary.c_str(), file.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(temporary.c_str());
        return SystemFailure(error, target);
    }
    lock_keeper.Reset();
    if (options.written != nullptr) {
        *options.written = StampFrom(written);
    }
    if (options.sync) {
        SyncFolderOf(file);
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
        Descriptor fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat opened {};
        if (!fd.valid() || ::fstat(fd.get(), &opened) != 0 || !S_ISREG(opened.st_mode)) {
            continue;
        }
        // A writer holds its file locked until the file is renamed into place; one that can be
        // locked was left by a write that ended without finishing.
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
            continue;
        }
        struct stat named {};
        if (::lstat(path.c_str(), &named) == 0 && SameFile(opened, named) &&
            ::unlink(path.c_str()) == 0) {
            ++removed;
        }
    }
    return removed;
}

Status SyncToDisk(const fs::path& path) {
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid()) {
        return SystemFailure(errno, path);
    }
    if (::fsync(fd.get()) != 0) {
        return SystemFailure(errno, path);
    }
    return {};
}

}  // namespace koyomi
