// Stores the "YS" records of a ten-year setup fetch (about 3,600) into fresh year files as a
// fetch does (YearFileStore: lines in memory, a file written when the year changes, one sync at
// the end), measured against writing the same final files once each (fsync and rename) in the
// same iteration, and the ratio reported.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "schedule/year_file.h"
#include "schedule/year_file_store.h"
#include "support/whole_file.h"
#include "testing/temp_folder.h"
#include "testing/ys_record.h"

namespace {

// 360 meeting days and venues a year over ten years, in delivery (date) order; every line a
// full 380-byte record with its CR LF.
std::vector<std::string> SetupFetchRecords() {
    static const char* const kVenues[] = {"05", "06", "08", "09"};
    std::vector<std::string> records;
    for (int year = 2015; year < 2025; ++year) {
        for (int i = 0; i < 360; ++i) {
            char date[16];
            std::snprintf(date, sizeof date, "%04d%02d%02d", year, 1 + i / 30, 1 + i % 30);
            records.push_back(koyomi::testing::YsRecord::Day(date, kVenues[i % 4], 1 + i % 5,
                                                             1 + i % 12, i % 2 == 0 ? '1' : '2')
                                  .Record());
        }
    }
    return records;
}

using Seconds = std::chrono::duration<double>;

// The final files written once each, fsync and rename, as the least a fetch can cost.
double WriteOnce(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::vector<std::pair<std::filesystem::path, std::string>> files;
    for (const std::filesystem::path& file : koyomi::ListYearFiles(from)) {
        koyomi::Result<std::string> content = koyomi::ReadWholeRegularFile(file);
        if (!content) {
            return -1;
        }
        files.emplace_back(to / file.filename(), std::move(content).Value());
    }
    const auto started = std::chrono::steady_clock::now();
    koyomi::ReplaceOptions options;
    options.sync = true;
    for (const auto& [file, content] : files) {
        if (!koyomi::ReplaceFileAtomically(file, content, options)) {
            return -1;
        }
    }
    return Seconds(std::chrono::steady_clock::now() - started).count();
}

void BM_YearFileStoreVersusWritingOnce(benchmark::State& state) {
    const std::vector<std::string> records = SetupFetchRecords();
    double stored_total = 0;
    double once_total = 0;
    for (auto _ : state) {
        const koyomi::testing::TempFolder stored_folder("koyomi-bench");
        const koyomi::testing::TempFolder once_folder("koyomi-bench");
        const std::filesystem::path& folder = stored_folder.path();
        const std::filesystem::path& once = once_folder.path();
        const auto started = std::chrono::steady_clock::now();
        koyomi::YearFileStore store(folder);
        for (const std::string& record : records) {
            if (store.Add(record).status != koyomi::StoreStatus::Stored) {
                state.SkipWithError("store failed");
                break;
            }
        }
        const bool stored =
            store.Checkpoint().status == koyomi::StoreStatus::Stored && store.SyncToDisk().Ok();
        const double store_seconds = Seconds(std::chrono::steady_clock::now() - started).count();
        const double once_seconds = WriteOnce(folder, once);
        if (!stored || once_seconds < 0) {
            state.SkipWithError("write failed");
        }
        state.SetIterationTime(store_seconds);
        stored_total += store_seconds;
        once_total += once_seconds;
    }
    state.counters["records"] = static_cast<double>(records.size());
    state.counters["write_once_ms"] = once_total * 1000 / static_cast<double>(state.iterations());
    state.counters["ratio"] = stored_total / once_total;  // target: at most 3
}

BENCHMARK(BM_YearFileStoreVersusWritingOnce)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(10);

}  // namespace

BENCHMARK_MAIN();
