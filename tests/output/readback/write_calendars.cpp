// Writes the calendars that read_calendars.py reads back with an independent iCalendar parser:
// one year of the sample service (full list, a venue list, graded races only), an empty list
// and names with commas and semicolons; beside each one the grid rows it was made from.
//
//   write_calendars <output folder> <sample service folder>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "codes/code_tables.h"
#include "output/calendar_export.h"
#include "schedule/graded_filter.h"
#include "schedule/schedule_line.h"
#include "schedule/schedule_list.h"
#include "schedule/year_file.h"
#include "support/sjis_text.h"
#include "testing/delivered_records.h"
#include "testing/record_by_record_store.h"

namespace koyomi {
namespace {

namespace fs = std::filesystem;

const FixedClock kClock({2026, 1, 5, 9, 0, 0});

std::string Hex(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0x0F];
    }
    return hex;
}

// "<name>.ics" and "<name>.rows": the title and stamp, then one line a grid row: the schedule
// line in hex, the 14 cells and the venue's full name, TAB-separated, in UTF-8.
bool Write(const fs::path& folder, const std::string& name, const std::string& title,
           const std::vector<std::string>& shown_lines, std::ofstream& manifest) {
    const Result<SavedCalendar> saved =
        SaveCalendar(folder / (name + ".ics"), title, shown_lines, kClock);
    if (!saved) {
        std::fprintf(stderr, "%s\n", Describe(saved.Error()).c_str());
        return false;
    }
    std::ofstream rows(folder / (name + ".rows"), std::ios::binary | std::ios::trunc);
    rows << SjisToUtf8(title) << '\t' << FormatCompact(kClock.Now()) << '\n';
    int row = 0;
    for (const std::string& line : shown_lines) {
        const ScheduleRow cells = ScheduleRowCells(line, ++row);
        rows << Hex(line);
        for (GridColumn column : kGridColumnOrder) {
            rows << '\t' << SjisToUtf8(cells[column]);
        }
        rows << '\t' << SjisToUtf8(VenueText(LineVenueCode(line), 9)) << '\n';
    }
    manifest << name << '\n';
    return rows.good();
}

// The sample service merged into year files as a fetch would, then the year with most lines.
std::vector<std::string> SampleYear(const fs::path& service, const fs::path& program) {
    const std::vector<std::string> records = testing::DeliveredRecords(service);
    std::vector<std::string> work;
    for (const std::string& record : records) {
        testing::StoreRecordByRewrite(program, record + "\r\n", work);
    }
    std::vector<std::string> best;
    for (const fs::path& file : ListYearFiles(program)) {
        Result<std::vector<std::string>> loaded = LoadYearFile(file);
        if (loaded && loaded->size() > best.size()) {
            best = std::move(loaded).Value();
        }
    }
    return best;
}

// Graded lines of the year with race names full of what RFC 5545 escapes.
std::vector<std::string> PunctuatedLines(const std::vector<std::string>& year) {
    static const char* const kNames[] = {
        "A,B;C\\D", "ステークス，カップ；記念,特別;競走", "Ｇ１,Ｇ２;Ｇ３ Long name, with; a lot",
        ",;,;,;,;,;,;,;,;,;,;,;,;,;,;,;,;,;,;,;,;,;,;,;,;,;,;,;,;,;,"};
    std::vector<std::string> lines;
    for (const std::string& line : year) {
        if (lines.size() == std::size(kNames)) {
            break;
        }
        if (IsGradedLine(line)) {
            std::string name = Utf8ToSjis(kNames[lines.size()]);
            name.resize(60, ' ');
            lines.push_back(line.substr(0, 30) + name + line.substr(90));
        }
    }
    return lines;
}

int Run(const fs::path& folder, const fs::path& service) {
    fs::remove_all(folder);
    fs::create_directories(folder / "program");
    std::ofstream manifest(folder / "calendars.txt", std::ios::trunc);

    ScheduleListModel model;
    model.schedule_lines = SampleYear(service, folder / "program");
    if (model.schedule_lines.empty()) {
        std::fprintf(stderr, "%s: no year of the sample service\n", service.c_str());
        return 1;
    }
    BuildFullList(model, Period::AllMonths, kClock);
    bool ok = Write(folder, "year", model.title, model.shown_lines, manifest);

    model.venue_selector.item_index = static_cast<int>(model.venue_selector.items.size()) / 2;
    BuildSelectedList(model, Period::AllMonths, kClock);
    ok = ok && Write(folder, "venue", model.title, model.shown_lines, manifest);

    model.venue_selector.item_index = 0;
    BuildSelectedList(model, Period::AllMonths, kClock);
    KeepGradedRowsOnly(model, kClock);
    ok = ok && Write(folder, "graded", model.title, model.shown_lines, manifest);

    ok = ok && Write(folder, "empty", model.title, {}, manifest);
    ok = ok &&
         Write(folder, "punctuation", model.title, PunctuatedLines(model.schedule_lines), manifest);

    // A write that cannot succeed: a folder stands under the name.
    fs::create_directory(folder / "blocked.ics");
    const Result<SavedCalendar> blocked =
        SaveCalendar(folder / "blocked.ics", model.title, model.shown_lines, kClock);
    std::ofstream failure(folder / "failed-write.txt", std::ios::trunc);
    failure << (blocked ? std::string("written") : Describe(blocked.Error())) << '\n';
    fs::remove_all(folder / "program");
    return ok && manifest.good() && failure.good() ? 0 : 1;
}

}  // namespace
}  // namespace koyomi

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <output folder> <sample service folder>\n", argv[0]);
        return 2;
    }
    return koyomi::Run(argv[1], argv[2]);
}
