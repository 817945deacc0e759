#include "control/service/download_worker.h"

#include <chrono>
#include <utility>

#include "control/service/download_cache.h"

namespace koyomi {

DownloadWorker::DownloadWorker(std::filesystem::path service_folder,
                               std::filesystem::path cache_folder, std::vector<ServiceFile> files,
                               int ms_per_file)
    : service_folder_(std::move(service_folder)),
      cache_folder_(std::move(cache_folder)),
      files_(std::move(files)),
      ms_per_file_(ms_per_file),
      thread_([this](std::stop_token stop) { Run(stop); }) {}

DownloadWorker::~DownloadWorker() {
    thread_.request_stop();  // wakes the wait through the stop token
    if (thread_.joinable()) {
        thread_.join();
    }
}

std::string DownloadWorker::FailureReason() const {
    std::lock_guard lock(mutex_);
    return failure_reason_;
}

void DownloadWorker::Run(std::stop_token stop) {
    for (const ServiceFile& file : files_) {
        if (ms_per_file_ > 0) {
            std::unique_lock lock(mutex_);
            // Returns early only when a stop is requested.
            wake_.wait_for(lock, stop, std::chrono::milliseconds(ms_per_file_),
                           [] { return false; });
        }
        if (stop.stop_requested()) {
            return;
        }
        if (const Status copied = CopyIntoCache(service_folder_, cache_folder_, file); !copied) {
            {
                std::lock_guard lock(mutex_);
                failure_reason_ = Describe(copied.Error());
            }
            failed_.store(true, std::memory_order_release);
            return;
        }
        done_.fetch_add(1, std::memory_order_acq_rel);
    }
}

}  // namespace koyomi
