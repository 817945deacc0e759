// Grade, race kind and weight rule of the first graded race of a meeting day.
#include <array>
#include <string>
#include <string_view>

#include "codes/code_tables.h"
#include "codes/fixed_code_table.h"

namespace koyomi {
namespace {

// The short forms are padded with ASCII spaces, but their blank is made of ideographic
// spaces, so that an empty cell is as wide as a filled one on screen.
constexpr std::array<CodeForm, 3> kGradeForms = {{
    {1, 5, Padding::AsciiSpaces, "\u3000\u3000 "},
    {8, 3, Padding::AsciiSpaces, "\u3000 "},
    {9, 18, Padding::FullWidthSpaces, "\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000"},
}};

// clang-format off
constexpr FixedCodeTable<3>::Row kGradeRows[] = {
    {"A", {"G1", "G1", "G1(平地競走)"}},
    {"B", {"G2", "G2", "G2(平地競走)"}},
    {"C", {"G3", "G3", "G3(平地競走)"}},
    {"D", {"重賞", "重", "ｸﾞﾚｰﾄﾞのない重賞"}},
    {"E", {"特別", "特", "重賞以外の特別競走"}},
    {"F", {"JG1", "JG1", "JG1(障害競走)"}},
    {"G", {"JG2", "JG2", "JG2(障害競走)"}},
    {"H", {"JG3", "JG3", "JG3(障害競走)"}},
};
// clang-format on

constexpr std::array<CodeForm, 4> kRaceKindForms = {{
    {4, 8, Padding::FullWidthSpaces, "\u3000\u3000\u3000\u3000"},
    {6, 12, Padding::FullWidthSpaces, "\u3000\u3000\u3000\u3000\u3000\u3000"},
    {8, 16, Padding::FullWidthSpaces, "\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000"},
    {9, 25, Padding::FullWidthSpaces,
     "\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000 "},
}};

// Forms 4, 6 and 8 use full-width digits, form 9 ASCII digits.
constexpr FixedCodeTable<4>::Row kRaceKindRows[] = {
    {"11", {"サラ２歳", "サラ系２歳", "サラ系２歳", "サラブレット系2歳"}},
    {"12", {"サラ３歳", "サラ系３歳", "サラ系３歳", "サラブレット系3歳"}},
    {"13", {"サラ３上", "サラ系３歳上", "サラ系３歳以上", "サラブレット系3歳以上"}},
    {"14", {"サラ４上", "サラ系４歳上", "サラ系４歳以上", "サラブレット系4歳以上"}},
    {"18", {"障害３上", "障害３歳上", "サラ障害３歳以上", "サラブレット系障害3歳以上"}},
    {"19", {"障害４上", "障害４歳上", "サラ障害４歳以上", "サラブレット系障害4歳以上"}},
    {"21", {"アラ２歳", "アラ系２歳", "アラブ系２歳", "アラブ系2歳"}},
    {"22", {"アラ３歳", "アラ系３歳", "アラブ系３歳", "アラブ系3歳"}},
    {"23", {"アラ３上", "アラ系３歳上", "アラブ系３歳以上", "アラブ系3歳以上"}},
    {"24", {"アラ４上", "アラ系４歳上", "アラブ系４歳以上", "アラブ系4歳以上"}},
};

// One form only, unpadded; an unlisted code gives an empty text, not a blank.
constexpr int kWeightKindForm = 0;
constexpr std::array<CodeForm, 1> kWeightKindForms = {
    {{kWeightKindForm, 0, Padding::AsciiSpaces, ""}}};

constexpr FixedCodeTable<1>::Row kWeightKindRows[] = {
    {"1", {"ﾊﾝﾃﾞ"}},
    {"2", {"別定"}},
    {"3", {"馬齢"}},
    {"4", {"定量"}},
};

}  // namespace

std::string GradeText(std::string_view code, int form) {
    static const FixedCodeTable<3> table(kGradeForms, kGradeRows);
    return table.Text(code, form);
}

std::string RaceKindText(std::string_view code, int form) {
    static const FixedCodeTable<4> table(kRaceKindForms, kRaceKindRows);
    return table.Text(code, form);
}

std::string WeightKindText(std::string_view code) {
    static const FixedCodeTable<1> table(kWeightKindForms, kWeightKindRows);
    return table.Text(code, kWeightKindForm);
}

}  // namespace koyomi
