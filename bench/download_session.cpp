// A ten-year setup fetch through the stand-in control and the download session into fresh
// year files: about 3,000 schedule records in ten annual files, no download delay. Reports the
// time of the whole fetch and the longest stretch in which the window's events got no turn.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "acquisition/download_session.h"
#include "control/service/sample/sample_service.h"
#include "control/service/standin_jvlink.h"
#include "control/service/standin_settings.h"
#include "support/clock.h"
#include "support/settings_file.h"
#include "testing/files.h"
#include "testing/temp_folder.h"

namespace koyomi {
namespace {

using Clock = std::chrono::steady_clock;

// A window that does nothing but note when its events get a turn.
class TimingView final : public DownloadView {
  public:
    bool timer_enabled = false;
    Clock::time_point last_turn;
    Clock::duration longest_gap{};

    void Turn() {
        const Clock::time_point now = Clock::now();
        longest_gap = std::max(longest_gap, now - last_turn);
        last_turn = now;
    }

    // The event loop waiting for the next timer tick: events get their turns all along.
    void Idle(std::chrono::milliseconds wait) {
        Turn();
        std::this_thread::sleep_for(wait);
        last_turn = Clock::now();
    }

    void SetStatusText(const std::string&) override {}
    void ShowInformation(const std::string&) override {}
    void ShowPlainMessage(const std::string&) override {}
    void Beep() override {}
    void SetFetchBusy(bool) override {}
    void SetDownloadPollEnabled(bool enabled) override { timer_enabled = enabled; }
    void ProcessPendingEvents() override { Turn(); }
    void SetFetchProgress(int, int) override {}
    void RefreshAfterFetch(FetchEnd) override {}
};

void BM_TenYearSetupFetch(benchmark::State& state) {
    const testing::TempFolder root_folder("koyomi-bench");
    const std::filesystem::path& root = root_folder.path();
    const std::filesystem::path service = root / "service";
    std::filesystem::create_directories(service);
    size_t records = 0;
    for (int year = 2018; year <= 2027; ++year) {
        const SampleServiceFile file = SampleAnnualFile(year);
        testing::WriteBytes(service / file.name, file.content);
        for (size_t start = 0; start < file.content.size(); start += kScheduleRecordLength + 2) {
            records += file.content.compare(start, 2, "YS") == 0 ? 1 : 0;
        }
    }
    StandInPaths paths;
    paths.settings_file = root / "settings.ini";
    paths.bundled_service = service;
    StandInSettings settings;
    settings.service_folder = service;
    settings.ms_per_file = 0;
    if (const Status saved = SaveStandInSettings(paths.settings_file, settings); !saved) {
        state.SkipWithError(Describe(saved.Error()).c_str());
        return;
    }
    const FixedClock clock({2027, 12, 1, 12, 0, 0});

    Clock::duration longest_gap{};
    int run = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::filesystem::path program = root / ("program" + std::to_string(run));
        paths.cache_root = root / ("cache" + std::to_string(run));
        ++run;
        std::filesystem::create_directories(program);
        state.ResumeTiming();

        StandInJVLink link(paths);
        TimingView view;
        SettingsFile settings(program / "koyomivw");
        settings.Loaded();
        DownloadSession session(link, view, clock, settings, program);
        link.JVInit(u"SA100200/SD300400/KoyomiVw/Ver.1.02");
        view.last_turn = Clock::now();
        session.StartFetch(FetchMode::Setup);
        // The window's event loop: the download poll every 10 ms while it is on.
        while (view.timer_enabled) {
            view.Idle(std::chrono::milliseconds(10));
            session.PollDownload();
        }
        view.Turn();
        longest_gap = std::max(longest_gap, view.longest_gap);
        if (session.IsOpen()) {
            state.SkipWithError("the fetch did not end");
        }
    }
    state.counters["schedule_records"] = static_cast<double>(records);
    state.counters["longest_gap_ms"] =
        std::chrono::duration<double, std::milli>(longest_gap).count();
}

BENCHMARK(BM_TenYearSetupFetch)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
}  // namespace koyomi

BENCHMARK_MAIN();
