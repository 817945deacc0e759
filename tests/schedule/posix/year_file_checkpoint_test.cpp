#include <signal.h>
#include <sys/resource.h>

#include <cerrno>
#include <filesystem>

#include <gtest/gtest.h>

#include "schedule/year_file_store.h"
#include "support/whole_file.h"
#include "testing/files.h"
#include "testing/temp_folder.h"
#include "testing/ys_record.h"

namespace koyomi {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::YsRecord;

std::string LineOf(const YsRecord& record) {
    return LineOfRecord(record.Record()).line;
}

std::size_t EntriesIn(const std::filesystem::path& folder) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

// A full disk: the file keeps as many pending records as fit, whole, and the failure names it.
TEST(YearFileStoreCheckpoints, PendingRecordsThatDoNotAllFitGoInAsFarAsTheyDo) {
    TempFolder folder;
    const std::filesystem::path file = folder.path() / YearFileName("2024");
    YearFileStore store(folder.path());
    std::vector<std::string> lines;
    for (const char* day : {"01", "02", "03", "04"}) {
        YsRecord record;
        record.day = day;
        ASSERT_EQ(store.Add(record.Record()).status, StoreStatus::Stored);
        lines.push_back(LineOf(record) + "\r\n");
    }
    ASSERT_EQ(ReadBytes(file), lines[0]);  // the first of a year is written at once

    rlimit old_limit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old_limit), 0);
    rlimit small = old_limit;
    small.rlim_cur = 3 * lines[0].size();
    auto old_handler = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const StoreResult result = store.Checkpoint();
    setrlimit(RLIMIT_FSIZE, &old_limit);
    signal(SIGXFSZ, old_handler);

    EXPECT_EQ(result.status, StoreStatus::FileError);
    EXPECT_EQ(result.file, file);
    EXPECT_EQ(result.reason, SystemReason(EFBIG));
    EXPECT_EQ(ReadBytes(file), lines[0] + lines[1] + lines[2]);
    EXPECT_FALSE(store.HasPending());
    EXPECT_EQ(EntriesIn(folder.path()), 1u);  // no temporary file left

    // The store goes on from what the file holds.
    YsRecord fifth;
    fifth.day = "05";
    ASSERT_EQ(store.Add(fifth.Record()).status, StoreStatus::Stored);
    ASSERT_EQ(store.Checkpoint().status, StoreStatus::Stored);
    EXPECT_EQ(ReadBytes(file), lines[0] + lines[1] + lines[2] + LineOf(fifth) + "\r\n");
}

}  // namespace
}  // namespace koyomi
