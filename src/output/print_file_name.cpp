#include "output/print_file_name.h"

#include "support/sjis_text.h"

namespace koyomi {

namespace {

// Bytes, leaving room for ".pdf" and a copy suffix a desktop may add within the usual
// 255-byte limit.
constexpr size_t kMaxStemBytes = 200;

bool IsRejected(unsigned char c) {
    constexpr std::string_view kRejected = "/\\:*?\"<>|";
    return c < 0x20 || c == 0x7F || kRejected.find(static_cast<char>(c)) != std::string_view::npos;
}

bool IsContinuationByte(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// Blanks and dots at either end: a leading dot hides the file, trailing ones confuse the
// extension.
std::string TrimEnds(const std::string& text) {
    static const std::string kIdeographicSpace = "\u3000";
    size_t first = 0;
    size_t last = text.size();
    for (bool trimmed = true; trimmed && first < last;) {
        trimmed = false;
        if (text[first] == ' ' || text[first] == '.') {
            ++first;
            trimmed = true;
        } else if (text.compare(first, kIdeographicSpace.size(), kIdeographicSpace) == 0) {
            first += kIdeographicSpace.size();
            trimmed = true;
        }
    }
    for (bool trimmed = true; trimmed && last > first;) {
        trimmed = false;
        if (text[last - 1] == ' ' || text[last - 1] == '.') {
            --last;
            trimmed = true;
        } else if (last - first >= kIdeographicSpace.size() &&
                   text.compare(last - kIdeographicSpace.size(), kIdeographicSpace.size(),
                                kIdeographicSpace) == 0) {
            last -= kIdeographicSpace.size();
            trimmed = true;
        }
    }
    return text.substr(first, last - first);
}

}  // namespace

std::string PrintFileStem(std::string_view sjis_title) {
    // Checked in UTF-8, where an ASCII byte is always the character itself; in code page 932
    // the second byte of a full-width character may look like "\" or "|".
    std::string name = SjisToUtf8(sjis_title);
    for (char& c : name) {
        if (IsRejected(static_cast<unsigned char>(c))) {
            c = '_';
        }
    }
    name = TrimEnds(name);
    if (name.size() > kMaxStemBytes) {
        size_t cut = kMaxStemBytes;
        while (cut > 0 && IsContinuationByte(static_cast<unsigned char>(name[cut]))) {
            --cut;
        }
        name = TrimEnds(name.substr(0, cut));
    }
    return name.empty() ? std::string(kDefaultPrintFileStem) : name;
}

std::filesystem::path PrintPdfPath(const std::filesystem::path& folder,
                                   std::string_view sjis_title) {
    return folder / (PrintFileStem(sjis_title) + ".pdf");
}

}  // namespace koyomi
