#include <gtest/gtest.h>

#include "schedule/year_file.h"
#include "schedule/year_selector.h"
#include "support/user_folders.h"
#include "testing/files.h"
#include "testing/temp_folder.h"
#include "testing/ys_record.h"

namespace koyomi {
namespace {

using testing::TempFolder;
using testing::WriteBytes;

TEST(YearFileLoad, AcceptsMixedLineEndsAndALastLineWithoutEnd) {
    TempFolder folder;
    const std::filesystem::path file = folder.path() / YearFileName("2024");
    WriteBytes(file, "one\r\ntwo\nthree\rfour\r\n\r\nsix");
    auto loaded = LoadYearFile(file);
    ASSERT_TRUE(loaded.Ok()) << loaded.Reason();
    EXPECT_EQ(loaded.Value(), (std::vector<std::string>{"one", "two", "three", "four", "", "six"}));

    WriteBytes(file, "");
    loaded = LoadYearFile(file);
    EXPECT_TRUE(loaded.Ok());
    EXPECT_TRUE(loaded.Value().empty());
}

TEST(YearFileLoad, KeepsBytesThatAreNotShiftJisAndShortLines) {
    TempFolder folder;
    const std::filesystem::path file = folder.path() / YearFileName("2024");
    const std::string odd(
        "YS\x81\xFF\x00\xA0"
        "2024",
        10);
    WriteBytes(file, odd + "\r\nY\r\n");
    auto loaded = LoadYearFile(file);
    ASSERT_TRUE(loaded.Ok()) << loaded.Reason();
    EXPECT_EQ(loaded.Value(), (std::vector<std::string>{odd, "Y"}));
}

TEST(YearFileLoad, ReadsAFileOfManyMegabytesWhole) {
    TempFolder folder;
    const std::filesystem::path file = folder.path() / YearFileName("2024");
    testing::YsRecord record;
    std::string content;
    const int count = 30000;  // about 11 MB
    for (int i = 0; i < count; ++i) {
        std::string line = record.Line();
        line.replace(30, 8, std::to_string(10000000 + i));
        content += line + "\r\n";
    }
    WriteBytes(file, content);
    auto loaded = LoadYearFile(file);
    ASSERT_TRUE(loaded.Ok()) << loaded.Reason();
    ASSERT_EQ(loaded.Value().size(), static_cast<size_t>(count));
    EXPECT_EQ(loaded.Value().back().substr(30, 8), std::to_string(10000000 + count - 1));
}

TEST(YearFileLoad, MissingFileOrFolderUnderTheNameFailsWithReason) {
    TempFolder folder;
    auto missing = LoadYearFile(folder.path() / YearFileName("2024"));
    EXPECT_FALSE(missing.Ok());
    EXPECT_FALSE(missing.Reason().empty());

    std::filesystem::create_directory(folder.path() / YearFileName("2025"));
    auto directory = LoadYearFile(folder.path() / YearFileName("2025"));
    EXPECT_FALSE(directory.Ok());
    EXPECT_FALSE(directory.Reason().empty());
}

TEST(YearFileNames, NameIsTheYearAndHalfWidthKatakanaInUtf8) {
    EXPECT_EQ(YearFileName("2024"), PathFromUtf8("2024年ｽｹｼﾞｭｰﾙ.jvYS"));
    EXPECT_EQ(YearFileDisplayName(PathFromUtf8("/x/2024年ｽｹｼﾞｭｰﾙ.jvYS")), "2024年ｽｹｼﾞｭｰﾙ");
    EXPECT_EQ(YearFileDisplayName(PathFromUtf8("2023年ｽｹｼﾞｭｰﾙ.JVYS")), "2023年ｽｹｼﾞｭｰﾙ");
}

TEST(YearFileListing, FindsExtensionInAnyCaseAndOnlyFiles) {
    TempFolder folder;
    for (const char* name : {"2023年ｽｹｼﾞｭｰﾙ.jvYS", "2025年ｽｹｼﾞｭｰﾙ.JVYS", "2024年ｽｹｼﾞｭｰﾙ.jvys",
                             "notes.txt", "2022年ｽｹｼﾞｭｰﾙ.jvYS.~1a2b3c4d", "jvYS"}) {
        WriteBytes(folder.path() / PathFromUtf8(name), "x\r\n");
    }
    std::filesystem::create_directory(folder.path() / PathFromUtf8("2026年ｽｹｼﾞｭｰﾙ.jvYS"));

    const std::vector<std::filesystem::path> files = ListYearFiles(folder.path());
    EXPECT_EQ(files, (std::vector<std::filesystem::path>{
                         folder.path() / PathFromUtf8("2023年ｽｹｼﾞｭｰﾙ.jvYS"),
                         folder.path() / PathFromUtf8("2024年ｽｹｼﾞｭｰﾙ.jvys"),
                         folder.path() / PathFromUtf8("2025年ｽｹｼﾞｭｰﾙ.JVYS")}));
    for (const std::filesystem::path& file : files) {
        EXPECT_TRUE(LoadYearFile(file).Ok()) << file;
    }
}

TEST(YearFileListing, YearSelectorListsNewestFirstWithoutExtension) {
    TempFolder folder;
    for (const char* year : {"2024", "2023", "2025"}) {
        WriteBytes(folder.path() / YearFileName(year), "");
    }
    WriteBytes(folder.path() / PathFromUtf8("2021年ｽｹｼﾞｭｰﾙ.JvYs"), "");
    // A name code page 932 cannot hold is shown as it is, not as "?".
    WriteBytes(folder.path() / PathFromUtf8("2020年ｽｹｼﾞｭｰﾙ🏇.jvYS"), "");
    const std::vector<YearSelectorItem> items = YearSelectorItems(folder.path());
    ASSERT_EQ(items.size(), 5u);
    const char* expected[] = {"2025年ｽｹｼﾞｭｰﾙ", "2024年ｽｹｼﾞｭｰﾙ", "2023年ｽｹｼﾞｭｰﾙ", "2021年ｽｹｼﾞｭｰﾙ",
                              "2020年ｽｹｼﾞｭｰﾙ🏇"};
    for (size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].text, expected[i]);
        EXPECT_TRUE(std::filesystem::exists(items[i].file)) << items[i].file;
    }
    EXPECT_EQ(PathText(items[3].file.filename()), "2021年ｽｹｼﾞｭｰﾙ.JvYs");
}

TEST(YearFileListing, FolderWithoutYearFilesOrMissingGivesNothing) {
    TempFolder folder;
    EXPECT_TRUE(ListYearFiles(folder.path()).empty());
    EXPECT_TRUE(YearSelectorItems(folder.path() / "missing").empty());
}

TEST(ScheduleLineOrder, FoldsAsciiLetterCaseButNeverASecondByte) {
    EXPECT_TRUE(ScheduleLineLess("YSa", "YSB"));
    EXPECT_FALSE(ScheduleLineLess("YSB", "YSa"));
    EXPECT_FALSE(ScheduleLineLess("abc", "ABC"));
    EXPECT_FALSE(ScheduleLineLess("ABC", "abc"));
    // \x82\x61 and \x82\x42 are two full-width characters; folding their second byte ("a" to
    // "A") would put the first before the second.
    EXPECT_TRUE(ScheduleLineLess("\x82\x42", "\x82\x61"));
    EXPECT_FALSE(ScheduleLineLess("\x82\x61", "\x82\x42"));
    // After a double-byte character, single-byte letters fold again.
    EXPECT_FALSE(ScheduleLineLess("\x82\x42z", "\x82\x42Z"));
    EXPECT_FALSE(ScheduleLineLess("\x82\x42Z", "\x82\x42z"));
}

TEST(ScheduleLineOrder, BytesAreUnsignedAndAPrefixComesFirst) {
    EXPECT_TRUE(ScheduleLineLess("Z", "\xB1"));  // half-width katakana after ASCII
    EXPECT_TRUE(ScheduleLineLess("2024", "20240"));
    EXPECT_FALSE(ScheduleLineLess("", ""));
    EXPECT_TRUE(ScheduleLineLess("YS000000000202405040502031", "YS000000000202405040602011"));
}

}  // namespace
}  // namespace koyomi
