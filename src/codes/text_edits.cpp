// Small edits of Shift-JIS texts used around the tables.
#include <string>
#include <string_view>

#include "codes/code_tables.h"
#include "support/sjis_text.h"

namespace koyomi {

// Walks character by character, so the bytes 0x81 0x40 that straddle two characters (a trail
// byte 0x81 followed by an "@") are never taken for an ideographic space.
std::string StripFullWidthSpaces(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const bool pair =
            IsSjisLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size();
        const std::size_t width = pair ? 2 : 1;
        const std::string_view character = text.substr(i, width);
        if (character != kFullWidthSpace) {
            result += character;
        }
        i += width;
    }
    return result;
}

// Deletes as many bytes as r has from position p, then inserts r there. A position before
// the start inserts at the start and deletes nothing; one beyond the end appends.
std::string OverwriteAt(std::string_view s, std::string_view r, int position) {
    std::string result(s);
    if (position >= 1 && static_cast<std::size_t>(position) <= result.size()) {
        const std::size_t at = static_cast<std::size_t>(position) - 1;
        result.replace(at, r.size(), r);
        return result;
    }
    if (position < 1) {
        result.insert(0, r);
    } else {
        result.append(r);
    }
    return result;
}

}  // namespace koyomi
