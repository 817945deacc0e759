// The whole-file layer as the JV-Link test control needs it on Windows: reading, stamps and
// the atomic replace. Windows files have no Unix permission bits or owners to keep.
#include "support/whole_file.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cerrno>
#include <chrono>
#include <functional>
#include <system_error>
#include <thread>

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

FileStamp StampFrom(const struct _stat64& info) {
    FileStamp stamp;
    stamp.exists = true;
    stamp.size = static_cast<std::int64_t>(info.st_size);
    stamp.modified_ns = static_cast<std::int64_t>(info.st_mtime) * 1'000'000'000;
    stamp.permissions = static_cast<std::uint32_t>(info.st_mode & 0777);
    return stamp;
}

int WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const int written = ::_write(fd, bytes.data(), static_cast<unsigned>(bytes.size()));
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

// Creates an unused temporary file beside `target`, named as on every platform. Returns the
// descriptor, or -1 with errno set.
int CreateTemporaryBeside(const fs::path& target, fs::path& temporary) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::uint64_t seed =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
        (static_cast<std::uint64_t>(::GetCurrentProcessId()) << 40) ^
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
        const int fd = ::_wopen(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_BINARY,
                                _S_IREAD | _S_IWRITE);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
}

}  // namespace

std::string SystemReason(int error) {
    return std::generic_category().message(error);
}

FileStamp StampOf(const fs::path& file) {
    struct _stat64 info {};
    if (::_wstat64(file.c_str(), &info) != 0) {
        return {};
    }
    return StampFrom(info);
}

Result<std::string> ReadWholeRegularFile(const fs::path& file, std::size_t limit) {
    const int fd = ::_wopen(file.c_str(), O_RDONLY | O_BINARY);
    if (fd < 0) {
        return SystemFailure(errno, file);
    }
    const auto fail = [fd, &file](int error) {
        ::_close(fd);
        return SystemFailure(error, file);
    };
    struct _stat64 info {};
    if (::_fstat64(fd, &info) != 0) {
        return fail(errno);
    }
    if ((info.st_mode & S_IFMT) != S_IFREG) {
        return fail((info.st_mode & S_IFMT) == S_IFDIR ? EISDIR : EINVAL);
    }
    const auto size = static_cast<std::uintmax_t>(info.st_size);
    if (size > limit) {
        return fail(EFBIG);
    }
    std::string content(static_cast<std::size_t>(size) + 1, '\0');
    std::size_t used = 0;
    for (;;) {
        if (used == content.size()) {
            if (used > limit) {
                return fail(EFBIG);  // it grew while being read
            }
            content.resize(content.size() * 2);
        }
        const int got =
            ::_read(fd, content.data() + used, static_cast<unsigned>(content.size() - used));
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
    ::_close(fd);
    content.resize(used);
    if (used > limit) {
        return SystemFailure(EFBIG, file);
    }
    return content;
}

Status ReplaceFileAtomically(const fs::path& target, std::string_view bytes,
                             const ReplaceOptions& options) {
    fs::path temporary;
    const int fd = CreateTemporaryBeside(target, temporary);
    if (fd < 0) {
        return SystemFailure(errno, target);
    }
    int error = WriteAll(fd, bytes);
    if (error == 0 && options.sync && ::_commit(fd) != 0) {
        error = errno;
    }
    if (error == 0 && options.written != nullptr) {
        struct _stat64 info {};
        if (::_fstat64(fd, &info) != 0) {
            error = errno;
        } else {
            *options.written = StampFrom(info);
        }
    }
    if (::_close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 &&
        !::MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        error = EACCES;
    }
    if (error != 0) {
        ::_wunlink(temporary.c_str());
        return SystemFailure(error, target);
    }
    return {};
}

}  // namespace koyomi
