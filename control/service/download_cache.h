// The stand-in control's download cache: a folder per data service under the cache root, so
// two services never share a file, holding copies of the service files by their names.
#pragma once

#include <filesystem>
#include <string>

#include "control/service/service_files.h"
#include "support/result.h"

namespace koyomi {

// The cache folder of `service_folder` (named by a hash of its absolute, normalised path).
std::filesystem::path ServiceCacheFolder(const std::filesystem::path& cache_root,
                                         const std::filesystem::path& service_folder);

// True when the cache holds the file with the service file's size; a copy of another size is
// stale and must be downloaded again.
bool IsInCache(const std::filesystem::path& cache_folder, const ServiceFile& file);

// Copies one service file into the cache (whole, or not at all).
Status CopyIntoCache(const std::filesystem::path& service_folder,
                     const std::filesystem::path& cache_folder, const ServiceFile& file);

}  // namespace koyomi
