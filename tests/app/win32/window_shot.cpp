// The Win32 window filled with a year of rows, to be looked at and driven under Wine on Xvfb
// (window_shot.sh): every action the window hands on is printed as a line, so a script can see
// which keys reached which action.
#include <windows.h>

#include <cstdio>

#include "app/win32/main_window_win32.h"
#include "app/win32/message_loop.h"
#include "recording_actions.h"
#include "sample_rows.h"
#include "support/sjis_text.h"

namespace koyomi::win32::testing {
namespace {

class PrintingActions final : public RecordingActions {
  public:
    MainWindowWin32* window = nullptr;
    int ticker_x = 0;

    void TimerFired(WindowTimer timer) override {
        if (timer != WindowTimer::Ticker || window == nullptr) {
            return;
        }
        window->SetTickerOffset(ticker_x);
        ticker_x -= 4;
        if (ticker_x + window->TickerTextWidth() < 0) {
            ticker_x = window->TickerWidth();
        }
    }
    void Exit() override {
        Print("Exit");
        window->Close();
    }
    void Print(const char* what) {
        std::printf("%s\n", what);
        std::fflush(stdout);
    }
    void Flush() {
        for (const std::string& call : calls) {
            Print(call.c_str());
        }
        calls.clear();
    }
};

int Run() {
    PrintingActions actions;
    MainWindowWin32 window(actions, {0, 0, 765, 540});
    actions.window = &window;
    window.SetYearItems({"2026年ｽｹｼﾞｭｰﾙ", "2025年ｽｹｼﾞｭｰﾙ"});
    window.SetSelectedYear(0);
    window.SetVenueItems(
        {Utf8ToSjis("全開催場所"), Utf8ToSjis("東京"), Utf8ToSjis("京都"), Utf8ToSjis("新潟")}, 0);
    window.SetTitle(Utf8ToSjis("2026年 スケジュール【ALL】"));
    window.SetTickerText(
        Utf8ToSjis("【明日の開催】　★東京１回１日　★　　　★京都１回１日　★　　　"));
    window.ShowGrid(SampleYearGrid());
    window.SetMarkedRows({9, 10, 11});
    window.SetStatusText("データ作成が完了しました。");
    window.StartTimer(WindowTimer::Ticker, 100);
    window.Show(SW_SHOWNORMAL);
    window.FocusYearSelector();
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!TranslateWindowMessage(window.window(), window.keys(), message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        actions.Flush();
    }
    actions.Flush();
    return 0;
}

}  // namespace
}  // namespace koyomi::win32::testing

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    return koyomi::win32::testing::Run();
}
