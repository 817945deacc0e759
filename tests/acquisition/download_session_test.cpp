#include "acquisition/download_session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "acquisition_test_support.h"
#include "codes/jv_result_text.h"
#include "support/clock.h"
#include "support/sjis_text.h"
#include "support/user_folders.h"
#include "support/whole_file.h"
#include "testing/recording_view.h"
#include "testing/scripted_jv_link.h"

namespace koyomi::testing {
namespace {

const std::string kOpening =
    "box 年間スケジュールデータ取込を開始します。データ作成が終了するまで本ソフトを操作したり"
    "他のアプリケーションを操作することは極力避けてください。";
const std::string kBusy = "box データ取得中です。終了するまでお待ちください。";

std::string ResultText(std::string_view operation, int code) {
    return SjisToUtf8(JVResultText(operation, code));
}

class DownloadSessionTest : public ::testing::Test {
  protected:
    TempFolder program_;
    SettingsFile settings_ = LoadedSettings(program_.path());
    FixedClock clock_{{2026, 12, 8, 21, 0, 0}};
    ScriptedJVLink link_;
    RecordingView view_{&settings_};
    DownloadSession session_{link_, view_, clock_, settings_, program_.path()};

    // A request of `read_count` files, none to download, delivering `steps`.
    void ScriptRead(int read_count, std::vector<ReadStep> steps,
                    std::u16string timestamp = u"20261205150000") {
        link_.read_count = read_count;
        link_.download_count = 0;
        link_.last_file_timestamp = std::move(timestamp);
        link_.read_steps.assign(steps.begin(), steps.end());
    }

    // Runs the timer until it goes off (a bounded number of ticks).
    void TickUntilTimerOff() {
        for (int tick = 0; tick < 100 && view_.timer_enabled; ++tick) {
            session_.PollDownload();
        }
        ASSERT_FALSE(view_.timer_enabled);
    }

    size_t IndexOf(const std::string& event) const {
        const auto found = std::find(view_.events.begin(), view_.events.end(), event);
        return static_cast<size_t>(found - view_.events.begin());
    }
};

// --- Opening -------------------------------------------------------------------------------

class OpenErrorTest : public DownloadSessionTest, public ::testing::WithParamInterface<int> {};

TEST_P(OpenErrorTest, ShowsTheResultTextClosesOnceAndRefreshesTheList) {
    link_.open_result = GetParam();
    link_.read_count = 3;  // ignored: any non-zero result is an error
    session_.StartFetch(view_.data_kind);

    EXPECT_EQ(view_.events,
              (std::vector<std::string>{kOpening, "timer off", "cursor busy", "beep",
                                        "box JVOpenエラー:" + ResultText("JVOpen", GetParam()),
                                        "cursor default", "beep", "make list"}));
    EXPECT_EQ(link_.close_calls, 1);
    EXPECT_EQ(link_.read_calls, 0);
    EXPECT_FALSE(session_.IsOpen());
}

INSTANTIATE_TEST_SUITE_P(Codes, OpenErrorTest, ::testing::Values(-1, -2, -111, -504, -999));

// Files to read and files to download, as a garbled or faulty control might answer.
class ImpossibleCountTest : public DownloadSessionTest,
                            public ::testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(ImpossibleCountTest, EndsTheSessionAsAnOpenError) {
    link_.read_count = GetParam().first;
    link_.download_count = GetParam().second;
    session_.StartFetch(view_.data_kind);

    EXPECT_EQ(view_.events, (std::vector<std::string>{
                                kOpening, "timer off", "cursor busy", "beep",
                                "box JV-Link の応答が正しくありません。データの取得を終了します。",
                                "cursor default", "beep", "make list"}));
    EXPECT_EQ(link_.close_calls, 1);
    EXPECT_EQ(link_.read_calls, 0);
    EXPECT_FALSE(session_.IsOpen());
}

INSTANTIATE_TEST_SUITE_P(Counts, ImpossibleCountTest,
                         ::testing::Values(std::pair(-1, 0), std::pair(2, -1)));

TEST_F(DownloadSessionTest, NothingNewToReadSaysSoAndCloses) {
    link_.read_count = 0;
    session_.StartFetch(view_.data_kind);

    EXPECT_EQ(view_.events, (std::vector<std::string>{kOpening, "timer off", "cursor busy", "beep",
                                                      "box 最新のデータがありません。",
                                                      "cursor default", "beep", "make list"}));
    EXPECT_EQ(link_.close_calls, 1);
}

TEST_F(DownloadSessionTest, NormalDataAsksFromTheFixedTimeWithOptionOne) {
    view_.data_kind = FetchMode::Normal;
    session_.StartFetch(view_.data_kind);
    EXPECT_EQ(link_.open_dataspec, u"YSCH");
    EXPECT_EQ(link_.open_fromtime, u"20030406104642");
    EXPECT_EQ(link_.open_option, 1);
}

TEST_F(DownloadSessionTest, SetupDataAsksFromTenYearsAgoWithOptionThree) {
    view_.data_kind = FetchMode::Setup;
    session_.StartFetch(view_.data_kind);
    EXPECT_EQ(link_.open_fromtime, u"20161210210000");  // 2026-12-08 21:00 minus 3650 days
    EXPECT_EQ(link_.open_option, 3);
}

// --- Reading --------------------------------------------------------------------------------

TEST_F(DownloadSessionTest, ReadsAtOnceWhenNothingMustBeDownloaded) {
    ScriptRead(2, {Record(YsRecord::Day("20260105", "06", 1, 1, '4')), Code(-1),
                   Record(YsRecord::Day("20270109", "08", 1, 1, '1')), Code(-1), Code(0)});
    session_.StartFetch(view_.data_kind);

    EXPECT_EQ(view_.Shown(),
              (std::vector<std::string>{
                  kOpening, "status JVOpen正常:0", "status ReadCount:2, DownloadCount:0",
                  "status データ読込み中．．．(0/2)", "status データ読込み中．．．(1/2)",
                  "status データ読込み中．．．(2/2)", "status JVRead EndOfFile :0",
                  "status データ読込み完了(2/2)", "status データ作成が完了しました。"}));
    EXPECT_EQ(view_.LastTime(), "2026/12/05 15:00:00");
    EXPECT_EQ(view_.data_kind, FetchMode::Normal);
    EXPECT_EQ(view_.Count("timer on"), 0);
    EXPECT_EQ(view_.Count("make list"), 2);  // after the read and after the command
    EXPECT_LT(IndexOf("last time 2026/12/05 15:00:00"), IndexOf("make list"));
    EXPECT_LT(IndexOf("make list"), IndexOf("status データ作成が完了しました。"));
    EXPECT_EQ(link_.close_calls, 1);
    EXPECT_FALSE(view_.busy);
    EXPECT_EQ(YearFileLines(program_.path(), "2026").size(), 1u);
    EXPECT_EQ(YearFileLines(program_.path(), "2027").size(), 1u);
}

TEST_F(DownloadSessionTest, ReadLoopYieldsBeforeEveryReadWithTheSameBufferSize) {
    ScriptRead(1, {Code(-3), Code(-2), Record(YsRecord::Day("20260105", "06", 1, 1, '4')), Code(-1),
                   Code(0)});
    session_.StartFetch(view_.data_kind);

    EXPECT_EQ(link_.read_calls, 5);
    EXPECT_EQ(view_.pending_event_turns, link_.read_calls);
    EXPECT_EQ(link_.read_sizes, std::vector<int>(5, 60000));
    // -2 and -3 show nothing.
    EXPECT_EQ(view_.Shown().size(), 8u);
}

TEST_F(DownloadSessionTest, StoresOnlyScheduleRecordsEachInItsYearFile) {
    std::string other_kind = YsRecord::Day("20260105", "06", 1, 1, '4').Line();
    other_kind.replace(0, 2, "TK");
    ScriptRead(1, {Record(other_kind), Record(YsRecord::Day("20261227", "06", 5, 8, '2')),
                   Record(YsRecord::Day("20260105", "06", 1, 1, '4')),
                   Record(YsRecord::Day("20250105", "06", 1, 1, '2')), Code(-1), Code(0)});
    session_.StartFetch(view_.data_kind);

    const std::vector<std::string> lines_2026 = YearFileLines(program_.path(), "2026");
    ASSERT_EQ(lines_2026.size(), 2u);
    EXPECT_EQ(lines_2026[0].substr(11, 8), "20260105");  // sorted
    EXPECT_EQ(lines_2026[0].substr(2, 9), "000000000");
    EXPECT_EQ(lines_2026[0].size(), 380u);
    EXPECT_EQ(YearFileLines(program_.path(), "2025").size(), 1u);
    EXPECT_EQ(ListYearFiles(program_.path()).size(), 2u);
}

TEST_F(DownloadSessionTest, RecordsDeliveredAgainReplaceTheirLines) {
    YsRecord first = YsRecord::Day("20260105", "06", 1, 1, '4');
    first.race_name = Utf8ToSjis("中山金杯");
    YsRecord again = first;
    again.race_name = Utf8ToSjis("中山金杯（改）");
    again.data_kind = "2";
    ScriptRead(2, {Record(first), Code(-1), Record(again), Code(-1), Code(0)});
    session_.StartFetch(view_.data_kind);

    const std::vector<std::string> lines = YearFileLines(program_.path(), "2026");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find(Utf8ToSjis("中山金杯（改）")), std::string::npos);
}

class UnsavedTimestampTest : public DownloadSessionTest,
                             public ::testing::WithParamInterface<std::u16string> {};

TEST_P(UnsavedTimestampTest, LeavesLastTimeAndDataKindAlone) {
    ScriptRead(1, {Record(YsRecord::Day("20260105", "06", 1, 1, '4')), Code(-1), Code(0)},
               GetParam());
    session_.StartFetch(view_.data_kind);

    EXPECT_EQ(view_.LastTime(), "");
    EXPECT_EQ(view_.data_kind, FetchMode::Setup);
    EXPECT_EQ(view_.Shown().back(), "status データ作成が完了しました。");
}

INSTANTIATE_TEST_SUITE_P(Stamps, UnsavedTimestampTest,
                         ::testing::Values(u"", u"   ", u"00000000000000", u"2026120515",
                                           u"2026120515000x"));

TEST_F(DownloadSessionTest, TimestampWithBlanksAroundItIsSaved) {
    ScriptRead(1, {Code(-1), Code(0)}, u" 20030406104642 ");
    session_.StartFetch(view_.data_kind);
    EXPECT_EQ(view_.LastTime(), "2003/04/06 10:46:42");
}

TEST_F(DownloadSessionTest, ReadErrorKeepsStoredRecordsAndLastTime) {
    ScriptRead(1, {Record(YsRecord::Day("20260105", "06", 1, 1, '4')), Code(-403), Code(0)});
    session_.StartFetch(view_.data_kind);

    const std::vector<std::string> shown = view_.Shown();
    EXPECT_EQ(shown.back(), "box JVReadエラー:" + ResultText("JVRead", -403));
    EXPECT_EQ(view_.events[IndexOf(shown.back()) - 1], "beep");
    EXPECT_EQ(YearFileLines(program_.path(), "2026").size(), 1u);
    EXPECT_EQ(view_.LastTime(), "");
    EXPECT_EQ(view_.data_kind, FetchMode::Setup);
    EXPECT_EQ(view_.Count("make list"), 1);
    EXPECT_EQ(link_.read_calls, 2);
    EXPECT_EQ(link_.close_calls, 1);
}

// How a fetch stands each time the window is told, which decides whether it switches to
// normal data: only a read that stored everything and brought the newest data's time.
struct FetchEndCase {
    int read_count;
    int download_count;
    std::vector<ReadStep> steps;
    std::u16string timestamp;
    std::vector<FetchEnd> told;
};

class FetchEndTest : public DownloadSessionTest,
                     public ::testing::WithParamInterface<FetchEndCase> {};

TEST_P(FetchEndTest, TellsTheWindowHowTheFetchStands) {
    const FetchEndCase& fetch = GetParam();
    ScriptRead(fetch.read_count, fetch.steps, fetch.timestamp);
    link_.download_count = fetch.download_count;
    session_.StartFetch(view_.data_kind);
    EXPECT_EQ(view_.outcomes, fetch.told);
}

INSTANTIATE_TEST_SUITE_P(
    Ends, FetchEndTest,
    ::testing::Values(FetchEndCase{1,
                                   0,
                                   {Code(-1), Code(0)},
                                   u"20261205150000",
                                   {FetchEnd::Completed, FetchEnd::Completed}},
                      FetchEndCase{
                          1, 0, {Code(-1), Code(0)}, u"", {FetchEnd::Stored, FetchEnd::Stored}},
                      FetchEndCase{1, 0, {Code(-403)}, u"20261205150000", {FetchEnd::Failed}},
                      FetchEndCase{0, 0, {}, u"20261205150000", {FetchEnd::NoNewData}},
                      FetchEndCase{1, 1, {}, u"20261205150000", {FetchEnd::Downloading}}));

TEST_F(DownloadSessionTest, ControlThatStopsAnsweringEndsTheSessionWithItsOwnBox) {
    ScriptRead(1, {Record(YsRecord::Day("20260105", "06", 1, 1, '4')), Code(kJVLinkNotAnswering)});
    session_.StartFetch(view_.data_kind);

    EXPECT_EQ(view_.Shown().back(),
              "box JV-Link が応答しなくなりました。データの取得を終了します。");
    EXPECT_EQ(YearFileLines(program_.path(), "2026").size(), 1u);
    EXPECT_EQ(view_.LastTime(), "");
    EXPECT_EQ(link_.close_calls, 1);
    EXPECT_FALSE(session_.IsOpen());
}

TEST_F(DownloadSessionTest, UnreadableRecordsAreSkippedAndCounted) {
    ScriptRead(1, {Record("YS0"), Record(YsRecord::Day("20260105", "06", 1, 1, '4')),
                   Record(YsRecord::Day("ABCD0105", "06", 1, 1, '2')), Code(-1), Code(0)});
    session_.StartFetch(view_.data_kind);

    EXPECT_EQ(view_.Shown().back(),
              "box スケジュールとして読めないレコードを読み飛ばしました。件数: 2");
    EXPECT_EQ(YearFileLines(program_.path(), "2026").size(), 1u);
    EXPECT_EQ(view_.LastTime(), "2026/12/05 15:00:00");
}

TEST_F(DownloadSessionTest, UnwritableYearFileEndsTheSessionNamingTheFile) {
    // A folder in the place of the 2027 file: no write can replace it, whoever runs the test.
    std::filesystem::create_directory(program_.path() / YearFileName("2027"));
    ScriptRead(1, {Record(YsRecord::Day("20260105", "06", 1, 1, '4')),
                   Record(YsRecord::Day("20270109", "08", 1, 1, '1')),
                   Record(YsRecord::Day("20260106", "06", 1, 2, '5')), Code(-1), Code(0)});
    session_.StartFetch(view_.data_kind);

    const std::string box = view_.Shown().back();
    const std::string expected_start =
        "box 年間スケジュールファイルを更新できませんでした。データの取得を中止します。\n" +
        (program_.path() / YearFileName("2027")).string() + "\n";
    EXPECT_EQ(box.substr(0, expected_start.size()), expected_start);
    EXPECT_GT(box.size(), expected_start.size());  // the system's reason follows
    EXPECT_EQ(view_.events[IndexOf(box) - 1], "beep");
    EXPECT_EQ(link_.read_calls, 2);
    EXPECT_EQ(link_.close_calls, 1);
    EXPECT_EQ(view_.LastTime(), "");
    EXPECT_EQ(view_.data_kind, FetchMode::Setup);
    EXPECT_EQ(YearFileLines(program_.path(), "2026").size(), 1u);
}

TEST_F(DownloadSessionTest, LastTimeThatCannotBeWrittenIsReported) {
    // A folder in the place of the settings file: it cannot be replaced, whoever runs the test.
    std::filesystem::create_directory(settings_.Path());
    ScriptRead(1, {Code(-1), Code(0)});
    session_.StartFetch(view_.data_kind);

    const std::vector<std::string> shown = view_.Shown();
    // The file layer's own reason for a folder under the name, whatever the system says.
    EXPECT_EQ(shown.back(), "box 設定ファイルに最終取得日時を保存できませんでした。\n" +
                                PathText(settings_.Path()) + ": " +
                                ReadWholeRegularFile(settings_.Path()).Reason());
    EXPECT_EQ(shown[shown.size() - 2], "status データ作成が完了しました。");
    EXPECT_EQ(link_.close_calls, 1);
}

// --- Downloading ----------------------------------------------------------------------------

TEST_F(DownloadSessionTest, DownloadIsPolledUntilItIsComplete) {
    link_.read_count = 1;
    link_.download_count = 3;
    link_.last_file_timestamp = u"20261205150000";
    link_.status_results = {0, 5, 2, 3};
    link_.read_steps = {Record(YsRecord::Day("20260105", "06", 1, 1, '4')), Code(-1), Code(0)};
    session_.StartFetch(view_.data_kind);

    EXPECT_TRUE(view_.timer_enabled);
    EXPECT_TRUE(view_.busy);
    EXPECT_TRUE(session_.IsOpen());
    EXPECT_EQ(view_.Shown().back(), "status ダウンロード中・・・");
    EXPECT_EQ(view_.events.back(), "make list");
    EXPECT_EQ(link_.read_calls, 0);
    EXPECT_EQ(link_.close_calls, 0);

    session_.PollDownload();
    EXPECT_EQ(view_.Shown().back(), "status ダウンロード中．．．(0/3)");
    const size_t shown_before = view_.Shown().size();
    session_.PollDownload();  // 5: above the count, ignored
    EXPECT_EQ(view_.Shown().size(), shown_before);
    EXPECT_TRUE(view_.timer_enabled);
    session_.PollDownload();
    EXPECT_EQ(view_.Shown().back(), "status ダウンロード中．．．(2/3)");
    session_.PollDownload();

    EXPECT_FALSE(view_.timer_enabled);
    EXPECT_LT(IndexOf("timer on"), IndexOf("status ダウンロード中．．．(3/3)"));
    EXPECT_LT(IndexOf("status ダウンロード中．．．(3/3)"),
              IndexOf("status データ読込み中．．．(0/1)"));
    EXPECT_EQ(view_.Shown().back(), "status データ作成が完了しました。");
    EXPECT_EQ(link_.close_calls, 1);
    EXPECT_EQ(YearFileLines(program_.path(), "2026").size(), 1u);

    session_.PollDownload();  // a tick queued before the timer went off
    EXPECT_EQ(link_.status_calls, 4);
}

TEST_F(DownloadSessionTest, StatusErrorStopsTheTimerFirstAndReadsNothing) {
    link_.read_count = 2;
    link_.download_count = 2;
    link_.status_results = {1, -502};
    session_.StartFetch(view_.data_kind);
    session_.PollDownload();
    view_.events.clear();
    session_.PollDownload();

    EXPECT_EQ(view_.events,
              (std::vector<std::string>{"timer off", "beep",
                                        "box JVStatusエラー:" + ResultText("JVStatus", -502),
                                        "cursor default", "beep"}));
    EXPECT_EQ(link_.read_calls, 0);
    EXPECT_EQ(link_.close_calls, 1);
    session_.PollDownload();
    EXPECT_EQ(link_.status_calls, 2);
}

TEST_F(DownloadSessionTest, TickWithoutASessionDoesNothing) {
    session_.PollDownload();
    EXPECT_EQ(link_.status_calls, 0);
    EXPECT_TRUE(view_.events.empty());
}

// --- Closing --------------------------------------------------------------------------------

TEST_F(DownloadSessionTest, CloseErrorIsShownAfterTheCloseStep) {
    link_.close_result = -1;
    ScriptRead(1, {Code(-1), Code(0)});
    session_.StartFetch(view_.data_kind);

    const size_t box = IndexOf("box JVCloseエラー:" + ResultText("JVClose", -1));
    ASSERT_LT(box, view_.events.size());
    EXPECT_EQ(view_.events[box - 2], "cursor default");
    EXPECT_EQ(view_.events[box - 1], "beep");
    EXPECT_EQ(view_.LastTime(), "2026/12/05 15:00:00");  // the data was read completely
}

TEST_F(DownloadSessionTest, SettingsDialogErrorIsShown) {
    session_.OpenControlSettings();
    EXPECT_TRUE(view_.events.empty());
    link_.set_ui_result = -100;
    session_.OpenControlSettings();
    EXPECT_EQ(view_.events,
              (std::vector<std::string>{"beep", "box JVSetUIPropertiesエラー：" +
                                                    ResultText("JVSetUIProperties", -100)}));
    EXPECT_EQ(link_.set_ui_calls, 2);
}

TEST_F(DownloadSessionTest, InitSendsTheSoftwareIdAndShowsAFailureInAPlainBox) {
    EXPECT_EQ(session_.InitControl("Ver.1.02"), 0);
    EXPECT_TRUE(view_.events.empty());
    link_.init_result = -103;
    EXPECT_EQ(session_.InitControl("Ver.1.02"), -103);
    EXPECT_EQ(link_.init_sids,
              (std::vector<std::u16string>(2, u"SA100200/SD300400/KoyomiVw/Ver.1.02")));
    EXPECT_EQ(view_.events, (std::vector<std::string>{"plain JVInitエラーが発生しました。：" +
                                                      ResultText("JVInit", -103)}));
}

// --- Commands that arrive while a session runs ------------------------------------------------

TEST_F(DownloadSessionTest, SecondFetchDuringTheReadIsRefused) {
    ScriptRead(1, {Record(YsRecord::Day("20260105", "06", 1, 1, '4')), Code(-1), Code(0)});
    bool clicked = false;
    view_.on_pending_events = [&] {
        if (!clicked) {
            clicked = true;
            session_.StartFetch(view_.data_kind);
        }
    };
    session_.StartFetch(view_.data_kind);

    EXPECT_EQ(link_.open_calls, 1);
    EXPECT_EQ(view_.Count(kBusy), 1);
    EXPECT_EQ(view_.Shown().back(), "status データ作成が完了しました。");
    EXPECT_EQ(link_.close_calls, 1);
}

// Another window (or another user's session on the same portable folder) fetching into the
// same year files: refused before anything is asked or written, and once it ends the next
// fetch first removes what writes cut short by a kill left, in both folders.
TEST_F(DownloadSessionTest, AFolderAnotherFetchHoldsIsRefusedAndLeftoversGoBeforeTheNext) {
    const TempFolder config;
    const SettingsFile settings = LoadedSettings(config.path());
    DownloadSession session(link_, view_, clock_, settings, program_.path());
    WriteBytes(program_ / (YearFileName("2026").string() + ".~0123456789ab"), "cut short");
    WriteBytes(config / "koyomivw.ini.~0123456789ab", "cut short");
    ScriptRead(1, {Record(YsRecord::Day("20260105", "06")), Code(-1), Code(0)});
    {
        const Result<FolderLock> other = FolderLock::Take(program_.path());
        ASSERT_TRUE(other);
        session.StartFetch(FetchMode::Setup);
    }
    EXPECT_EQ(view_.events, (std::vector<std::string>{
                                "box 別の koyomivw がこのフォルダにデータを取得中です。終わってから"
                                "もう一度取得してください。\n" +
                                program_.path().string()}));
    EXPECT_EQ(link_.open_calls + link_.close_calls, 0);
    EXPECT_EQ(FolderNames(program_.path()).size(), 1u);

    session.StartFetch(FetchMode::Setup);
    EXPECT_TRUE(link_.read_to_end);
    EXPECT_EQ(FolderNames(program_.path()),
              (std::vector<std::string>{YearFileName("2026").string()}));
    EXPECT_EQ(FolderNames(config.path()), (std::vector<std::string>{"koyomivw.ini"}));
    EXPECT_TRUE(FolderLock::Take(program_.path()));  // released when the fetch ended
}

TEST_F(DownloadSessionTest, SecondFetchWhileDownloadingIsRefused) {
    link_.read_count = 1;
    link_.download_count = 1;
    session_.StartFetch(view_.data_kind);
    session_.StartFetch(view_.data_kind);
    EXPECT_EQ(link_.open_calls, 1);
    EXPECT_EQ(view_.events.back(), kBusy);
    EXPECT_TRUE(view_.timer_enabled);
}

TEST_F(DownloadSessionTest, ClosingTheWindowDuringTheReadEndsTheSessionCleanly) {
    ScriptRead(1, {Record(YsRecord::Day("20260105", "06", 1, 1, '4')),
                   Record(YsRecord::Day("20260106", "06", 1, 2, '5')), Code(-1), Code(0)});
    view_.on_pending_events = [&] {
        if (view_.pending_event_turns == 2) {
            session_.WindowClosing();
        }
    };
    session_.StartFetch(view_.data_kind);

    EXPECT_EQ(link_.read_calls, 1);
    EXPECT_EQ(link_.close_calls, 1);
    EXPECT_FALSE(session_.IsOpen());
    EXPECT_EQ(YearFileLines(program_.path(), "2026").size(), 1u);
    EXPECT_EQ(view_.LastTime(), "");
    EXPECT_EQ(view_.Count("beep"), 0);
    EXPECT_EQ(view_.Count("make list"), 0);
    EXPECT_FALSE(view_.busy);

    session_.StartFetch(view_.data_kind);  // the window is gone: nothing more happens
    EXPECT_EQ(link_.open_calls, 1);
}

TEST_F(DownloadSessionTest, FetchQueuedBehindACancelWaitsForTheOldReadToReturn) {
    ScriptRead(1, {Record(YsRecord::Day("20260105", "06", 1, 1, '4')),
                   Record(YsRecord::Day("20260106", "06", 1, 2, '5')), Code(-1), Code(0)});
    view_.on_pending_events = [&] {
        if (view_.pending_event_turns == 2) {
            link_.download_count = 1;  // a new request would download and poll
            session_.Cancel();
            session_.StartFetch(view_.data_kind);
        }
    };
    session_.StartFetch(view_.data_kind);

    EXPECT_EQ(link_.open_calls, 1);
    EXPECT_EQ(view_.Count(kBusy), 1);
    EXPECT_EQ(link_.close_calls, 1);
    EXPECT_FALSE(view_.timer_enabled);
    EXPECT_FALSE(session_.IsOpen());
    EXPECT_EQ(view_.Status(), "データの取得を中止しました。取得済みのデータは保存されています。");

    view_.on_pending_events = nullptr;
    session_.StartFetch(view_.data_kind);
    EXPECT_EQ(link_.open_calls, 2);
    EXPECT_TRUE(view_.timer_enabled);
}

TEST_F(DownloadSessionTest, ClosingTheWindowWhileDownloadingStopsTheTimerAndCloses) {
    link_.read_count = 1;
    link_.download_count = 1;
    session_.StartFetch(view_.data_kind);
    session_.WindowClosing();

    EXPECT_FALSE(view_.timer_enabled);
    EXPECT_EQ(link_.close_calls, 1);
    session_.PollDownload();
    EXPECT_EQ(link_.status_calls, 0);
}

TEST_F(DownloadSessionTest, ClosingTheWindowWhenIdleLeavesTheControlAlone) {
    session_.WindowClosing();
    EXPECT_EQ(link_.close_calls, 0);
    EXPECT_TRUE(view_.events.empty());
}

// --- Cancelling ------------------------------------------------------------------------------

TEST_F(DownloadSessionTest, CancelEndsADownloadThatNeverFinishes) {
    link_.read_count = 1;
    link_.download_count = 2;
    link_.status_results = {1};  // stuck at one of two files for ever
    session_.StartFetch(view_.data_kind);
    for (int tick = 0; tick < 50; ++tick) {
        session_.PollDownload();
    }
    ASSERT_TRUE(session_.IsOpen());

    session_.Cancel();
    EXPECT_FALSE(session_.IsOpen());
    EXPECT_FALSE(view_.timer_enabled);
    EXPECT_FALSE(view_.busy);
    EXPECT_EQ(link_.close_calls, 1);
    EXPECT_EQ(view_.Shown().back(),
              "status データの取得を中止しました。取得済みのデータは保存されています。");
    ASSERT_FALSE(view_.outcomes.empty());
    EXPECT_EQ(view_.outcomes.back(), FetchEnd::Cancelled);
    EXPECT_EQ(view_.events.back(), "make list");

    session_.Cancel();  // nothing left to cancel
    session_.PollDownload();
    EXPECT_EQ(link_.close_calls, 1);
    EXPECT_EQ(link_.status_calls, 50);
}

TEST_F(DownloadSessionTest, CancelInsideAReadThatNeverEndsKeepsWhatWasStored) {
    std::vector<ReadStep> steps = {Record(YsRecord::Day("20260105", "06", 1, 1, '4')), Code(-1)};
    steps.insert(steps.end(), 200, Code(-3));  // the control answers "not yet" for ever after
    ScriptRead(2, steps);
    view_.on_pending_events = [this] {
        if (view_.pending_event_turns == 100) {
            session_.Cancel();
        }
    };
    session_.StartFetch(view_.data_kind);

    EXPECT_FALSE(session_.IsOpen());
    EXPECT_EQ(link_.read_calls, 99);
    EXPECT_EQ(link_.close_calls, 1);
    EXPECT_EQ(YearFileLines(program_.path(), "2026").size(), 1u);
    EXPECT_EQ(view_.LastTime(), "");
    EXPECT_EQ(view_.data_kind, FetchMode::Setup);
    EXPECT_EQ(view_.Count("make list"), 1);  // the cancel's, not the command's as well
    EXPECT_EQ(view_.Shown().back(),
              "status データの取得を中止しました。取得済みのデータは保存されています。");
    EXPECT_FALSE(view_.busy);
}

// The records read but not yet written when the user or the window ends the session.
class UnsavedAtTheEndTest : public DownloadSessionTest,
                            public ::testing::WithParamInterface<bool> {};

TEST_P(UnsavedAtTheEndTest, GetTheFileAndSyncBoxesAndThePartlySavedStatus) {
    const bool cancel = GetParam();
    const std::filesystem::path moved = program_.path().string() + "-moved";
    ScriptRead(1, {Record(YsRecord::Day("20260105", "06", 1, 1, '4')),
                   Record(YsRecord::Day("20260106", "06", 1, 2, '5')), Code(-1), Code(0)});
    view_.on_pending_events = [&] {
        if (view_.pending_event_turns == 3) {
            std::filesystem::rename(program_.path(), moved);  // the data folder moved away
            cancel ? session_.Cancel() : session_.WindowClosing();
        }
    };
    session_.StartFetch(view_.data_kind);
    std::filesystem::rename(moved, program_.path());

    const std::vector<std::string> boxes = view_.Boxes();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[1].rfind("年間スケジュールファイルを更新できませんでした。データの取得を中止"
                             "します。\n" +
                                 (program_.path() / YearFileName("2026")).string() + "\n",
                             0),
              0u);
    EXPECT_EQ(boxes[2].rfind("年間スケジュールファイルをディスクに書き込めませんでした。\n", 0),
              0u);
    EXPECT_EQ(view_.Count("beep"), 2);
    EXPECT_EQ(view_.Status() ==
                  "データの取得を中止しました。取得済みのデータの一部を保存できませんでした。",
              cancel);
    EXPECT_EQ(YearFileLines(program_.path(), "2026").size(), 1u);
    EXPECT_EQ(link_.close_calls, 1);
    EXPECT_FALSE(view_.busy);
}

INSTANTIATE_TEST_SUITE_P(CancelOrClose, UnsavedAtTheEndTest, ::testing::Bool());

// --- Calls that wait for the control ------------------------------------------------------

const std::string kWaitingForControl = "status JV-Link の画面で入力を待っています。";
const std::string kCancelled =
    "status データの取得を中止しました。取得済みのデータは保存されています。";

// JVOpen waits while the control's window is up; the window's events run meanwhile, and the
// commands that would call the control again are turned away.
TEST_F(DownloadSessionTest, WhileJVOpenWaitsTheStatusSaysSoAndNoOtherCallStarts) {
    ScriptRead(1, {Record(YsRecord::Day("20260105", "06", 1, 1, '4')), Code(-1), Code(0)});
    link_.waits["JVOpen"] = {false, true, true, false};
    view_.on_pending_events = [this] {
        if (link_.read_calls == 0 && view_.pending_event_turns == 2) {
            session_.StartFetch(view_.data_kind);
            session_.OpenControlSettings();
            session_.PollDownload();
        }
    };
    session_.StartFetch(view_.data_kind);

    EXPECT_EQ(link_.open_calls, 1);
    EXPECT_EQ(link_.set_ui_calls, 0);
    EXPECT_EQ(link_.status_calls, 0);
    EXPECT_EQ(view_.Count(kBusy), 1);
    EXPECT_EQ(view_.Count(kWaitingForControl), 1);
    const size_t waiting = IndexOf(kWaitingForControl);
    ASSERT_LT(waiting + 1, view_.events.size());
    EXPECT_EQ(view_.events[waiting + 1], kBusy);
    EXPECT_EQ(view_.events[waiting + 3], "status ");  // the line as it was, once it has gone
    EXPECT_EQ(view_.Status(), "データ作成が完了しました。");
    EXPECT_EQ(view_.LastTime(), "2026/12/05 15:00:00");
    EXPECT_FALSE(session_.IsOpen());
}

// Esc or 中止 while a call of the fetch waits: the call is given up, and the fetch ends as a
// cancel does, with what was stored kept and "LastTime" unchanged.
class CancelWhileWaitingTest : public DownloadSessionTest,
                               public ::testing::WithParamInterface<std::string> {};

TEST_P(CancelWhileWaitingTest, EndsAsACancelKeepingWhatWasStored) {
    const std::string operation = GetParam();
    link_.read_count = 2;
    link_.download_count = 1;
    link_.last_file_timestamp = u"20261205150000";
    link_.status_results = {1};
    link_.read_steps = {Record(YsRecord::Day("20260105", "06", 1, 1, '4')), Code(-1),
                        Record(YsRecord::Day("20270109", "08", 1, 1, '1')), Code(-1), Code(0)};
    if (operation == "JVRead") {
        link_.on_read = [this] {
            if (link_.read_calls == 3) {
                link_.waits["JVRead"] = {true, true, true};
            }
        };
    } else {
        link_.waits[operation] = {true, true, true};
    }
    int turns_in_wait = 0;
    view_.on_pending_events = [&] {
        if ("status " + view_.Status() == kWaitingForControl && ++turns_in_wait == 2) {
            session_.Cancel();
        }
    };
    session_.StartFetch(view_.data_kind);
    for (int tick = 0; tick < 10 && view_.timer_enabled; ++tick) {
        session_.PollDownload();
    }

    EXPECT_EQ(link_.given_up, std::vector<std::string>{operation});
    EXPECT_FALSE(session_.IsOpen());
    EXPECT_FALSE(view_.busy);
    EXPECT_FALSE(view_.timer_enabled);
    EXPECT_EQ(link_.close_calls, 1);
    EXPECT_EQ(view_.Shown().back(), kCancelled);
    EXPECT_EQ(view_.Boxes(), std::vector<std::string>{kOpening.substr(4)});
    ASSERT_FALSE(view_.outcomes.empty());
    EXPECT_EQ(view_.outcomes.back(), FetchEnd::Cancelled);
    EXPECT_EQ(YearFileLines(program_.path(), "2026").size(), operation == "JVRead" ? 1u : 0u);
    EXPECT_EQ(view_.LastTime(), "");
}

INSTANTIATE_TEST_SUITE_P(Operations, CancelWhileWaitingTest,
                         ::testing::Values("JVOpen", "JVStatus", "JVRead"));

// The window closes while JV-Link's own window is up: the call is given up, nothing more is
// shown, and the control is closed.
TEST_F(DownloadSessionTest, ClosingTheWindowWhileACallWaitsEndsTheFetchSilently) {
    link_.read_count = 1;
    link_.waits["JVOpen"] = {true, true};
    view_.on_pending_events = [this] { session_.WindowClosing(); };
    session_.StartFetch(view_.data_kind);

    EXPECT_EQ(link_.given_up, std::vector<std::string>{"JVOpen"});
    EXPECT_EQ(link_.close_calls, 1);
    EXPECT_FALSE(session_.IsOpen());
    EXPECT_EQ(view_.Count("beep"), 0);
    EXPECT_EQ(view_.Count("make list"), 0);
    EXPECT_EQ(view_.Boxes(), std::vector<std::string>{kOpening.substr(4)});
}

TEST(DownloadSessionLifetime, DestroyingAnOpenSessionClosesTheControl) {
    TempFolder program;
    FixedClock clock({2026, 12, 8, 21, 0, 0});
    ScriptedJVLink link;
    RecordingView view;
    link.read_count = 1;
    link.download_count = 1;
    {
        const SettingsFile settings = LoadedSettings(program.path());
        DownloadSession session(link, view, clock, settings, program.path());
        session.StartFetch(FetchMode::Setup);
        view.events.clear();
    }
    EXPECT_EQ(link.close_calls, 1);
    EXPECT_TRUE(view.events.empty());
}

}  // namespace
}  // namespace koyomi::testing
