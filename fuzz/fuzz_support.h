// Shared pieces of the fuzz targets: a scratch folder for files, a check that stops the run
// with a message, and whole-file helpers.
#pragma once

#include <fcntl.h>
#include <iconv.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace koyomi::fuzz {

// A property the target promises. A broken one aborts, which libFuzzer records as a finding
// together with the input.
#define KOYOMI_REQUIRE(condition)                                                        \
    do {                                                                                 \
        if (!(condition)) {                                                              \
            std::fprintf(stderr, "%s:%d: broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                \
        }                                                                                \
    } while (false)

// The text layer opens a code page 932 converter for every conversion. glibc unloads the
// converter's module when the last one closes and loads it again on the next, which costs
// more than the conversion; one converter held open for the whole run keeps it loaded.
inline const iconv_t kCodePageKeptLoaded = iconv_open("UTF-8", "CP932");

// A folder of this process for the target's files, in memory when /dev/shm is there, removed
// when the process ends.
class ScratchFolder {
  public:
    ScratchFolder() {
        std::error_code error;
        std::filesystem::path base = "/dev/shm";
        if (!std::filesystem::is_directory(base, error)) {
            base = std::filesystem::temp_directory_path();
        }
        std::string pattern = (base / "koyomi-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
        path_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

    // Empties the folder for the next input.
    void Clear() const {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(path_, error)) {
            std::filesystem::remove_all(entry.path(), error);
        }
    }

  private:
    std::filesystem::path path_;
};

// The scratch folder of the running target, made on first use.
inline const ScratchFolder& Scratch() {
    static const ScratchFolder folder;
    return folder;
}

inline void WriteWholeFile(const std::filesystem::path& file, std::string_view content) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    KOYOMI_REQUIRE(fd >= 0);
    while (!content.empty()) {
        const ssize_t written = ::write(fd, content.data(), content.size());
        KOYOMI_REQUIRE(written > 0);
        content.remove_prefix(static_cast<size_t>(written));
    }
    ::close(fd);
}

// The file's bytes; false when it cannot be opened as a file.
inline bool ReadWholeFile(const std::filesystem::path& file, std::string& content) {
    content.clear();
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    char buffer[65536];
    ssize_t count = 0;
    while ((count = ::read(fd, buffer, sizeof buffer)) > 0) {
        content.append(buffer, static_cast<size_t>(count));
    }
    ::close(fd);
    return count == 0;
}

// The names in a folder, sorted.
inline std::vector<std::string> FolderNames(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace koyomi::fuzz
