// Builds the full list (and a venue list) of a 366-line year, codes converted cell by cell.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "schedule/schedule_list.h"
#include "support/sjis_text.h"

namespace {

// A leap year with one line a day, venues and graded-race codes varying.
std::vector<std::string> LeapYearLines() {
    static const int kDaysInMonth[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    static const char* const kVenues[] = {"01", "02", "03", "04", "05",
                                          "06", "07", "08", "09", "10"};
    static const char* const kSymbols[] = {"000", "001", "A03", "N04", "K01", "034"};
    const std::string race_name = koyomi::Utf8ToSjis("天皇賞（春）");
    std::vector<std::string> lines;
    int n = 0;
    for (int month = 1; month <= 12; ++month) {
        for (int day = 1; day <= kDaysInMonth[month - 1]; ++day, ++n) {
            char header[64];
            std::snprintf(header, sizeof header, "YS0000000002024%02d%02d%s%02d%02d%d1234", month,
                          day, kVenues[n % 10], 1 + n % 5, 1 + n % 12, 1 + n % 8);
            std::string line = header;
            std::string name = race_name;
            name.resize(60, ' ');
            line += name;
            line.resize(128, ' ');
            char block[32];
            std::snprintf(block, sizeof block, "%03d%c%02d%s%d%04d%02d", n % 90, "ABCDEFGH"[n % 8],
                          11 + n % 14, kSymbols[n % 6], 1 + n % 4, 1000 + n * 10 % 2600,
                          10 + n % 50);
            line += block;
            line.resize(380, '0');
            lines.push_back(std::move(line));
        }
    }
    return lines;
}

void BM_FullListOfLeapYear(benchmark::State& state) {
    koyomi::ScheduleListModel model;
    model.schedule_lines = LeapYearLines();
    const koyomi::FixedClock clock({2024, 5, 4, 9, 0, 0});
    const auto period = static_cast<koyomi::Period>(state.range(0));
    for (auto _ : state) {
        koyomi::BuildFullList(model, period, clock);
        benchmark::DoNotOptimize(model.grid.RowCount());
    }
    state.SetItemsProcessed(state.iterations() * model.grid.RowCount());
}
BENCHMARK(BM_FullListOfLeapYear)
    ->Arg(static_cast<int>(koyomi::Period::AllMonths))
    ->Arg(static_cast<int>(koyomi::Period::FromThisMonth))
    ->Unit(benchmark::kMicrosecond);

void BM_VenueListOfLeapYear(benchmark::State& state) {
    koyomi::ScheduleListModel model;
    model.schedule_lines = LeapYearLines();
    const koyomi::FixedClock clock({2024, 5, 4, 9, 0, 0});
    koyomi::BuildFullList(model, koyomi::Period::AllMonths, clock);
    model.venue_selector.item_index = 1;
    for (auto _ : state) {
        koyomi::BuildVenueList(model, koyomi::Period::AllMonths, clock);
        benchmark::DoNotOptimize(model.grid.RowCount());
    }
}
BENCHMARK(BM_VenueListOfLeapYear)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
