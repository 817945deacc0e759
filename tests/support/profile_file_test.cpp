#include "support/profile_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "testing/files.h"
#include "testing/temp_folder.h"

namespace koyomi {
namespace {

using ::testing::ElementsAre;
using testing::FolderNames;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

std::string Value(std::string_view text, std::string_view section, std::string_view key) {
    return std::string(FindProfileValue(text, section, key).value_or("<missing>"));
}

TEST(ProfileText, NamesIgnoreAsciiCaseAndBlanksAroundThem) {
    const std::string text = "[Locate]\r\nTop=12\r\n  left  =  34  \r\n[KIKAN]\r\nkikan=1\r\n";
    EXPECT_EQ(Value(text, "locate", "top"), "12");
    EXPECT_EQ(Value(text, "LOCATE", "LEFT"), "34");
    EXPECT_EQ(Value(text, " locate ", " left "), "34");
    EXPECT_EQ(Value(text, "kikan", "KIKAN"), "1");
    EXPECT_EQ(Value(text, "locate", "kikan"), "<missing>");
    EXPECT_EQ(Value(text, "nowhere", "top"), "<missing>");
}

TEST(ProfileText, DoubleByteNamesCompareExactly) {
    // 0x83 0x41 and 0x83 0x61 differ only in a trail byte that looks like "A" and "a".
    const std::string text = "[\x83\x41]\r\nk=upper\r\n[\x83\x61]\r\nk=lower\r\n";
    EXPECT_EQ(Value(text, "\x83\x41", "k"), "upper");
    EXPECT_EQ(Value(text, "\x83\x61", "k"), "lower");
    // A section name whose trail byte is "]" (0x83 0x5D) is read whole.
    EXPECT_EQ(Value("[x\x83\x5D]\r\nk=v\r\n", "x\x83\x5D", "k"), "v");
}

TEST(ProfileText, FirstSectionAndFirstKeyWin) {
    const std::string text = "[a]\nk=1\nk=2\n[b]\nk=3\n[A]\nk=4\nonly=5\n";
    EXPECT_EQ(Value(text, "a", "k"), "1");
    EXPECT_EQ(Value(text, "a", "only"), "<missing>");  // a later section of that name is ignored
}

TEST(ProfileText, ToleratesLooseAndBrokenText) {
    const std::string text = std::string("stray=0\n\x81\xFF junk line\n[s\n = novalue\n") +
                             std::string("\0\0binary\0", 9) + "\n[s2] trailing\r\nk==v=\r\nlast=9";
    EXPECT_EQ(Value(text, "s2", "k"), "=v=");
    EXPECT_EQ(Value(text, "s2", "last"), "9");  // no line end after the last line
    EXPECT_EQ(Value(text, "s", "k"), "<missing>");
    EXPECT_EQ(Value(text, "", "stray"), "<missing>");  // keys before any section belong nowhere
    EXPECT_EQ(Value("", "s", "k"), "<missing>");
    EXPECT_EQ(Value("[s]\r\nk=\r\n", "s", "k"), "");
}

TEST(ProfileText, WriteReplacesInPlaceAndKeepsEveryOtherLine) {
    const std::string text =
        "; comment\r\n[locate]\r\nTOP = 1\r\nleft=2\r\n\r\n[other]\r\nx=\x93\x8C\x8B\x9E\r\n";
    EXPECT_EQ(WithProfileValue(text, "Locate", "top", "99"),
              "; comment\r\n[locate]\r\ntop=99\r\nleft=2\r\n\r\n[other]\r\nx=\x93\x8C\x8B\x9E\r\n");
}

TEST(ProfileText, WriteAddsTheKeyAtTheEndOfItsSection) {
    const std::string text = "[locate]\r\ntop=1\r\n\r\n[other]\r\nx=1\r\n";
    EXPECT_EQ(WithProfileValue(text, "locate", "width", "630"),
              "[locate]\r\ntop=1\r\nwidth=630\r\n\r\n[other]\r\nx=1\r\n");
    EXPECT_EQ(WithProfileValue("[other]\r\nx=1\r\n[locate]", "locate", "top", "5"),
              "[other]\r\nx=1\r\n[locate]\r\ntop=5\r\n");
}

TEST(ProfileText, WriteAddsTheSectionAtTheEnd) {
    EXPECT_EQ(WithProfileValue("", "kikan", "kikan", "1"), "[kikan]\r\nkikan=1\r\n");
    // LF-only lines and a missing last line end come out with CR LF.
    EXPECT_EQ(WithProfileValue("[a]\nx=1", "kikan", "kikan", "0"),
              "[a]\r\nx=1\r\n[kikan]\r\nkikan=0\r\n");
}

TEST(ProfileText, UsableEntries) {
    EXPECT_TRUE(IsUsableProfileEntry("JvDataGet", "LastTime", "20240504120000"));
    EXPECT_TRUE(IsUsableProfileEntry("\x93\x8C\x8B\x9E", "k", "\x81\x40 \"x\""));
    EXPECT_TRUE(IsUsableProfileEntry("x\x83\x5D", "k", ""));
    EXPECT_FALSE(IsUsableProfileEntry("", "k", "v"));
    EXPECT_FALSE(IsUsableProfileEntry("  ", "k", "v"));
    EXPECT_FALSE(IsUsableProfileEntry("a]b", "k", "v"));
    EXPECT_FALSE(IsUsableProfileEntry("a\x83", "k", "v"));  // cut character swallows the "]"
    EXPECT_FALSE(IsUsableProfileEntry("a\nb", "k", "v"));
    EXPECT_FALSE(IsUsableProfileEntry("s", "", "v"));
    EXPECT_FALSE(IsUsableProfileEntry("s", "a=b", "v"));
    EXPECT_FALSE(IsUsableProfileEntry("s", "[k", "v"));
    EXPECT_FALSE(IsUsableProfileEntry("s", "k", "line\r\nbreak"));
}

TEST(ProfileFile, CreatesTheFileOnFirstWriteAndReadsBack) {
    TempFolder folder;
    const ProfileFile profile(folder / "koyomivw.ini");
    EXPECT_FALSE(profile.Read("locate", "top"));
    EXPECT_FALSE(std::filesystem::exists(profile.Path()));

    ASSERT_TRUE(profile.Write("locate", "top", "10"));
    ASSERT_TRUE(profile.Write("locate", "left", "20"));
    ASSERT_TRUE(profile.Write("JvDataGet", "LastTime", "\x93\x8C\x8B\x9E"));
    ASSERT_TRUE(profile.Write("locate", "top", "11"));
    EXPECT_EQ(ReadBytes(profile.Path()),
              "[locate]\r\ntop=11\r\nleft=20\r\n[JvDataGet]\r\nLastTime=\x93\x8C\x8B\x9E\r\n");
    EXPECT_EQ(profile.Read("LOCATE", "Top"), "11");
    EXPECT_THAT(FolderNames(folder.path()), ElementsAre("koyomivw.ini"));
}

TEST(ProfileFile, BrokenFilesReadAsFarAsTheyGo) {
    TempFolder folder;
    const ProfileFile profile(folder / "broken.ini");
    std::string junk;
    for (unsigned i = 0; i < 4u * 1024 * 1024; ++i) {
        junk += static_cast<char>((i * 239u) & 0xFFu);  // every byte value, NUL and LF included
    }
    WriteBytes(profile.Path(), junk + "\n[kikan]\nkikan=1\n" + junk);
    EXPECT_EQ(profile.Read("kikan", "kikan"), "1");
    EXPECT_FALSE(profile.Read("locate", "top"));

    // An edit keeps the junk lines around the changed one.
    ASSERT_TRUE(profile.Write("kikan", "kikan", "0"));
    EXPECT_EQ(profile.Read("kikan", "kikan"), "0");
    EXPECT_GT(ReadBytes(profile.Path()).size(), 2 * junk.size());
}

TEST(ProfileFile, FailedWritesReportPathAndReasonAndChangeNothing) {
    TempFolder folder;

    const ProfileFile no_folder(folder / "missing" / "koyomivw.ini");
    const Status missing = no_folder.Write("kikan", "kikan", "1");
    EXPECT_FALSE(missing.Ok());
    EXPECT_EQ(missing.File(), no_folder.Path());
    EXPECT_EQ(missing.Kind(), FailureKind::NotFound);

    WriteBytes(folder / "file", "x");
    const Status not_folder =
        ProfileFile(folder / "file" / "koyomivw.ini").Write("kikan", "kikan", "1");
    EXPECT_FALSE(not_folder.Ok());
    EXPECT_FALSE(not_folder.Reason().empty());

    // A folder where the file should be is neither read nor replaced.
    std::filesystem::create_directory(folder / "koyomivw.ini");
    const Status is_folder = ProfileFile(folder / "koyomivw.ini").Write("kikan", "kikan", "1");
    EXPECT_FALSE(is_folder.Ok());
    EXPECT_EQ(is_folder.Kind(), FailureKind::NotRegularFile);
    EXPECT_TRUE(std::filesystem::is_directory(folder / "koyomivw.ini"));

    EXPECT_FALSE(ProfileFile().Write("kikan", "kikan", "1").Ok());
    EXPECT_THAT(FolderNames(folder.path()),
                ::testing::UnorderedElementsAre("file", "koyomivw.ini"));
}

TEST(ProfileFile, RefusesEntriesThatWouldCorruptTheFile) {
    TempFolder folder;
    const ProfileFile profile(folder / "koyomivw.ini");
    WriteBytes(profile.Path(), "[s]\r\nk=1\r\n");
    const Status result = profile.Write("s", "k", "1\r\n[t]\r\nx=2");
    EXPECT_FALSE(result.Ok());
    EXPECT_FALSE(result.Reason().empty());
    EXPECT_EQ(ReadBytes(profile.Path()), "[s]\r\nk=1\r\n");
}

}  // namespace
}  // namespace koyomi
