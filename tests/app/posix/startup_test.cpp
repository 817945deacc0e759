// The start-up before any window on Linux: the boxes that end it, and the control that proved
// JV-Link present kept for the window.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/startup.h"
#include "testing/built_program.h"
#include "testing/files.h"
#include "testing/scoped_variable.h"
#include "testing/temp_folder.h"

namespace koyomi {
namespace {

using testing::TempFolder;

class RecordingPresenter final : public MessagePresenter {
  public:
    std::vector<std::string> boxes;  // "beep" for a beep, else the box's text
    void Beep() override { boxes.push_back("beep"); }
    DialogResult ShowModal(const MessageBoxRequest& request) override {
        boxes.push_back(request.text);
        return DialogResult::Ok;
    }
};

// Without the control's library the user is told to install JV-Link, and the program ends; a
// data folder that cannot be made ends it before, with its own box and exit code.
TEST(Startup, EndsWithTheInstallBoxOrTheFolderBox) {
    TempFolder folder;
    const std::filesystem::path program = folder.path() / "portable" / "koyomivw";
    std::filesystem::create_directories(program.parent_path());
    const FolderEnvironment env{folder.path() / "home", {}, {}, {}};
    RecordingPresenter presenter;
    const Startup without_control = StartProgram(program, env, presenter);
    EXPECT_EQ(without_control.control, nullptr);
    EXPECT_EQ(without_control.exit_code, 0);
    EXPECT_EQ(
        presenter.boxes,
        (std::vector<std::string>{
            "beep", "JRA-VANのホームページより【JV-Link】を入手し、インストールしてください。"}));

    // An installed copy keeps its data below the home, here a file in the folder's place.
    testing::WriteBytes(program.parent_path() / std::string(kInstalledMarkerName), "");
    testing::WriteBytes(folder.path() / "home", "not a folder");
    presenter.boxes.clear();
    const Startup without_folder = StartProgram(program, env, presenter);
    EXPECT_EQ(without_folder.exit_code, 1);
    ASSERT_EQ(presenter.boxes.size(), 1u);
    EXPECT_EQ(presenter.boxes[0].rfind("データフォルダを作成できません。\n", 0), 0u);
}

// Under Wine every control object is a host process of its own: the control that proved
// JV-Link present is the window's, so one program start starts one host.
TEST(Startup, StartsOneWineHost) {
    TempFolder folder;
    const std::filesystem::path program = folder.path() / "portable" / "koyomivw";
    std::filesystem::create_directories(folder.path() / "prefix" / "drive_c");
    testing::WriteBytes(program.parent_path() / "jvlink-host.exe", "MZ");
    std::filesystem::create_symlink(testing::BuiltProgramFolder() / "libjvlink.so",
                                    program.parent_path() / "libjvlink.so");
    // A wine that counts its starts, greets with JV-Link created and ends with its input.
    const std::filesystem::path wine = folder.path() / "bin" / "wine";
    testing::WriteBytes(wine,
                        "#!/bin/sh\necho start >>\"$0.starts\"\n"
                        "printf '\\010\\0\\0\\0\\0\\0\\0\\0\\0\\0\\0\\0'\n"
                        "exec cat >/dev/null\n");
    std::filesystem::permissions(wine, std::filesystem::perms::owner_all);
    testing::ScopedVariable path("PATH", (wine.parent_path().string() + ":/usr/bin:/bin").c_str());
    testing::ScopedVariable backend("JVLINK_BACKEND", "wine");
    testing::ScopedVariable prefix("WINEPREFIX", (folder.path() / "prefix").c_str());
    testing::ScopedVariable config("XDG_CONFIG_HOME", (folder.path() / "config").c_str());
    testing::ScopedVariable cache("XDG_CACHE_HOME", (folder.path() / "cache").c_str());

    RecordingPresenter presenter;
    Startup started = StartProgram(program, {folder.path() / "home", {}, {}, {}}, presenter);
    EXPECT_NE(started.control, nullptr);
    EXPECT_TRUE(presenter.boxes.empty());
    started.control.reset();
    EXPECT_EQ(testing::ReadBytes(folder.path() / "bin" / "wine.starts"), "start\n");
}

}  // namespace
}  // namespace koyomi
