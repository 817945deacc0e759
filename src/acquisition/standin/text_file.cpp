#include "acquisition/standin/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <system_error>
#include <thread>

namespace koyomi {
namespace {

constexpr std::size_t kSmallFileLimit = std::size_t{1} << 20;

std::string Reason(const std::filesystem::path& file, int error) {
    return file.string() + ": " + std::generic_category().message(error);
}

// Closes a descriptor on every way out.
class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    int release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

  private:
    int fd_;
};

}  // namespace

bool ReadRegularFile(const std::filesystem::path& file, std::size_t limit, std::string& content,
                     std::string& reason) {
    // O_NONBLOCK: a pipe under the name must not hang the caller.
    FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) {
        reason = Reason(file, errno);
        return false;
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        reason = Reason(file, errno);
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        reason = Reason(file, S_ISDIR(info.st_mode) ? EISDIR : EINVAL);
        return false;
    }
    if (static_cast<std::size_t>(info.st_size) > limit) {
        reason = Reason(file, EFBIG);
        return false;
    }
    content.assign(static_cast<std::size_t>(info.st_size) + 1, '\0');
    std::size_t used = 0;
    for (;;) {
        if (used == content.size()) {
            if (content.size() > limit) {
                reason = Reason(file, EFBIG);  // it grew while being read
                return false;
            }
            content.resize(content.size() * 2);
        }
        const ssize_t got = ::read(fd.get(), content.data() + used, content.size() - used);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            reason = Reason(file, errno);
            return false;
        }
        if (got == 0) {
            break;
        }
        used += static_cast<std::size_t>(got);
    }
    content.resize(used);
    if (used > limit) {
        reason = Reason(file, EFBIG);
        return false;
    }
    return true;
}

bool ReadSmallTextFile(const std::filesystem::path& file, std::string& content) {
    std::string reason;
    return ReadRegularFile(file, kSmallFileLimit, content, reason);
}

bool WriteFileAtomically(const std::filesystem::path& file, std::string_view content,
                         std::string& reason) {
    std::error_code error;
    if (file.has_parent_path()) {
        std::filesystem::create_directories(file.parent_path(), error);
        if (error) {
            reason = file.parent_path().string() + ": " + error.message();
            return false;
        }
    }
    std::filesystem::path temporary = file;
    // Unique per process and thread: two requests may fill the same cache at once.
    temporary += ".~" + std::to_string(::getpid()) + "-" +
                 std::to_string(std::hash<std::thread::id>{}(std::this_thread::get_id()));
    FileDescriptor fd(
        ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0666));
    if (fd.get() < 0) {
        reason = Reason(temporary, errno);
        return false;
    }
    std::string_view rest = content;
    while (!rest.empty()) {
        const ssize_t written = ::write(fd.get(), rest.data(), rest.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            reason = Reason(temporary, errno);
            ::unlink(temporary.c_str());
            return false;
        }
        rest.remove_prefix(static_cast<std::size_t>(written));
    }
    if (::close(fd.release()) != 0) {
        reason = Reason(temporary, errno);
        ::unlink(temporary.c_str());
        return false;
    }
    if (::rename(temporary.c_str(), file.c_str()) != 0) {
        reason = Reason(file, errno);
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace koyomi
