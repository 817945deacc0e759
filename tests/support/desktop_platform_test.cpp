#include "support/desktop_platform.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace koyomi {
namespace {

namespace fs = std::filesystem;

TEST(ExecToCommandLine, FileOrUrlCodeBecomesTheQuotedPlaceholder) {
    EXPECT_EQ(ExecToCommandLine("firefox-esr %u"), "firefox-esr \"%1\"");
    EXPECT_EQ(ExecToCommandLine("chromium %U"), "chromium \"%1\"");
    EXPECT_EQ(ExecToCommandLine("viewer --new %f"), "viewer --new \"%1\"");
    EXPECT_EQ(ExecToCommandLine("viewer %F"), "viewer \"%1\"");
    EXPECT_EQ(ExecToCommandLine("browser --url=%u"), "browser --url=%1");
    EXPECT_EQ(ExecToCommandLine("browser"), "browser");
}

TEST(ExecToCommandLine, OtherFieldCodesAreDroppedAndPercentsKept) {
    EXPECT_EQ(ExecToCommandLine("browser %i %c %k --name=%c %u"), "browser --name= \"%1\"");
    EXPECT_EQ(ExecToCommandLine("app --ratio=100%% %u %d %D %n %N %v %m"),
              "app --ratio=100% \"%1\"");
    EXPECT_EQ(ExecToCommandLine("app %"), "app");
}

TEST(ExecToCommandLine, QuotedArgumentsSurviveTheRoundTrip) {
    const std::optional<std::string> line =
        ExecToCommandLine(R"("/opt/My Browser/browser" "say \"hi\" \\ \$HOME \`x\`" "" %u)");
    ASSERT_TRUE(line);
    EXPECT_EQ(*line, R"("/opt/My Browser/browser" "say \"hi\" \\ $HOME `x`" "" "%1")");
    const std::vector<std::string> expected{"/opt/My Browser/browser", "say \"hi\" \\ $HOME `x`",
                                            "", "%1"};
    EXPECT_EQ(SplitCommandLine(*line), expected);
}

TEST(ExecToCommandLine, BrokenQuotingGivesNothing) {
    EXPECT_EQ(ExecToCommandLine("\"/opt/browser %u"), std::nullopt);
}

TEST(SplitCommandLine, BlanksSeparateOutsideQuotes) {
    const std::vector<std::string> expected{
        R"(C:\Program Files\b.exe)", "-x", "a b", "c\"d", "", "e"};
    EXPECT_EQ(SplitCommandLine(R"(  "C:\Program Files\b.exe"	-x "a b"  c\"d "" e )"), expected);
    EXPECT_TRUE(SplitCommandLine("   ").empty());
    // An address with shell syntax is one plain argument.
    EXPECT_EQ(SplitCommandLine("b http://x.invalid/a;rm${IFS}-rf?q=$(id)|cat"),
              (std::vector<std::string>{"b", "http://x.invalid/a;rm${IFS}-rf?q=$(id)|cat"}));
}

// A temporary folder with the environment of a desktop session that points into it.
class DesktopFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "koyomi-desktop-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        fs::create_directories(root_ / "home/applications");
        fs::create_directories(root_ / "system/applications");
        fs::create_directories(root_ / "bin");
        Save("XDG_DATA_HOME", (root_ / "home").string());
        Save("XDG_DATA_DIRS", (root_ / "system").string());
    }
    void TearDown() override {
        for (const auto& [name, value] : saved_) {
            if (value) {
                setenv(name.c_str(), value->c_str(), 1);
            } else {
                unsetenv(name.c_str());
            }
        }
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }

    void Save(const std::string& name, const std::string& value) {
        const char* old = std::getenv(name.c_str());
        saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        setenv(name.c_str(), value.c_str(), 1);
    }
    void Write(const fs::path& file, const std::string& text, bool executable = false) {
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << text;
        if (executable) {
            chmod(file.c_str(), 0755);
        }
    }
    // A program that writes its arguments one a line to `name` in the folder, then marks
    // that it is done; only shell built-ins, so it runs with any PATH.
    fs::path Recorder(const std::string& name) {
        const fs::path program = root_ / "bin" / ("record-" + name);
        const fs::path out = root_ / name;
        Write(program,
              "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" + out.string() +
                  "'\n: > '" + out.string() + ".done'\n",
              true);
        return program;
    }
    std::optional<std::string> WaitForRecord(const std::string& name) {
        const fs::path out = root_ / name;
        for (int i = 0; i < 1000 && !fs::exists(out.string() + ".done"); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (!fs::exists(out.string() + ".done")) {
            return std::nullopt;
        }
        std::ifstream in(out, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    fs::path root_;
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST_F(DesktopFolder, ApplicationFoldersFollowTheXdgVariables) {
    EXPECT_EQ(ApplicationFolders(),
              (std::vector<fs::path>{root_ / "home/applications", root_ / "system/applications"}));
    unsetenv("XDG_DATA_HOME");
    Save("HOME", "/home/someone");
    Save("XDG_DATA_DIRS", "/a::relative:/b");
    EXPECT_EQ(ApplicationFolders(),
              (std::vector<fs::path>{"/home/someone/.local/share/applications", "/a/applications",
                                     "/b/applications"}));
    unsetenv("XDG_DATA_DIRS");
    EXPECT_EQ(ApplicationFolders(),
              (std::vector<fs::path>{"/home/someone/.local/share/applications",
                                     "/usr/local/share/applications", "/usr/share/applications"}));
}

TEST_F(DesktopFolder, OpenCommandIsTheEntrysExecLine) {
    Write(root_ / "home/applications/fake-browser.desktop",
          "# comment\n[Desktop Entry]\nName=Fake\nTryExec=nothing\nExec = fakebrowser\\s--new %u\n"
          "[Desktop Action private]\nExec=fakebrowser --private %u\n");
    Write(root_ / "system/applications/fake-browser.desktop",
          "[Desktop Entry]\nExec=shadowed %u\n");
    Write(root_ / "system/applications/vendor/other.desktop",
          "[Desktop Action x]\nExec=wrong\n[Desktop Entry]\nExec=other %F\n");
    Write(root_ / "system/applications/noexec.desktop", "[Desktop Entry]\nName=No\n");

    const std::vector<fs::path> folders = ApplicationFolders();
    const ClassesRootEntry browser = DesktopOpenCommand("fake-browser.desktop", folders);
    EXPECT_TRUE(browser.opened);
    EXPECT_EQ(browser.defaultValue, "fakebrowser --new \"%1\"");

    EXPECT_EQ(DesktopOpenCommand("vendor-other.desktop", folders).defaultValue, "other \"%1\"");

    const ClassesRootEntry no_exec = DesktopOpenCommand("noexec.desktop", folders);
    EXPECT_TRUE(no_exec.opened);
    EXPECT_EQ(no_exec.defaultValue, std::nullopt);

    EXPECT_FALSE(DesktopOpenCommand("missing.desktop", folders).opened);
    EXPECT_FALSE(DesktopOpenCommand("../home/applications/fake-browser.desktop", folders).opened);
    EXPECT_FALSE(DesktopOpenCommand("fake-browser", folders).opened);
}

TEST_F(DesktopFolder, RegistryKeysMapToTheDesktopsHtmlHandler) {
    Write(root_ / "home/applications/fake-browser.desktop",
          "[Desktop Entry]\nExec=\"/opt/fake browser\" %u\n");
    Write(root_ / "bin/xdg-mime",
          "#!/bin/sh\n[ \"$*\" = 'query default text/html' ] && echo fake-browser.desktop\n", true);
    Save("PATH", (root_ / "bin").string());

    DesktopPlatform platform;
    std::string type;
    ASSERT_TRUE(ReadClassesRootDefault(platform, ".htm", type));
    EXPECT_EQ(type, "fake-browser.desktop");
    std::string command;
    ASSERT_TRUE(ReadClassesRootDefault(platform, type + "\\shell\\open\\command", command));
    EXPECT_EQ(command, "\"/opt/fake browser\" \"%1\"");
    EXPECT_FALSE(ReadClassesRootDefault(platform, "http\\shell\\open\\command", command));
    EXPECT_FALSE(ReadClassesRootDefault(platform, ".html5", command));

    // No desktop tools at all: nothing is registered.
    Save("PATH", (root_ / "empty").string());
    EXPECT_FALSE(ReadClassesRootDefault(platform, ".htm", type));
}

TEST_F(DesktopFolder, ShellOpenStartsXdgOpenWithTheAddressAsOneArgument) {
    fs::copy_file(Recorder("opened"), root_ / "bin/xdg-open");
    Save("PATH", (root_ / "bin").string());
    const std::string url = "http://x.invalid/a b;touch${IFS}x?q=$(id)&r=`id`";
    DesktopPlatform platform;
    EXPECT_GT(platform.ShellExecuteOpen(url, kShowNormal), 32);
    EXPECT_EQ(WaitForRecord("opened"), url + "\n");

    Save("PATH", (root_ / "empty").string());
    EXPECT_LE(platform.ShellExecuteOpen(url, kShowNormal), 32);
}

TEST_F(DesktopFolder, OpenUrlFallsBackToTheRegisteredBrowser) {
    const fs::path browser = Recorder("browsed");
    Write(root_ / "home/applications/fake-browser.desktop",
          "[Desktop Entry]\nExec=" + browser.string() + " --new-window %u\n");
    Write(root_ / "bin/xdg-mime", "#!/bin/sh\necho fake-browser.desktop\n", true);
    Save("PATH", (root_ / "bin").string());  // holds no xdg-open

    const std::string url = "http://x.invalid/koyomi;$(id)`id`|cat";
    DesktopPlatform platform;
    EXPECT_TRUE(OpenURL(platform, url, kShowNormal));
    EXPECT_EQ(WaitForRecord("browsed"), "--new-window\n" + url + "\n");
}

TEST_F(DesktopFolder, WinExecTellsWhyAProgramDidNotStart) {
    DesktopPlatform platform;
    EXPECT_EQ(platform.WinExec("", kShowNormal), 2u);
    EXPECT_EQ(platform.WinExec("  ", kShowNormal), 2u);
    EXPECT_EQ(platform.WinExec((root_ / "missing").string(), kShowNormal), 2u);
    Write(root_ / "bin/not-executable", "#!/bin/sh\n");
    EXPECT_EQ(platform.WinExec((root_ / "bin/not-executable").string(), kShowNormal), 5u);

    const fs::path recorder = Recorder("run");
    EXPECT_GT(platform.WinExec("\"" + recorder.string() + "\" \"a b\" c\\\"d", kShowNormal), 31u);
    EXPECT_EQ(WaitForRecord("run"), "a b\nc\"d\n");
}

}  // namespace
}  // namespace koyomi
