#include "testing/delivered_records.h"

#include <algorithm>

#include "testing/files.h"

namespace koyomi::testing {

std::vector<std::string> DeliveredRecords(const std::filesystem::path& service) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(service)) {
        if (entry.path().extension() == ".jvd") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    std::vector<std::string> records;
    for (const std::filesystem::path& file : files) {
        const std::string content = ReadBytes(file);
        size_t start = 0;
        while (start < content.size()) {
            size_t end = content.find('\n', start);
            end = end == std::string::npos ? content.size() : end;
            std::string record = content.substr(start, end - start);
            if (!record.empty() && record.back() == '\r') {
                record.pop_back();
            }
            if (!record.empty()) {
                records.push_back(record);
            }
            start = end + 1;
        }
    }
    return records;
}

}  // namespace koyomi::testing
