#include "support/open_url.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace koyomi {
namespace {

// A desktop whose two handlers start or fail as told; keeps every request.
class FakeLauncher final : public DesktopLauncher {
  public:
    bool uri_handler_starts = false;
    bool html_handler_starts = false;
    std::vector<std::string> calls;

    Status OpenWithUriHandler(const std::string& uri) override {
        calls.push_back("uri " + uri);
        return uri_handler_starts ? Status() : Fail("no handler for the scheme");
    }
    Status OpenWithHtmlHandler(const std::string& uri) override {
        calls.push_back("html " + uri);
        return html_handler_starts ? Status() : Fail("no HTML handler");
    }
};

const std::string kUrl = "http://example.invalid/koyomi/";

TEST(OpenUrl, OwnHandlerOfTheAddressIsTriedFirst) {
    FakeLauncher launcher;
    launcher.uri_handler_starts = true;
    launcher.html_handler_starts = true;
    EXPECT_TRUE(OpenUrl(launcher, kUrl));
    EXPECT_EQ(launcher.calls, std::vector<std::string>{"uri " + kUrl});
}

TEST(OpenUrl, FallsBackToTheHtmlHandlerWithTheSameAddress) {
    FakeLauncher launcher;
    launcher.html_handler_starts = true;
    EXPECT_TRUE(OpenUrl(launcher, kUrl));
    EXPECT_EQ(launcher.calls, (std::vector<std::string>{"uri " + kUrl, "html " + kUrl}));
}

TEST(OpenUrl, FailsWhenNeitherStartsAndSaysWhy) {
    FakeLauncher launcher;
    const Status opened = OpenUrl(launcher, kUrl);
    ASSERT_FALSE(opened);
    EXPECT_EQ(opened.Reason(), "no handler for the scheme; no HTML handler");
}

}  // namespace
}  // namespace koyomi
