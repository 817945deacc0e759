// The program folder failing under a fetch or a list: a year file replaced by a folder, the
// folder vanishing, a year file vanishing between listing and loading, a full disk (a file
// size limit) and a folder the program may not write. Each gives a box that names the file
// and the reason, no crash, and every line stored before stays.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "acquisition/jv_link_loader.h"
#include "codes/jv_result_text.h"
#include "schedule/schedule_list.h"
#include "schedule/year_selector.h"
#include "session_rig.h"
#include "testing/unprivileged_user.h"

namespace koyomi::reliability {
namespace {

constexpr std::string_view kEarlierLastTime = "2020/01/01 00:00:00";
constexpr std::string_view kNewestLastTime = "2026/12/05 15:00:00";

std::string YearFileErrorBox(const fs::path& file, int error) {
    return "年間スケジュールファイルを更新できませんでした。データの取得を中止します。\n" +
           file.string() + "\n" + std::strerror(error);
}

// Index of the first delivered record of `year`.
size_t FirstRecordOf(const std::vector<std::string>& records, std::string_view year) {
    for (size_t i = 0; i < records.size(); ++i) {
        const auto line = model::ScheduleLineOf(records[i]);
        if (line && model::LineYear(*line) == year) {
            return i;
        }
    }
    return records.size();
}

TEST(ProgramFolderFault, AYearFileReplacedByAFolderStopsTheFetchWithItsName) {
    SessionRig rig;
    const std::vector<std::string> records = DeliveredRecords(rig.service);
    const fs::path folder_in_place = rig.program / YearFileName("2026");
    fs::create_directory(folder_in_place);
    ASSERT_TRUE(rig.settings.WriteString("JvDataGet", "LastTime", kEarlierLastTime));

    ASSERT_EQ(rig.session.InitControl("Ver.1.02"), 0);
    rig.Fetch();
    EXPECT_EQ(rig.view.Boxes(),
              (std::vector<std::string>{OpeningBox(), YearFileErrorBox(folder_in_place, EISDIR)}));
    EXPECT_EQ(rig.link.close_calls, 1);
    EXPECT_EQ(rig.LastTime(), kEarlierLastTime);
    const FetchModel model({}, records);
    EXPECT_TRUE(YearFilesIn(rig.program) == model.TextsAfter(FirstRecordOf(records, "2026")));
    EXPECT_TRUE(fs::is_directory(folder_in_place) && fs::is_empty(folder_in_place));

    // The year selector leaves the folder out, and loading it fails and changes nothing.
    std::vector<std::string> listed;
    for (const YearSelectorItem& item : YearSelectorItems(rig.program)) {
        listed.push_back(item.file.filename().string());
    }
    EXPECT_EQ(listed, std::vector<std::string>{YearFileName("2025").string()});
    ScheduleListModel list;
    ASSERT_TRUE(LoadYearAndBuildFullList(list, rig.program / YearFileName("2025"),
                                         Period::AllMonths, rig.clock)
                    .Ok());
    const ScheduleListModel shown = list;
    const auto failed =
        LoadYearAndBuildFullList(list, folder_in_place, Period::AllMonths, rig.clock);
    EXPECT_FALSE(failed.Ok());
    EXPECT_EQ(failed.Reason(), std::strerror(EISDIR));
    EXPECT_EQ(list.schedule_lines, shown.schedule_lines);
    EXPECT_EQ(list.grid.RowCount(), shown.grid.RowCount());
    EXPECT_EQ(list.title, shown.title);
}

TEST(ProgramFolderFault, AFolderThatVanishesMidFetchStopsItAndNothingIsWrittenElsewhere) {
    SessionRig rig;
    rig.view.on_pending_events = [&rig] {
        if (rig.link.read_calls == 300) {
            fs::remove_all(rig.program);
        }
    };
    ASSERT_EQ(rig.session.InitControl("Ver.1.02"), 0);
    rig.Fetch();
    // The store that found no folder, then the flush of the files stored before, which are gone.
    ASSERT_EQ(rig.view.Boxes().size(), 3u) << ::testing::PrintToString(rig.view.Boxes());
    const std::string box = rig.view.Boxes()[1];
    EXPECT_TRUE(box.starts_with(
        "年間スケジュールファイルを更新できませんでした。データの取得を中止します。\n" +
        rig.program.string() + "/"))
        << box;
    EXPECT_TRUE(box.ends_with(std::strerror(ENOENT))) << box;
    EXPECT_TRUE(
        rig.view.Boxes()[2].starts_with("年間スケジュールファイルをディスクに書き込めません"
                                        "でした。\n" +
                                        rig.program.string() + "/"))
        << rig.view.Boxes()[2];
    EXPECT_EQ(rig.link.close_calls, 1);
    EXPECT_EQ(FolderNames(rig.root.path()), (std::vector<std::string>{"cache", "service"}));

    // Fetching again into the missing folder fails the same way and creates nothing.
    rig.view.events.clear();
    rig.Fetch();
    ASSERT_EQ(rig.view.Boxes().size(), 2u);
    EXPECT_TRUE(rig.view.Boxes()[1].ends_with(std::strerror(ENOENT))) << rig.view.Boxes()[1];
    EXPECT_EQ(rig.link.close_calls, 2);
    EXPECT_EQ(FolderNames(rig.root.path()), (std::vector<std::string>{"cache", "service"}));
}

TEST(ProgramFolderFault, AYearFileThatVanishesBetweenListingAndLoadingChangesNothing) {
    SessionRig rig;
    ASSERT_EQ(rig.session.InitControl("Ver.1.02"), 0);
    rig.Fetch();
    const std::vector<YearSelectorItem> items = YearSelectorItems(rig.program);
    ASSERT_EQ(items.size(), 3u);
    ScheduleListModel list;
    ASSERT_TRUE(LoadYearAndBuildFullList(list, items[1].file, Period::AllMonths, rig.clock).Ok());
    const ScheduleListModel shown = list;

    fs::remove(items[0].file);
    const auto failed = LoadYearAndBuildFullList(list, items[0].file, Period::AllMonths, rig.clock);
    EXPECT_FALSE(failed.Ok());
    EXPECT_EQ(failed.Reason(), std::strerror(ENOENT));
    EXPECT_EQ(list.schedule_lines, shown.schedule_lines);
    EXPECT_EQ(list.shown_lines, shown.shown_lines);
    EXPECT_EQ(list.grid.RowCount(), shown.grid.RowCount());
    EXPECT_EQ(list.message_text, shown.message_text);
    EXPECT_EQ(YearSelectorItems(rig.program).size(), 2u);
}

TEST(ProgramFolderFault, PipesInPlaceOfTheYearAndSettingsFilesNeverHangAFetch) {
    SessionRig rig;
    const fs::path pipe = rig.program / YearFileName("2025");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    const fs::path settings_pipe = rig.program / "koyomivw.ini";
    ASSERT_EQ(::mkfifo(settings_pipe.c_str(), 0644), 0);
    EXPECT_EQ(rig.LastTime(), "");

    ASSERT_EQ(rig.session.InitControl("Ver.1.02"), 0);
    rig.Fetch();
    EXPECT_EQ(rig.view.Boxes(),
              (std::vector<std::string>{OpeningBox(), YearFileErrorBox(pipe, EINVAL)}));
    EXPECT_TRUE(YearFilesIn(rig.program).empty());
    EXPECT_FALSE(LoadYearFile(pipe).Ok());

    // With the year file in place only the settings file is a pipe: the fetch completes and
    // says that the time could not be kept.
    fs::remove(pipe);
    rig.view.events.clear();
    rig.Fetch();
    const std::vector<std::string> records = DeliveredRecords(rig.service);
    EXPECT_TRUE(YearFilesIn(rig.program) == FetchModel({}, records).TextsAfter(records.size()));
    EXPECT_EQ(rig.view.Boxes(),
              (std::vector<std::string>{
                  OpeningBox(), "設定ファイルに最終取得日時を保存できませんでした。\n" +
                                    settings_pipe.string() + ": " + std::strerror(EINVAL)}));
    EXPECT_EQ(fs::status(settings_pipe).type(), fs::file_type::fifo);
}

// The driver run in a child, with a service, settings and cache under one root.
class DriverRun {
  public:
    explicit DriverRun(TempFolder::Place place = TempFolder::Place::kTemporary)
        : root("koyomi-reliability", place) {
        CopySampleService(service);
    }

    TempFolder root;
    fs::path service = root / "service";
    fs::path control = ControlFolder();  // where the driver loads the control library from

    // Runs a whole fetch into `program` with the extra options; its output lines.
    std::vector<std::string> Fetch(const fs::path& program,
                                   const std::vector<std::string>& options = {}) {
        std::vector<std::string> arguments = {DriverProgram(), "fetch", program.string(),
                                              control.string()};
        arguments.insert(arguments.end(), options.begin(), options.end());
        ChildProcess child(arguments, ControlEnvironment(root.path(), service),
                           root / "output.txt");
        EXPECT_EQ(child.Wait(std::chrono::seconds(300)), 0) << child.Output();
        std::vector<std::string> lines;
        const std::string output = child.Output();
        for (size_t start = 0; start < output.size();) {
            const size_t end = output.find('\n', start);
            lines.push_back(output.substr(start, end - start));
            start = end == std::string::npos ? output.size() : end + 1;
        }
        return lines;
    }

    static std::string LastTime(const fs::path& program) {
        SettingsFile settings(program / "koyomivw");
        settings.Loaded();
        return settings.ReadString("JvDataGet", "LastTime", "");
    }
};

bool HasLine(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// A box written by the driver: line breaks come as the two characters "\n".
std::string DriverBox(std::string text) {
    for (size_t at = 0; (at = text.find('\n', at)) != std::string::npos; at += 2) {
        text.replace(at, 1, "\\n");
    }
    return "box " + text;
}

TEST(FullDisk, ADownloadThatCannotBeCachedFailsInJVStatus) {
    DriverRun run;
    const fs::path program = run.root / "program";
    fs::create_directories(program);
    const std::vector<std::string> lines = run.Fetch(program, {"--file-size-limit", "65536"});
    EXPECT_TRUE(HasLine(lines, "box JVStatusエラー:" + SjisToUtf8(JVResultText("JVStatus", -502))))
        << lines.size();
    EXPECT_TRUE(HasLine(lines, "done"));
    EXPECT_TRUE(YearFilesIn(program).empty());
}

TEST(FullDisk, AYearFileThatCannotGrowStopsTheFetchAndKeepsEveryFileWhole) {
    DriverRun run;
    const FetchModel model({}, DeliveredRecords(run.service));
    const YearTexts complete = model.TextsAfter(model.RecordCount());

    // A full fetch first (it also fills the control's cache), then the disk is "full".
    const fs::path program = run.root / "program";
    fs::create_directories(program);
    run.Fetch(program);
    ASSERT_TRUE(YearFilesIn(program) == complete);
    SettingsFile settings(program / "koyomivw");
    settings.Loaded();
    ASSERT_TRUE(settings.WriteString("JvDataGet", "LastTime", kEarlierLastTime));
    const std::vector<std::string> lines = run.Fetch(program, {"--file-size-limit", "65536"});
    EXPECT_TRUE(HasLine(lines, DriverBox(YearFileErrorBox(program / YearFileName("2025"), EFBIG))));
    EXPECT_TRUE(YearFilesIn(program) == complete);
    EXPECT_EQ(run.LastTime(program), kEarlierLastTime);
    EXPECT_TRUE(LeftOvers(program).empty());

    // Into an empty folder the first year grows until the limit stops it, whole at that point.
    const fs::path fresh = run.root / "fresh";
    fs::create_directories(fresh);
    const std::vector<std::string> stopped = run.Fetch(fresh, {"--file-size-limit", "65536"});
    EXPECT_TRUE(HasLine(stopped, DriverBox(YearFileErrorBox(fresh / YearFileName("2025"), EFBIG))));
    const YearTexts part = YearFilesIn(fresh);
    ASSERT_EQ(part.size(), 1u);
    EXPECT_GT(part.at("2025").size(), 60000u);
    EXPECT_FALSE(model.MatchingPrefixes(part).empty());
    EXPECT_EQ(run.LastTime(fresh), "");

    // With room again the next fetch completes it.
    run.Fetch(fresh);
    EXPECT_TRUE(YearFilesIn(fresh) == complete);
    EXPECT_EQ(run.LastTime(fresh), kNewestLastTime);
}

TEST(FullDisk, ASettingsFileThatCannotGrowKeepsItsOldTime) {
    DriverRun run;
    const fs::path program = run.root / "program";
    fs::create_directories(program);
    run.Fetch(program);
    // A settings file too big for the limit, with an earlier time.
    std::string text = "[JvDataGet]\r\nLastTime=" + std::string(kEarlierLastTime) + "\r\n";
    while (text.size() < 200000) {
        text += "; " + std::string(78, '-') + "\r\n";
    }
    WriteBytes(program / "koyomivw.ini", text);

    const std::vector<std::string> lines = run.Fetch(program, {"--file-size-limit", "163840"});
    const std::string settings_file = (program / "koyomivw.ini").string();
    EXPECT_TRUE(HasLine(lines, DriverBox("設定ファイルに最終取得日時を保存できませんでした。\n" +
                                         settings_file + ": " + std::strerror(EFBIG))))
        << lines.size();
    EXPECT_TRUE(HasLine(lines, "status データ作成が完了しました。"));
    EXPECT_EQ(ReadBytes(program / "koyomivw.ini"), text);
    EXPECT_TRUE(LeftOvers(program).empty());
}

// Root writes anywhere, so a fetch that must meet a user's rights runs as the unprivileged
// user: the root folder open to every user, the control's folders its own. The options that
// make the driver switch; none when the tests do not run as root.
std::vector<std::string> AsUnprivilegedUser(DriverRun& run) {
    if (!testing::RunsAsRoot()) {
        return {};
    }
    fs::permissions(run.root.path(), fs::perms::owner_all | fs::perms::group_read |
                                         fs::perms::group_exec | fs::perms::others_read |
                                         fs::perms::others_exec);
    // The driver changes user before it loads the control, and the build may lie below a
    // folder the user may not enter (a clone in /root): the control is loaded from a copy.
    run.control = run.root / "control";
    fs::create_directories(run.control);
    fs::copy_file(fs::path(ControlFolder()) / kJVLinkLibraryFileName,
                  run.control / kJVLinkLibraryFileName);
    for (const char* folder : {"cache", "config"}) {
        fs::create_directories(run.root / folder);
        testing::GiveToUnprivilegedUser(run.root / folder);
    }
    return {"--user", std::to_string(testing::kUnprivilegedUser)};
}

TEST(ReadOnlyProgramFolder, NothingIsWrittenAndTheBoxNamesTheFile) {
    // In a place every user may enter, for the run as another user below.
    DriverRun run(TempFolder::Place::kShared);
    const fs::path program = run.root / "program";
    fs::create_directories(program);
    run.Fetch(program);
    SettingsFile settings(program / "koyomivw");
    settings.Loaded();
    ASSERT_TRUE(settings.WriteString("JvDataGet", "LastTime", kEarlierLastTime));
    const YearTexts before = YearFilesIn(program);
    const std::string settings_before = ReadBytes(program / "koyomivw.ini");

    // The folder stays root's for the unprivileged user; a user other than root gets it
    // without write permission.
    const std::vector<std::string> options = AsUnprivilegedUser(run);
    if (!testing::RunsAsRoot()) {
        fs::permissions(program, fs::perms::owner_write, fs::perm_options::remove);
    }
    const std::vector<std::string> lines = run.Fetch(program, options);
    EXPECT_TRUE(HasLine(lines, DriverBox(YearFileErrorBox(program / YearFileName("2025"), EACCES))))
        << lines.size();
    EXPECT_TRUE(YearFilesIn(program) == before);
    EXPECT_EQ(ReadBytes(program / "koyomivw.ini"), settings_before);
    EXPECT_TRUE(LeftOvers(program).empty());
    fs::permissions(program, fs::perms::owner_write, fs::perm_options::add);
}

// A year file the user made read-only, in a folder the user may write: the folder alone would
// let it be replaced.
TEST(ReadOnlyYearFile, SurvivesAFetchUntouchedAndTheBoxNamesIt) {
    DriverRun run(TempFolder::Place::kShared);
    const fs::path program = run.root / "program";
    fs::create_directories(program);
    run.Fetch(program);
    SettingsFile settings(program / "koyomivw");
    settings.Loaded();
    ASSERT_TRUE(settings.WriteString("JvDataGet", "LastTime", kEarlierLastTime));
    const fs::path year_file = program / YearFileName("2025");
    fs::permissions(year_file,
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const std::vector<std::string> options = AsUnprivilegedUser(run);
    testing::GiveToUnprivilegedUser(program);
    const YearTexts before = YearFilesIn(program);
    struct stat old_file {};
    ASSERT_EQ(::stat(year_file.c_str(), &old_file), 0);

    const std::vector<std::string> lines = run.Fetch(program, options);
    EXPECT_TRUE(HasLine(lines, DriverBox(YearFileErrorBox(year_file, EACCES)))) << lines.size();
    EXPECT_TRUE(YearFilesIn(program) == before);
    struct stat new_file {};
    ASSERT_EQ(::stat(year_file.c_str(), &new_file), 0);
    EXPECT_EQ(new_file.st_ino, old_file.st_ino);
    EXPECT_EQ(new_file.st_uid, old_file.st_uid);
    EXPECT_EQ(run.LastTime(program), kEarlierLastTime);
    EXPECT_TRUE(LeftOvers(program).empty());
}

}  // namespace
}  // namespace koyomi::reliability
