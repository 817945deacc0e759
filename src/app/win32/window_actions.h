// What the Win32 window's menus, buttons, selectors, keys and timers ask for. The window
// decides nothing: every choice goes to the one object behind it, which sets what the window
// shows through the window's own methods.
#pragma once

namespace koyomi::win32 {

// The data kind of the next fetch, the radio items of "取得データの種類".
enum class DataKind { Normal, Setup };

// The window's timers; the object behind the window starts and stops them.
enum class WindowTimer { Ticker = 1, DownloadPoll, DayChange };

// The window's frame in screen pixels, as the settings file keeps it.
struct WindowPlacement {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

class WindowActions {
  public:
    virtual ~WindowActions() = default;

    virtual void Fetch() = 0;
    virtual void CopyToClipboard() = 0;
    virtual void SaveCalendar() = 0;
    virtual void OpenControlSettings() = 0;
    virtual void Print() = 0;
    virtual void SetUpPrinter() = 0;
    virtual void Exit() = 0;
    virtual void ChooseDataKind(DataKind kind) = 0;
    virtual void ShowHelpContents() = 0;
    virtual void ShowAbout() = 0;
    // Items in the order the window was given them; only the user's choices arrive here, not
    // the window's own refills.
    virtual void ChooseYear(int index) = 0;
    virtual void ChooseVenue(int index) = 0;
    virtual void ChoosePeriod(int index) = 0;  // 0 "今月以降", 1 "全月分"
    virtual void ChooseGradedOnly(bool on) = 0;
    virtual void MoveToToday() = 0;
    virtual void CancelFetch() = 0;
    virtual void TimerFired(WindowTimer timer) = 0;
    // Once, after the window's first paint.
    virtual void FirstShown() = 0;
    // The window is closing with this frame; it closes whatever the answer.
    virtual void Closing(const WindowPlacement& placement) = 0;
};

}  // namespace koyomi::win32
