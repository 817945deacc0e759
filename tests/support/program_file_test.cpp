#include "support/program_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/settings_file.h"
#include "testing/files.h"
#include "testing/temp_folder.h"

namespace koyomi {
namespace {

using testing::ReadBytes;
using testing::TempFolder;

constexpr const char* kChildVariable = "KOYOMI_SETTINGS_CHILD";

TEST(ProgramFile, IsTheRunningExecutable) {
    const std::filesystem::path program = ProgramFilePath();
    ASSERT_FALSE(program.empty());
    EXPECT_TRUE(program.is_absolute());
    EXPECT_TRUE(std::filesystem::is_regular_file(program));
    EXPECT_EQ(program.filename(), "support_tests");
    EXPECT_EQ(program_folder_(), program.parent_path());
}

TEST(ProgramFile, FolderHasNoTrailingSeparator) {
    EXPECT_EQ(ProgramFolderOf("/opt/koyomi/koyomivw").native(), "/opt/koyomi");
    EXPECT_EQ(ProgramFolderOf("koyomivw").native(), "");
    EXPECT_EQ(ProgramFolderOf("").native(), "");
}

// Run by the next test inside a copy of this program: writes through a SettingsFile
// named as at start-up, so the copy's own settings file name shows where it went.
TEST(ProgramFileChild, WritesItsSettingsBesideItself) {
    if (std::getenv(kChildVariable) == nullptr) {
        GTEST_SKIP() << "runs only inside a copy of the test program";
    }
    SettingsFile ini;
    ini.Loaded();
    ASSERT_TRUE(ini.WriteString("child", "program", ProgramFilePath().filename().string()).Ok());
}

TEST(ProgramFile, ACopyUnderAnotherNameUsesItsOwnSettingsFile) {
    TempFolder folder;
    const auto copy = folder / "koyomi copy";
    std::filesystem::copy_file(ProgramFilePath(), copy);
    const std::string command = std::string(kChildVariable) + "=1 '" + copy.string() +
                                "' --gtest_filter=ProgramFileChild.* >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(ReadBytes(folder / "koyomi copy.ini"), "[child]\r\nprogram=koyomi copy\r\n");
    EXPECT_FALSE(std::filesystem::exists(program_folder_() / "support_tests.ini"));
}

}  // namespace
}  // namespace koyomi
