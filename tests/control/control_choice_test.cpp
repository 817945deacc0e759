#include "control/control_choice.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "acquisition_test_support.h"
#include "control/service/standin_settings.h"

namespace koyomi::testing {
namespace {

// Sets an environment variable for one test and puts the old value back.
class ScopedVariable {
  public:
    ScopedVariable(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        value != nullptr ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedVariable() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

  private:
    const char* name_;
    std::optional<std::string> old_;
};

class ControlChoiceTest : public ::testing::Test {
  protected:
    TempFolder root_;
    ScopedVariable config_{"XDG_CONFIG_HOME", (root_ / "config").c_str()};
    ScopedVariable cache_{"XDG_CACHE_HOME", (root_ / "cache").c_str()};
    ScopedVariable backend_{"JVLINK_BACKEND", nullptr};
    ScopedVariable prefix_{"WINEPREFIX", nullptr};
    std::filesystem::path settings_file_ = root_ / "config" / "koyomivw-jvlink" / "settings.ini";

    void Save(const std::string& backend, const std::filesystem::path& prefix) {
        StandInSettings settings;
        settings.backend = backend;
        settings.wine_prefix = prefix;
        std::string reason;
        ASSERT_TRUE(SaveStandInSettings(settings_file_, settings, reason)) << reason;
    }
};

TEST_F(ControlChoiceTest, EnvironmentOverridesTheSavedChoice) {
    Save("wine", "/saved/prefix");
    const StandInPaths paths = StandInPathsFromEnvironment(root_.path());
    Result<ControlChoice> choice = ChooseControl(paths);
    ASSERT_TRUE(choice) << choice.Reason();
    EXPECT_EQ(choice->backend, ControlBackend::kWine);
    EXPECT_EQ(choice->wine_prefix, "/saved/prefix");

    ScopedVariable backend("JVLINK_BACKEND", "service");
    ScopedVariable prefix("WINEPREFIX", "/env/prefix");
    choice = ChooseControl(paths);
    ASSERT_TRUE(choice) << choice.Reason();
    EXPECT_EQ(choice->backend, ControlBackend::kService);
    EXPECT_EQ(choice->wine_prefix, "/env/prefix");

    ScopedVariable bad("JVLINK_BACKEND", "com");
    EXPECT_EQ(ChooseControl(paths).Reason(), "JVLINK_BACKEND=com: expected service or wine");
}

TEST_F(ControlChoiceTest, WineCreationFailuresSayWhy) {
    ScopedVariable backend("JVLINK_BACKEND", "wine");
    {
        ScopedVariable path("PATH", (root_ / "empty").c_str());
        EXPECT_EQ(CreateControl(root_.path(), {}).Reason(),
                  "wine was not found on PATH (install it with scripts/setup-wine)");
    }
    // A stand-in wine: the host program and the prefix are checked before it would run.
    WriteFile(root_ / "bin" / "wine", "#!/bin/sh\nexit 1\n");
    std::filesystem::permissions(root_ / "bin" / "wine", std::filesystem::perms::owner_all);
    ScopedVariable path("PATH", (root_ / "bin").c_str());
    EXPECT_EQ(CreateControl(root_.path(), {}).Reason(),
              (root_ / "jvlink-host.exe").string() + ": not found");
    WriteFile(root_ / "jvlink-host.exe", "MZ");
    ScopedVariable prefix("WINEPREFIX", (root_ / "no-prefix").c_str());
    EXPECT_EQ(CreateControl(root_.path(), {}).Reason(),
              "no Wine prefix at " + (root_ / "no-prefix").string());
    // A wine that ends at once: the host never greets.
    std::filesystem::create_directories(root_ / "prefix" / "drive_c");
    ScopedVariable real_prefix("WINEPREFIX", (root_ / "prefix").c_str());
    EXPECT_EQ(CreateControl(root_.path(), {}).Reason(),
              "jvlink-host.exe did not start in the Wine prefix " + (root_ / "prefix").string() +
                  ": the host has ended");
}

TEST_F(ControlChoiceTest, ChoosingTheLocalServiceKeepsTheOtherSettings) {
    Save("wine", "/saved/prefix");
    ASSERT_TRUE(ChooseLocalDataService(settings_file_));
    const StandInSettings settings = LoadStandInSettings(settings_file_);
    EXPECT_EQ(settings.backend, "service");
    EXPECT_EQ(settings.wine_prefix, "/saved/prefix");
    Result<std::unique_ptr<JvLink>> link = CreateControl(root_.path(), {});
    EXPECT_TRUE(link) << link.Reason();
}

}  // namespace
}  // namespace koyomi::testing
