#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>
#include <vector>

#include "code_test_support.h"
#include "codes/code_tables.h"

namespace koyomi {
namespace {

using testing::FullWidthSpaces;
using testing::IsCleanSjis;
using testing::Sjis;
using testing::Spaces;

std::vector<std::string> AllVenueCodes() {
    std::vector<std::string> codes;
    for (int n = 1; n <= 10; ++n) {
        codes.push_back((n < 10 ? "0" : "") + std::to_string(n));
    }
    for (int n = 30; n <= 61; ++n) {
        codes.push_back(std::to_string(n));
    }
    for (const char* code :
         {"A0", "A2", "A4", "A6", "A8", "B0", "B2", "B4", "B6", "B8", "C0", "C2", "C4",
          "C5", "C6", "C7", "C8", "D0", "D2", "D4", "D6", "D8", "E0", "E2", "E4", "E6",
          "E8", "F0", "F1", "F2", "F4", "F6", "F8", "G0", "G2", "G4", "G6", "G8", "H0",
          "H2", "H4", "H6", "H8", "I0", "I2", "I4", "I6", "I8", "J0", "J2", "J4", "J6",
          "J8", "K0", "K2", "K4", "K6", "K8", "L0", "L2", "L4", "L6", "L8", "M0", "M2"}) {
        codes.push_back(code);
    }
    return codes;
}

const std::set<std::string> kNamelessCodes = {"C4", "F4", "F6", "G4", "G6", "G8"};

constexpr int kForms[] = {0, 1, 2, 3, 9};

int StatedWidth(const std::string& code, int form) {
    switch (form) {
        case 0:
        case 3:
            return 6;
        case 1:
            return code == "A2" ? 3 : 2;
        case 2:
            return 4;
        default:
            return 20;
    }
}

TEST(VenueText, EveryCodeHasTheStatedWidthInEveryForm) {
    const auto codes = AllVenueCodes();
    ASSERT_EQ(codes.size(), 107u);
    for (const std::string& code : codes) {
        for (int form : kForms) {
            const std::string text = VenueText(code, form);
            EXPECT_EQ(ByteWidth(text), StatedWidth(code, form)) << code << " form " << form;
            EXPECT_TRUE(IsCleanSjis(text)) << code << " form " << form;
        }
    }
}

TEST(VenueText, NamedCodesHaveNamesAndReservedCodesTheFormsBlank) {
    for (const std::string& code : AllVenueCodes()) {
        if (kNamelessCodes.count(code) != 0) {
            EXPECT_EQ(VenueText(code, 0), Spaces(6)) << code;
            EXPECT_EQ(VenueText(code, 1), Spaces(2)) << code;
            EXPECT_EQ(VenueText(code, 2), Spaces(4)) << code;
            EXPECT_EQ(VenueText(code, 3), Spaces(6)) << code;
            EXPECT_EQ(VenueText(code, 9), FullWidthSpaces(10)) << code;
            continue;
        }
        // Form 2 is always two full-width characters: never a space.
        const std::string short_name = VenueText(code, 2);
        EXPECT_EQ(short_name.find(' '), std::string::npos) << code;
        EXPECT_EQ(short_name.find(kFullWidthSpace), std::string::npos) << code;
        EXPECT_NE(VenueText(code, 9).substr(0, 2), kFullWidthSpace) << code;
    }
}

TEST(VenueText, PaddingIsAsciiInShortFormsAndFullWidthInTheLongName) {
    for (const std::string& code : AllVenueCodes()) {
        const std::string long_name = VenueText(code, 9);
        EXPECT_EQ(long_name.find(' '), std::string::npos) << code;
        for (int form : {0, 3}) {
            const bool own_space = code == "L0" || (code == "H0" && form == 3);
            const std::string text = VenueText(code, form);
            EXPECT_EQ(text.size() >= 2 && text.substr(text.size() - 2) == kFullWidthSpace,
                      own_space)
                << code << " form " << form;
        }
    }
}

TEST(VenueText, KnownTexts) {
    EXPECT_EQ(VenueText("05", 2), Sjis("東京"));
    EXPECT_EQ(VenueText("07", 1), Sjis("名"));
    EXPECT_EQ(VenueText("49", 3), Sjis("紀三寺"));
    EXPECT_EQ(VenueText("49", 0), Sjis("紀三井"));
    EXPECT_EQ(VenueText("49", 9), Sjis("紀三井寺競馬場") + FullWidthSpaces(3));
    EXPECT_EQ(VenueText("01", 0), Sjis("札幌") + Spaces(2));
    EXPECT_EQ(VenueText("A2", 1), Sjis("日 "));
    EXPECT_EQ(VenueText("A4", 0), Sjis("ｱﾒﾘｶ") + Spaces(2));  // half-width stays half-width
    EXPECT_EQ(VenueText("L0", 0), Sjis("タイ") + FullWidthSpaces(1));
    EXPECT_EQ(VenueText("H0", 3), Sjis("西独") + FullWidthSpaces(1));
    EXPECT_EQ(VenueText("H0", 0), Sjis("西ﾄﾞｲﾂ"));
    EXPECT_EQ(VenueText("58", 9), Sjis("札幌競馬場(地方競馬)"));
    EXPECT_EQ(VenueText("M2", 2), Sjis("澳門"));
    EXPECT_EQ(VenueText("C4", 2), Spaces(4));
}

TEST(VenueText, UnlistedCodesAndBytesGiveTheFallBack) {
    std::vector<std::string> unlisted(std::begin(testing::kOddCodes), std::end(testing::kOddCodes));
    for (const char* code : {"00", "11", "29", "62", "99", "A1", "M4", "a0", "l0", "Z9"}) {
        unlisted.push_back(code);
    }
    for (const std::string& code : unlisted) {
        EXPECT_EQ(VenueText(code, 0), Spaces(6));
        EXPECT_EQ(VenueText(code, 1), Spaces(2));
        EXPECT_EQ(VenueText(code, 2), Spaces(4));
        EXPECT_EQ(VenueText(code, 3), Spaces(6));
        EXPECT_EQ(VenueText(code, 9), Spaces(6));  // not the 10 ideographic spaces of C4
    }
}

TEST(VenueText, UnlistedFormsGiveAnEmptyText) {
    for (int form : {-1, 4, 5, 8, 10, INT_MIN, INT_MAX}) {
        EXPECT_EQ(VenueText("05", form), "") << form;
        EXPECT_EQ(VenueText("ZZ", form), "") << form;
    }
}

}  // namespace
}  // namespace koyomi
