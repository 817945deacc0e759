#include "support/open_url.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace koyomi {
namespace {

// A shell and registry held in memory; keeps every call.
class FakeShell final : public ShellPlatform {
  public:
    std::intptr_t shell_result = 2;
    unsigned exec_result = 33;
    std::map<std::string, ClassesRootEntry> keys;
    std::vector<std::string> calls;

    std::intptr_t ShellExecuteOpen(const std::string& target, int show_mode) override {
        calls.push_back("open " + target + " " + std::to_string(show_mode));
        return shell_result;
    }
    ClassesRootEntry ReadClassesRootKey(const std::string& subkey) override {
        calls.push_back("key " + subkey);
        const auto found = keys.find(subkey);
        return found == keys.end() ? ClassesRootEntry{} : found->second;
    }
    unsigned WinExec(const std::string& command_line, int show_mode) override {
        calls.push_back("exec " + command_line + " " + std::to_string(show_mode));
        return exec_result;
    }

    void RegisterBrowser(const std::string& command) {
        keys[".htm"] = {true, "htmlfile"};
        keys["htmlfile\\shell\\open\\command"] = {true, command};
    }
};

const std::string kUrl = "http://example.invalid/koyomi/";

TEST(RemoveDocumentPlaceholder, HandlesTheFourForms) {
    EXPECT_EQ(RemoveDocumentPlaceholder(R"("C:\Browser\browser.exe" "%1")"),
              R"("C:\Browser\browser.exe")");
    EXPECT_EQ(RemoveDocumentPlaceholder(R"(C:\Browser\browser.exe %1)"),
              R"(C:\Browser\browser.exe)");
    EXPECT_EQ(RemoveDocumentPlaceholder(R"(C:\Browser\browser.exe -nohome)"),
              R"(C:\Browser\browser.exe -nohome)");
    EXPECT_EQ(RemoveDocumentPlaceholder("%1"), "%1");
    EXPECT_EQ(RemoveDocumentPlaceholder("\"%1\" -x"), "\"%1\" -x");
}

TEST(RemoveDocumentPlaceholder, TakesOnlyTheFirstAndPrefersTheQuotedForm) {
    EXPECT_EQ(RemoveDocumentPlaceholder("b %1 -x \"%1\""), "b %1 -x");
    EXPECT_EQ(RemoveDocumentPlaceholder("b %1 %1"), "b %1");
    // The character before is removed whatever it is.
    EXPECT_EQ(RemoveDocumentPlaceholder("b --url=%1"), "b --url");
    EXPECT_EQ(RemoveDocumentPlaceholder("b \"%1\" -new"), "b -new");
}

TEST(OpenURL, ShellOpenIsTriedFirst) {
    FakeShell shell;
    shell.shell_result = 33;
    shell.RegisterBrowser("browser %1");
    EXPECT_TRUE(OpenURL(shell, kUrl, kShowNormal));
    EXPECT_EQ(shell.calls, std::vector<std::string>{"open " + kUrl + " 5"});
}

TEST(OpenURL, FallsBackToTheBrowserRegisteredForHtm) {
    const std::pair<std::string, std::string> cases[] = {
        {R"("C:\Browser\browser.exe" "%1")", R"("C:\Browser\browser.exe" )"},
        {R"(C:\Browser\browser.exe %1)", R"(C:\Browser\browser.exe )"},
        {R"(C:\Browser\browser.exe)", R"(C:\Browser\browser.exe )"},
        {"%1", "%1 "},
    };
    for (const auto& [registered, started] : cases) {
        FakeShell shell;
        shell.shell_result = 32;  // 32 is not yet success
        shell.RegisterBrowser(registered);
        EXPECT_TRUE(OpenURL(shell, kUrl, kShowNormal)) << registered;
        const std::vector<std::string> expected{"open " + kUrl + " 5", "key .htm",
                                                "key htmlfile\\shell\\open\\command",
                                                "exec " + started + kUrl + " 5"};
        EXPECT_EQ(shell.calls, expected);
    }
}

TEST(OpenURL, FailsWhenNothingCanStart) {
    FakeShell no_type;
    EXPECT_FALSE(OpenURL(no_type, kUrl, kShowNormal));
    EXPECT_EQ(no_type.calls.size(), 2u);

    FakeShell no_command;
    no_command.keys[".htm"] = {true, "htmlfile"};
    EXPECT_FALSE(OpenURL(no_command, kUrl, kShowNormal));
    EXPECT_EQ(no_command.calls.back(), "key htmlfile\\shell\\open\\command");

    FakeShell not_started;
    not_started.RegisterBrowser("browser %1");
    not_started.exec_result = 31;
    EXPECT_FALSE(OpenURL(not_started, kUrl, kShowNormal));
    not_started.exec_result = 32;
    EXPECT_TRUE(OpenURL(not_started, kUrl, kShowNormal));
}

TEST(ReadClassesRootDefault, ReadsUpToTheFirstNul) {
    FakeShell shell;
    shell.keys["k"] = {true, std::string("abc\0def", 7)};
    std::string value = "old";
    EXPECT_TRUE(ReadClassesRootDefault(shell, "k", value));
    EXPECT_EQ(value, "abc");
}

TEST(ReadClassesRootDefault, UnreadableValueComesOutEmpty) {
    FakeShell shell;
    shell.keys["k"] = {true, std::nullopt};
    std::string value = "old";
    EXPECT_TRUE(ReadClassesRootDefault(shell, "k", value));
    EXPECT_EQ(value, "");
}

TEST(ReadClassesRootDefault, MissingKeyLeavesTheValueAlone) {
    FakeShell shell;
    std::string value = "old";
    EXPECT_FALSE(ReadClassesRootDefault(shell, "k", value));
    EXPECT_EQ(value, "old");
}

TEST(OpenURL, EmptyRegisteredCommandStillGetsTheAddress) {
    FakeShell shell;
    shell.keys[".htm"] = {true, "htmlfile"};
    shell.keys["htmlfile\\shell\\open\\command"] = {true, std::nullopt};
    OpenURL(shell, kUrl, kShowNormal);
    EXPECT_EQ(shell.calls.back(), "exec  " + kUrl + " 5");
}

}  // namespace
}  // namespace koyomi
