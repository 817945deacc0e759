#include "acquisition/jv_link_loader.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>

#include "acquisition/acquisition_test_support.h"
#include "testing/built_program.h"

namespace koyomi::testing {
namespace {

TEST(JVLinkLoader, MissingLibraryFails) {
    TempFolder folder;
    const JVLinkCreation creation = CreateJVLinkObject(kJVLinkProgId, folder.path());
    EXPECT_EQ(creation.link, nullptr);
    EXPECT_NE(creation.reason.find("libjvlink.so"), std::string::npos);
}

TEST(JVLinkLoader, LibraryThatDoesNotLoadFails) {
    TempFolder folder;
    WriteBytes(folder / "libjvlink.so", "this is not a shared library");
    EXPECT_EQ(CreateJVLinkObject(kJVLinkProgId, folder.path()).link, nullptr);
    std::filesystem::remove(folder / "libjvlink.so");
    std::filesystem::create_directory(folder / "libjvlink.so");
    EXPECT_EQ(CreateJVLinkObject(kJVLinkProgId, folder.path()).link, nullptr);
}

TEST(JVLinkLoader, LibraryWithoutTheFactoryFails) {
    const JVLinkCreation creation =
        CreateJVLinkObject(kJVLinkProgId, KOYOMI_TEST_WITHOUT_FACTORY_DIR);
    EXPECT_EQ(creation.link, nullptr);
    EXPECT_NE(creation.reason.find(kJVLinkFactoryName), std::string::npos) << creation.reason;
}

TEST(JVLinkLoader, OtherProgIdIsNotRegistered) {
    EXPECT_EQ(CreateJVLinkObject("JVDTLab.control_settings_action_", BuiltProgramFolder()).link,
              nullptr);
}

// The built control, loaded as the program loads it, on a temporary service and user folders.
class LoadedStandInTest : public ::testing::Test {
  protected:
    TempFolder root_;

    void SetUp() override {
        Set("XDG_CONFIG_HOME", (root_ / "config").string());
        Set("XDG_CACHE_HOME", (root_ / "cache").string());
        Set("JVLINK_SERVICE_DIR", (root_ / "service").string());
        WriteBytes(root_ / "service" / "YSCH20260105093000.jvd", "YS one\r\nYS two\r\n");
        WriteBytes(root_ / "service" / "faults.ini", "[download]\nms_per_file=0\n");
    }
    void TearDown() override {
        for (const auto& [name, value] : saved_) {
            if (value) {
                setenv(name.c_str(), value->c_str(), 1);
            } else {
                unsetenv(name.c_str());
            }
        }
    }

    void Set(const std::string& name, const std::string& value) {
        const char* old = std::getenv(name.c_str());
        saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        setenv(name.c_str(), value.c_str(), 1);
    }

  private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST_F(LoadedStandInTest, ServesTheServiceNamedByTheEnvironment) {
    JVLinkCreation creation = CreateJVLinkObject(kJVLinkProgId, BuiltProgramFolder());
    ASSERT_NE(creation.link, nullptr) << creation.reason;
    JVLink& link = *creation.link;
    ASSERT_EQ(link.JVInit(u"SA100200/SD300400/KoyomiVw/Ver.1.02"), 0);
    int read_count = 0;
    int download_count = 0;
    std::u16string timestamp;
    ASSERT_EQ(link.JVOpen(u"YSCH", u"20161210210000", 3, read_count, download_count, timestamp), 0);
    EXPECT_EQ(read_count, 1);
    EXPECT_EQ(download_count, 1);
    EXPECT_EQ(timestamp, u"20260105093000");
    int status = 0;
    for (int attempt = 0; attempt < 10000 && status == 0; ++attempt) {
        status = link.JVStatus();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_EQ(status, 1);
    std::u16string buffer;
    std::u16string name;
    int size = kJVReadBufferSize;
    EXPECT_EQ(link.JVRead(buffer, size, name), 8);
    EXPECT_EQ(buffer, u"YS one\r\n");
    EXPECT_EQ(link.JVClose(), 0);
    EXPECT_TRUE(std::filesystem::exists(root_ / "cache" / "koyomivw-jvlink"));

    // No QApplication here: the settings dialog is not shown.
    EXPECT_EQ(link.JVSetUIProperties(), 0);
}

TEST_F(LoadedStandInTest, ProbeAndWindowObjectsLiveSideBySide) {
    JVLinkCreation probe = CreateJVLinkObject(kJVLinkProgId, BuiltProgramFolder());
    JVLinkCreation window = CreateJVLinkObject(kJVLinkProgId, BuiltProgramFolder());
    ASSERT_NE(probe.link, nullptr);
    ASSERT_NE(window.link, nullptr);
    probe.link.reset();  // releasing the probe keeps the library for the other object
    EXPECT_EQ(window.link->JVInit(u"SA100200/SD300400/KoyomiVw/Ver.1.02"), 0);
    EXPECT_EQ(window.link->JVClose(), 0);
}

// The cause crosses the library boundary, and the switch to the local data service holds for
// the rest of the run even where JVLINK_BACKEND asks for Wine (the library stays loaded).
TEST_F(LoadedStandInTest, WineFailureNamesItsCauseAndTheLocalServiceTakesOver) {
    Set("JVLINK_BACKEND", "wine");
    Set("WINEPREFIX", (root_ / "prefix").string());
    Set("PATH", (root_ / "empty").string());
    const JVLinkCreation failed = CreateJVLinkObject(kJVLinkProgId, BuiltProgramFolder());
    ASSERT_EQ(failed.link, nullptr);
    EXPECT_EQ(failed.failure.kind, ControlFailureKind::WineNotFound);
    EXPECT_EQ(failed.failure.wine_prefix, root_ / "prefix");
    EXPECT_TRUE(failed.failure.backend_from_environment);
    EXPECT_EQ(failed.failure.reason,
              "wine was not found on PATH (install it with scripts/setup-wine)");
    // So do the kinds of the prefix checks.
    WriteBytes(root_ / "bin" / "wine", "#!/bin/sh\nexit 1\n");
    std::filesystem::permissions(root_ / "bin" / "wine", std::filesystem::perms::owner_all);
    std::filesystem::create_directories(root_ / "prefix" / "drive_c" / "windows" / "syswow64");
    Set("PATH", (root_ / "bin").string());
    EXPECT_EQ(CreateJVLinkObject(kJVLinkProgId, BuiltProgramFolder()).failure.kind,
              ControlFailureKind::IncompleteSyswow64);

    ASSERT_TRUE(UseLocalDataService(BuiltProgramFolder()));
    EXPECT_NE(CreateJVLinkObject(kJVLinkProgId, BuiltProgramFolder()).link, nullptr);
    EXPECT_NE(
        ReadBytes(root_ / "config" / "koyomivw-jvlink" / "settings.ini").find("backend=service"),
        std::string::npos);
}

TEST(JVLinkLoader, UseLocalDataServiceNeedsTheLibrarysSwitch) {
    TempFolder folder;
    EXPECT_FALSE(UseLocalDataService(folder.path()));
    EXPECT_FALSE(UseLocalDataService(KOYOMI_TEST_WITHOUT_FACTORY_DIR));
}

}  // namespace
}  // namespace koyomi::testing
