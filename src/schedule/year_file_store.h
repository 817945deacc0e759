// The year files of one fetch. Storing a record merges it into the year's lines held in memory;
// the files are written whole (atomically) only at checkpoints, so a fetch costs about one write
// per file instead of one load and one write per record. Records of one year at a time are
// pending: a record of another year first writes the pending one, so that the files on disk
// always hold the merge of one prefix of the records stored.
#pragma once

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "schedule/year_file.h"
#include "support/result.h"
#include "support/whole_file.h"

namespace koyomi {

class YearFileStore {
  public:
    explicit YearFileStore(std::filesystem::path folder);

    // Takes one record (code page 932, with or without its CR LF): the line of its key is
    // replaced in place, or the line appended, and the year's lines sorted (LineOfRecord makes
    // the line, ScheduleLineLess orders them). A record of another year than the pending one writes
    // that year first; the first record of a year that this store has not touched yet is
    // written at once, so that a file that cannot be read or written stops the fetch at the
    // record that needs it. FileError names the file that failed; the records pending for it
    // are then dropped, its file holding as many of them as could be written.
    StoreResult Add(std::string_view record);

    // Writes the pending year, if any. A file changed on disk since this store last read or
    // wrote it is read again and the pending records merged into what it holds now.
    StoreResult Checkpoint();

    // True while records are held that are not on disk yet.
    bool HasPending() const { return !pending_year_.empty(); }

    // The files written so far and not yet synced.
    const std::set<std::filesystem::path>& WrittenFiles() const { return written_; }

    // Flushes the written files and their folder to disk, once at the end of a fetch, and
    // forgets them. The reason names the first file that failed.
    Status SyncToDisk();

  private:
    // One year's file as this store knows it.
    struct Year {
        std::filesystem::path file;
        std::vector<std::string> lines;  // as last read or written, merged records included
        std::vector<std::string> pending;
        bool in_order = true;        // false only until the first merge into an unsorted file
        size_t foreign_headers = 0;  // lines with a key whose positions 1-11 are not "YS000000000"
        FileStamp stamp;             // of the file as last read or written
        bool stale = false;          // the lines hold more than the file: read it again
    };

    static Status Load(Year& year);
    static void Merge(Year& year, const std::string& line);
    static size_t FindKey(const Year& year, std::string_view key);
    Status Write(Year& year);
    StoreResult WritePending(Year& year);

    std::filesystem::path folder_;
    std::map<std::string, Year, std::less<>> years_;
    std::string pending_year_;
    std::set<std::filesystem::path> written_;
};

}  // namespace koyomi
