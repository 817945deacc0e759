#include <algorithm>
#include <random>

#include <gtest/gtest.h>

#include "schedule/year_file_store.h"
#include "schedule/year_file_store_fixture.h"
#include "testing/files.h"
#include "testing/temp_folder.h"
#include "testing/ys_record.h"

namespace koyomi {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;
using testing::YsRecord;

std::string Normalised(const YsRecord& record) {
    std::string line = record.Line();
    line.replace(2, 9, "000000000");
    return line;
}

std::vector<std::string> Lines(const std::filesystem::path& file) {
    auto loaded = LoadYearFile(file);
    EXPECT_TRUE(loaded.Ok()) << loaded.Reason();
    return loaded.Ok() ? loaded.Value() : std::vector<std::string>();
}

class YearFileStore : public testing::YearFileStoreFixture {};

TEST_F(YearFileStore, RecordForNewYearCreatesFileWithItsLineAndCrLf) {
    YsRecord record;
    StoreResult result = Store(record.Record());
    ASSERT_EQ(result.status, StoreStatus::Stored) << result.reason;
    EXPECT_EQ(result.file, YearFile("2024"));
    EXPECT_EQ(ReadBytes(YearFile("2024")), Normalised(record) + "\r\n");
}

TEST_F(YearFileStore, SameKeyReplacesLineInPlaceAndOtherKeysAreAdded) {
    YsRecord first;
    YsRecord second;
    second.day = "05";
    second.weekday = "2";
    YsRecord third;
    third.day = "11";
    for (const YsRecord& record : {first, second, third}) {
        ASSERT_EQ(Store(record.Record()).status, StoreStatus::Stored);
    }
    YsRecord again = second;
    again.race_name = Utf8ToSjis("青葉賞");
    again.distance = "2400";
    ASSERT_EQ(Store(again.Record()).status, StoreStatus::Stored);

    EXPECT_EQ(Lines(YearFile("2024")),
              (std::vector<std::string>{Normalised(first), Normalised(again), Normalised(third)}));
}

TEST_F(YearFileStore, FirstLetterOfSpecialRaceNumberBelongsToKeyTheRestDoesNot) {
    YsRecord a;
    a.race_number = "1000";
    YsRecord b = a;
    b.race_number = "2000";
    YsRecord c = a;
    c.race_number = "1999";  // same key as a
    for (const YsRecord& record : {a, b, c}) {
        ASSERT_EQ(Store(record.Record()).status, StoreStatus::Stored);
    }
    EXPECT_EQ(Lines(YearFile("2024")), (std::vector<std::string>{Normalised(c), Normalised(b)}));
}

TEST_F(YearFileStore, RecordsOfSeveralYearsGoToTheirOwnFiles) {
    const std::pair<const char*, const char*> year_and_day[] = {
        {"2025", "04"}, {"2023", "04"}, {"2024", "04"}, {"2023", "06"}};
    for (const auto& [year, day] : year_and_day) {
        YsRecord record;
        record.year = year;
        record.day = day;
        ASSERT_EQ(Store(record.Record()).status, StoreStatus::Stored);
    }
    EXPECT_EQ(EntriesInFolder(), 3u);
    EXPECT_EQ(Lines(YearFile("2023")).size(), 2u);
    EXPECT_EQ(Lines(YearFile("2024")).size(), 1u);
    EXPECT_EQ(Lines(YearFile("2025")).size(), 1u);
    EXPECT_EQ(Field(Lines(YearFile("2025"))[0], 12, 4), "2025");
}

TEST_F(YearFileStore, FileIsSortedAfterEveryStore) {
    std::vector<std::string> records;
    for (int month = 1; month <= 12; ++month) {
        for (const char* venue : {"09", "05", "06"}) {
            YsRecord record;
            record.month = (month < 10 ? "0" : "") + std::to_string(month);
            record.venue = venue;
            records.push_back(record.Record());
        }
    }
    std::shuffle(records.begin(), records.end(), std::mt19937(7));

    std::vector<std::string> expected;
    for (const std::string& record : records) {
        ASSERT_EQ(Store(record).status, StoreStatus::Stored);
        std::string line = record.substr(0, record.size() - 2);
        line.replace(2, 9, "000000000");
        expected.push_back(line);
        // The keys are digits only, so plain byte order is the expected order.
        std::sort(expected.begin(), expected.end());
        ASSERT_EQ(Lines(YearFile("2024")), expected);
    }
}

TEST_F(YearFileStore, PositionsThreeToElevenAreNormalisedAndNothingElseChanges) {
    YsRecord record;
    record.data_kind = "A";
    record.created = "20991231";
    ASSERT_EQ(Store(record.Record()).status, StoreStatus::Stored);
    std::vector<std::string> lines = Lines(YearFile("2024"));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].size(), 380u);
    EXPECT_EQ(lines[0].substr(0, 11), "YS000000000");
    EXPECT_EQ(lines[0].substr(11), record.Line().substr(11));
}

TEST_F(YearFileStore, RecordWithoutCrLfOrWithLfOnlyLosesNoByte) {
    YsRecord bare;
    bare.day = "01";
    YsRecord lf;
    lf.day = "02";
    ASSERT_EQ(Store(bare.Line()).status, StoreStatus::Stored);
    ASSERT_EQ(Store(lf.Line() + "\n").status, StoreStatus::Stored);
    EXPECT_EQ(Lines(YearFile("2024")),
              (std::vector<std::string>{Normalised(bare), Normalised(lf)}));
}

TEST_F(YearFileStore, OtherRecordKindsAreSkippedSilently) {
    YsRecord record;
    std::string race = record.Record();
    race[0] = 'R';
    race[1] = 'A';
    EXPECT_EQ(Store(race).status, StoreStatus::NotSchedule);
    EXPECT_EQ(Store("ys" + record.Record().substr(2)).status, StoreStatus::NotSchedule);
    EXPECT_EQ(Store("").status, StoreStatus::NotSchedule);
    EXPECT_EQ(Store("Y").status, StoreStatus::NotSchedule);
    EXPECT_EQ(EntriesInFolder(), 0u);
}

TEST_F(YearFileStore, RecordTooShortForItsKeyIsRejected) {
    YsRecord record;
    const std::string line = record.Line();
    EXPECT_EQ(Store(line.substr(0, 26) + "\r\n").status, StoreStatus::Rejected);
    EXPECT_EQ(Store("YS\r\n").status, StoreStatus::Rejected);
    EXPECT_EQ(EntriesInFolder(), 0u);

    // Exactly the key is enough.
    StoreResult result = Store(line.substr(0, 27) + "\r\n");
    ASSERT_EQ(result.status, StoreStatus::Stored) << result.reason;
    EXPECT_EQ(Lines(YearFile("2024")),
              (std::vector<std::string>{"YS000000000" + line.substr(11, 16)}));
}

TEST_F(YearFileStore, YearThatIsNotFourDigitsNeverReachesAFileName) {
    std::filesystem::path nested = folder_.path() / "a" / "b";
    std::filesystem::create_directories(nested);
    for (const char* year : {"../..", "..//", "20a4", " 024", "\x82\x4f\x82\x50", "/tmp"}) {
        YsRecord record;
        record.year = year;
        StoreResult result = testing::StoreRecordAlone(nested, record.Record());
        EXPECT_EQ(result.status, StoreStatus::Rejected) << year;
        EXPECT_FALSE(result.reason.empty());
    }
    EXPECT_TRUE(std::filesystem::is_empty(nested));
    EXPECT_EQ(EntriesInFolder(), 1u);  // only "a"
}

TEST_F(YearFileStore, LineBreakInsideRecordIsRejected) {
    YsRecord record;
    std::string broken = record.Record();
    broken[100] = '\n';
    EXPECT_EQ(Store(broken).status, StoreStatus::Rejected);
    broken[100] = '\r';
    EXPECT_EQ(Store(broken).status, StoreStatus::Rejected);
    EXPECT_EQ(EntriesInFolder(), 0u);
}

TEST_F(YearFileStore, YearFileThatIsAFolderGivesFileErrorAndOtherYearsStillWork) {
    std::filesystem::create_directory(YearFile("2024"));
    YsRecord record;
    StoreResult result = Store(record.Record());
    EXPECT_EQ(result.status, StoreStatus::FileError);
    EXPECT_EQ(result.file, YearFile("2024"));
    EXPECT_FALSE(result.reason.empty());
    EXPECT_TRUE(std::filesystem::is_directory(YearFile("2024")));

    record.year = "2025";
    EXPECT_EQ(Store(record.Record()).status, StoreStatus::Stored);
    EXPECT_EQ(EntriesInFolder(), 2u);  // no temporary file left behind
}

TEST_F(YearFileStore, MissingFolderGivesFileErrorAndIsNotCreated) {
    std::filesystem::path missing = folder_.path() / "gone";
    YsRecord record;
    StoreResult result = testing::StoreRecordAlone(missing, record.Record());
    EXPECT_EQ(result.status, StoreStatus::FileError);
    EXPECT_EQ(result.file, missing / YearFileName("2024"));
    EXPECT_FALSE(result.reason.empty());
    EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST_F(YearFileStore, FileWithForeignLineEndsIsRewrittenWithCrLfKeepingItsLines) {
    YsRecord a;
    a.day = "01";
    YsRecord b;
    b.day = "02";
    WriteBytes(YearFile("2024"), Normalised(a) + "\n" + Normalised(b));
    YsRecord c;
    c.day = "03";
    ASSERT_EQ(Store(c.Record()).status, StoreStatus::Stored);
    EXPECT_EQ(ReadBytes(YearFile("2024")),
              Normalised(a) + "\r\n" + Normalised(b) + "\r\n" + Normalised(c) + "\r\n");
}

TEST_F(YearFileStore, SyncReportsAFileThatIsGone) {
    YsRecord record;
    ASSERT_EQ(Store(record.Record()).status, StoreStatus::Stored);
    const Status synced = SyncFilesToDisk({YearFile("2024")});
    EXPECT_TRUE(synced) << synced.Reason();
    const Status failed = SyncFilesToDisk({YearFile("2024"), YearFile("1999")});
    EXPECT_FALSE(failed);
    EXPECT_EQ(failed.File(), YearFile("1999"));
}

}  // namespace
}  // namespace koyomi
