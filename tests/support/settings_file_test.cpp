#include "support/settings_file.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "testing/files.h"
#include "testing/temp_folder.h"

namespace koyomi {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

// The SettingsFile of a program file in a test folder, named as at start-up.
SettingsFile StartedIni(const TempFolder& folder, const char* program = "koyomivw") {
    SettingsFile ini(folder / program);
    ini.Loaded();
    return ini;
}

TEST(SettingsFilePath, StartUpNamesTheFileAfterTheProgramFileInItsFolder) {
    TempFolder folder;
    SettingsFile ini(folder / "koyomivw");
    EXPECT_TRUE(ini.Path().empty());  // nothing until the window has loaded
    EXPECT_EQ(ini.ReadInteger("kikan", "kikan", 7), 7);
    EXPECT_FALSE(ini.WriteInteger("kikan", "kikan", 1).Ok());

    ini.Loaded();
    EXPECT_EQ(ini.FileName(), "koyomivw.ini");
    EXPECT_EQ(ini.Path(), folder / "koyomivw.ini");
    EXPECT_EQ(StartedIni(folder, "prog.v1.exe").Path(), folder / "prog.v1.ini");
}

TEST(SettingsFilePath, AGivenNameIsKeptAtStartUp) {
    TempFolder folder;
    SettingsFile ini(folder / "koyomivw");
    ini.SetFileName("other.ini");
    ini.Loaded();
    EXPECT_EQ(ini.Path(), folder / "other.ini");
}

TEST(SettingsFilePath, BareNamesGoToTheProgramFolderAndPathsStayAsTheyAre) {
    TempFolder folder;
    SettingsFile ini(folder / "koyomivw");
    ini.SetFileName("settings.ini");
    EXPECT_EQ(ini.Path(), folder / "settings.ini");

    ini.SetFileName(folder / "sub" / "x.ini");
    EXPECT_EQ(ini.Path(), folder / "sub" / "x.ini");
    ini.SetFileName("sub/x.ini");
    EXPECT_EQ(ini.Path(), "sub/x.ini");
}

TEST(SettingsFileValues, MissingKeysGiveTheDefaults) {
    TempFolder folder;
    const SettingsFile ini = StartedIni(folder);
    EXPECT_EQ(ini.ReadInteger("kikan", "kikan", 0), 0);
    EXPECT_EQ(ini.ReadInteger("locate", "width", 630), 630);
    EXPECT_EQ(ini.ReadString("JvDataGet", "LastTime", ""), "");
    EXPECT_EQ(ini.ReadString("JvDataGet", "LastTime", "abc"), "abc");
    EXPECT_EQ(ini.ReadString("s", "k", "\"x\""), "\"x\"");  // the default comes back exactly
}

TEST(SettingsFileValues, RoundTrips) {
    TempFolder folder;
    const SettingsFile ini = StartedIni(folder);
    for (int value : {0, 10, -10, 630, INT_MAX, INT_MIN}) {
        ASSERT_TRUE(ini.WriteInteger("locate", "top", value).Ok());
        EXPECT_EQ(ini.ReadInteger("locate", "top", 1), value);
    }
    const std::string sjis = "2024\x94\x4E\x81\x40\xBD\xB9\xBC\xDE\xAD\xB0\xD9";
    ASSERT_TRUE(ini.WriteString("JvDataGet", "LastTime", sjis).Ok());
    EXPECT_EQ(ini.ReadString("JvDataGet", "LastTime", ""), sjis);
    ASSERT_TRUE(ini.WriteString("JvDataGet", "LastTime", "").Ok());
    EXPECT_EQ(ini.ReadString("JvDataGet", "LastTime", "default"), "");  // present but empty
    EXPECT_EQ(ReadBytes(ini.Path()), "[locate]\r\ntop=-2147483648\r\n[JvDataGet]\r\nLastTime=\r\n");
}

TEST(SettingsFileValues, IntegersAreSignedDecimalDigitsThatFit) {
    TempFolder folder;
    const SettingsFile ini = StartedIni(folder);
    const struct {
        const char* stored;
        int expected;
    } cases[] = {
        {"12", 12},
        {"  -7  ", -7},
        {"+5", 5},
        {"007", 7},
        {"-0", 0},
        {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},
        {"2147483648", 99},
        {"-2147483649", 99},
        {"99999999999999999999", 99},
        {"12a", 99},
        {"0x10", 99},
        {"$10", 99},
        {"1 2", 99},
        {"- 1", 99},
        {"-", 99},
        {"", 99},
        {"1.5", 99},
        {"\x82\x50\x82\x51", 99},  // full-width digits
    };
    for (const auto& [stored, expected] : cases) {
        ASSERT_TRUE(ini.WriteString("s", "k", stored).Ok());
        EXPECT_EQ(ini.ReadInteger("s", "k", 99), expected) << "\"" << stored << "\"";
    }
}

TEST(SettingsFileValues, QuotingRuleWorksOnSingleBytes) {
    TempFolder folder;
    const SettingsFile ini = StartedIni(folder);
    const struct {
        std::string stored;
        std::string expected;
    } cases[] = {
        {"\"abc\"", "abc"},
        {"\xA2"
         "abc\xA3",
         "abc"},
        {"\"abc\xA3", "\"abc\xA3"},  // mixed marks stay
        {"\xA2"
         "abc\"",
         "\xA2"
         "abc\""},
        {"\"\"", ""},
        {"\xA2\xA3", ""},
        {"\"", "\""},  // a lone mark stays
        {"\xA2", "\xA2"},
        {"\"a", "\"a"},
        {"a\"", "a\""},
        {"ab", "ab"},
        {"\"\"\"", "\""},
        {"  \"a b\"  ", "a b"},  // blanks around the value go first
        {"\"\x81\x40\"", "\x81\x40"},
        // Ends in the double-byte character 0x82 0xA3, whose second byte counts as ｣.
        {"\xA2\x82\xA3", "\x82"},
    };
    for (const auto& [stored, expected] : cases) {
        ASSERT_TRUE(ini.WriteString("JvDataGet", "LastTime", stored).Ok());
        EXPECT_EQ(ini.ReadString("JvDataGet", "LastTime", "default"), expected) << stored;
    }
}

TEST(SettingsFileValues, EditingKeepsEveryOtherLine) {
    TempFolder folder;
    const SettingsFile ini = StartedIni(folder);
    WriteBytes(
        ini.Path(),
        "; written by hand\n[Locate]\ntop=1\n\n[mine]\nnote=\x93\x8C\x8B\x9E\n[kikan]\nkikan=0");
    ASSERT_TRUE(ini.WriteInteger("locate", "TOP", 300).Ok());
    ASSERT_TRUE(ini.WriteInteger("locate", "left", 40).Ok());
    ASSERT_TRUE(ini.WriteInteger("kikan", "kikan", 1).Ok());
    ASSERT_TRUE(ini.WriteString("JvDataGet", "LastTime", "20240504120000").Ok());
    EXPECT_EQ(ReadBytes(ini.Path()),
              "; written by hand\r\n[Locate]\r\nTOP=300\r\nleft=40\r\n\r\n[mine]\r\n"
              "note=\x93\x8C\x8B\x9E\r\n[kikan]\r\nkikan=1\r\n[JvDataGet]\r\n"
              "LastTime=20240504120000\r\n");
    EXPECT_EQ(ini.ReadInteger("LOCATE", "Top", 0), 300);
}

TEST(SettingsFileValues, BrokenFileGivesDefaultsAndCanBeWritten) {
    TempFolder folder;
    const SettingsFile ini = StartedIni(folder);
    const char broken[] = "\0\xFF\x81[\0]=\0\n\xA2\xA3=\xA2\n[loc\0ate]\ntop=1\n\x81";
    WriteBytes(ini.Path(), std::string(broken, sizeof broken - 1));
    EXPECT_EQ(ini.ReadInteger("locate", "top", 10), 10);
    EXPECT_EQ(ini.ReadString("JvDataGet", "LastTime", ""), "");
    ASSERT_TRUE(ini.WriteInteger("kikan", "kikan", 1).Ok());
    EXPECT_EQ(ini.ReadInteger("kikan", "kikan", 0), 1);
}

TEST(SettingsFileValues, FailedWriteTellsWhereAndWhy) {
    TempFolder folder;
    SettingsFile ini(folder / "gone" / "koyomivw");
    ini.Loaded();
    const Status result = ini.WriteInteger("kikan", "kikan", 1);
    EXPECT_FALSE(result.Ok());
    EXPECT_EQ(result.File(), folder / "gone" / "koyomivw.ini");
    EXPECT_EQ(result.Kind(), FailureKind::NotFound);
    EXPECT_EQ(ini.ReadInteger("kikan", "kikan", 5), 5);
}

}  // namespace
}  // namespace koyomi
