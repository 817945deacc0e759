#include <algorithm>
#include <map>
#include <random>

#include <gtest/gtest.h>

#include "schedule/year_file_store.h"
#include "support/whole_file.h"
#include "testing/files.h"
#include "testing/record_by_record_store.h"
#include "testing/temp_folder.h"
#include "testing/ys_record.h"

namespace koyomi {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;
using testing::YsRecord;

using Texts = std::map<std::string, std::string>;  // file name -> bytes

Texts FilesIn(const std::filesystem::path& folder) {
    Texts texts;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        texts[entry.path().filename().string()] = ReadBytes(entry.path());
    }
    return texts;
}

std::string LineOf(const YsRecord& record) {
    return LineOfRecord(record.Record()).line;
}

// Keys that repeat, keys that differ only in the case of a letter, lines that differ only
// after the key, over three years.
std::vector<std::string> MixedRecords(unsigned seed, size_t count) {
    std::mt19937 random(seed);
    const char* const years[] = {"2023", "2024", "2025"};
    const char* const venues[] = {"05", "0a", "0A"};
    const char* const numbers[] = {"1234", "1999", "a000", "A000"};
    std::vector<std::string> records;
    for (size_t i = 0; i < count; ++i) {
        YsRecord record;
        record.year = years[random() % 3];
        record.day = "0" + std::to_string(1 + random() % 2);
        record.venue = venues[random() % 3];
        record.race_number = numbers[random() % 4];
        record.distance = std::to_string(1000 + random() % 2);
        records.push_back(record.Record());
    }
    return records;
}

// What an earlier program may have left: LF line ends, lines out of order, a key twice, a
// header as JV-Link delivers it, a short line.
void WriteForeignFiles(const std::filesystem::path& folder) {
    YsRecord late;
    late.day = "03";
    YsRecord early;
    early.day = "01";
    YsRecord raw;
    raw.day = "02";
    WriteBytes(folder / YearFileName("2024"), LineOf(late) + "\n" + LineOf(early) + "\n" +
                                                  LineOf(early) + "\n" + raw.Line() + "\nYS0\n");
    YsRecord other;
    other.year = "2025";
    WriteBytes(folder / YearFileName("2025"), LineOf(other) + "\r\n");
}

// The store leaves exactly the bytes that storing each record by itself leaves, and between
// checkpoints the files are those of a prefix of the records: the state before the first
// pending record.
TEST(YearFileStoreCheckpoints, SameBytesAsStoringEachRecordAndAlwaysAPrefixOnDisk) {
    for (const bool foreign : {false, true}) {
        for (const bool grouped : {false, true}) {
            SCOPED_TRACE(std::string(foreign ? "foreign files, " : "") +
                         (grouped ? "grouped by year" : "years interleaved"));
            std::vector<std::string> records = MixedRecords(foreign ? 11 : 29, 160);
            if (grouped) {
                std::stable_sort(records.begin(), records.end(), [](auto& a, auto& b) {
                    return a.substr(11, 4) < b.substr(11, 4);
                });
            }
            TempFolder reference;
            TempFolder stored;
            if (foreign) {
                WriteForeignFiles(reference.path());
                WriteForeignFiles(stored.path());
            }
            std::vector<std::string> work;
            YearFileStore store(stored.path());
            Texts expected = FilesIn(reference.path());
            for (size_t i = 0; i < records.size(); ++i) {
                const Texts before = FilesIn(reference.path());
                ASSERT_EQ(testing::StoreRecordByRewrite(reference.path(), records[i], work).status,
                          StoreStatus::Stored);
                const bool new_run =
                    i == 0 || records[i].substr(11, 4) != records[i - 1].substr(11, 4);
                const StoreResult added = store.Add(records[i]);
                ASSERT_EQ(added.status, StoreStatus::Stored) << added.reason;
                if (!store.HasPending()) {
                    expected = FilesIn(reference.path());
                } else if (new_run) {
                    expected = before;
                }
                ASSERT_EQ(FilesIn(stored.path()), expected) << "after record " << i;
                if (i % 37 == 36) {
                    ASSERT_EQ(store.Checkpoint().status, StoreStatus::Stored);
                    expected = FilesIn(reference.path());
                }
            }
            ASSERT_EQ(store.Checkpoint().status, StoreStatus::Stored);
            EXPECT_EQ(FilesIn(stored.path()), FilesIn(reference.path()));
            EXPECT_EQ(store.WrittenFiles().size(), 3u);
            EXPECT_TRUE(store.SyncToDisk());
            EXPECT_TRUE(store.WrittenFiles().empty());
        }
    }
}

// Another program writing the file during a fetch: its lines are kept, whether it rewrote the
// file in place or replaced it with a file of the same size.
TEST(YearFileStoreCheckpoints, AFileChangedOnDiskIsReadAgainBeforeThePendingRecordsGoIn) {
    TempFolder folder;
    const std::filesystem::path file = folder.path() / YearFileName("2024");
    YearFileStore store(folder.path());
    YsRecord first;
    first.day = "01";
    ASSERT_EQ(store.Add(first.Record()).status, StoreStatus::Stored);
    ASSERT_EQ(ReadBytes(file), LineOf(first) + "\r\n");

    YsRecord theirs;
    theirs.day = "02";
    WriteBytes(file, ReadBytes(file) + LineOf(theirs) + "\r\n");
    YsRecord second;
    second.day = "03";
    ASSERT_EQ(store.Add(second.Record()).status, StoreStatus::Stored);
    ASSERT_EQ(store.Checkpoint().status, StoreStatus::Stored);
    EXPECT_EQ(ReadBytes(file),
              LineOf(first) + "\r\n" + LineOf(theirs) + "\r\n" + LineOf(second) + "\r\n");

    // Same size, other bytes, put in place by a rename.
    YsRecord renamed = theirs;
    renamed.race_name = Utf8ToSjis("青葉賞");
    const std::string replaced =
        LineOf(first) + "\r\n" + LineOf(renamed) + "\r\n" + LineOf(second) + "\r\n";
    ASSERT_EQ(replaced.size(), ReadBytes(file).size());
    WriteBytes(folder.path() / "elsewhere", replaced);
    std::filesystem::rename(folder.path() / "elsewhere", file);
    YsRecord third;
    third.day = "04";
    ASSERT_EQ(store.Add(third.Record()).status, StoreStatus::Stored);
    ASSERT_EQ(store.Checkpoint().status, StoreStatus::Stored);
    EXPECT_EQ(ReadBytes(file), replaced + LineOf(third) + "\r\n");
}

TEST(YearFileStoreCheckpoints, AnUnreadableYearStopsAtItsFirstRecordAndOtherYearsAreWritten) {
    TempFolder folder;
    std::filesystem::create_directory(folder.path() / YearFileName("2025"));
    YearFileStore store(folder.path());
    YsRecord kept;
    YsRecord pending = kept;
    pending.day = "05";
    ASSERT_EQ(store.Add(kept.Record()).status, StoreStatus::Stored);
    ASSERT_EQ(store.Add(pending.Record()).status, StoreStatus::Stored);
    YsRecord blocked;
    blocked.year = "2025";
    const StoreResult result = store.Add(blocked.Record());
    EXPECT_EQ(result.status, StoreStatus::FileError);
    EXPECT_EQ(result.file, folder.path() / YearFileName("2025"));
    EXPECT_EQ(result.reason, ReadWholeRegularFile(folder.path() / YearFileName("2025")).Reason());
    EXPECT_EQ(ReadBytes(folder.path() / YearFileName("2024")),
              LineOf(kept) + "\r\n" + LineOf(pending) + "\r\n");
    EXPECT_EQ(store.Add("YS\r\n").status, StoreStatus::Rejected);
    EXPECT_EQ(store.Add("RA").status, StoreStatus::NotSchedule);
}

}  // namespace
}  // namespace koyomi
