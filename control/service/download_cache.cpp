#include "control/service/download_cache.h"

#include <cstdint>
#include <limits>
#include <system_error>

#include "control/service/text_file.h"

namespace koyomi {
namespace {

// 64-bit FNV-1a: stable across runs and machines, unlike std::hash.
std::uint64_t Fnv1a(std::string_view text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

std::string Hex(std::uint64_t value) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text(16, '0');
    for (int i = 15; i >= 0; --i) {
        text[static_cast<size_t>(i)] = kDigits[value & 0xF];
        value >>= 4;
    }
    return text;
}

}  // namespace

std::filesystem::path ServiceCacheFolder(const std::filesystem::path& cache_root,
                                         const std::filesystem::path& service_folder) {
    std::error_code error;
    std::filesystem::path key = std::filesystem::weakly_canonical(service_folder, error);
    if (error) {
        key = std::filesystem::absolute(service_folder, error).lexically_normal();
    }
    return cache_root / Hex(Fnv1a(key.string()));
}

bool IsInCache(const std::filesystem::path& cache_folder, const ServiceFile& file) {
    std::error_code error;
    const std::filesystem::path cached = cache_folder / file.name;
    return std::filesystem::is_regular_file(cached, error) &&
           std::filesystem::file_size(cached, error) == file.size && !error;
}

Status CopyIntoCache(const std::filesystem::path& service_folder,
                     const std::filesystem::path& cache_folder, const ServiceFile& file) {
    const Result<std::string> content =
        ReadRegularFile(service_folder / file.name, std::numeric_limits<size_t>::max());
    if (!content) {
        return content.Error();
    }
    return WriteFileAtomically(cache_folder / file.name, *content);
}

}  // namespace koyomi
