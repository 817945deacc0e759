// The race symbol: conditions of entry (class), sex and designation, one character each.
#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "codes/code_tables.h"
#include "codes/fixed_code_table.h"
#include "support/sjis_text.h"

namespace koyomi {
namespace {

constexpr int kSymbolWidth = 24;

struct SymbolPart {
    char code;
    std::string_view text;
};

constexpr SymbolPart kClassParts[] = {
    {'0', ""},
    {'A', "(混合)"},
    {'B', "(父)"},
    {'C', "(市)"},
    {'D', "(抽)"},
    {'E', "[抽]"},
    {'F', "(市)(抽)"},
    {'G', "(抽)関西配布馬"},
    {'H', "(抽)関東配布馬"},
    {'I', "[抽]関西配布馬"},
    {'J', "[抽]関東配布馬"},
    {'K', "(市)(抽)関西配布馬"},
    {'L', "(市)(抽)関東配布馬"},
    {'M', "九州産馬"},
    {'N', "(国際)"},
};

constexpr SymbolPart kSexParts[] = {
    {'0', ""}, {'1', "牡"}, {'2', "牝"}, {'3', "牡・ｾﾝ"}, {'4', "牡・牝"},
};

constexpr char kYoungJockeys = '2';

constexpr SymbolPart kDesignationParts[] = {
    {'0', ""}, {'1', "(指定)"}, {kYoungJockeys, "若手騎手"}, {'3', "[指定]"}, {'4', "(特指)"},
};

// Only the combinations that occur are converted; any other code, even one made of known
// characters, shows as a blank.
constexpr std::string_view kSymbolCodes[] = {
    "001", "002", "003", "004", "020", "021", "023", "024", "030", "031", "033", "034",
    "040", "041", "043", "044", "A00", "A01", "A02", "A03", "A04", "A10", "A11", "A13",
    "A14", "A20", "A21", "A23", "A24", "A30", "A31", "A33", "A34", "A40", "A41", "B00",
    "B01", "B03", "B04", "C00", "C01", "C03", "C04", "D00", "D01", "D03", "E00", "E01",
    "E03", "F00", "F01", "F03", "F04", "G00", "G01", "G03", "H00", "H01", "I00", "I01",
    "I03", "J00", "J01", "K00", "K01", "K03", "L00", "L01", "L03", "M00", "M01", "M03",
    "M04", "N00", "N01", "N03", "N04", "N20", "N21", "N30", "N31", "N40", "N41",
};

template <std::size_t N>
std::string_view PartText(const SymbolPart (&parts)[N], char code) {
    for (const SymbolPart& part : parts) {
        if (part.code == code) {
            return part.text;
        }
    }
    return {};
}

// Class, sex, designation, then ideographic spaces up to 24 bytes.
std::string ComposeSymbol(std::string_view code) {
    std::string utf8(PartText(kClassParts, code[0]));
    utf8 += PartText(kSexParts, code[1]);
    if (code[2] == kYoungJockeys && !utf8.empty()) {
        utf8 += "・";
    }
    utf8 += PartText(kDesignationParts, code[2]);
    return PadToWidth(Utf8ToSjis(utf8), kSymbolWidth, Padding::FullWidthSpaces);
}

struct SymbolEntry {
    std::string_view code;
    std::string text;
};

}  // namespace

std::string RaceSymbolText(std::string_view code) {
    static const auto table = [] {
        std::array<SymbolEntry, std::size(kSymbolCodes)> entries;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            entries[i] = {kSymbolCodes[i], ComposeSymbol(kSymbolCodes[i])};
        }
        std::sort(entries.begin(), entries.end(),
                  [](const SymbolEntry& a, const SymbolEntry& b) { return a.code < b.code; });
        return entries;
    }();
    static const std::string blank = PadToWidth({}, kSymbolWidth, Padding::FullWidthSpaces);
    const auto found = std::lower_bound(
        table.begin(), table.end(), code,
        [](const SymbolEntry& entry, std::string_view key) { return entry.code < key; });
    if (found == table.end() || found->code != code) {
        return blank;
    }
    return found->text;
}

}  // namespace koyomi
