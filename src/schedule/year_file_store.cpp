#include "schedule/year_file_store.h"

#include <algorithm>
#include <utility>

namespace koyomi {
namespace {

bool LineLess(const std::string& a, const std::string& b) {
    return ScheduleLineLess(a, b);
}

// A line that has a whole key but a header other than the one every stored line gets: only a
// file written by someone else holds such lines.
bool HasForeignHeader(std::string_view line) {
    return line.size() >= kLineKeyEnd && !line.starts_with(kStoredLineHeader);
}

StoreResult FileError(const std::filesystem::path& file, std::string reason) {
    StoreResult result;
    result.status = StoreStatus::FileError;
    result.file = file;
    result.reason = std::move(reason);
    return result;
}

}  // namespace

YearFileStore::YearFileStore(std::filesystem::path folder) : folder_(std::move(folder)) {}

StoreResult YearFileStore::Add(std::string_view record) {
    RecordLine made = LineOfRecord(record);
    if (made.status != StoreStatus::Stored) {
        StoreResult result;
        result.status = made.status;
        result.reason = std::move(made.reason);
        return result;
    }
    const std::string_view year = LineYear(made.line);
    if (!pending_year_.empty() && pending_year_ != year) {
        if (StoreResult written = Checkpoint(); written.status == StoreStatus::FileError) {
            return written;
        }
    }
    auto found = years_.find(year);
    const bool first_of_year = found == years_.end();
    if (first_of_year) {
        Year loaded;
        loaded.file = folder_ / YearFileName(year);
        if (Status read = Load(loaded); !read) {
            return FileError(loaded.file, read.Reason());
        }
        found = years_.emplace(std::string(year), std::move(loaded)).first;
    }
    Year& target = found->second;
    pending_year_ = found->first;
    target.pending.push_back(std::move(made.line));
    if (first_of_year) {
        return Checkpoint();
    }
    StoreResult result;
    result.file = target.file;
    return result;
}

StoreResult YearFileStore::Checkpoint() {
    if (pending_year_.empty()) {
        return {};
    }
    Year& year = years_.at(pending_year_);
    pending_year_.clear();
    StoreResult result = WritePending(year);
    year.pending.clear();
    return result;
}

Status YearFileStore::SyncToDisk() {
    Status synced = SyncFilesToDisk(written_);
    written_.clear();
    return synced;
}

Status YearFileStore::Load(Year& year) {
    // The stamp before the read: a change in between is then seen at the next checkpoint.
    year.stamp = StampOf(year.file);
    year.stale = false;
    const Result<std::string> content = ReadWholeRegularFile(year.file);
    if (content) {
        SplitYearFileLines(*content, year.lines);
    } else if (content.Kind() == FailureKind::NotFound) {
        year.lines.clear();
        year.stamp = {};
    } else {
        return content.Error();
    }
    year.in_order = std::is_sorted(year.lines.begin(), year.lines.end(), LineLess);
    year.foreign_headers = static_cast<size_t>(
        std::count_if(year.lines.begin(), year.lines.end(),
                      [](const std::string& line) { return HasForeignHeader(line); }));
    return {};
}

// The same result as replacing the first line of the same key (or appending) and then sorting
// stably, without the sort: the lines are in order already, so the new line only has to go
// where a stable sort would put it.
void YearFileStore::Merge(Year& year, const std::string& line) {
    std::vector<std::string>& lines = year.lines;
    if (!year.in_order) {
        const auto same = std::find_if(lines.begin(), lines.end(), [&](const std::string& old) {
            return LineKey(old) == LineKey(line);
        });
        if (same != lines.end()) {
            *same = line;
        } else {
            lines.push_back(line);
        }
        std::stable_sort(lines.begin(), lines.end(), LineLess);
        year.in_order = true;
        year.foreign_headers = static_cast<size_t>(
            std::count_if(lines.begin(), lines.end(),
                          [](const std::string& old) { return HasForeignHeader(old); }));
        return;
    }
    const size_t same = FindKey(year, LineKey(line));
    const bool replacing = same < lines.size();
    if (replacing) {
        // Where the replaced line stood is where the new one stays, if the order allows it.
        if ((same == 0 || !LineLess(line, lines[same - 1])) &&
            (same + 1 == lines.size() || !LineLess(lines[same + 1], line))) {
            year.foreign_headers -= HasForeignHeader(lines[same]) ? 1 : 0;
            lines[same] = line;
            return;
        }
        year.foreign_headers -= HasForeignHeader(lines[same]) ? 1 : 0;
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(same));
    }
    // Among lines that sort equal, a stable sort keeps the new line after those that stood
    // before the replaced one; an appended line comes after all of them.
    const auto low = std::lower_bound(lines.begin(), lines.end(), line, LineLess);
    const auto high = std::upper_bound(low, lines.end(), line, LineLess);
    auto at = high;
    if (replacing) {
        at = lines.begin() + std::clamp<std::ptrdiff_t>(static_cast<std::ptrdiff_t>(same),
                                                        low - lines.begin(), high - lines.begin());
    }
    lines.insert(at, line);
}

// The first line of the key in the lines' order, or lines.size(). Lines that all start with
// the stored header are in key order, so a binary search finds the few that can hold the key.
size_t YearFileStore::FindKey(const Year& year, std::string_view key) {
    const std::vector<std::string>& lines = year.lines;
    auto first = lines.begin();
    auto last = lines.end();
    if (year.foreign_headers == 0) {
        std::string head(kStoredLineHeader);
        head += key;
        first = std::partition_point(first, last, [&](const std::string& line) {
            return ScheduleLineLess(LineHead(line), head);
        });
        last = std::partition_point(first, last, [&](const std::string& line) {
            return !ScheduleLineLess(head, LineHead(line));
        });
    }
    const auto found =
        std::find_if(first, last, [key](const std::string& line) { return LineKey(line) == key; });
    return found == last ? lines.size() : static_cast<size_t>(found - lines.begin());
}

Status YearFileStore::Write(Year& year) {
    ReplaceOptions options;
    FileStamp written;
    options.written = &written;
    Status replaced = ReplaceFileAtomically(year.file, YearFileText(year.lines), options);
    if (!replaced) {
        year.stale = true;
        return replaced;
    }
    year.stamp = written;
    year.stale = false;
    written_.insert(year.file);
    return {};
}

StoreResult YearFileStore::WritePending(Year& year) {
    if (year.stale || StampOf(year.file) != year.stamp) {
        if (Status read = Load(year); !read) {
            return FileError(year.file, read.Reason());
        }
    }
    for (const std::string& line : year.pending) {
        Merge(year, line);
    }
    Status written = Write(year);
    if (!written && year.pending.size() > 1) {
        // All of them do not fit (a full disk): as many as do, one by one, as a store of each
        // record by itself would have left the file.
        if (Load(year)) {
            for (const std::string& line : year.pending) {
                Merge(year, line);
                if (!(written = Write(year))) {
                    break;
                }
            }
        }
    }
    if (!written) {
        return FileError(year.file, written.Reason());
    }
    StoreResult result;
    result.file = year.file;
    return result;
}

}  // namespace koyomi
