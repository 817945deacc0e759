#include "control/control_choice.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "acquisition/acquisition_test_support.h"
#include "control/service/standin_settings.h"
#include "testing/scripted_jv_link.h"
#include "testing/unprivileged_user.h"

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
        const Status saved = SaveStandInSettings(settings_file_, settings);
        ASSERT_TRUE(saved) << Describe(saved.Error());
    }
};

TEST_F(ControlChoiceTest, EnvironmentOverridesTheSavedChoice) {
    Save("wine", "/saved/prefix");
    const StandInPaths paths = StandInPathsFromEnvironment(root_.path()).Value();
    Result<ControlChoice> choice = ChooseControl(paths);
    ASSERT_TRUE(choice) << choice.Reason();
    EXPECT_EQ(choice->backend, ControlBackend::Wine);
    EXPECT_EQ(choice->wine_prefix, "/saved/prefix");

    ScopedVariable backend("JVLINK_BACKEND", "service");
    ScopedVariable prefix("WINEPREFIX", "/env/prefix");
    choice = ChooseControl(paths);
    ASSERT_TRUE(choice) << choice.Reason();
    EXPECT_EQ(choice->backend, ControlBackend::Service);
    EXPECT_EQ(choice->wine_prefix, "/env/prefix");

    ScopedVariable bad("JVLINK_BACKEND", "com");
    EXPECT_EQ(ChooseControl(paths).Reason(), "JVLINK_BACKEND=com: expected service or wine");
}

// Each cause has its kind, the prefix and whether the environment chose Wine, for the offer
// of the local data service.
TEST_F(ControlChoiceTest, WineCreationFailuresSayWhichCause) {
    ScopedVariable backend("JVLINK_BACKEND", "wine");
    const auto create = [this] { return CreateControl(root_.path(), {}, false).failure; };
    ControlFailure failure;
    {
        ScopedVariable path("PATH", (root_ / "empty").c_str());
        ScopedVariable home("HOME", "/home/someone");
        failure = create();
        EXPECT_EQ(failure.kind, ControlFailureKind::WineNotFound);
        EXPECT_EQ(failure.reason,
                  "wine was not found on PATH (install it with scripts/setup-wine)");
        EXPECT_EQ(failure.wine_prefix, "/home/someone/.wine");
        EXPECT_TRUE(failure.backend_from_environment);
    }
    // A stand-in wine that ends at once.
    WriteBytes(root_ / "bin" / "wine", "#!/bin/sh\nexit 1\n");
    std::filesystem::permissions(root_ / "bin" / "wine", std::filesystem::perms::owner_all);
    ScopedVariable path("PATH", (root_ / "bin").c_str());
    ScopedVariable prefix("WINEPREFIX", (root_ / "no-prefix").c_str());
    failure = create();
    EXPECT_EQ(failure.kind, ControlFailureKind::NoPrefix);
    EXPECT_EQ(failure.reason, "no Wine prefix at " + (root_ / "no-prefix").string());
    EXPECT_EQ(failure.wine_prefix, root_ / "no-prefix");

    std::filesystem::create_directories(root_ / "prefix" / "drive_c");
    ScopedVariable real_prefix("WINEPREFIX", (root_ / "prefix").c_str());
    // A 64-bit prefix whose 32-bit half was left unmade, found before any host starts.
    const std::filesystem::path wow64 = root_ / "prefix" / "drive_c" / "windows" / "syswow64";
    std::filesystem::create_directories(wow64);
    failure = create();
    EXPECT_EQ(failure.kind, ControlFailureKind::IncompleteSyswow64);
    EXPECT_EQ(failure.reason, "no kernel32.dll in " + wow64.string());
    EXPECT_EQ(failure.wine_prefix, root_ / "prefix");
    WriteBytes(wow64 / "kernel32.dll", "MZ");
    failure = create();
    EXPECT_EQ(failure.kind, ControlFailureKind::HostDidNotStart);
    EXPECT_EQ(failure.reason, (root_ / "jvlink-host.exe").string() + ": not found");
    // The host never greets.
    WriteBytes(root_ / "jvlink-host.exe", "MZ");
    failure = create();
    EXPECT_EQ(failure.kind, ControlFailureKind::HostDidNotStart);
    EXPECT_EQ(failure.reason, "jvlink-host.exe did not start in the Wine prefix " +
                                  (root_ / "prefix").string() + ": the host has ended");
    // A greeting whose step is none of the host's own (here "KEY9") is not repeated.
    WriteBytes(root_ / "bin" / "wine",
               "#!/bin/sh\nprintf '\\020\\0\\0\\0\\005\\100\\0\\200\\004\\0\\0\\0"
               "K\\0E\\0Y\\0009\\0'\n");
    failure = create();
    EXPECT_EQ(failure.kind, ControlFailureKind::ControlNotCreated);
    EXPECT_EQ(failure.reason, "creating JV-Link failed in the Wine prefix " +
                                  (root_ / "prefix").string() + " (0x80004005)");
    // Only the 64-bit JV-Link in the prefix: only the 64-bit host can create it, and it needs
    // no 32-bit system files.
    std::filesystem::remove(wow64 / "kernel32.dll");
    WriteBytes(root_ / "prefix" / "system.reg",
               "WINE REGISTRY Version 2\n#arch=win64\n"
               "[Software\\\\Classes\\\\JVDTLab.JVLink\\\\CLSID]\n@=\"{1}\"\n"
               "[Software\\\\Classes\\\\CLSID\\\\{1}\\\\InprocServer32]\n");
    failure = create();
    EXPECT_EQ(failure.kind, ControlFailureKind::Host64DidNotStart);
    EXPECT_EQ(failure.reason, (root_ / "jvlink-host64.exe").string() + ": not found");
}

// Wine refuses a prefix that is not the user's own; said so before any host is started.
TEST_F(ControlChoiceTest, PrefixOfAnotherUserIsNamedAsSuch) {
    if (!RunsAsRoot()) {
        GTEST_SKIP() << "only root can give a folder to another user";
    }
    WriteBytes(root_ / "bin" / "wine", "#!/bin/sh\nexit 1\n");
    std::filesystem::permissions(root_ / "bin" / "wine", std::filesystem::perms::owner_all);
    std::filesystem::create_directories(root_ / "prefix" / "drive_c");
    GiveToUnprivilegedUser(root_ / "prefix");
    ScopedVariable backend("JVLINK_BACKEND", "wine");
    ScopedVariable path("PATH", (root_ / "bin").c_str());
    ScopedVariable prefix("WINEPREFIX", (root_ / "prefix").c_str());
    const ControlFailure failure = CreateControl(root_.path(), {}, false).failure;
    EXPECT_EQ(failure.kind, ControlFailureKind::PrefixOfAnotherUser);
    EXPECT_EQ(failure.reason, (root_ / "prefix").string() + " belongs to user id " +
                                  std::to_string(kUnprivilegedUser) + ", not to this user (0)");
    EXPECT_EQ(failure.wine_prefix, root_ / "prefix");
}

TEST_F(ControlChoiceTest, SavedWineChoiceFailsWithoutEnvironmentAndLocalChoiceOverridesIt) {
    Save("wine", root_ / "no-prefix");
    ScopedVariable path("PATH", (root_ / "empty").c_str());
    ControlCreation creation = CreateControl(root_.path(), {}, false);
    ASSERT_FALSE(creation.link);
    EXPECT_EQ(creation.failure.kind, ControlFailureKind::WineNotFound);
    EXPECT_EQ(creation.failure.wine_prefix, root_ / "no-prefix");
    EXPECT_FALSE(creation.failure.backend_from_environment);

    // Chosen during this run: the local data service, even where JVLINK_BACKEND says Wine.
    ScopedVariable backend("JVLINK_BACKEND", "wine");
    creation = CreateControl(root_.path(), {}, true);
    ASSERT_TRUE(creation.link) << creation.failure.reason;
    EXPECT_NE(dynamic_cast<StandInJVLink*>(creation.link.get()), nullptr);
}

TEST_F(ControlChoiceTest, ChoosingTheLocalServiceKeepsTheOtherSettings) {
    Save("wine", "/saved/prefix");
    ASSERT_TRUE(ChooseLocalDataService(settings_file_));
    const StandInSettings settings = LoadStandInSettings(settings_file_);
    EXPECT_EQ(settings.backend, "service");
    EXPECT_EQ(settings.wine_prefix, "/saved/prefix");
    const ControlCreation creation = CreateControl(root_.path(), {}, false);
    EXPECT_TRUE(creation.link) << creation.failure.reason;
}

// Under Wine JVSetUIProperties shows the library's dialog; the control's own result counts
// only when the dialog's button reached it.
TEST(ControlWithSettingsDialogTest, ReturnsTheControlsResultOnlyWhenTheButtonWasUsed) {
    auto scripted = std::make_unique<ScriptedJVLink>();
    scripted->set_ui_result = -100;
    ScriptedJVLink& control = *scripted;
    bool press_button = false;
    std::filesystem::path shown_for;
    ControlWithSettingsDialog link(
        std::move(scripted), "/config/settings.ini",
        [&](const std::filesystem::path& settings_file, const std::function<int()>& open) {
            shown_for = settings_file;
            return press_button ? open() : 0;
        });
    EXPECT_EQ(link.JVSetUIProperties(), 0);
    EXPECT_EQ(control.set_ui_calls, 0);
    EXPECT_EQ(shown_for, "/config/settings.ini");
    press_button = true;
    EXPECT_EQ(link.JVSetUIProperties(), -100);
    EXPECT_EQ(control.set_ui_calls, 1);

    // Without a dialog (no Qt) the control's own dialog is all there is.
    auto bare = std::make_unique<ScriptedJVLink>();
    bare->set_ui_result = 7;
    EXPECT_EQ(ControlWithSettingsDialog(std::move(bare), {}, {}).JVSetUIProperties(), 7);
}

}  // namespace
}  // namespace koyomi::testing
