// Loading a year file of any bytes, and storing records of any bytes into it: loading never
// fails on content, a stored record ends up exactly where the merge rule puts it, nothing
// else in the file changes, a refused record changes nothing, and no file other than the
// record's year file is ever written.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "schedule/year_file.h"
#include "schedule/year_file_store.h"
#include "testing/record_by_record_store.h"
#include "year_file_model.h"
#include "year_file_order.h"

namespace {

using namespace koyomi;

constexpr std::string_view kFileYear = "2025";

// Most inputs are steered to the year of the file on disk so the merge is what is tried;
// the rest keep their own first bytes.
std::string SteeredRecord(std::string record, bool steer) {
    if (steer && record.size() >= 15) {
        record.replace(0, 2, "YS");
        record.replace(11, 4, kFileYear);
    }
    return record;
}

void CheckLoad(const std::filesystem::path& file, std::string_view content) {
    const auto loaded = LoadYearFile(file);
    KOYOMI_REQUIRE(loaded.Ok());
    KOYOMI_REQUIRE(loaded.Value() == model::SplitYearFileText(content));
}

void CheckStore(const std::filesystem::path& folder, const std::string& record) {
    const std::vector<std::string> names_before = testing::FolderNames(folder);
    const std::optional<std::string> line = model::ScheduleLineOf(record);
    std::filesystem::path file;
    std::string before;
    bool existed = false;
    if (line) {
        file = folder / YearFileName(model::LineYear(*line));
        Result<std::string> read = testing::TryReadBytes(file);
        existed = read.Ok();
        before = existed ? std::move(read).Value() : std::string();
    }

    const StoreResult result = testing::StoreRecordAlone(folder, record);

    if (!line) {
        KOYOMI_REQUIRE(result.status == StoreStatus::NotSchedule ||
                       result.status == StoreStatus::Rejected);
        KOYOMI_REQUIRE(testing::FolderNames(folder) == names_before);
        return;
    }
    KOYOMI_REQUIRE(result.status == StoreStatus::Stored);
    KOYOMI_REQUIRE(result.file == file);
    std::vector<std::string> expected;
    if (existed) {
        expected = model::SplitYearFileText(before);
    }
    model::MergeLine(expected, *line);
    const Result<std::string> after = testing::TryReadBytes(file);
    KOYOMI_REQUIRE(after.Ok());
    KOYOMI_REQUIRE(fuzz::HoldsLinesInOrder(*after, expected));

    // Only the year file itself may have appeared; no temporary file is left behind.
    std::vector<std::string> names = names_before;
    if (!existed) {
        names.push_back(file.filename().string());
        std::sort(names.begin(), names.end());
    }
    KOYOMI_REQUIRE(testing::FolderNames(folder) == names);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const testing::TempFolder& scratch = fuzz::Scratch();
    scratch.Clear();
    FuzzedDataProvider input(data, size);

    const std::filesystem::path folder = scratch.path();
    const std::filesystem::path file = folder / YearFileName(kFileYear);
    const std::string content = input.ConsumeRandomLengthString(1 << 16);
    const std::uint8_t shape = input.ConsumeIntegral<std::uint8_t>();
    if (shape % 8 == 0) {
        // A folder where the year file should be: never read as lines, never replaced.
        std::filesystem::create_directory(file);
        KOYOMI_REQUIRE(!LoadYearFile(file).Ok());
        std::string record = SteeredRecord(input.ConsumeRemainingBytesAsString(), true);
        const StoreResult result = testing::StoreRecordAlone(folder, record);
        if (model::ScheduleLineOf(record)) {
            KOYOMI_REQUIRE(result.status == StoreStatus::FileError);
            KOYOMI_REQUIRE(result.file == file && !result.reason.empty());
        }
        KOYOMI_REQUIRE(std::filesystem::is_directory(file));
        KOYOMI_REQUIRE(testing::FolderNames(folder).size() == 1);
        return 0;
    }
    if (shape % 8 != 1) {
        testing::WriteBytes(file, content);
        CheckLoad(file, content);
    }

    while (input.remaining_bytes() > 0) {
        const bool steer = input.ConsumeBool();
        CheckStore(folder, SteeredRecord(input.ConsumeRandomLengthString(4096), steer));
    }
    return 0;
}
