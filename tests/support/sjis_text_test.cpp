#include "support/sjis_text.h"

#include <gtest/gtest.h>

namespace koyomi {
namespace {

TEST(SjisConversion, RoundTripsJapaneseAndHalfWidthKatakana) {
    const std::string utf8 = "2024年ｽｹｼﾞｭｰﾙ　東京①髙";  // ① NEC, 髙 IBM extension
    const std::string sjis = Utf8ToSjis(utf8);
    EXPECT_EQ(sjis, std::string("2024\x94\x4E\xBD\xB9\xBC\xDE\xAD\xB0\xD9\x81\x40\x93\x8C\x8B\x9E"
                                "\x87\x40\xFB\xFC"));
    EXPECT_EQ(SjisToUtf8(sjis), utf8);
    EXPECT_EQ(SjisToUtf16(sjis), Utf8ToUtf16(utf8));
    EXPECT_EQ(Utf16ToSjis(Utf8ToUtf16(utf8)), sjis);
}

TEST(SjisConversion, UnmappableCharactersBecomeQuestionMarks) {
    // U+00E9 and an emoji (a surrogate pair) have no place in code page 932.
    EXPECT_EQ(Utf16ToSjis(u"a\u00e9b\U0001F600c"), "a?b?c");
    const char16_t lone[] = {u'x', 0xD800, u'y', 0};
    EXPECT_EQ(Utf16ToSjis(lone), "x?y");
    EXPECT_EQ(Utf8ToSjis("a\xC3\xA9z"), "a?z");
}

TEST(SjisConversion, InvalidBytesBecomeReplacementCharacters) {
    EXPECT_EQ(SjisToUtf8("A\x81"), "A\xEF\xBF\xBD");  // cut double-byte character
    EXPECT_EQ(SjisToUtf8("\xA0Z"), "\xEF\xBF\xBDZ");  // 0xA0 is unassigned
    EXPECT_EQ(SjisToUtf16(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
    EXPECT_FALSE(IsValidSjis("\x81"));
    EXPECT_FALSE(IsValidSjis("\xFD\x40"));
    EXPECT_TRUE(IsValidSjis("\x93\x8C\x8B\x9E abc \xB1"));
    EXPECT_TRUE(IsValidSjis(""));
}

TEST(SjisConversion, LongTextsConvertWhole) {
    std::string big;
    for (int i = 0; i < 5000; ++i) {
        big += "\x93\x8C\x8B\x9E";
    }
    EXPECT_EQ(Utf8ToSjis(SjisToUtf8(big)), big);
}

TEST(SjisField, ReadsByOneBasedBytePosition) {
    const std::string line = "YS0000000002024050405";
    EXPECT_EQ(Field(line, 1, 2), "YS");
    EXPECT_EQ(Field(line, 12, 4), "2024");
    EXPECT_EQ(Field(line, 20, 4), "05");  // partly beyond the end
    EXPECT_EQ(Field(line, 22, 2), "");    // wholly beyond the end
    EXPECT_EQ(Field(line, 0, 2), "");
    EXPECT_EQ(Field(line, 3, 0), "");
    EXPECT_EQ(Field("", 1, 5), "");
}

TEST(SjisTrim, RemovesBlanksAndControlsAtBothEndsOnly) {
    EXPECT_EQ(TrimBlanks(" \t\r\n a b \x01"), "a b");
    EXPECT_EQ(TrimBlanks("   "), "");
    // The ideographic space is not a blank here; its own removal is separate.
    EXPECT_EQ(TrimBlanks(" \x81\x40 "), "\x81\x40");
    EXPECT_EQ(ByteWidth("\x93\x8C\x8B\x9E "), 5);
}

}  // namespace
}  // namespace koyomi
