#include "acquisition/last_time_text.h"

#include <algorithm>

#include "support/sjis_text.h"

namespace koyomi {

std::string LastTimeText(std::u16string_view last_file_timestamp) {
    const std::string text = Utf16ToSjis(last_file_timestamp);
    const std::string_view stamp = TrimBlanks(text);
    const bool fourteen_digits =
        stamp.size() == 14 &&
        std::all_of(stamp.begin(), stamp.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!fourteen_digits || stamp == "00000000000000") {
        return {};
    }
    std::string result;
    result.reserve(19);
    result.append(stamp.substr(0, 4)).append("/");
    result.append(stamp.substr(4, 2)).append("/");
    result.append(stamp.substr(6, 2)).append(" ");
    result.append(stamp.substr(8, 2)).append(":");
    result.append(stamp.substr(10, 2)).append(":");
    result.append(stamp.substr(12, 2));
    return result;
}

}  // namespace koyomi
