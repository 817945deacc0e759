// The stand-in's download: a worker thread that copies the missing service files into the
// cache one at a time, taking a set time per file, while the user-interface thread polls.
#pragma once

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "control/service/service_files.h"

namespace koyomi {

class DownloadWorker {
  public:
    // Starts at once. `files` are copied in order from `service_folder` to `cache_folder`.
    DownloadWorker(std::filesystem::path service_folder, std::filesystem::path cache_folder,
                   std::vector<ServiceFile> files, int ms_per_file);
    // Stops between files (a wait in progress ends at once) and joins.
    ~DownloadWorker();
    DownloadWorker(const DownloadWorker&) = delete;
    DownloadWorker& operator=(const DownloadWorker&) = delete;

    // Files copied so far; files [0, Done()) are in the cache.
    int Done() const { return done_.load(std::memory_order_acquire); }
    // True once a copy failed; no file after it is copied.
    bool Failed() const { return failed_.load(std::memory_order_acquire); }
    // The system's reason of the failure; valid once Failed() is true.
    std::string FailureReason() const;

  private:
    void Run(std::stop_token stop);

    const std::filesystem::path service_folder_;
    const std::filesystem::path cache_folder_;
    const std::vector<ServiceFile> files_;
    const int ms_per_file_;

    std::atomic<int> done_{0};
    std::atomic<bool> failed_{false};
    mutable std::mutex mutex_;
    std::condition_variable_any wake_;
    std::string failure_reason_;
    std::jthread thread_;  // last: starts after everything it uses exists
};

}  // namespace koyomi
