#include "output/print_file_name.h"

#include <gtest/gtest.h>

#include "support/sjis_text.h"

namespace koyomi {
namespace {

TEST(PrintFileName, ListTitleNamesTheFile) {
    EXPECT_EQ(PrintFileStem(Utf8ToSjis("2024年 スケジュール【ALL】")),
              "2024年 スケジュール【ALL】");
    EXPECT_EQ(PrintPdfPath("/opt/koyomi", Utf8ToSjis("2024年 スケジュール【東京】")),
              std::filesystem::path("/opt/koyomi/2024年 スケジュール【東京】.pdf"));
}

TEST(PrintFileName, CharactersThatFileSystemsRejectBecomeUnderscores) {
    EXPECT_EQ(PrintFileStem("a/b\\c:d*e?f\"g<h>i|j"), "a_b_c_d_e_f_g_h_i_j");
    EXPECT_EQ(PrintFileStem("tab\there\r\nend\x7F"), "tab_here__end_");
    // A title can never climb out of the program folder.
    EXPECT_EQ(PrintPdfPath("/p", "../../etc/x").parent_path(), std::filesystem::path("/p"));
}

TEST(PrintFileName, FullWidthCharactersWhoseSecondByteLooksLikeASeparatorSurvive) {
    // "ソ" is 0x83 0x5C and "表" 0x95 0x5C in code page 932: their second byte is "\".
    const std::string title = Utf8ToSjis("ソフト表");
    ASSERT_NE(title.find('\\'), std::string::npos);
    EXPECT_EQ(PrintFileStem(title), "ソフト表");
}

TEST(PrintFileName, BlanksAndDotsAtTheEndsGo) {
    EXPECT_EQ(PrintFileStem(Utf8ToSjis("　 .title. 　")), "title");
    EXPECT_EQ(PrintFileStem(".hidden"), "hidden");
}

TEST(PrintFileName, NothingUsableGivesTheProgramName) {
    EXPECT_EQ(PrintFileStem(""), "koyomivw");
    EXPECT_EQ(PrintFileStem(Utf8ToSjis(" 　 ")), "koyomivw");
    EXPECT_EQ(PrintFileStem(".."), "koyomivw");
}

TEST(PrintFileName, LongTitlesAreCutAtACharacterBoundary) {
    std::string title;
    for (int i = 0; i < 150; ++i) {
        title += Utf8ToSjis("暦");  // three bytes in UTF-8
    }
    const std::string stem = PrintFileStem(title);
    EXPECT_LE(stem.size(), 200u);
    EXPECT_EQ(stem.size() % 3, 0u);
    EXPECT_EQ(Utf8ToSjis(stem), title.substr(0, stem.size() / 3 * 2));
}

TEST(PrintFileName, BytesThatAreNotShiftJisDoNotBreakTheName) {
    const std::string stem = PrintFileStem(std::string("ab\x81", 3));
    EXPECT_EQ(stem.substr(0, 2), "ab");
    EXPECT_GT(stem.size(), 2u);
}

}  // namespace
}  // namespace koyomi
