#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "code_test_support.h"
#include "codes/code_tables.h"

namespace koyomi {
namespace {

using testing::FullWidthSpaces;
using testing::IsCleanSjis;
using testing::Sjis;
using testing::Spaces;

struct FormWidth {
    int form;
    int width;
};

constexpr FormWidth kGradeWidths[] = {{1, 5}, {8, 3}, {9, 18}};
constexpr FormWidth kRaceKindWidths[] = {{4, 8}, {6, 12}, {8, 16}, {9, 25}};
const char* const kRaceKindCodes[] = {"11", "12", "13", "14", "18", "19", "21", "22", "23", "24"};

TEST(GradeText, EveryCodeAndTheBlankHaveTheStatedWidth) {
    for (const char* code : {"A", "B", "C", "D", "E", "F", "G", "H", "I", ""}) {
        for (const auto& [form, width] : kGradeWidths) {
            const std::string text = GradeText(code, form);
            EXPECT_EQ(ByteWidth(text), width) << code << " form " << form;
            EXPECT_TRUE(IsCleanSjis(text)) << code << " form " << form;
        }
    }
}

TEST(GradeText, KnownTextsAndPadding) {
    EXPECT_EQ(GradeText("A", 1), "G1   ");
    EXPECT_EQ(GradeText("A", 8), "G1 ");
    EXPECT_EQ(GradeText("A", 9), Sjis("G1(平地競走)") + FullWidthSpaces(3));
    EXPECT_EQ(GradeText("D", 1), Sjis("重賞 "));
    EXPECT_EQ(GradeText("D", 9), Sjis("ｸﾞﾚｰﾄﾞのない重賞") + FullWidthSpaces(1));
    EXPECT_EQ(GradeText("E", 9), Sjis("重賞以外の特別競走"));
    EXPECT_EQ(GradeText("F", 8), "JG1");
    EXPECT_EQ(GradeText("H", 9), Sjis("JG3(障害競走)") + FullWidthSpaces(2) + " ");
}

TEST(GradeText, UnlistedCodesGiveTheBlankAndUnlistedFormsNothing) {
    for (const std::string& code : testing::kOddCodes) {
        EXPECT_EQ(GradeText(code, 1), FullWidthSpaces(2) + " ");
        EXPECT_EQ(GradeText(code, 8), FullWidthSpaces(1) + " ");
        EXPECT_EQ(GradeText(code, 9), FullWidthSpaces(9));
    }
    EXPECT_EQ(GradeText("a", 1), GradeText("", 1));  // codes are case-sensitive
    EXPECT_EQ(GradeText("A ", 1), GradeText("", 1));
    for (int form : {0, 2, 4, 7, 10, -1, INT_MIN, INT_MAX}) {
        EXPECT_EQ(GradeText("A", form), "") << form;
    }
}

TEST(RaceKindText, EveryCodeAndTheBlankHaveTheStatedWidth) {
    for (const char* code : kRaceKindCodes) {
        for (const auto& [form, width] : kRaceKindWidths) {
            const std::string text = RaceKindText(code, form);
            EXPECT_EQ(ByteWidth(text), width) << code << " form " << form;
            EXPECT_TRUE(IsCleanSjis(text)) << code << " form " << form;
            EXPECT_EQ(text.find(' '), std::string::npos) << code << " form " << form;
        }
    }
    for (const auto& [form, width] : kRaceKindWidths) {
        EXPECT_EQ(ByteWidth(RaceKindText("15", form)), width);
    }
}

TEST(RaceKindText, KnownTextsAndDigitWidths) {
    EXPECT_EQ(RaceKindText("11", 4), Sjis("サラ２歳"));
    EXPECT_EQ(RaceKindText("11", 6), Sjis("サラ系２歳") + FullWidthSpaces(1));
    EXPECT_EQ(RaceKindText("13", 8), Sjis("サラ系３歳以上") + FullWidthSpaces(1));
    EXPECT_EQ(RaceKindText("11", 9), Sjis("サラブレット系2歳") + FullWidthSpaces(4));
    EXPECT_EQ(RaceKindText("19", 9), Sjis("サラブレット系障害4歳以上"));
    EXPECT_EQ(RaceKindText("24", 9), Sjis("アラブ系4歳以上") + FullWidthSpaces(5));
}

TEST(RaceKindText, UnlistedCodesGiveTheBlankAndUnlistedFormsNothing) {
    for (const std::string& code : testing::kOddCodes) {
        EXPECT_EQ(RaceKindText(code, 4), FullWidthSpaces(4));
        EXPECT_EQ(RaceKindText(code, 6), FullWidthSpaces(6));
        EXPECT_EQ(RaceKindText(code, 8), FullWidthSpaces(8));
        EXPECT_EQ(RaceKindText(code, 9), FullWidthSpaces(12) + " ");
    }
    EXPECT_EQ(RaceKindText("15", 4), FullWidthSpaces(4));
    for (int form : {0, 1, 5, 7, 10, -4, INT_MIN, INT_MAX}) {
        EXPECT_EQ(RaceKindText("11", form), "") << form;
    }
}

TEST(RaceSymbolText, ListedCodesAreFilledToTwentyFourBytes) {
    const char* const codes[] = {
        "001", "002", "003", "004", "020", "021", "023", "024", "030", "031", "033", "034",
        "040", "041", "043", "044", "A00", "A01", "A02", "A03", "A04", "A10", "A11", "A13",
        "A14", "A20", "A21", "A23", "A24", "A30", "A31", "A33", "A34", "A40", "A41", "B00",
        "B01", "B03", "B04", "C00", "C01", "C03", "C04", "D00", "D01", "D03", "E00", "E01",
        "E03", "F00", "F01", "F03", "F04", "G00", "G01", "G03", "H00", "H01", "I00", "I01",
        "I03", "J00", "J01", "K00", "K01", "K03", "L00", "L01", "L03", "M00", "M01", "M03",
        "M04", "N00", "N01", "N03", "N04", "N20", "N21", "N30", "N31", "N40", "N41"};
    ASSERT_EQ(std::size(codes), 83u);
    const std::string blank = RaceSymbolText("000");
    for (const std::string code : codes) {
        const std::string text = RaceSymbolText(code);
        EXPECT_EQ(ByteWidth(text), 24) << code;
        EXPECT_TRUE(IsCleanSjis(text)) << code;
        EXPECT_NE(text, blank) << code;
        EXPECT_EQ(text.find(' '), std::string::npos) << code;
    }
}

TEST(RaceSymbolText, Examples) {
    EXPECT_EQ(RaceSymbolText("001"), Sjis("(指定)") + FullWidthSpaces(9));
    EXPECT_EQ(RaceSymbolText("A02"), Sjis("(混合)・若手騎手") + FullWidthSpaces(4));
    EXPECT_EQ(RaceSymbolText("002"), Sjis("若手騎手") + FullWidthSpaces(8));
    EXPECT_EQ(RaceSymbolText("K01"), Sjis("(市)(抽)関西配布馬(指定)"));
    EXPECT_EQ(RaceSymbolText("034"), Sjis("牡・ｾﾝ(特指)") + FullWidthSpaces(6));
    EXPECT_EQ(RaceSymbolText("N41"), Sjis("(国際)牡・牝(指定)") + FullWidthSpaces(3));
    EXPECT_EQ(RaceSymbolText("E03"), Sjis("[抽][指定]") + FullWidthSpaces(7));
    EXPECT_EQ(RaceSymbolText("M04"), Sjis("九州産馬(特指)") + FullWidthSpaces(5));
}

TEST(RaceSymbolText, UnlistedCodesGiveTwelveIdeographicSpaces) {
    for (const std::string& code : testing::kOddCodes) {
        EXPECT_EQ(RaceSymbolText(code), FullWidthSpaces(12));
    }
    // Made of known characters, but not a combination that occurs.
    for (const char* code : {"000", "A22", "N02", "B02", "M10", "a00", "A0", "A000", "001 "}) {
        EXPECT_EQ(RaceSymbolText(code), FullWidthSpaces(12)) << code;
    }
}

TEST(WeightKindText, ListedCodesAndEmptyOtherwise) {
    EXPECT_EQ(WeightKindText("1"), Sjis("ﾊﾝﾃﾞ"));
    EXPECT_EQ(WeightKindText("2"), Sjis("別定"));
    EXPECT_EQ(WeightKindText("3"), Sjis("馬齢"));
    EXPECT_EQ(WeightKindText("4"), Sjis("定量"));
    EXPECT_EQ(WeightKindText("0"), "");
    EXPECT_EQ(WeightKindText("5"), "");
    EXPECT_EQ(WeightKindText(" 1"), "");
    for (const std::string& code : testing::kOddCodes) {
        EXPECT_EQ(WeightKindText(code), "");
    }
}

}  // namespace
}  // namespace koyomi
