#include "support/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#ifdef _WIN32
// The JV-Link test control reads and writes its files through this module too, built for
// Windows; only opening, renaming and syncing differ there.
#include <io.h>
#include <windows.h>
#endif

#include <cerrno>
#include <chrono>
#include <functional>
#include <system_error>
#include <thread>

namespace koyomi {
namespace {

#ifdef _WIN32
constexpr int kReadFlags = O_RDONLY | O_BINARY;
constexpr int kCreateFlags = O_WRONLY | O_CREAT | O_EXCL | O_BINARY;

int OpenFile(const std::filesystem::path& file, int flags, int mode = 0) {
    return ::_wopen(file.c_str(), flags, mode);
}

int FetchSize(int fd, std::uintmax_t& size, bool& regular, bool& folder, mode_t& mode) {
    struct _stat64 info {};
    if (::_fstat64(fd, &info) != 0) {
        return errno;
    }
    size = static_cast<std::uintmax_t>(info.st_size);
    regular = (info.st_mode & S_IFMT) == S_IFREG;
    folder = (info.st_mode & S_IFMT) == S_IFDIR;
    mode = static_cast<mode_t>(info.st_mode & 0777);
    return 0;
}

int SetPermissions(int, mode_t) {
    return 0;  // Windows files have no Unix permission bits to keep
}

int SyncFile(int fd) {
    return ::_commit(fd);
}

int RenameOver(const std::filesystem::path& from, const std::filesystem::path& to) {
    return ::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : EACCES;
}

void RemoveFile(const std::filesystem::path& file) {
    ::_wunlink(file.c_str());
}

void SyncFolderOf(const std::filesystem::path&) {}

FileStamp StampFrom(const struct _stat64& info) {
    FileStamp stamp;
    stamp.exists = true;
    stamp.size = static_cast<off_t>(info.st_size);
    stamp.modified_ns = static_cast<std::int64_t>(info.st_mtime) * 1'000'000'000;
    stamp.permissions = static_cast<mode_t>(info.st_mode & 0777);
    return stamp;
}

int StampPath(const std::filesystem::path& file, FileStamp& stamp) {
    struct _stat64 info {};
    if (::_wstat64(file.c_str(), &info) != 0) {
        return errno;
    }
    stamp = StampFrom(info);
    return 0;
}

int StampOpenFile(int fd, FileStamp& stamp) {
    struct _stat64 info {};
    if (::_fstat64(fd, &info) != 0) {
        return errno;
    }
    stamp = StampFrom(info);
    return 0;
}
#else
constexpr int kReadFlags = O_RDONLY | O_CLOEXEC | O_NONBLOCK;
constexpr int kCreateFlags = O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC;

int OpenFile(const std::filesystem::path& file, int flags, int mode = 0) {
    return ::open(file.c_str(), flags, mode);
}

int FetchSize(int fd, std::uintmax_t& size, bool& regular, bool& folder, mode_t& mode) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        return errno;
    }
    size = static_cast<std::uintmax_t>(info.st_size);
    regular = S_ISREG(info.st_mode);
    folder = S_ISDIR(info.st_mode);
    mode = info.st_mode & 07777;
    return 0;
}

int SetPermissions(int fd, mode_t permissions) {
    return ::fchmod(fd, permissions) != 0 ? errno : 0;
}

int SyncFile(int fd) {
    return ::fsync(fd);
}

int RenameOver(const std::filesystem::path& from, const std::filesystem::path& to) {
    return ::rename(from.c_str(), to.c_str()) != 0 ? errno : 0;
}

void RemoveFile(const std::filesystem::path& file) {
    ::unlink(file.c_str());
}

void SyncFolderOf(const std::filesystem::path& target) {
    // Makes the rename itself durable; a failure here leaves a complete file either way.
    const std::filesystem::path folder =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}
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

int StampPath(const std::filesystem::path& file, FileStamp& stamp) {
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0) {
        return errno;
    }
    stamp = StampFrom(info);
    return 0;
}

int StampOpenFile(int fd, FileStamp& stamp) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        return errno;
    }
    stamp = StampFrom(info);
    return 0;
}
#endif

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

// Creates an unused temporary file beside `target`. The name only has to be unlikely to be
// taken: O_EXCL settles any clash and the next attempt takes another name. Returns the
// descriptor, or -1 with errno set.
int CreateTemporaryBeside(const std::filesystem::path& target, std::filesystem::path& temporary) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::uint64_t seed =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
        (static_cast<std::uint64_t>(::getpid()) << 40) ^
        std::hash<std::thread::id>{}(std::this_thread::get_id());
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::uint64_t value = (seed += 0x9E3779B97F4A7C15ull) * 0xBF58476D1CE4E5B9ull;
        std::string suffix = ".~";
        for (int i = 0; i < 12; ++i) {
            suffix += kHex[value & 0xF];
            value >>= 4;
        }
        temporary = target;
        temporary += suffix;
        // Mode 0666 lets the umask decide, as for any file the user creates.
        const int fd = OpenFile(temporary, kCreateFlags, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
}

}  // namespace

FileStamp StampOf(const std::filesystem::path& file) {
    FileStamp stamp;
    if (StampPath(file, stamp) != 0) {
        return {};
    }
    return stamp;
}

std::string SystemReason(int error) {
    return std::generic_category().message(error);
}

int ReadWholeRegularFile(const std::filesystem::path& file, std::string& content,
                         mode_t* permissions, std::size_t limit) {
    content.clear();
    const int fd = OpenFile(file, kReadFlags);
    if (fd < 0) {
        return errno;
    }
    const auto fail = [fd, &content](int error) {
        ::close(fd);
        content.clear();
        return error;
    };
    std::uintmax_t size = 0;
    bool regular = false;
    bool folder = false;
    mode_t mode = 0;
    if (const int error = FetchSize(fd, size, regular, folder, mode); error != 0) {
        return fail(error);
    }
    if (!regular) {
        return fail(folder ? EISDIR : EINVAL);
    }
    if (size > limit) {
        return fail(EFBIG);
    }
    if (permissions != nullptr) {
        *permissions = mode;
    }
    // One byte more than the size, so a file of the expected size ends in one read.
    content.resize(static_cast<std::size_t>(size) + 1);
    std::size_t used = 0;
    for (;;) {
        if (used == content.size()) {
            if (used > limit) {
                return fail(EFBIG);  // it grew while being read
            }
            content.resize(content.size() * 2);
        }
        const ssize_t got = ::read(fd, content.data() + used, content.size() - used);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return fail(errno);
        }
        if (got == 0) {
            break;
        }
        used += static_cast<std::size_t>(got);
    }
    content.resize(used);
    if (used > limit) {
        return fail(EFBIG);
    }
    ::close(fd);
    return 0;
}

int ReplaceFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                          const ReplaceOptions& options) {
    std::filesystem::path temporary;
    const int fd = CreateTemporaryBeside(target, temporary);
    if (fd < 0) {
        return errno;
    }
    int error = 0;
    if (options.permissions) {
        error = SetPermissions(fd, *options.permissions);
    }
    if (error == 0) {
        error = WriteAll(fd, bytes);
    }
    if (error == 0 && options.sync && SyncFile(fd) != 0) {
        error = errno;
    }
    if (error == 0 && options.written != nullptr) {
        // The file's own stamp, taken before the rename: a stat of the name afterwards could
        // already see someone else's file.
        error = StampOpenFile(fd, *options.written);
    }
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0) {
        error = RenameOver(temporary, target);
    }
    if (error != 0) {
        RemoveFile(temporary);
        return error;
    }
    if (options.sync) {
        SyncFolderOf(target);
    }
    return 0;
}

}  // namespace koyomi
