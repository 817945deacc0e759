// A fetch of the sample service through the real stand-in and the session, as a user makes it.
#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <thread>

#include "acquisition/download_session.h"
#include "control/service/sample/sample_service.h"
#include "standin_test_support.h"
#include "support/clock.h"
#include "testing/recording_view.h"

namespace koyomi::testing {
namespace {

class StandInSessionTest : public StandInTest {
  protected:
    TempFolder program_;
    FixedClock clock_{{2026, 12, 8, 21, 0, 0}};

    StandInSessionTest() {
        for (const SampleServiceFile& file : SampleServiceFiles(2025, 2027)) {
            AddServiceFile(file.name, file.content);
        }
    }

    // Drives the session as the window's timer would, until the session ends.
    static void Fetch(DownloadSession& session, RecordingView& view) {
        session.StartFetch(view.data_kind);
        for (int tick = 0; tick < 20000 && view.timer_enabled; ++tick) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            session.PollDownload();
        }
        ASSERT_FALSE(session.IsOpen());
    }

    // The line keys of a year file, and whether every key occurs once.
    std::set<std::string> Keys(std::string_view year, bool& unique) const {
        std::set<std::string> keys;
        const std::vector<std::string> lines = YearFileLines(program_.path(), year);
        for (const std::string& line : lines) {
            keys.insert(line.substr(11, 16));
        }
        unique = keys.size() == lines.size();
        return keys;
    }
};

TEST_F(StandInSessionTest, SetupFetchThenNormalFetchBuildTheYearFiles) {
    StandInJVLink link(Paths());
    const SettingsFile settings = LoadedSettings(program_.path());
    RecordingView view(&settings);
    DownloadSession session(link, view, clock_, settings, program_.path());
    ASSERT_EQ(session.InitControl("Ver.1.02"), 0);

    Fetch(session, view);
    EXPECT_EQ(view.Shown().back(), "status データ作成が完了しました。");
    EXPECT_EQ(view.LastTime(), "2026/12/05 15:00:00");
    EXPECT_EQ(view.data_kind, FetchMode::Normal);
    EXPECT_EQ(view.Count("timer on"), 1);  // six files to download first
    for (const char* year : {"2025", "2026", "2027"}) {
        bool unique = false;
        EXPECT_EQ(Keys(year, unique).size(), 304u) << year;
        EXPECT_TRUE(unique) << year;
    }
    // The update file's correction replaced the annual line: 中京記念 is now 1800 m.
    const std::string chukyo = Utf8ToSjis("中京記念");
    int corrected = 0;
    for (const std::string& line : YearFileLines(program_.path(), "2026")) {
        if (line.compare(30, chukyo.size(), chukyo) == 0) {
            EXPECT_EQ(line.substr(138, 4), "1800");
            ++corrected;
        }
    }
    EXPECT_EQ(corrected, 1);

    // Again, now with normal data: everything is in the cache, so it reads at once.
    const std::string before = ReadBytes(program_.path() / YearFileName("2026"));
    view.events.clear();
    Fetch(session, view);
    EXPECT_EQ(view.Count("timer on"), 0);
    EXPECT_EQ(view.Shown().back(), "status データ作成が完了しました。");
    EXPECT_EQ(ReadBytes(program_.path() / YearFileName("2026")), before);
}

TEST_F(StandInSessionTest, ReadFaultKeepsWhatWasStored) {
    AddFaults("[JVRead]\nafter=100\nresult=-403\n");
    StandInJVLink link(Paths());
    const SettingsFile settings = LoadedSettings(program_.path());
    RecordingView view(&settings);
    DownloadSession session(link, view, clock_, settings, program_.path());
    ASSERT_EQ(session.InitControl("Ver.1.02"), 0);
    Fetch(session, view);

    EXPECT_TRUE(view.Shown().back().starts_with("box JVReadエラー:")) << view.Shown().back();
    EXPECT_EQ(view.LastTime(), "");
    // The first 100 records of the oldest file, less its special registrations among them.
    int schedule_records = 0;
    const std::string annual = SampleAnnualFile(2025).content;
    for (size_t record = 0; record < 100; ++record) {
        schedule_records += annual.compare(record * 382, 2, "YS") == 0 ? 1 : 0;
    }
    EXPECT_EQ(YearFileLines(program_.path(), "2025").size(), static_cast<size_t>(schedule_records));
}

}  // namespace
}  // namespace koyomi::testing
