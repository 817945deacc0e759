#include "control/service/service_records.h"

namespace koyomi {

std::vector<std::string_view> SplitServiceRecords(std::string_view content) {
    std::vector<std::string_view> records;
    size_t start = 0;
    while (start < content.size()) {
        size_t end = content.find('\n', start);
        if (end == std::string_view::npos) {
            end = content.size();
        }
        std::string_view record = content.substr(start, end - start);
        if (!record.empty() && record.back() == '\r') {
            record.remove_suffix(1);
        }
        if (!record.empty()) {
            records.push_back(record);
        }
        start = end + 1;
    }
    return records;
}

}  // namespace koyomi
