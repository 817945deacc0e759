// The bundled sample service: what is committed (and copied beside the program) is what the
// generator makes, and it looks like a real schedule.
#include "control/service/sample/sample_service.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "acquisition/acquisition_test_support.h"
#include "control/service/service_files.h"
#include "control/service/service_records.h"
#include "support/clock.h"
#include "testing/built_program.h"

namespace koyomi::testing {
namespace {

constexpr int kBlockLength = 118;

std::string_view Block(std::string_view record, int block) {
    return record.substr(26 + static_cast<size_t>(block) * kBlockLength, kBlockLength);
}

bool HasRace(std::string_view record, int block) {
    return Block(record, block).substr(0, 4) != "0000";
}

TEST(SampleService, CommittedFilesAreTheGeneratorsOutput) {
    const std::filesystem::path folder = BuiltProgramFolder() / "sample-service";
    std::set<std::string> expected;
    for (const SampleServiceFile& file : SampleServiceFiles(2025, 2027)) {
        expected.insert(file.name);
        EXPECT_EQ(ReadBytes(folder / file.name), file.content) << file.name;
    }
    std::set<std::string> present;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (ParseServiceFileName(entry.path().filename().string())) {
            present.insert(entry.path().filename().string());
        }
    }
    EXPECT_EQ(present, expected);
    EXPECT_EQ(expected.size(), 6u);
    EXPECT_TRUE(std::filesystem::exists(folder / "README.txt"));
}

TEST(SampleService, EveryRecordIs380BytesOfShiftJisWithCrLf) {
    for (const SampleServiceFile& file : SampleServiceFiles(2025, 2027)) {
        ASSERT_EQ(file.content.size() % 382, 0u) << file.name;
        int other_kinds = 0;
        for (size_t start = 0; start < file.content.size(); start += 382) {
            const std::string_view record = std::string_view(file.content).substr(start, 382);
            ASSERT_EQ(record.substr(380), "\r\n") << file.name << " at " << start;
            ASSERT_TRUE(IsValidSjis(record)) << file.name << " at " << start;
            other_kinds += record.substr(0, 2) == "YS" ? 0 : 1;
        }
        EXPECT_GT(other_kinds, 0) << file.name;
    }
}

TEST(SampleService, MeetingsAreEightDaysAtTwoOrThreeVenuesAWeekend) {
    for (int year = 2025; year <= 2027; ++year) {
        const SampleServiceFile annual = SampleAnnualFile(year);
        std::map<std::pair<std::string, std::string>, std::set<int>> meeting_days;
        std::map<std::string, std::set<std::string>> venues_by_date;
        std::map<std::string, std::set<std::string>> venues_by_weekend;
        int three_race_days = 0;
        for (std::string_view record : SplitServiceRecords(annual.content)) {
            if (record.substr(0, 2) != "YS") {
                continue;
            }
            const std::string date(record.substr(11, 8));
            const std::string venue(record.substr(19, 2));
            ASSERT_EQ(date.substr(0, 4), std::to_string(year));
            ASSERT_GE(venue, "01");
            ASSERT_LE(venue, "10");
            meeting_days[{venue, std::string(record.substr(21, 2))}].insert(
                std::stoi(std::string(record.substr(23, 2))));
            venues_by_date[date].insert(venue);
            // Saturday '1', Sunday '2' and holiday Monday '3' belong to one weekend.
            const char weekday = record[25];
            if (weekday >= '1' && weekday <= '3') {
                LocalDateTime day{year, std::stoi(date.substr(4, 2)), std::stoi(date.substr(6, 2))};
                venues_by_weekend[FormatCompact(AddDays(day, -(weekday - '1')))].insert(venue);
            }
            // Later blocks are used only after earlier ones.
            EXPECT_TRUE(HasRace(record, 0) || !HasRace(record, 1));
            EXPECT_TRUE(HasRace(record, 1) || !HasRace(record, 2));
            three_race_days += HasRace(record, 2) ? 1 : 0;
        }
        EXPECT_GE(meeting_days.size(), 36u);
        for (const auto& [meeting, days] : meeting_days) {
            EXPECT_EQ(days, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8}))
                << year << " venue " << meeting.first << " meeting " << meeting.second;
        }
        for (const auto& [date, venues] : venues_by_date) {
            EXPECT_LE(venues.size(), 3u) << date;
        }
        for (const auto& [weekend, venues] : venues_by_weekend) {
            EXPECT_GE(venues.size(), 2u) << weekend;
            EXPECT_LE(venues.size(), 3u) << weekend;
        }
        EXPECT_GE(three_race_days, 1) << year;
    }
}

TEST(SampleService, UpdateFilesDeliverKnownDaysAgainWithCorrections) {
    for (int year = 2025; year <= 2027; ++year) {
        std::map<std::string, std::string> annual_by_key;
        const SampleServiceFile annual = SampleAnnualFile(year);
        for (std::string_view record : SplitServiceRecords(annual.content)) {
            if (record.substr(0, 2) == "YS") {
                annual_by_key[std::string(record.substr(11, 16))] = std::string(record.substr(11));
            }
        }
        const SampleServiceFile update = SampleUpdateFile(year);
        EXPECT_GT(update.name, annual.name);  // created later
        int corrected = 0;
        int schedule_records = 0;
        for (std::string_view record : SplitServiceRecords(update.content)) {
            if (record.substr(0, 2) != "YS") {
                continue;
            }
            ++schedule_records;
            const auto found = annual_by_key.find(std::string(record.substr(11, 16)));
            ASSERT_NE(found, annual_by_key.end());
            corrected += found->second != record.substr(11) ? 1 : 0;
        }
        EXPECT_GE(schedule_records, 8);
        EXPECT_GE(corrected, 1);
    }
}

TEST(SampleService, RunningCountsGrowByOneAYear) {
    // 有馬記念 is the last graded race of the year, on the last day at Nakayama.
    auto arima_count = [](int year) {
        const SampleServiceFile annual = SampleAnnualFile(year);
        const std::string name = Utf8ToSjis("有馬記念");
        for (std::string_view record : SplitServiceRecords(annual.content)) {
            if (record.substr(30, name.size()) == name) {
                return std::string(record.substr(128, 3));
            }
        }
        return std::string();
    };
    EXPECT_EQ(arima_count(2025), "070");
    EXPECT_EQ(arima_count(2027), "072");
}

}  // namespace
}  // namespace koyomi::testing
