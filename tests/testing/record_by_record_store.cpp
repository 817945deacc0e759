#include "testing/record_by_record_store.h"

#include <algorithm>
#include <system_error>

#include "testing/files.h"

namespace koyomi::testing {

StoreResult StoreRecordByRewrite(const std::filesystem::path& folder, std::string_view record,
                                 std::vector<std::string>& work_lines) {
    StoreResult result;
    RecordLine made = LineOfRecord(record);
    if (made.status != StoreStatus::Stored) {
        result.status = made.status;
        result.reason = std::move(made.reason);
        return result;
    }
    std::string line = std::move(made.line);
    result.file = folder / YearFileName(LineYear(line));
    const auto failed = [&result](std::string reason) {
        result.status = StoreStatus::FileError;
        result.reason = std::move(reason);
        return result;
    };

    std::error_code error;
    work_lines.clear();
    if (std::filesystem::exists(result.file, error)) {
        Result<std::string> content = TryReadBytes(result.file);
        if (!content) {
            return failed(content.Reason());
        }
        SplitYearFileLines(*content, work_lines);
    }
    const std::string_view key = LineKey(line);
    const auto same_key = std::find_if(work_lines.begin(), work_lines.end(),
                                       [key](const auto& old) { return LineKey(old) == key; });
    if (same_key != work_lines.end()) {
        *same_key = std::move(line);
    } else {
        work_lines.push_back(std::move(line));
    }
    std::stable_sort(
        work_lines.begin(), work_lines.end(),
        [](const std::string& a, const std::string& b) { return ScheduleLineLess(a, b); });
    try {
        WriteBytes(result.file, YearFileText(work_lines));
    } catch (const std::system_error& written) {
        return failed(written.what());
    }
    return result;
}

StoreResult StoreRecordAlone(const std::filesystem::path& folder, const std::string& record) {
    YearFileStore store(folder);
    const StoreResult added = store.Add(record);
    if (added.status != StoreStatus::Stored) {
        return added;
    }
    const StoreResult written = store.Checkpoint();
    return written.status == StoreStatus::FileError ? written : added;
}

}  // namespace koyomi::testing
