// The code conversions of one list build: every cell of a full year of schedule lines.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "codes/code_tables.h"
#include "support/sjis_text.h"

namespace {

using koyomi::Field;

constexpr int kLinesInYear = 366;
constexpr int kLineWidth = 380;
constexpr int kBlockWidth = 118;

std::string Padded(std::string sjis, std::size_t width, std::string_view fill) {
    while (sjis.size() + fill.size() <= width) {
        sjis += fill;
    }
    sjis.resize(width, ' ');
    return sjis;
}

std::string TwoDigits(int value) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d", value % 100);
    return text;
}

// One graded-race block with codes that vary from line to line, as a real year's do.
std::string RaceBlock(int n) {
    static const std::array<std::string, 4> names = {
        koyomi::Utf8ToSjis("東京優駿（日本ダービー）"),
        koyomi::Utf8ToSjis("有馬記念"),
        koyomi::Utf8ToSjis("ジャパンカップ"),
        koyomi::Utf8ToSjis("中山グランドジャンプ"),
    };
    constexpr std::array<std::string_view, 9> grades = {"A", "B", "C", "D", "E",
                                                        "F", "G", "H", " "};
    constexpr std::array<std::string_view, 6> kinds = {"11", "12", "13", "14", "18", "00"};
    constexpr std::array<std::string_view, 7> symbols = {"A01", "N00", "K01", "034",
                                                         "002", "000", "B03"};
    constexpr std::array<std::string_view, 5> distances = {"1200", "1600", "2000", "2400", "0000"};
    constexpr std::array<std::string_view, 6> tracks = {"11", "17", "23", "24", "51", "00"};

    const std::string& name = names[static_cast<std::size_t>(n) % names.size()];
    std::string block = std::to_string(1000 + n % 9000);
    block += Padded(name, 60, koyomi::kFullWidthSpace);
    block += Padded(name.substr(0, 20), 20, " ");
    block += Padded(name.substr(0, 12), 12, " ");
    block += Padded(name.substr(0, 6), 6, " ");
    block += "0" + TwoDigits(n % 90 + 1);
    block += grades[static_cast<std::size_t>(n) % grades.size()];
    block += kinds[static_cast<std::size_t>(n) % kinds.size()];
    block += symbols[static_cast<std::size_t>(n) % symbols.size()];
    block += std::to_string(n % 4 + 1);
    block += distances[static_cast<std::size_t>(n) % distances.size()];
    block += tracks[static_cast<std::size_t>(n) % tracks.size()];
    return block;
}

std::vector<std::string> ScheduleYear() {
    constexpr std::array<std::string_view, 8> venues = {"05", "06", "08", "09",
                                                        "01", "10", "C4", "ZZ"};
    std::vector<std::string> lines;
    for (int i = 0; i < kLinesInYear; ++i) {
        std::string line = "YS000000000" + std::string("2024");
        line += TwoDigits(i / 31 + 1) + TwoDigits(i % 31 + 1);
        line += venues[static_cast<std::size_t>(i) % venues.size()];
        line += TwoDigits(i % 5 + 1) + TwoDigits(i % 12 + 1);
        line += std::to_string(i % 3 + 1);
        line += RaceBlock(i) + RaceBlock(i + 1) + RaceBlock(i + 2);
        lines.push_back(std::move(line));
    }
    return lines;
}

// The fourteen cells of one grid row, as the full list fills them.
void ConvertLine(const std::string& line, int row, std::array<std::string, 14>& cells) {
    char number[16];
    std::snprintf(number, sizeof number, "%3d", row);
    cells[0] = number;
    cells[1] = std::string(Field(line, 12, 4)) + "\x94\x4E" + std::string(Field(line, 16, 2)) +
               "\x8C\x8E" + std::string(Field(line, 18, 2)) + "\x93\xFA";
    cells[2] = koyomi::WeekdayText(Field(line, 26, 1), 1);
    cells[3] = koyomi::VenueText(Field(line, 20, 2), 2);
    cells[4] = Field(line, 23, 1);
    cells[5] = Field(line, 25, 1);
    cells[6] = koyomi::GradeText(Field(line, 132, 1), 1);
    cells[7] = koyomi::RaceKindText(Field(line, 133, 2), 4);
    cells[8] = koyomi::RaceSymbolText(Field(line, 135, 3));
    cells[9] = koyomi::WeightKindText(Field(line, 138, 1));
    cells[10] = koyomi::NumberField(Field(line, 139, 4));
    cells[11] = koyomi::TrackText(Field(line, 143, 2));
    cells[12] = koyomi::NumberField(Field(line, 129, 3));
    cells[13] = Field(line, 31, 60);
}

void BM_ConvertYearOfScheduleLines(benchmark::State& state) {
    const std::vector<std::string> lines = ScheduleYear();
    for (const std::string& line : lines) {
        if (static_cast<int>(line.size()) != kLineWidth || kLineWidth != 26 + 3 * kBlockWidth) {
            state.SkipWithError("schedule line of the wrong width");
            return;
        }
    }
    std::vector<std::array<std::string, 14>> grid(lines.size());
    for (auto _ : state) {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            ConvertLine(lines[i], static_cast<int>(i) + 1, grid[i]);
        }
        benchmark::DoNotOptimize(grid.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(lines.size()));
    state.SetLabel("one year = 366 lines x 14 cells");
}
BENCHMARK(BM_ConvertYearOfScheduleLines)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
