#include "support/help_pages.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <vector>

namespace koyomi {
namespace {

// Records what the help layer asks of the desktop; every request fails unless told otherwise.
class RecordingShell final : public ShellPlatform {
  public:
    std::intptr_t shell_result = 2;
    std::vector<std::string> opened;
    std::vector<std::string> started;

    std::intptr_t ShellExecuteOpen(const std::string& target, int show_mode) override {
        EXPECT_EQ(show_mode, kShowNormal);
        opened.push_back(target);
        return shell_result;
    }
    ClassesRootEntry ReadClassesRootKey(const std::string& subkey) override {
        if (subkey == ".htm") {
            return {true, std::string("browser.desktop")};
        }
        if (subkey == "browser.desktop\\shell\\open\\command") {
            return {true, std::string("browser \"%1\"")};
        }
        return {};
    }
    unsigned WinExec(const std::string& command_line, int) override {
        started.push_back(command_line);
        return 33;
    }
};

class HelpPagesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::random_device random;
        folder_ = std::filesystem::temp_directory_path() /
                  ("koyomi-help " + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::filesystem::path folder_;
};

TEST(FileUrl, EncodesEverythingButPlainPathCharacters) {
    EXPECT_EQ(FileUrl("/opt/koyomi-vw_1.0~/index.html"), "file:///opt/koyomi-vw_1.0~/index.html");
    EXPECT_EQ(FileUrl("/a b/#1%/x?y"), "file:///a%20b/%231%25/x%3Fy");
    EXPECT_EQ(FileUrl("/暦/"), "file:///%E6%9A%A6/");
}

TEST(HelpPages, ShippedPagesLieInTheirFoldersBesideTheProgram) {
    EXPECT_EQ(HtmlHelpContentsPath("/p"), std::filesystem::path("/p/koyomivw-help/index.html"));
    EXPECT_EQ(HomePagePath("/p"), std::filesystem::path("/p/koyomivw-home/index.html"));
    EXPECT_EQ(HomePageUrl("/my programs"), "file:///my%20programs/koyomivw-home/index.html");
}

TEST_F(HelpPagesTest, CompiledHelpFileIsOpenedWhenPresent) {
    const std::filesystem::path chm = folder_ / kHelpFileName;
    std::ofstream(chm) << "ITSF";
    RecordingShell shell;
    shell.shell_result = 42;
    EXPECT_TRUE(OpenHelpContents(shell, chm));
    EXPECT_EQ(shell.opened, std::vector<std::string>{chm.string()});
}

TEST_F(HelpPagesTest, WithoutCompiledHelpTheHtmlContentsOpen) {
    RecordingShell shell;
    shell.shell_result = 42;
    EXPECT_TRUE(OpenHelpContents(shell, folder_ / kHelpFileName));
    EXPECT_EQ(shell.opened,
              std::vector<std::string>{FileUrl(folder_ / "koyomivw-help" / "index.html")});
    EXPECT_NE(shell.opened[0].find("koyomi-help%20"), std::string::npos);
}

TEST_F(HelpPagesTest, HtmlHelpFallsBackToTheRegisteredBrowser) {
    RecordingShell shell;  // the shell's "open" fails
    EXPECT_TRUE(OpenHelpContents(shell, folder_ / kHelpFileName));
    EXPECT_EQ(shell.started,
              std::vector<std::string>{"browser " + FileUrl(HtmlHelpContentsPath(folder_))});
}

TEST_F(HelpPagesTest, CompiledHelpThatNoProgramOpensIsAFailure) {
    const std::filesystem::path chm = folder_ / kHelpFileName;
    std::ofstream(chm) << "ITSF";
    RecordingShell shell;
    EXPECT_FALSE(OpenHelpContents(shell, chm));
    EXPECT_TRUE(shell.started.empty());
}

TEST_F(HelpPagesTest, AFolderNamedLikeTheHelpFileIsNotTheHelp) {
    std::filesystem::create_directories(folder_ / kHelpFileName);
    RecordingShell shell;
    shell.shell_result = 42;
    OpenHelpContents(shell, folder_ / kHelpFileName);
    EXPECT_EQ(shell.opened, std::vector<std::string>{FileUrl(HtmlHelpContentsPath(folder_))});
}

}  // namespace
}  // namespace koyomi
