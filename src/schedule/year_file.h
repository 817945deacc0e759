// Year files: one Shift-JIS text file per year in the program folder, one schedule line
// (a "YS" record without its CR LF, positions 3-11 set to "000000000") per meeting day and
// venue, sorted, unique by the line key (positions 12-27).
#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "schedule/schedule_line.h"
#include "support/result.h"

namespace koyomi {

inline constexpr std::string_view kYearFileExtension = ".jvYS";

// "2024年ｽｹｼﾞｭｰﾙ.jvYS" as a UTF-8 file name, for a four-digit year.
std::filesystem::path YearFileName(std::string_view year);

// The name the year selector shows: the file name without ".jvYS", in UTF-8 as the name is.
std::string YearFileDisplayName(const std::filesystem::path& file);

// The year files of a folder ("*.jvYS", extension case ignored), ascending by name.
std::vector<std::filesystem::path> ListYearFiles(const std::filesystem::path& folder);

enum class StoreStatus {
    Stored,       // the year file now holds the record's line
    NotSchedule,  // not a "YS" record: skipped without a word
    Rejected,     // too short for the line key, or a year that is not four ASCII digits
    FileError,    // the year file could not be read or written; nothing was lost
};

struct StoreResult {
    StoreStatus status = StoreStatus::Stored;
    std::filesystem::path file;  // the year file concerned (empty when not known)
    std::string reason;          // why: the system's reason for a FileError, or what made a
                                 // record Rejected; in UTF-8
};

// What a record becomes in its year file: `line` (without a line end, positions 3-11 set to
// "000000000") when `status` is Stored, else why it is not stored (NotSchedule, or Rejected
// with a reason).
struct RecordLine {
    StoreStatus status = StoreStatus::Stored;
    std::string line;
    std::string reason;
};
RecordLine LineOfRecord(std::string_view record);

// Splits a year file's text into its lines, reusing the strings already in `lines`.
void SplitYearFileLines(std::string_view content, std::vector<std::string>& lines);

// The text of a year file: every line followed by CR LF.
std::string YearFileText(const std::vector<std::string>& lines);

// Loads a year file whole: its lines in file order, without line ends. LF-only or mixed line
// ends, a last line without a line end, short lines and bytes that are not Shift-JIS are all
// accepted. A failure names the file and the system's reason.
Result<std::vector<std::string>> LoadYearFile(const std::filesystem::path& file);

// Flushes the given files and their folders to disk; called once when a fetch ends. A failure
// names the first file or folder that could not be flushed.
Status SyncFilesToDisk(const std::set<std::filesystem::path>& files);

// The order of year-file lines: byte order of the Shift-JIS text with the case of single-byte
// ASCII letters folded (never a trail byte), the same on every machine whatever its locale.
bool ScheduleLineLess(std::string_view a, std::string_view b);

}  // namespace koyomi
