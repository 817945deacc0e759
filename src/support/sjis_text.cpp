#include "support/sjis_text.h"

namespace koyomi {

std::string_view Field(std::string_view text, int position, int length) {
    if (position < 1 || length <= 0) {
        return {};
    }
    size_t start = static_cast<size_t>(position) - 1;
    if (start >= text.size()) {
        return {};
    }
    return text.substr(start, static_cast<size_t>(length));
}

std::string_view TrimBlanks(std::string_view text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= 0x20) {
        ++begin;
    }
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 0x20) {
        --end;
    }
    return text.substr(begin, end - begin);
}

}  // namespace koyomi
