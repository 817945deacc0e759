#include "acquisition/jv_link_loader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "acquisition/acquisition_test_support.h"
#include "control/service/standin_settings.h"
#include "support/app_folders.h"

namespace koyomi::testing {
namespace {

using ::testing::HasSubstr;

// The control's settings in a folder of the test's own, so that no choice saved by another run
// decides which control serves; the program is an installed copy, which keeps them there.
class WindowsLoaderTest : public ::testing::Test {
  protected:
    TempFolder root_;
    std::filesystem::path program_ = root_ / "program";

    void SetUp() override {
        Set("APPDATA", (root_ / "roaming").string());
        Set("LOCALAPPDATA", (root_ / "local").string());
        Set("JVLINK_SERVICE_DIR", (root_ / "service").string());
        WriteBytes(program_ / std::string(kInstalledMarkerName), "");
    }
    void TearDown() override {
        for (const auto& [name, value] : saved_) {
            _putenv_s(name.c_str(), value ? value->c_str() : "");
        }
    }

    std::filesystem::path SettingsFile() const {
        return root_ / "roaming" / "koyomivw-jvlink" / "settings.ini";
    }

  private:
    void Set(const std::string& name, const std::string& value) {
        const char* old = std::getenv(name.c_str());
        saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        _putenv_s(name.c_str(), value.c_str());
    }

    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST_F(WindowsLoaderTest, AProgIdNotRegisteredIsJVLinkNotInstalled) {
    const JVLinkCreation creation = CreateJVLinkObject("KoyomiTest.NotRegistered", program_);
    EXPECT_EQ(creation.link, nullptr);
    EXPECT_EQ(creation.failure.kind, ControlFailureKind::NotInstalled);
    EXPECT_THAT(creation.failure.reason, HasSubstr("CLSIDFromProgID(KoyomiTest.NotRegistered)"));
    EXPECT_EQ(creation.reason, creation.failure.reason);
}

// The choice is saved beside the control's other settings, and from then on the local data
// service serves whether or not JV-Link is registered.
TEST_F(WindowsLoaderTest, TheSavedLocalDataServiceServes) {
    WriteBytes(SettingsFile(), "[download]\nms_per_file=0\n");
    WriteBytes(root_ / "service" / "YSCH20260105093000.jvd", "YS one\r\n");
    ASSERT_TRUE(UseLocalDataService(program_));
    EXPECT_THAT(ReadBytes(SettingsFile()), HasSubstr("backend=service"));
    EXPECT_THAT(ReadBytes(SettingsFile()), HasSubstr("ms_per_file=0"));

    JVLinkCreation creation = CreateJVLinkObject(kJVLinkProgId, program_);
    ASSERT_NE(creation.link, nullptr) << creation.reason;
    JVLink& link = *creation.link;
    ASSERT_EQ(link.JVInit(u"SA100200/SD300400/KoyomiVw/Ver.1.02"), 0);
    int read_count = 0;
    int download_count = 0;
    std::u16string timestamp;
    ASSERT_EQ(link.JVOpen(u"YSCH", u"20161210210000", 3, read_count, download_count, timestamp), 0);
    EXPECT_EQ(read_count, 1);
    EXPECT_EQ(timestamp, u"20260105093000");
    EXPECT_EQ(link.JVClose(), 0);
}

// The chosen folder is kept as UTF-8, whatever the system's code page can hold.
TEST_F(WindowsLoaderTest, TheLocalDataServiceServesAChosenFolderOfAnyName) {
    const std::filesystem::path folder = root_ / std::filesystem::path(u8"データ 📅");
    WriteBytes(folder / "YSCH20260105093000.jvd", "YS one\r\n");
    StandInSettings settings;
    settings.service_folder = folder;
    settings.ms_per_file = 0;
    ASSERT_TRUE(SaveStandInSettings(SettingsFile(), settings));
    ASSERT_TRUE(UseLocalDataService(program_));
    _putenv_s("JVLINK_SERVICE_DIR", "");

    JVLinkCreation creation = CreateJVLinkObject(kJVLinkProgId, program_);
    ASSERT_NE(creation.link, nullptr) << creation.reason;
    ASSERT_EQ(creation.link->JVInit(u"SA100200/SD300400/KoyomiVw/Ver.1.02"), 0);
    int read_count = 0;
    int download_count = 0;
    std::u16string timestamp;
    EXPECT_EQ(
        creation.link->JVOpen(u"YSCH", u"20161210210000", 3, read_count, download_count, timestamp),
        0);
    EXPECT_EQ(read_count, 1);
}

TEST_F(WindowsLoaderTest, AnUnusableSettingsFolderIsAFailure) {
    WriteBytes(root_ / "roaming" / "koyomivw-jvlink", "a file where the folder belongs");
    EXPECT_FALSE(UseLocalDataService(program_));
}

// A copy that keeps its data beside itself keeps the local data service's choice there too.
TEST_F(WindowsLoaderTest, APortableCopyKeepsTheChoiceBesideItself) {
    const std::filesystem::path portable = root_ / "portable";
    std::filesystem::create_directories(portable);
    ASSERT_TRUE(UseLocalDataService(portable));
    EXPECT_THAT(ReadBytes(portable / "koyomivw-jvlink" / "settings.ini"),
                HasSubstr("backend=service"));
    EXPECT_FALSE(std::filesystem::exists(SettingsFile()));
    EXPECT_NE(CreateJVLinkObject(kJVLinkProgId, portable).link, nullptr);
}

// Run only after the test control has been registered in the prefix.
TEST_F(WindowsLoaderTest, RegisteredControlIsCreatedInProcess) {
    JVLinkCreation creation = CreateJVLinkObject(kJVLinkProgId, program_);
    ASSERT_NE(creation.link, nullptr) << creation.reason;
    EXPECT_EQ(creation.link->JVInit(u"SA100200/SD300400/KoyomiVw/Ver.1.02"), 0);
    EXPECT_EQ(creation.link->JVClose(), 0);
    // A second object beside the first, as the presence probe and the window have them.
    JVLinkCreation second = CreateJVLinkObject(kJVLinkProgId, program_);
    EXPECT_NE(second.link, nullptr) << second.reason;
}

}  // namespace
}  // namespace koyomi::testing
