// The viewer without a window: the choices and what they show, the fetch's outcome, the ticker
// and the turn of the day.
#include "app/viewer.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "schedule/year_file.h"
#include "support/settings_file.h"
#include "testing/files.h"
#include "testing/record_by_record_store.h"
#include "testing/scripted_jv_link.h"
#include "testing/temp_folder.h"
#include "testing/ys_record.h"

namespace koyomi {
namespace {

using testing::TempFolder;
using testing::YsRecord;

class RecordingPresenter final : public MessagePresenter {
  public:
    std::vector<std::string> boxes;  // "beep" for a beep, else the box's text
    DialogResult answer = DialogResult::Ok;
    void Beep() override { boxes.push_back("beep"); }
    DialogResult ShowModal(const MessageBoxRequest& request) override {
        boxes.push_back(request.text);
        return answer;
    }
};

// A window that keeps the last of everything it was asked to show.
class LastShownView final : public ViewerView {
  public:
    std::vector<std::string> year_items;
    int selected_year = -2;  // -2: never selected
    std::string title;
    int list_rows = -1;
    std::string message;
    std::vector<int> marked_rows;
    std::string hint;
    FetchMode fetch_mode = FetchMode::Setup;
    std::string status;
    bool poll_enabled = false;
    int text_width = 0;
    std::vector<int> drawn_offsets;

    void PlaceWindow(const WindowPlace&) override {}
    void ShowYearItems(const std::vector<std::string>& items) override {
        year_items = items;
        selected_year = -1;
    }
    void SelectYear(int index) override { selected_year = index; }
    void ShowList(const ScheduleListModel& model) override {
        title = SjisToUtf8(model.title);
        list_rows = model.grid.RowCount();
    }
    void ShowMeetingsMessage(const std::string& text) override { message = SjisToUtf8(text); }
    void MarkTodayRows(const std::vector<int>& rows) override { marked_rows = rows; }
    void GoToRow(int) override {}
    void ShowHint(const std::string& text) override { hint = text; }
    void ShowPeriod(Period) override {}
    void ShowGradedOnly(bool) override {}
    void ShowFetchMode(FetchMode mode) override { fetch_mode = mode; }
    int TickerBandWidth() const override { return 300; }
    int TickerTextWidth() const override { return text_width; }
    void DrawTicker(int offset) override { drawn_offsets.push_back(offset); }
    void SetStatusText(const std::string& text) override { status = text; }
    void SetFetchBusy(bool) override {}
    void SetDownloadPollEnabled(bool enabled) override { poll_enabled = enabled; }
    void ProcessPendingEvents() override {}
    void SetFetchProgress(int, int) override {}
    void SetClipboardText(const std::string&) override {}
    std::optional<std::filesystem::path> AskCalendarFile(const std::filesystem::path&,
                                                         const std::string&) override {
        return std::nullopt;
    }
    Result<PrintedTo> PrintList(const PrintRequest&) override { return Fail("no printer"); }
    void ShowAboutBox(const AboutText&, DesktopLauncher&) override {}
    void CloseWindow() override {}
};

class ViewerTest : public ::testing::Test {
  protected:
    TempFolder folder_;
    FixedClock clock_{{2024, 5, 4, 9, 0, 0}};
    LastShownView view_;
    RecordingPresenter presenter_;
    testing::ScriptedJVLink* link_ = nullptr;  // owned by the viewer

    std::unique_ptr<Viewer> MakeViewer() {
        Viewer::Options options;
        options.program_file = folder_.path() / "koyomivw";
        auto link = std::make_unique<testing::ScriptedJVLink>();
        link_ = link.get();
        options.jv_link = std::move(link);
        options.clock = &clock_;
        auto viewer = std::make_unique<Viewer>(std::move(options), view_, presenter_);
        viewer->Start();
        return viewer;
    }

    void Store(const YsRecord& record) {
        std::vector<std::string> work;
        ASSERT_EQ(testing::StoreRecordByRewrite(folder_.path(), record.Record(), work).status,
                  StoreStatus::Stored);
    }

    static YsRecord Day(const char* year, const char* month, const char* day, const char* venue,
                        const char* grade) {
        YsRecord record;
        record.year = year;
        record.month = month;
        record.day = day;
        record.venue = venue;
        record.grade = grade;
        return record;
    }

    int SettingOf(const char* section) const {
        SettingsFile settings(folder_.path() / "koyomivw");
        settings.Loaded();
        return settings.ReadInteger(section, section, -1);
    }
};

// One list query serves the venue, period and "重賞のみ" together, whichever changes; the choices
// are saved and the title says when the list is narrowed.
TEST_F(ViewerTest, VenuePeriodAndGradedChoicesMakeOneList) {
    Store(Day("2024", "04", "28", "05", "A"));  // Tokyo, before this month
    Store(Day("2024", "05", "04", "05", "A"));  // Tokyo G1 today
    Store(Day("2024", "05", "05", "05", " "));  // Tokyo, no graded race
    Store(Day("2024", "05", "05", "08", "B"));  // Kyoto G2 tomorrow
    auto viewer = MakeViewer();
    viewer->ChooseYear(0);
    EXPECT_EQ(view_.list_rows, 3);
    EXPECT_EQ(view_.marked_rows, std::vector<int>{0});

    viewer->ChooseGradedOnly(true);
    EXPECT_EQ(view_.list_rows, 2);
    EXPECT_EQ(view_.title, "2024年 スケジュール【ALL】 ＜重賞＞");
    const std::vector<std::string>& venues = viewer->model().venue_selector.items;
    const int tokyo = static_cast<int>(std::find(venues.begin(), venues.end(), Utf8ToSjis("東京")) -
                                       venues.begin());
    ASSERT_LT(tokyo, static_cast<int>(venues.size()));
    viewer->ChooseVenue(tokyo);
    EXPECT_EQ(view_.list_rows, 1);
    viewer->ChoosePeriod(Period::AllMonths);
    EXPECT_EQ(view_.list_rows, 2);  // April's graded day comes back, still Tokyo, still graded
    EXPECT_EQ(view_.title, "2024年 スケジュール【東京】 ＜重賞＞");
    viewer->ChooseGradedOnly(false);
    EXPECT_EQ(view_.list_rows, 3);
    EXPECT_EQ(SettingOf("kikan"), 1);
    EXPECT_EQ(SettingOf("jusho"), 0);
    EXPECT_TRUE(presenter_.boxes.empty());
}

// A year file that vanished: the box names it, and the selector goes back to the year still
// shown, not to the one that failed nor to none.
TEST_F(ViewerTest, YearThatFailsToLoadLeavesTheShownYearSelected) {
    Store(Day("2024", "05", "04", "05", "A"));
    Store(Day("2023", "12", "28", "06", "A"));
    auto viewer = MakeViewer();
    viewer->ChooseYear(1);
    ASSERT_EQ(view_.title, "2023年 スケジュール【ALL】");
    std::filesystem::remove(folder_.path() / YearFileName("2024"));
    viewer->ChooseYear(0);
    EXPECT_EQ(view_.selected_year, 1);
    EXPECT_EQ(view_.title, "2023年 スケジュール【ALL】");
    ASSERT_EQ(presenter_.boxes.size(), 2u);
    EXPECT_EQ(presenter_.boxes[0], "beep");
    EXPECT_NE(presenter_.boxes[1].find("2024"), std::string::npos);
}

// A completed fetch lists the new year files, leaves the year unchosen, turns the hint from
// "fetch" to "choose a year", and makes the next fetch ask for what is new only.
TEST_F(ViewerTest, CompletedFetchRefillsTheYearsAndAsksForNewDataNext) {
    auto viewer = MakeViewer();
    const std::string fetch_hint = view_.hint;
    EXPECT_TRUE(view_.year_items.empty());
    EXPECT_EQ(view_.fetch_mode, FetchMode::Setup);
    link_->read_count = 1;
    link_->last_file_timestamp = u"20260105093000";
    link_->read_steps = {testing::Record(YsRecord::Day("20260105", "06")), testing::Code(0)};
    viewer->Fetch();
    EXPECT_EQ(link_->open_option, 3);
    EXPECT_EQ(view_.year_items, std::vector<std::string>{"2026年ｽｹｼﾞｭｰﾙ"});
    EXPECT_EQ(view_.selected_year, -1);
    EXPECT_EQ(view_.fetch_mode, FetchMode::Normal);
    EXPECT_EQ(view_.status, "データ作成が完了しました。");
    EXPECT_FALSE(view_.hint.empty());
    EXPECT_NE(view_.hint, fetch_hint);

    link_->read_count = 0;
    viewer->Fetch();
    EXPECT_EQ(link_->open_option, 1);
    EXPECT_EQ(link_->open_fromtime, u"20030406104642");
}

// The band moves 4 pixels a tick, comes in again from the right once the text has left, and
// rests at the right edge while there is no message; at midnight the mark and the message move
// on without a new list.
TEST_F(ViewerTest, TickerScrollsAndTheDayTurnsAtMidnight) {
    Store(Day("2024", "05", "04", "05", "A"));
    clock_.Set({2024, 5, 3, 23, 59, 0});
    auto viewer = MakeViewer();
    viewer->TickTicker();
    EXPECT_TRUE(view_.drawn_offsets.empty());
    viewer->ChooseYear(0);
    EXPECT_TRUE(view_.marked_rows.empty());
    EXPECT_EQ(view_.message.rfind("【明日の開催】", 0), 0u) << view_.message;

    view_.text_width = 6;
    for (int tick = 0; tick < 4; ++tick) {
        viewer->TickTicker();
    }
    EXPECT_EQ(view_.drawn_offsets, (std::vector<int>{300, 296, 292, 288}));
    // After -4 the text's right edge would stand at -8 + 6, left of the band.
    for (int tick = 0; tick < 73; ++tick) {
        viewer->TickTicker();
    }
    EXPECT_EQ(view_.drawn_offsets.back(), -4);
    EXPECT_EQ(viewer->ticker_offset(), 300);

    viewer->TickDay();
    EXPECT_TRUE(view_.marked_rows.empty());
    clock_.Set({2024, 5, 4, 0, 0, 30});
    viewer->TickDay();
    EXPECT_EQ(view_.marked_rows, std::vector<int>{0});
    EXPECT_EQ(view_.message.rfind("【本日の開催】", 0), 0u) << view_.message;
}

}  // namespace
}  // namespace koyomi
