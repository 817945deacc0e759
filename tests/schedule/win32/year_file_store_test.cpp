#include <windows.h>

#include <iterator>

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
using testing::YsRecord;

class YearFileStoreFailures : public testing::YearFileStoreFixture {};

// Windows keeps a year file from being replaced when it is read-only or when another program
// (a spreadsheet, a backup) holds it open without sharing: the store reports the file, keeps
// its bytes and leaves no temporary file, and the other years go on.
TEST_F(YearFileStoreFailures, AReadOnlyOrHeldYearFileGivesFileErrorAndKeepsItsLines) {
    YsRecord first;
    ASSERT_EQ(Store(first.Record()).status, StoreStatus::Stored);
    first.year = "2025";
    ASSERT_EQ(Store(first.Record()).status, StoreStatus::Stored);
    const std::filesystem::path read_only = YearFile("2024");
    const std::filesystem::path held = YearFile("2025");
    const std::string before = ReadBytes(read_only);
    ASSERT_TRUE(SetFileAttributesW(read_only.c_str(), FILE_ATTRIBUTE_READONLY));
    HANDLE holder = CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);

    YsRecord second;
    second.day = "05";
    for (const char* year : {"2024", "2025"}) {
        second.year = year;
        const StoreResult refused = Store(second.Record());
        EXPECT_EQ(refused.status, StoreStatus::FileError) << year;
        EXPECT_EQ(refused.file, YearFile(year));
        EXPECT_FALSE(refused.reason.empty());
    }
    second.year = "2026";
    EXPECT_EQ(Store(second.Record()).status, StoreStatus::Stored);
    CloseHandle(holder);
    EXPECT_EQ(ReadBytes(read_only), before);
    EXPECT_EQ(ReadBytes(held).size(), before.size());
    EXPECT_EQ(EntriesInFolder(), 3u);

    second.year = "2025";
    EXPECT_EQ(Store(second.Record()).status, StoreStatus::Stored);
    EXPECT_EQ(ReadBytes(held).size(), 2 * before.size());
}

}  // namespace
}  // namespace koyomi
