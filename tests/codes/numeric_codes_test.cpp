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

TEST(WeekdayText, EveryValueHasTheStatedWidthInEveryForm) {
    for (int value = 0; value <= 8; ++value) {
        for (int form = 1; form <= 3; ++form) {
            const std::string text = WeekdayText(std::to_string(value), form);
            EXPECT_EQ(ByteWidth(text), 2 * form) << value << " form " << form;
            EXPECT_TRUE(IsCleanSjis(text)) << value << " form " << form;
        }
    }
}

TEST(WeekdayText, KnownTextsAndTheBlank) {
    EXPECT_EQ(WeekdayText("1", 1), Sjis("土"));
    EXPECT_EQ(WeekdayText("2", 3), Sjis("日曜日"));
    EXPECT_EQ(WeekdayText("3", 3), Sjis("祝日") + FullWidthSpaces(1));
    EXPECT_EQ(WeekdayText("8", 2), Sjis("金曜"));
    EXPECT_EQ(WeekdayText("0", 1), FullWidthSpaces(1));
    EXPECT_EQ(WeekdayText("0", 3), FullWidthSpaces(3));
}

TEST(WeekdayText, CodeIsReadAsANumber) {
    EXPECT_EQ(WeekdayText(" 3", 2), Sjis("祝日"));  // leading spaces are skipped
    EXPECT_EQ(WeekdayText("03", 2), Sjis("祝日"));
    EXPECT_EQ(WeekdayText("3x", 2), Sjis("祝日"));  // digits up to the first other character
    EXPECT_EQ(WeekdayText("", 1), FullWidthSpaces(1));
    EXPECT_EQ(WeekdayText("   ", 1), FullWidthSpaces(1));
    EXPECT_EQ(WeekdayText("x3", 1), FullWidthSpaces(1));
    EXPECT_EQ(WeekdayText("\t3", 1), FullWidthSpaces(1));  // only ASCII spaces are skipped
}

TEST(WeekdayText, OutOfRangeValuesAndFormsGiveAnEmptyText) {
    EXPECT_EQ(WeekdayText("9", 1), "");
    EXPECT_EQ(WeekdayText("10", 1), "");
    EXPECT_EQ(WeekdayText(std::string(40, '9'), 1), "");
    EXPECT_EQ(WeekdayText("4294967297", 1), "");  // would wrap to 1 in 32 bits
    EXPECT_EQ(WeekdayText("1", 4), "");
    EXPECT_EQ(WeekdayText("1", 0), "");
    EXPECT_EQ(WeekdayText("1", INT_MIN), "");
    EXPECT_EQ(WeekdayText("\xFF\x81", 2), FullWidthSpaces(2));
}

TEST(TrackText, RangesOfValues) {
    EXPECT_EQ(TrackText("10"), Sjis("芝直"));
    EXPECT_EQ(TrackText("11"), Sjis("芝左"));
    EXPECT_EQ(TrackText("16"), Sjis("芝左"));
    EXPECT_EQ(TrackText("17"), Sjis("芝右"));
    EXPECT_EQ(TrackText("22"), Sjis("芝右"));
    EXPECT_EQ(TrackText("23"), Sjis("ダ左"));
    EXPECT_EQ(TrackText("24"), Sjis("ダ右"));
    EXPECT_EQ(TrackText("29"), Sjis("ダ直"));
    EXPECT_EQ(TrackText("51"), Sjis("障害"));
    EXPECT_EQ(TrackText("59"), Sjis("障害"));
    EXPECT_EQ(TrackText(" 59"), Sjis("障害"));
    EXPECT_EQ(TrackText("10 "), Sjis("芝直"));
    for (const char* code : {"25", "26", "27", "28", "60", "50", "09", "00", "", "  ", "1 0"}) {
        EXPECT_EQ(TrackText(code), "") << code;
    }
}

TEST(TrackText, EveryShownTextIsTwoFullWidthCharacters) {
    for (int value = 0; value <= 100; ++value) {
        const std::string text = TrackText(std::to_string(value));
        if (!text.empty()) {
            EXPECT_EQ(ByteWidth(text), 4) << value;
            EXPECT_TRUE(IsCleanSjis(text)) << value;
        }
    }
    EXPECT_EQ(TrackText(std::string(30, '5')), "");
    EXPECT_EQ(TrackText(std::string("5\0"
                                    "1",
                                    3)),
              "");
}

TEST(NumberField, RightAlignsTheValueInTheFieldsWidth) {
    EXPECT_EQ(NumberField("0120"), " 120");
    EXPECT_EQ(NumberField("012"), " 12");
    EXPECT_EQ(NumberField("1800"), "1800");
    EXPECT_EQ(NumberField("001"), "  1");
    EXPECT_EQ(NumberField(" 12"), " 12");
    EXPECT_EQ(NumberField("12a4"), "  12");
}

TEST(NumberField, ZeroOrNoNumberGivesSpaces) {
    EXPECT_EQ(NumberField("0000"), Spaces(4));
    EXPECT_EQ(NumberField("   "), Spaces(3));
    EXPECT_EQ(NumberField("abc"), Spaces(3));
    EXPECT_EQ(NumberField("-12"), Spaces(3));
    EXPECT_EQ(NumberField(""), "");
    EXPECT_EQ(NumberField(std::string("\0\0", 2)), Spaces(2));
    EXPECT_EQ(NumberField("\x82\x4F\x82\x50"), Spaces(4));  // full-width digits are not digits
}

TEST(NumberField, LongFieldsKeepTheirExactValue) {
    const std::string digits = "123456789012345678901234567890";
    EXPECT_EQ(NumberField("0000" + digits), Spaces(4) + digits);
}

TEST(StripFullWidthSpaces, RemovesOnlyIdeographicSpaces) {
    EXPECT_EQ(StripFullWidthSpaces(Sjis("　日本　ダービー　 ")), Sjis("日本ダービー "));
    EXPECT_EQ(StripFullWidthSpaces(FullWidthSpaces(30)), "");
    EXPECT_EQ(StripFullWidthSpaces(""), "");
    EXPECT_EQ(StripFullWidthSpaces(" a b "), " a b ");
}

TEST(StripFullWidthSpaces, KeepsTheBytePairThatStraddlesTwoCharacters) {
    const std::string text = Sjis("メ@");  // 0x83 0x81 0x40: the 0x81 is a trail byte
    ASSERT_EQ(text, "\x83\x81\x40");
    EXPECT_EQ(StripFullWidthSpaces(text), text);
    EXPECT_EQ(StripFullWidthSpaces(text + std::string(kFullWidthSpace) + "x"), text + "x");
    EXPECT_EQ(StripFullWidthSpaces("a\x81"), "a\x81");  // lead byte cut at the end
}

TEST(OverwriteAt, ReplacesBytesFromThePosition) {
    EXPECT_EQ(OverwriteAt("YS12345678901", "000000000", 3), "YS00000000001");
    EXPECT_EQ(OverwriteAt("abcdef", "XY", 1), "XYcdef");
    EXPECT_EQ(OverwriteAt("abcdef", "XY", 6), "abcdeXY");  // s ends first
    EXPECT_EQ(OverwriteAt("abcdef", "", 3), "abcdef");
}

TEST(OverwriteAt, PositionsOutsideTheText) {
    EXPECT_EQ(OverwriteAt("abc", "XY", 4), "abcXY");
    EXPECT_EQ(OverwriteAt("abc", "XY", 100), "abcXY");
    EXPECT_EQ(OverwriteAt("abc", "XY", 0), "XYabc");
    EXPECT_EQ(OverwriteAt("abc", "XY", INT_MIN), "XYabc");
    EXPECT_EQ(OverwriteAt("", "XY", 1), "XY");
}

}  // namespace
}  // namespace koyomi
