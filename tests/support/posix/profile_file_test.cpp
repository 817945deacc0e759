#include <sys/stat.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "support/profile_file.h"
#include "testing/files.h"
#include "testing/temp_folder.h"

namespace koyomi {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

TEST(ProfileFile, ReplacingKeepsPermissionsAndSymbolicLinks) {
    TempFolder folder;
    const auto real = folder / "real.ini";
    WriteBytes(real, "[s]\r\nk=1\r\n");
    ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
    std::filesystem::create_symlink(real, folder / "link.ini");

    ASSERT_TRUE(ProfileFile(folder / "link.ini").Write("s", "k", "2"));
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.ini"));
    EXPECT_EQ(ReadBytes(real), "[s]\r\nk=2\r\n");
    struct stat info {};
    ASSERT_EQ(::stat(real.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST(ProfileFile, SomethingOtherThanAFileReadsAsMissing) {
    TempFolder folder;
    const auto pipe = folder / "pipe.ini";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const ProfileFile profile(pipe);
    EXPECT_FALSE(profile.Read("s", "k"));  // would block forever if opened for a plain read
    EXPECT_FALSE(profile.Write("s", "k", "1").Ok());
}

}  // namespace
}  // namespace koyomi
