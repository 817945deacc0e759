// JV-Link under Wine through the test control: the cost of one JVRead round trip (pipe, host,
// COM and back) over a ten-year setup fetch with no download time, and the host's start-up in
// a warm prefix. Needs a prefix with jvlink-test-control.dll registered:
//   tests/control/wine/wine_prefix.sh boot <prefix>
//   tests/control/wine/wine_prefix.sh register <prefix> <program folder>/jvlink-test-control.dll
//   KOYOMI_BENCH_WINE_PREFIX=<prefix> bench_wine_jvlink
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "control/service/sample/sample_service.h"
#include "control/wine/wine_jvlink.h"
#include "testing/built_program.h"
#include "testing/files.h"
#include "testing/temp_folder.h"

namespace koyomi {
namespace {

std::filesystem::path BenchPrefix() {
    const char* prefix = std::getenv("KOYOMI_BENCH_WINE_PREFIX");
    return prefix != nullptr ? std::filesystem::path(prefix) : std::filesystem::path();
}

HostCommand Command(const std::filesystem::path& prefix) {
    Result<std::filesystem::path> wine = FindWineProgram();
    return {wine ? *wine : std::filesystem::path("wine"),
            testing::BuiltProgramFolder() / "jvlink-host.exe", prefix};
}

// Ten years of the sample service, downloaded without delay, in `folder`.
void WriteTenYearService(const std::filesystem::path& folder) {
    for (const SampleServiceFile& file : SampleServiceFiles(2017, 2026)) {
        testing::WriteBytes(folder / file.name, file.content);
    }
    testing::WriteBytes(folder / "faults.ini", "[download]\nms_per_file=0\n");
}

bool OpenSetupFetch(WineJVLink& link) {
    int read_count = 0;
    int download_count = 0;
    std::u16string timestamp;
    if (link.JVOpen(u"YSCH", u"20000101000000", 3, read_count, download_count, timestamp) != 0) {
        return false;
    }
    while (download_count > 0 && link.JVStatus() < download_count) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

void BM_JVReadRoundTrip(benchmark::State& state) {
    const std::filesystem::path prefix = BenchPrefix();
    if (prefix.empty()) {
        state.SkipWithError("KOYOMI_BENCH_WINE_PREFIX is not set");
        return;
    }
    const testing::TempFolder service("koyomi-bench");
    WriteTenYearService(service.path());
    setenv("JVLINK_SERVICE_DIR", service.path().c_str(), 1);
    Result<std::unique_ptr<WineJVLink>> link = WineJVLink::Create(Command(prefix));
    if (!link) {
        state.SkipWithError(link.Reason().c_str());
        return;
    }
    WineJVLink& wine = **link;
    if (wine.JVInit(u"SA100200/SD300400/KoyomiVw/Ver.1.02") != 0 || !OpenSetupFetch(wine)) {
        state.SkipWithError("the setup fetch could not be opened");
        return;
    }
    std::int64_t records = 0;
    for (auto _ : state) {
        std::u16string buffer;
        std::u16string file_name;
        int size = kJVReadBufferSize;
        const int result = wine.JVRead(buffer, size, file_name);
        if (result > 0) {
            ++records;
        } else if (result == 0) {
            state.PauseTiming();
            wine.JVClose();
            const bool opened = OpenSetupFetch(wine);
            state.ResumeTiming();
            if (!opened) {
                state.SkipWithError("the setup fetch could not be opened again");
                break;
            }
        } else if (result != -1) {
            state.SkipWithError("JVRead failed");
            break;
        }
    }
    wine.JVClose();
    state.counters["records"] = static_cast<double>(records);
}
BENCHMARK(BM_JVReadRoundTrip)->Unit(benchmark::kMicrosecond)->MinTime(3.0);

void BM_HostStartup(benchmark::State& state) {
    const std::filesystem::path prefix = BenchPrefix();
    if (prefix.empty()) {
        state.SkipWithError("KOYOMI_BENCH_WINE_PREFIX is not set");
        return;
    }
    for (auto _ : state) {
        Result<std::unique_ptr<WineJVLink>> link = WineJVLink::Create(Command(prefix));
        state.PauseTiming();
        if (!link) {
            state.SkipWithError(link.Reason().c_str());
            break;
        }
        link = Fail("");  // ends the host outside the measured time
        state.ResumeTiming();
    }
}
BENCHMARK(BM_HostStartup)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace koyomi

BENCHMARK_MAIN();
