// The program's window over the viewer under Wine: what the viewer decides lands on the
// widgets, and what the widgets ask for reaches the viewer.
#include "app/win32/program_window.h"

#include <gtest/gtest.h>

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include "support/settings_file.h"
#include "testing/scripted_jv_link.h"
#include "testing/temp_folder.h"
#include "testing/ys_record.h"

namespace koyomi::win32 {
namespace {

using koyomi::testing::YsRecord;

class RecordingPresenter final : public MessagePresenter {
  public:
    std::vector<std::string> boxes;
    void Beep() override {}
    DialogResult ShowModal(const MessageBoxRequest& request) override {
        boxes.push_back(request.text);
        return DialogResult::Ok;
    }
};

int ItemCount(HWND combo) {
    return static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
}

TEST(ProgramWindow, ShowsWhatTheViewerDecidesAndKeepsThePlaceItWasClosedAt) {
    koyomi::testing::TempFolder folder;
    // The viewer works in its data folder, which Windows cannot remove while it is current.
    struct KeptCurrentFolder {
        std::filesystem::path folder = std::filesystem::current_path();
        ~KeptCurrentFolder() { std::filesystem::current_path(folder); }
    } const kept;
    SettingsFile settings(folder / "koyomivw.exe");
    settings.Loaded();
    for (const auto& [key, value] : {std::pair{"left", 40}, std::pair{"top", 50},
                                     std::pair{"width", 700}, std::pair{"height", 500}}) {
        ASSERT_TRUE(settings.WriteInteger("locate", key, value));
    }
    const FixedClock clock{{2026, 1, 4, 9, 0, 0}};
    RecordingPresenter presenter;
    auto link = std::make_unique<koyomi::testing::ScriptedJVLink>();
    koyomi::testing::ScriptedJVLink& control = *link;
    HWND told = nullptr;
    ProgramWindow::Options options;
    options.program_file = folder / "koyomivw.exe";
    options.jv_link = std::move(link);
    options.clock = &clock;
    options.window_made = [&told](HWND window) { told = window; };
    ProgramWindow program(std::move(options), presenter);
    const MainWindowWin32& window = program.window();
    EXPECT_EQ(told, window.window());
    RECT frame{};
    GetWindowRect(window.window(), &frame);
    EXPECT_EQ((std::vector<LONG>{frame.left, frame.top, frame.right, frame.bottom}),
              (std::vector<LONG>{40, 50, 740, 550}));
    EXPECT_EQ(ItemCount(window.year_selector()), 0);

    // A fetch runs through the window's own pump and leaves the year it made to choose.
    control.read_count = 1;
    control.last_file_timestamp = u"20260105093000";
    control.read_steps = {koyomi::testing::Record(YsRecord::Day("20260105", "06")),
                          koyomi::testing::Code(0)};
    program.actions().Fetch();
    EXPECT_EQ(window.status_line().text(), L"データ作成が完了しました。");
    ASSERT_EQ(ItemCount(window.year_selector()), 1);
    EXPECT_EQ(SendMessageW(window.year_selector(), CB_GETCURSEL, 0, 0), CB_ERR);

    program.actions().ChooseYear(0);
    EXPECT_EQ(window.title().caption(), L"2026年 スケジュール【ALL】");
    EXPECT_EQ(window.schedule_list().RowCount(), program.viewer().model().grid.RowCount());
    EXPECT_GT(window.schedule_list().RowCount(), 0);
    EXPECT_EQ(ItemCount(window.venue_selector()),
              static_cast<int>(program.viewer().model().venue_selector.items.size()));
    program.actions().ChoosePeriod(1);
    EXPECT_EQ(program.viewer().period(), Period::AllMonths);
    program.actions().ChooseDataKind(DataKind::Setup);
    EXPECT_EQ(program.viewer().fetch_mode(), FetchMode::Setup);

    MoveWindow(window.window(), 60, 70, 720, 520, FALSE);
    SendMessageW(window.window(), WM_CLOSE, 0, 0);
    SettingsFile saved(folder / "koyomivw.exe");
    saved.Loaded();
    EXPECT_EQ(
        (std::vector<int>{
            saved.ReadInteger("locate", "left", 0), saved.ReadInteger("locate", "top", 0),
            saved.ReadInteger("locate", "width", 0), saved.ReadInteger("locate", "height", 0)}),
        (std::vector<int>{60, 70, 720, 520}));
    EXPECT_EQ(saved.ReadInteger("kikan", "kikan", 0), 1);
}

// Closing the window while a fetch reads ends the fetch and then the program: the message loop
// the fetch was started from still gets the program's end.
TEST(ProgramWindow, WindowClosedDuringAFetchStillEndsTheMessageLoop) {
    koyomi::testing::TempFolder folder;
    struct KeptCurrentFolder {
        std::filesystem::path folder = std::filesystem::current_path();
        ~KeptCurrentFolder() { std::filesystem::current_path(folder); }
    } const kept;
    RecordingPresenter presenter;
    auto link = std::make_unique<koyomi::testing::ScriptedJVLink>();
    link->read_count = 1;
    link->last_file_timestamp = u"20260105093000";
    link->read_steps = {koyomi::testing::Record(YsRecord::Day("20260105", "06")),
                        koyomi::testing::Code(0)};
    ProgramWindow::Options options;
    options.program_file = folder / "koyomivw.exe";
    options.jv_link = std::move(link);
    ProgramWindow program(std::move(options), presenter);
    PostMessageW(program.window().window(), WM_CLOSE, 0, 0);
    program.actions().Fetch();
    EXPECT_EQ(program.window().window(), nullptr);
    MSG quit{};
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

}  // namespace
}  // namespace koyomi::win32
