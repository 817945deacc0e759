#include "schedule/year_file.h"

#include <algorithm>
#include <cstring>
#include <system_error>

#include "codes/code_tables.h"
#include "support/sjis_text.h"
#include "support/user_folders.h"
#include "support/whole_file.h"

namespace koyomi {
namespace {

unsigned char FoldAsciiCase(unsigned char byte) {
    return (byte >= 'a' && byte <= 'z') ? static_cast<unsigned char>(byte - 'a' + 'A') : byte;
}

bool EndsWithIgnoringAsciiCase(std::string_view text, std::string_view suffix) {
    if (text.size() < suffix.size()) {
        return false;
    }
    std::string_view tail = text.substr(text.size() - suffix.size());
    for (size_t i = 0; i < suffix.size(); ++i) {
        if (FoldAsciiCase(static_cast<unsigned char>(tail[i])) !=
            FoldAsciiCase(static_cast<unsigned char>(suffix[i]))) {
            return false;
        }
    }
    return true;
}

// Name order of the file list: ASCII case folded, ties broken by the bytes themselves so the
// order is total.
bool FileNameLess(const std::string& a, const std::string& b) {
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        unsigned char x = FoldAsciiCase(static_cast<unsigned char>(a[i]));
        unsigned char y = FoldAsciiCase(static_cast<unsigned char>(b[i]));
        if (x != y) {
            return x < y;
        }
    }
    if (a.size() != b.size()) {
        return a.size() < b.size();
    }
    return a < b;
}

bool IsFourAsciiDigits(std::string_view text) {
    return text.size() == 4 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The record without the line end JV-Link puts after it (CR LF, or a lone LF or CR).
std::string_view WithoutLineEnd(std::string_view record) {
    while (!record.empty() && (record.back() == '\n' || record.back() == '\r')) {
        record.remove_suffix(1);
    }
    return record;
}

bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

const char* FindByte(const char* from, const char* to, char byte) {
    const void* found = std::memchr(from, byte, static_cast<size_t>(to - from));
    return found != nullptr ? static_cast<const char*>(found) : to;
}

}  // namespace

// Splits text at CR LF, LF or a lone CR; a final line end does not start another line. The
// strings already in `lines` are reused. Searching with memchr keeps a file of many megabytes
// quick to load.
void SplitYearFileLines(std::string_view content, std::vector<std::string>& lines) {
    size_t count = 0;
    auto emit = [&](const char* from, const char* to) {
        std::string_view line(from, static_cast<size_t>(to - from));
        if (count < lines.size()) {
            lines[count].assign(line);
        } else {
            lines.emplace_back(line);
        }
        ++count;
    };
    const char* start = content.data();
    const char* const end = start + content.size();
    while (start < end) {
        const char* lf = FindByte(start, end, '\n');
        // Between two LFs every CR ends a line too, except one right before the LF, which
        // belongs to it.
        for (const char* from = start;;) {
            const char* cr = FindByte(from, lf, '\r');
            emit(from, cr);
            if (cr == lf) {
                break;
            }
            from = cr + 1;
            if (from == lf) {
                break;
            }
        }
        if (lf == end) {
            break;
        }
        start = lf + 1;
    }
    lines.resize(count);
}

std::string YearFileText(const std::vector<std::string>& lines) {
    size_t total = 0;
    for (const std::string& line : lines) {
        total += line.size() + 2;
    }
    std::string content;
    content.reserve(total);
    for (const std::string& line : lines) {
        content += line;
        content += "\r\n";
    }
    return content;
}

RecordLine LineOfRecord(std::string_view record) {
    RecordLine result;
    if (LineRecordKind(record) != "YS") {
        result.status = StoreStatus::NotSchedule;
        return result;
    }
    std::string_view body = WithoutLineEnd(record);
    // The year becomes part of a file name and the key decides which line is replaced: a
    // record that cannot supply both is not stored anywhere.
    result.status = StoreStatus::Rejected;
    if (body.size() < kLineKeyEnd) {
        result.reason = "record too short for its line key";
    } else if (!IsFourAsciiDigits(LineYear(body))) {
        result.reason = "year is not four digits";
    } else if (std::any_of(body.begin(), body.end(), IsLineEnd)) {
        // A line break inside would split the line in two on the next load.
        result.reason = "record holds a line break";
    } else {
        result.status = StoreStatus::Stored;
        result.line = NormalisedLine(body);
    }
    return result;
}

std::filesystem::path YearFileName(std::string_view year) {
    std::string name(year);
    name += "年ｽｹｼﾞｭｰﾙ";  // UTF-8, as file names are on this system
    name += kYearFileExtension;
    return PathFromUtf8(name);
}

std::string YearFileDisplayName(const std::filesystem::path& file) {
    std::string name = PathText(file.filename());
    if (EndsWithIgnoringAsciiCase(name, kYearFileExtension)) {
        name.resize(name.size() - kYearFileExtension.size());
    }
    return name;
}

std::vector<std::filesystem::path> ListYearFiles(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        std::string name = PathText(it->path().filename());
        std::error_code type_error;
        if (EndsWithIgnoringAsciiCase(name, kYearFileExtension) &&
            it->is_regular_file(type_error)) {
            names.push_back(std::move(name));
        }
    }
    std::sort(names.begin(), names.end(), FileNameLess);
    std::vector<std::filesystem::path> files;
    files.reserve(names.size());
    for (const std::string& name : names) {
        files.push_back(folder / PathFromUtf8(name));
    }
    return files;
}

Result<std::vector<std::string>> LoadYearFile(const std::filesystem::path& file) {
    const Result<std::string> content = ReadWholeRegularFile(file);
    if (!content) {
        return content.Error();
    }
    std::vector<std::string> lines;
    SplitYearFileLines(*content, lines);
    return lines;
}

Status SyncFilesToDisk(const std::set<std::filesystem::path>& files) {
    // The files' contents, then their folders, so the renames that put them in place last too.
    std::set<std::filesystem::path> folders;
    Status first_failure;
    for (const std::filesystem::path& file : files) {
        if (Status synced = SyncToDisk(file); !synced && first_failure) {
            first_failure = std::move(synced);
        }
        std::filesystem::path folder = file.parent_path();
        folders.insert(folder.empty() ? std::filesystem::path(".") : folder);
    }
    for (const std::filesystem::path& folder : folders) {
        if (Status synced = SyncToDisk(folder); !synced && first_failure) {
            first_failure = std::move(synced);
        }
    }
    return first_failure;
}

bool ScheduleLineLess(std::string_view a, std::string_view b) {
    const size_t common = std::min(a.size(), b.size());
    bool trail = false;  // the byte at i is the second byte of a double-byte character
    for (size_t i = 0; i < common; ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (!trail) {
            x = FoldAsciiCase(x);
            y = FoldAsciiCase(y);
        }
        if (x != y) {
            return x < y;
        }
        // Equal bytes here, so both texts are at the same place in their characters.
        trail = !trail && IsSjisLeadByte(x);
    }
    return a.size() < b.size();
}

}  // namespace koyomi
