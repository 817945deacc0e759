#include "support/help_pages.h"

#include <gtest/gtest.h>

#include <vector>

#include "testing/files.h"
#include "testing/temp_folder.h"

namespace koyomi {
namespace {

// Records what the help layer asks of the desktop; every request fails unless told otherwise.
class RecordingLauncher final : public DesktopLauncher {
  public:
    bool uri_handler_starts = false;
    std::vector<std::string> opened;       // through the address's own handler
    std::vector<std::string> html_opened;  // through the HTML handler, which always starts

    Status OpenWithUriHandler(const std::string& uri) override {
        opened.push_back(uri);
        return uri_handler_starts ? Status() : Fail("no handler");
    }
    Status OpenWithHtmlHandler(const std::string& uri) override {
        html_opened.push_back(uri);
        return {};
    }
};

class HelpPagesTest : public ::testing::Test {
  protected:
    testing::TempFolder scratch_{"koyomi-help "};
    const std::filesystem::path& folder_ = scratch_.path();
};

TEST(FileUrl, EncodesEverythingButPlainPathCharacters) {
    EXPECT_EQ(FileUrl("/opt/koyomi-vw_1.0~/index.html"), "file:///opt/koyomi-vw_1.0~/index.html");
    EXPECT_EQ(FileUrl("/a b/#1%/x?y"), "file:///a%20b/%231%25/x%3Fy");
    EXPECT_EQ(FileUrl(std::filesystem::path(u8"/暦/")), "file:///%E6%9A%A6/");
}

TEST(HelpPages, ShippedPagesLieInTheirFoldersBesideTheProgram) {
    EXPECT_EQ(HtmlHelpContentsPath("/p"), std::filesystem::path("/p/koyomivw-help/index.html"));
    EXPECT_EQ(HomePagePath("/p"), std::filesystem::path("/p/koyomivw-home/index.html"));
    EXPECT_EQ(HomePageUrl("/my programs"), "file:///my%20programs/koyomivw-home/index.html");
}

TEST_F(HelpPagesTest, CompiledHelpFileIsOpenedWhenPresent) {
    const std::filesystem::path chm = folder_ / kHelpFileName;
    testing::WriteBytes(chm, "ITSF");
    RecordingLauncher launcher;
    launcher.uri_handler_starts = true;
    EXPECT_TRUE(OpenHelpContents(launcher, chm));
    EXPECT_EQ(launcher.opened, std::vector<std::string>{FileUrl(chm)});
}

TEST_F(HelpPagesTest, WithoutCompiledHelpTheHtmlContentsOpen) {
    RecordingLauncher launcher;
    launcher.uri_handler_starts = true;
    EXPECT_TRUE(OpenHelpContents(launcher, folder_ / kHelpFileName));
    EXPECT_EQ(launcher.opened,
              std::vector<std::string>{FileUrl(folder_ / "koyomivw-help" / "index.html")});
    EXPECT_NE(launcher.opened[0].find("koyomi-help%20"), std::string::npos);
}

TEST_F(HelpPagesTest, HtmlHelpFallsBackToTheHtmlHandler) {
    RecordingLauncher launcher;  // the page's own handler fails
    EXPECT_TRUE(OpenHelpContents(launcher, folder_ / kHelpFileName));
    EXPECT_EQ(launcher.html_opened,
              std::vector<std::string>{FileUrl(HtmlHelpContentsPath(folder_))});
}

TEST_F(HelpPagesTest, CompiledHelpThatNoProgramOpensIsAFailure) {
    const std::filesystem::path chm = folder_ / kHelpFileName;
    testing::WriteBytes(chm, "ITSF");
    RecordingLauncher launcher;
    EXPECT_FALSE(OpenHelpContents(launcher, chm));
    EXPECT_TRUE(launcher.html_opened.empty());
}

TEST_F(HelpPagesTest, AFolderNamedLikeTheHelpFileIsNotTheHelp) {
    std::filesystem::create_directories(folder_ / kHelpFileName);
    RecordingLauncher launcher;
    launcher.uri_handler_starts = true;
    EXPECT_TRUE(OpenHelpContents(launcher, folder_ / kHelpFileName));
    EXPECT_EQ(launcher.opened, std::vector<std::string>{FileUrl(HtmlHelpContentsPath(folder_))});
}

}  // namespace
}  // namespace koyomi
