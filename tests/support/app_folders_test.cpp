#include "support/app_folders.h"
#include "support/posix/xdg_user_dirs.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "testing/files.h"
#include "testing/temp_folder.h"

namespace koyomi {
namespace {

namespace fs = std::filesystem;

void Touch(const fs::path& file, const std::string& text = "") {
    testing::WriteBytes(file, text);
}

TEST(AppFolders, PortableCopyKeepsEverythingBesideItself) {
    testing::TempFolder root;
    const fs::path program = root / "koyomivw";
    Touch(program);
    const FolderEnvironment env{root / "home", root / "data", root / "config", {}};

    const AppFolders folders = ChooseAppFolders(program, env);
    EXPECT_TRUE(folders.beside_program);
    EXPECT_EQ(folders.program_folder, root.path());
    EXPECT_EQ(folders.data_folder, root.path());
    EXPECT_EQ(folders.settings_file, root / "koyomivw.ini");
    EXPECT_EQ(folders.documents_folder, root.path());
    ASSERT_TRUE(PrepareAppFolders(folders));
    EXPECT_FALSE(fs::exists(root / "data"));
    EXPECT_FALSE(fs::exists(root / "config"));
}

TEST(AppFolders, InstalledCopyUsesTheUsersFoldersWhateverItMayWrite) {
    testing::TempFolder root;
    fs::create_directories(root / "lib/koyomivw");
    fs::create_directories(root / "home/Dokumente");
    const fs::path program = root / "lib/koyomivw/koyomivw";
    Touch(program);
    Touch(root / "lib/koyomivw" / kInstalledMarkerName);
    ASSERT_TRUE(IsInstalledCopy(root / "lib/koyomivw"));

    // With the XDG variables set.
    FolderEnvironment env{root / "home", root / "data", root / "config", {}};
    AppFolders folders = ChooseAppFolders(program, env);
    EXPECT_FALSE(folders.beside_program);
    EXPECT_EQ(folders.program_folder, root / "lib/koyomivw");
    EXPECT_EQ(folders.data_folder, root / "data/koyomivw");
    EXPECT_EQ(folders.settings_file, root / "config/koyomivw/koyomivw.ini");
    EXPECT_EQ(folders.documents_folder, root / "home");  // no user-dirs.dirs: home

    ASSERT_TRUE(PrepareAppFolders(folders)) << PrepareAppFolders(folders).Reason();
    struct stat info {};
    ASSERT_EQ(::stat((root / "data/koyomivw").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_TRUE(fs::is_directory(root / "config/koyomivw"));
    EXPECT_FALSE(fs::exists(root / "config/koyomivw/koyomivw.ini"));
    EXPECT_TRUE(PrepareAppFolders(folders));  // again: folders already there

    // Defaults below the home folder; relative XDG values count as unset.
    env = {root / "home", "relative/data", {}, {}};
    fs::create_directories(root / "home/.config");
    Touch(root / "home/.config/user-dirs.dirs",
          "# written by xdg-user-dirs-update\nXDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
    folders = ChooseAppFolders(program, env);
    EXPECT_EQ(folders.data_folder, root / "home/.local/share/koyomivw");
    EXPECT_EQ(folders.settings_file, root / "home/.config/koyomivw/koyomivw.ini");
    EXPECT_EQ(folders.documents_folder, root / "home/Dokumente");
    EXPECT_EQ(folders.program_folder, root / "lib/koyomivw");
}

TEST(AppFolders, UnwritablePortableCopyBehavesAsInstalled) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root may write into any folder";
    }
    testing::TempFolder root;
    fs::create_directories(root / "program");
    Touch(root / "program/koyomivw");
    fs::permissions(root / "program", fs::perms::owner_read | fs::perms::owner_exec);
    const AppFolders folders =
        ChooseAppFolders(root / "program/koyomivw", {root / "home", {}, {}, {}});
    fs::permissions(root / "program", fs::perms::owner_all);
    EXPECT_FALSE(folders.beside_program);
    EXPECT_EQ(folders.data_folder, root / "home/.local/share/koyomivw");
}

TEST(AppFolders, FolderThatCannotBeMadeIsNamedWithTheReason) {
    testing::TempFolder root;
    Touch(root / "data");  // a file where the data folder's parent should be
    AppFolders folders = PerUserFolders(root / "koyomivw", {root / "home", root / "data", {}, {}});
    Status made = PrepareAppFolders(folders);
    ASSERT_FALSE(made);
    EXPECT_EQ(made.Reason().rfind((root / "data/koyomivw").string() + ": ", 0), 0u)
        << made.Reason();
    EXPECT_NE(made.Reason().find("Not a directory"), std::string::npos) << made.Reason();
    EXPECT_FALSE(fs::exists(root / "home"));  // the settings folder was not made either

    Touch(root / "config");
    fs::remove(root / "data");
    folders =
        PerUserFolders(root / "koyomivw", {root / "home", root / "data2", root / "config", {}});
    made = PrepareAppFolders(folders);
    ASSERT_FALSE(made);
    EXPECT_EQ(made.Reason().rfind((root / "config/koyomivw").string() + ": ", 0), 0u)
        << made.Reason();

    // No home folder at all: nothing is made relative to the current folder.
    folders = PerUserFolders(root / "koyomivw", {});
    EXPECT_TRUE(folders.data_folder.empty());
    made = PrepareAppFolders(folders);
    ASSERT_FALSE(made);
    EXPECT_NE(made.Reason().find("$HOME"), std::string::npos);
}

TEST(AppFolders, UserDirsFileForms) {
    const fs::path home = "/home/u";
    EXPECT_EQ(UserDirFromText("XDG_DOCUMENTS_DIR=\"$HOME/Documents\"\n", "DOCUMENTS", home),
              fs::path("/home/u/Documents"));
    EXPECT_EQ(UserDirFromText("XDG_DOCUMENTS_DIR=\"/srv/docs\"", "DOCUMENTS", home),
              fs::path("/srv/docs"));
    EXPECT_EQ(UserDirFromText("XDG_DOCUMENTS_DIR=\"$HOME/\"\n", "DOCUMENTS", home), home);
    EXPECT_EQ(
        UserDirFromText("  XDG_DOCUMENTS_DIR=\"$HOME/My \\\"Docs\\\"\"\r\n", "DOCUMENTS", home),
        fs::path("/home/u/My \"Docs\""));
    // The last assignment wins, as when the file is sourced.
    EXPECT_EQ(UserDirFromText("XDG_DOCUMENTS_DIR=\"$HOME/a\"\nXDG_DOCUMENTS_DIR=\"$HOME/b\"",
                              "DOCUMENTS", home),
              fs::path("/home/u/b"));
    EXPECT_FALSE(UserDirFromText("# XDG_DOCUMENTS_DIR=\"$HOME/a\"\n", "DOCUMENTS", home));
    EXPECT_FALSE(UserDirFromText("XDG_DESKTOP_DIR=\"$HOME/Desktop\"", "DOCUMENTS", home));
    EXPECT_FALSE(UserDirFromText("XDG_DOCUMENTS_DIR=\"relative\"", "DOCUMENTS", home));
    EXPECT_FALSE(UserDirFromText("XDG_DOCUMENTS_DIR=\"$HOMEWORK\"", "DOCUMENTS", home));
    EXPECT_FALSE(UserDirFromText("XDG_DOCUMENTS_DIR=$HOME/a", "DOCUMENTS", home));
    EXPECT_FALSE(UserDirFromText("XDG_DOCUMENTS_DIR=\"$HOME/a\"", "DOCUMENTS", fs::path()));
}

}  // namespace
}  // namespace koyomi
