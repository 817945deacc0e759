// The Win32 window under Wine: what it shows from the bytes it is given, and what it hands on.
#include <gtest/gtest.h>

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include "app/win32/command_ids.h"
#include "app/win32/main_window_win32.h"
#include "app/win32/message_loop.h"
#include "recording_actions.h"
#include "sample_rows.h"
#include "support/sjis_text.h"

namespace koyomi::win32 {
namespace {

using testing::RecordingActions;

class MainWindowWin32Test : public ::testing::Test {
  protected:
    RecordingActions actions;
    MainWindowWin32 window{actions, {20, 30, 765, 540}};
};

std::wstring ListText(HWND list, int row, int column) {
    wchar_t text[256] = {};
    ListView_GetItemText(list, row, column, text, 256);
    return text;
}

TEST_F(MainWindowWin32Test, ShowsTheGridsBytesAsTextAndDropsRowsNoLongerGiven) {
    ScheduleGrid grid = testing::SampleYearGrid();
    ScheduleRow broken;
    broken[GridColumn::RaceName] = "\x82";  // a lead byte with nothing after it
    grid.AppendRow(broken);
    window.ShowGrid(grid);
    HWND list = window.schedule_list().window();
    ASSERT_EQ(ListView_GetItemCount(list), grid.RowCount());
    EXPECT_EQ(ListText(list, 0, 1), L"2026年01月03日");
    EXPECT_EQ(ListText(list, 0, 3), L"東京");
    EXPECT_EQ(ListText(list, grid.RowCount() - 1, 13), L"\xFFFD");
    EXPECT_TRUE(IsWindowVisible(list) || !IsWindowVisible(window.window()));

    ScheduleGrid shorter;
    shorter.AppendRow(grid.Row(0));
    shorter.Show();
    window.ShowGrid(shorter);
    EXPECT_EQ(ListView_GetItemCount(list), 1);
    EXPECT_EQ(ListText(list, 1, 1), L"");
}

TEST_F(MainWindowWin32Test, RefillsReportNoChoiceButTheUsersChoicesGoOn) {
    window.SetYearItems({"2026年ｽｹｼﾞｭｰﾙ", "2025年ｽｹｼﾞｭｰﾙ"});
    window.SetVenueItems({Utf8ToSjis("全開催場所"), Utf8ToSjis("東京")}, 0);
    window.SetPeriod(1);
    window.SetGradedOnly(true);
    EXPECT_TRUE(actions.calls.empty());
    EXPECT_EQ(SendMessageW(window.year_selector(), CB_GETCURSEL, 0, 0), CB_ERR);

    // A key in the closed list chooses at once.
    SendMessageW(window.year_selector(), CB_SETCURSEL, 1, 0);
    SendMessageW(window.window(), WM_COMMAND, MAKEWPARAM(kControlYearSelector, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(window.year_selector()));
    SendMessageW(window.period_button(0), BM_CLICK, 0, 0);
    SendMessageW(window.graded_check(), BM_CLICK, 0, 0);
    SendMessageW(window.window(), WM_COMMAND, kCommandNormalData, 0);
    EXPECT_EQ(actions.calls,
              (std::vector<std::string>{"ChooseYear 1", "ChoosePeriod 0", "ChooseGradedOnly off",
                                        "ChooseDataKind Normal"}));
    const UINT state = GetMenuState(GetMenu(window.window()), kCommandNormalData, MF_BYCOMMAND);
    EXPECT_NE(state & MF_CHECKED, 0u);
}

TEST_F(MainWindowWin32Test, CtrlTAndEscReachTheirActionsAndTabStartsAtTheYearSelector) {
    window.Show(SW_SHOWNOACTIVATE);
    window.FocusYearSelector();
    const auto press = [this](WPARAM key, bool control) {
        BYTE keys[256] = {};
        keys[VK_CONTROL] = control ? 0x80 : 0;
        SetKeyboardState(keys);
        MSG message{GetFocus(), WM_KEYDOWN, key, 1, 0, {}};
        const bool taken = TranslateWindowMessage(window.window(), window.keys(), message);
        keys[VK_CONTROL] = 0;
        SetKeyboardState(keys);
        return taken;
    };
    EXPECT_TRUE(press('T', true));
    EXPECT_TRUE(press(VK_ESCAPE, false));
    EXPECT_EQ(actions.calls, (std::vector<std::string>{"MoveToToday", "CancelFetch"}));

    // The Tab order of the Linux window: year, venue, period, "重賞のみ".
    HWND after_year = GetNextDlgTabItem(window.window(), window.year_selector(), FALSE);
    EXPECT_EQ(after_year, window.venue_selector());
    HWND after_venue = GetNextDlgTabItem(window.window(), window.venue_selector(), FALSE);
    EXPECT_EQ(after_venue, window.period_button(0));
    EXPECT_EQ(GetNextDlgTabItem(window.window(), after_venue, FALSE), window.graded_check());
}

TEST_F(MainWindowWin32Test, ABoxThatClosesGivesTheFocusBackToTheControlThatHadIt) {
    window.Show(SW_SHOW);
    SetActiveWindow(window.window());
    SetFocus(window.venue_selector());
    HWND box = CreateWindowExW(0, L"STATIC", L"box", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                               window.window(), nullptr, nullptr, nullptr);
    SetActiveWindow(box);
    ASSERT_NE(GetFocus(), window.venue_selector());
    DestroyWindow(box);
    SetActiveWindow(window.window());
    EXPECT_EQ(GetFocus(), window.venue_selector());
}

TEST_F(MainWindowWin32Test, ClosingHandsOnTheFrameOnce) {
    window.Close();
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&message);
    }
    EXPECT_EQ(actions.calls, (std::vector<std::string>{"Closing"}));
    EXPECT_EQ(actions.closed_with.left, 20);
    EXPECT_EQ(actions.closed_with.width, 765);
}

}  // namespace
}  // namespace koyomi::win32

int wmain(int argc, wchar_t** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
