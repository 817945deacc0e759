#include <signal.h>
#include <sys/resource.h>

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
using testing::WriteBytes;
using testing::YsRecord;

class YearFileStoreFailures : public testing::YearFileStoreFixture {};

// A write that fails halfway (a full disk) must leave the old file exactly as it was. The
// file-size limit makes writes fail even for root.
TEST_F(YearFileStoreFailures, FailedWriteKeepsTheOldFileWholeAndLeavesNoTemporaryFile) {
    YsRecord first;
    ASSERT_EQ(Store(first.Record()).status, StoreStatus::Stored);
    const std::string before = ReadBytes(YearFile("2024"));

    rlimit old_limit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old_limit), 0);
    rlimit small = old_limit;
    small.rlim_cur = 500;
    auto old_handler = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    YsRecord second;
    second.day = "05";
    StoreResult result = Store(second.Record());
    setrlimit(RLIMIT_FSIZE, &old_limit);
    signal(SIGXFSZ, old_handler);

    EXPECT_EQ(result.status, StoreStatus::FileError);
    EXPECT_FALSE(result.reason.empty());
    EXPECT_EQ(ReadBytes(YearFile("2024")), before);
    EXPECT_EQ(EntriesInFolder(), 1u);
}

TEST_F(YearFileStoreFailures, PermissionsOfAnExistingFileAreKept) {
    YsRecord record;
    ASSERT_EQ(Store(record.Record()).status, StoreStatus::Stored);
    std::filesystem::permissions(YearFile("2024"), std::filesystem::perms::owner_read |
                                                       std::filesystem::perms::owner_write |
                                                       std::filesystem::perms::group_read);
    record.day = "05";
    ASSERT_EQ(Store(record.Record()).status, StoreStatus::Stored);
    EXPECT_EQ(std::filesystem::status(YearFile("2024")).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                  std::filesystem::perms::group_read);
}

}  // namespace
}  // namespace koyomi
