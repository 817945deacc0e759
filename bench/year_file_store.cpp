// Stores the "YS" records of a ten-year setup fetch (about 3,600) one by one into fresh year
// files, as a fetch does: one load, merge, sort and atomic rewrite per record.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "schedule/year_file.h"

namespace {

// 360 meeting days and venues a year over ten years, in delivery (date) order; every line a
// full 380-byte record with its CR LF.
std::vector<std::string> SetupFetchRecords() {
    static const char* const kVenues[] = {"05", "06", "08", "09"};
    std::vector<std::string> records;
    for (int year = 2015; year < 2025; ++year) {
        for (int i = 0; i < 360; ++i) {
            char header[64];
            std::snprintf(header, sizeof header, "YS720240101%04d%02d%02d%s%02d%02d%d1234", year,
                          1 + i / 30, 1 + i % 30, kVenues[i % 4], 1 + i % 5, 1 + i % 12, 1 + i % 2);
            std::string record = header;
            record.resize(380, ' ');
            record += "\r\n";
            records.push_back(std::move(record));
        }
    }
    return records;
}

std::filesystem::path FreshFolder() {
    std::random_device random;
    std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("koyomi-bench-" + std::to_string(random()));
    std::filesystem::create_directories(folder);
    return folder;
}

void StoreSetupFetch(benchmark::State& state, bool sync_at_end) {
    const std::vector<std::string> records = SetupFetchRecords();
    std::vector<std::string> work_lines;
    for (auto _ : state) {
        state.PauseTiming();
        const std::filesystem::path folder = FreshFolder();
        std::set<std::filesystem::path> touched;
        state.ResumeTiming();

        for (const std::string& record : records) {
            koyomi::StoreResult result = koyomi::StoreScheduleRecord(folder, record, work_lines);
            if (result.status != koyomi::StoreStatus::Stored) {
                state.SkipWithError(("store failed: " + result.reason).c_str());
                break;
            }
            touched.insert(result.file);
        }
        if (sync_at_end) {
            std::string reason;
            if (!koyomi::SyncFilesToDisk(touched, &reason)) {
                state.SkipWithError(("sync failed: " + reason).c_str());
            }
        }

        state.PauseTiming();
        std::filesystem::remove_all(folder);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(records.size()));
    state.counters["records"] = static_cast<double>(records.size());
}

void BM_StoreTenYearSetupFetch(benchmark::State& state) {
    StoreSetupFetch(state, false);
}
void BM_StoreTenYearSetupFetchAndSync(benchmark::State& state) {
    StoreSetupFetch(state, true);
}

BENCHMARK(BM_StoreTenYearSetupFetch)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_StoreTenYearSetupFetchAndSync)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
