// The bundled sample data service: for each year an annual schedule file and a later update
// file that delivers some days again with corrections. Every record is 380 bytes of Shift-JIS
// followed by CR LF; the files also hold a few records of other kinds.
#pragma once

#include <string>
#include <vector>

namespace koyomi {

inline constexpr int kScheduleRecordLength = 380;

struct SampleServiceFile {
    std::string name;     // e.g. "YSCH20251115100000.jvd"
    std::string content;  // the records, each ending in CR LF
};

// The annual schedule file of `year`, created in the November before it.
SampleServiceFile SampleAnnualFile(int year);

// The update file of `year`, created in the December before it.
SampleServiceFile SampleUpdateFile(int year);

// The annual and update files of every year from `first_year` to `last_year`, oldest first.
std::vector<SampleServiceFile> SampleServiceFiles(int first_year, int last_year);

}  // namespace koyomi
