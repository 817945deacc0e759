// Whole files through the system calls, with O_CLOEXEC so that no child of a test inherits them.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

#include "testing/files.h"

namespace koyomi::testing {

namespace fs = std::filesystem;

void WriteBytes(const fs::path& file, std::string_view bytes) {
    if (file.has_parent_path()) {
        fs::create_directories(file.parent_path());
    }
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        throw std::system_error(errno, std::generic_category(), "open " + file.string());
    }
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            const int error = errno;
            ::close(fd);
            throw std::system_error(error, std::generic_category(), "write " + file.string());
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    if (::close(fd) != 0) {
        throw std::system_error(errno, std::generic_category(), "close " + file.string());
    }
}

Result<std::string> TryReadBytes(const fs::path& file) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return Fail(std::strerror(errno), file);
    }
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            const int error = errno;
            ::close(fd);
            return Fail(std::strerror(error), file);
        }
        if (count == 0) {
            break;
        }
        bytes.append(buffer, static_cast<size_t>(count));
    }
    ::close(fd);
    return bytes;
}

}  // namespace koyomi::testing
