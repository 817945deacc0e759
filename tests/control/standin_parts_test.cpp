// The stand-in control's parts: its INI files, settings, paths, fault plan, file names and
// record splitting.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <optional>
#include <string>

#include "acquisition/acquisition_test_support.h"
#include "control/service/fault_plan.h"
#include "control/service/ini_sections.h"
#include "control/service/service_files.h"
#include "control/service/service_records.h"
#include "control/service/standin_paths.h"
#include "control/service/standin_settings.h"
#include "control/service/text_file.h"

namespace koyomi::testing {
namespace {

StandInSettings ServiceSettings(const std::filesystem::path& folder, int ms_per_file) {
    StandInSettings settings;
    settings.service_folder = folder;
    settings.ms_per_file = ms_per_file;
    return settings;
}

// Sets an environment variable for one test and puts the old value back.
class ScopedVariable {
  public:
    ScopedVariable(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        if (value != nullptr) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedVariable() {
        if (old_) {
            setenv(name_, old_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

  private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(IniSections, ReadsSectionsAndKeysIgnoringCaseAndComments) {
    const IniSections sections = ParseIniText(
        "ignored=before any section\r\n; comment\r\n[JVRead]\r\n after = 100 \r\n"
        "# another\r\nresult=-403\r\nno equals sign\r\n[broken\r\nresult=1\r\n[Download]\n"
        "MS_PER_FILE=0\nms_per_file=5\n");
    EXPECT_EQ(IniInteger(sections, "jvread", "AFTER"), 100);
    EXPECT_EQ(IniInteger(sections, "JVRead", "result"), -403);
    EXPECT_EQ(IniInteger(sections, "download", "ms_per_file"), 5);  // the last one counts
    EXPECT_EQ(sections.size(), 2u);
    EXPECT_EQ(IniValue(sections, "JVRead", "missing"), std::nullopt);
}

TEST(IniSections, IntegersMustBeWholeNumbers) {
    const IniSections sections = ParseIniText("[n]\na=12x\nb=\nc=+7\nd=+-7\ne=99999999999\nf=-0\n");
    EXPECT_EQ(IniInteger(sections, "n", "a"), std::nullopt);
    EXPECT_EQ(IniInteger(sections, "n", "b"), std::nullopt);
    EXPECT_EQ(IniInteger(sections, "n", "c"), 7);
    EXPECT_EQ(IniInteger(sections, "n", "d"), std::nullopt);
    EXPECT_EQ(IniInteger(sections, "n", "e"), std::nullopt);
    EXPECT_EQ(IniInteger(sections, "n", "f"), 0);
}

TEST(FaultPlan, ReadsEveryOperationAndTheDownloadTime) {
    const FaultPlan plan = ParseFaultPlan(
        "[JVInit]\nresult=-101\n[JVSetUIProperties]\nresult=-100\n[JVOpen]\nresult=-504\n"
        "[JVStatus]\nafter=2\nresult=-502\n[JVRead]\nafter=100\nresult=-403\n"
        "[JVClose]\nresult=-1\n[download]\nms_per_file=0\n");
    ASSERT_TRUE(plan.jv_init && plan.jv_set_ui_properties && plan.jv_open && plan.jv_status &&
                plan.jv_read && plan.jv_close && plan.ms_per_file);
    EXPECT_EQ(plan.jv_init->result, -101);
    EXPECT_EQ(plan.jv_set_ui_properties->result, -100);
    EXPECT_EQ(plan.jv_open->result, -504);
    EXPECT_EQ(plan.jv_status->after, 2);
    EXPECT_EQ(plan.jv_status->result, -502);
    EXPECT_EQ(plan.jv_read->after, 100);
    EXPECT_EQ(plan.jv_close->result, -1);
    EXPECT_EQ(*plan.ms_per_file, 0);
}

TEST(FaultPlan, SectionsWithoutAResultAreNoFaultsButMayStillShowTheControlsWindow) {
    const FaultPlan plan = ParseFaultPlan(
        "[JVRead]\nafter=3\n[JVStatus]\nresult=oops\n[download]\nms_per_file=-5\n"
        "[JVOpen]\ndialog_ms=1500\n[JVClose]\ndialog_ms=-1\n[JVInit]\nresult=-101\ndialog_ms=0\n");
    EXPECT_FALSE(plan.jv_read);
    EXPECT_FALSE(plan.jv_status);
    EXPECT_FALSE(plan.ms_per_file);
    EXPECT_FALSE(plan.jv_open);
    ASSERT_TRUE(plan.jv_init);
    EXPECT_EQ(plan.jv_init->result, -101);
    const std::map<std::string, int, std::less<>> expected = {{"JVInit", 0}, {"JVOpen", 1500}};
    EXPECT_EQ(plan.dialog_ms, expected);
}

TEST(FaultPlan, MissingOrUnreadableFileIsAnEmptyPlan) {
    TempFolder folder;
    EXPECT_FALSE(LoadFaultPlan(folder.path()).jv_open);
    std::filesystem::create_directory(folder / "faults.ini");  // a folder, not a file
    EXPECT_FALSE(LoadFaultPlan(folder.path()).jv_open);
}

TEST(StandInSettings, SaveAndLoadRoundTripWithLimits) {
    TempFolder folder;
    const std::filesystem::path file = folder / "deep" / "settings.ini";
    EXPECT_EQ(LoadStandInSettings(file).ms_per_file, kDefaultMsPerFile);
    EXPECT_TRUE(LoadStandInSettings(file).service_folder.empty());

    ASSERT_TRUE(SaveStandInSettings(file, ServiceSettings("/data/jv service", 75)));
    StandInSettings loaded = LoadStandInSettings(file);
    EXPECT_EQ(loaded.service_folder, "/data/jv service");
    EXPECT_EQ(loaded.ms_per_file, 75);

    ASSERT_TRUE(SaveStandInSettings(file, ServiceSettings("/a\nb", 999999)));
    loaded = LoadStandInSettings(file);
    EXPECT_EQ(loaded.service_folder, "/ab");
    EXPECT_EQ(loaded.ms_per_file, kLongestMsPerFile);
}

TEST(StandInSettings, TypedDownloadTimeIsAWholeNumberWithinTheLimit) {
    EXPECT_EQ(ParseMsPerFile(" 250 ").Value(), 250);
    EXPECT_EQ(ParseMsPerFile("60000").Value(), 60000);
    EXPECT_EQ(ParseMsPerFile("0").Value(), 0);
    for (const char* typed : {"", "60001", "-1", "2.5", "12ms", "9999999"}) {
        const Result<int> parsed = ParseMsPerFile(typed);
        ASSERT_FALSE(parsed) << typed;
        EXPECT_EQ(parsed.Reason(),
                  "1ファイルのダウンロード時間は 0 から 60000 までのミリ秒で入力してください。");
    }
}

TEST(StandInSettings, UnwritableFileIsReported) {
    TempFolder folder;
    WriteBytes(folder / "blocker", "a file where a folder should be");
    const Status saved = SaveStandInSettings(folder / "blocker" / "settings.ini", {});
    ASSERT_FALSE(saved);
    EXPECT_EQ(saved.File(), folder / "blocker");
    EXPECT_FALSE(saved.Reason().empty());
}

TEST(StandInPaths, ComeFromTheXdgFoldersOrTheHomeFolder) {
    ScopedVariable config("XDG_CONFIG_HOME", "/tmp/xdg-config");
    ScopedVariable cache("XDG_CACHE_HOME", "/tmp/xdg-cache");
    ScopedVariable service("JVLINK_SERVICE_DIR", nullptr);
    StandInPaths paths = StandInPathsFromEnvironment("/opt/koyomivw").Value();
    EXPECT_EQ(paths.settings_file, "/tmp/xdg-config/koyomivw-jvlink/settings.ini");
    EXPECT_EQ(paths.cache_root, "/tmp/xdg-cache/koyomivw-jvlink");
    EXPECT_EQ(paths.bundled_service, "/opt/koyomivw/sample-service");
    EXPECT_TRUE(paths.service_override.empty());

    ScopedVariable relative_config("XDG_CONFIG_HOME", "relative/config");
    ScopedVariable no_cache("XDG_CACHE_HOME", nullptr);
    ScopedVariable home("HOME", "/home/tester");
    paths = StandInPathsFromEnvironment("/opt/koyomivw").Value();
    EXPECT_EQ(paths.settings_file, "/home/tester/.config/koyomivw-jvlink/settings.ini");
    EXPECT_EQ(paths.cache_root, "/home/tester/.cache/koyomivw-jvlink");
}

TEST(StandInPaths, WithoutAnAbsoluteHomeOnlyXdgFoldersWillDo) {
    for (const char* home : {"", "relative/home"}) {
        StandInEnvironment environment{home, "/xdg/config", "", ""};
        const Result<StandInPaths> paths = StandInPathsFor(environment, "/opt/koyomivw");
        ASSERT_FALSE(paths) << home;
        EXPECT_EQ(paths.Reason(), "$HOME: ホームフォルダが分かりません");
        environment.config_home = "";
        environment.cache_home = "/xdg/cache";
        EXPECT_FALSE(StandInPathsFor(environment, "/opt/koyomivw")) << home;
        environment.config_home = "/xdg/config";
        const Result<StandInPaths> both = StandInPathsFor(environment, "/opt/koyomivw");
        ASSERT_TRUE(both) << home;
        EXPECT_EQ(both->cache_root, "/xdg/cache/koyomivw-jvlink");
    }
}

// A portable copy needs no home folder and leaves nothing outside its own folder.
TEST(StandInPaths, BesideTheProgramEverythingStaysBelowItsFolder) {
    const StandInEnvironment environment{"", "/xdg/config", "/xdg/cache", "/srv/jv"};
    const StandInPaths paths = StandInPathsBesideProgram(environment, "/usb/koyomivw");
    EXPECT_EQ(paths.settings_file, "/usb/koyomivw/koyomivw-jvlink/settings.ini");
    EXPECT_EQ(paths.cache_root, "/usb/koyomivw/koyomivw-jvlink/downloads");
    EXPECT_EQ(paths.bundled_service, "/usb/koyomivw/sample-service");
    EXPECT_EQ(paths.service_override, "/srv/jv");
}

TEST(StandInPaths, ServiceFolderOrderIsVariableThenSettingThenBundled) {
    ScopedVariable service("JVLINK_SERVICE_DIR", "/srv/jv");
    StandInPaths paths = StandInPathsFromEnvironment("/opt/koyomivw").Value();
    EXPECT_EQ(ServiceFolder(paths, "/chosen"), "/srv/jv");
    paths.service_override.clear();
    EXPECT_EQ(ServiceFolder(paths, "/chosen"), "/chosen");
    EXPECT_EQ(ServiceFolder(paths, ""), "/opt/koyomivw/sample-service");
}

TEST(ServiceFiles, NamesAreDataspecAndFourteenDigits) {
    const auto file = ParseServiceFileName("YSCH20260105093000.jvd");
    ASSERT_TRUE(file);
    EXPECT_EQ(file->dataspec, "YSCH");
    EXPECT_EQ(file->created, "20260105093000");
    EXPECT_TRUE(ParseServiceFileName("YSCH20260105093000.JVD"));
    EXPECT_FALSE(ParseServiceFileName("ysch20260105093000.jvd"));
    EXPECT_FALSE(ParseServiceFileName("YSCH2026010509300.jvd"));
    EXPECT_FALSE(ParseServiceFileName("YSCH2026010509300x.jvd"));
    EXPECT_FALSE(ParseServiceFileName("YSCH20260105093000.txt"));
    EXPECT_FALSE(ParseServiceFileName("YSCH20260105093000.jvd.part"));
}

TEST(ServiceFiles, DataspecsAreKnownFourLetterIds) {
    EXPECT_EQ(ParseDataSpec(u"YSCH"), (std::vector<std::string>{"YSCH"}));
    EXPECT_EQ(ParseDataSpec(u"RACEYSCHRACE"), (std::vector<std::string>{"RACE", "YSCH"}));
    EXPECT_FALSE(ParseDataSpec(u"YSCHA"));
    EXPECT_FALSE(ParseDataSpec(u"ＹＳＣＨ"));
    EXPECT_FALSE(ParseDataSpec(u"ABCD"));
}

TEST(ServiceRecords, SplitAtLineEndsSkippingEmptyLines) {
    EXPECT_EQ(SplitServiceRecords("a\r\nb\nc"), (std::vector<std::string_view>{"a", "b", "c"}));
    EXPECT_EQ(SplitServiceRecords("\r\n\n\r\na\r\n\r\n"), (std::vector<std::string_view>{"a"}));
    EXPECT_TRUE(SplitServiceRecords("").empty());
    EXPECT_EQ(SplitServiceRecords(std::string_view("a\0b\n", 4)),
              (std::vector<std::string_view>{std::string_view("a\0b", 3)}));
}

TEST(TextFile, ReadsOnlyRegularFilesWithinTheLimit) {
    TempFolder folder;
    WriteBytes(folder / "small", "12345");
    const Result<std::string> whole = ReadRegularFile(folder / "small", 5);
    ASSERT_TRUE(whole);
    EXPECT_EQ(*whole, "12345");
    EXPECT_FALSE(ReadRegularFile(folder / "small", 4));
    EXPECT_FALSE(ReadRegularFile(folder.path(), 100));
    const Result<std::string> missing = ReadRegularFile(folder / "missing", 100);
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.File(), folder / "missing");
}

}  // namespace
}  // namespace koyomi::testing
