#include <gtest/gtest.h>

#include "support/app_folders.h"
#include "testing/files.h"
#include "testing/temp_folder.h"

namespace koyomi {
namespace {

namespace fs = std::filesystem;

TEST(KnownFolders, InstalledCopyKeepsItsDataInTheRoamingFolderAndSaysSoInUtf8) {
    // A folder name outside every ANSI code page but Japanese, so that a path through code
    // page 932 or 1252 would show.
    testing::TempFolder root(reinterpret_cast<const char*>(u8"暦 ①"));
    const fs::path program = root / "Program Files" / "koyomivw" / "koyomivw.exe";
    testing::WriteBytes(program, "");
    testing::WriteBytes(program.parent_path() / kInstalledMarkerName, "");
    fs::create_directories(root / "Documents");
    FolderEnvironment env;
    env.roaming_app_data = root / "AppData" / "Roaming";
    env.documents = root / "Documents";
    env.home = root.path();

    const AppFolders folders = ChooseAppFolders(program, env);
    EXPECT_FALSE(folders.beside_program);
    EXPECT_EQ(folders.data_folder, root / "AppData" / "Roaming" / "koyomivw");
    EXPECT_EQ(folders.settings_file, root / "AppData" / "Roaming" / "koyomivw" / "koyomivw.ini");
    EXPECT_EQ(folders.documents_folder, root / "Documents");
    ASSERT_TRUE(PrepareAppFolders(folders)) << PrepareAppFolders(folders).Reason();
    EXPECT_TRUE(fs::is_directory(folders.data_folder));
    EXPECT_FALSE(fs::exists(folders.settings_file));
    EXPECT_NE(FoldersText(folders).find(reinterpret_cast<const char*>(u8"暦 ①")), std::string::npos)
        << FoldersText(folders);

    // Without the marker the copy keeps everything beside itself.
    fs::remove(program.parent_path() / kInstalledMarkerName);
    EXPECT_TRUE(ChooseAppFolders(program, env).beside_program);
}

TEST(KnownFolders, FolderThatCannotBeMadeIsNamedWithTheReason) {
    testing::TempFolder root;
    testing::WriteBytes(root / "Roaming", "a file where the roaming folder should be");
    FolderEnvironment env;
    env.roaming_app_data = root / "Roaming";
    const Status made = PrepareAppFolders(PerUserFolders(root / "koyomivw.exe", env));
    ASSERT_FALSE(made);
    EXPECT_EQ(made.Reason().rfind((root / "Roaming" / "koyomivw").string() + ": ", 0), 0u)
        << made.Reason();
    EXPECT_EQ(testing::ReadBytes(root / "Roaming"), "a file where the roaming folder should be");

    // No roaming folder known: nothing is made relative to the current folder.
    EXPECT_FALSE(PrepareAppFolders(PerUserFolders(root / "koyomivw.exe", {})));
}

TEST(KnownFolders, TheProcessGetsTheUsersOwnFolders) {
    const FolderEnvironment env = FolderEnvironmentOfProcess();
    EXPECT_TRUE(env.roaming_app_data.is_absolute()) << env.roaming_app_data;
    EXPECT_TRUE(env.documents.is_absolute()) << env.documents;
}

}  // namespace
}  // namespace koyomi
