// What the download session needs from the main window. Texts are code page 932; the window
// converts them for the screen.
#pragma once

#include <string>

namespace koyomi {

// The radio items of the Options menu's "取得データの種類".
enum class DataKind {
    Normal,  // "通常データ"
    Setup,   // "セットアップデータ"
};

class DownloadView {
  public:
    virtual ~DownloadView() = default;

    // Sets the status line's simple text.
    virtual void SetStatusText(const std::string& text) = 0;

    // A modal information box with one OK button; returns when it is dismissed.
    virtual void ShowInformation(const std::string& text) = 0;

    // A modal plain message box (no icon) with one OK button.
    virtual void ShowPlainMessage(const std::string& text) = 0;

    // The system's default message beep.
    virtual void Beep() = 0;

    // true: the application-starting cursor (arrow with hourglass); false: the default cursor.
    virtual void SetBusyCursor(bool busy) = 0;

    // Turns download_poll_timer_ (10 ms, calls PollDownload) on or off.
    virtual void SetStatusTimerEnabled(bool enabled) = 0;

    // Lets the window handle its pending events (repaint, input, timers) and returns.
    virtual void ProcessPendingEvents() = 0;

    // The checked data-kind item, and checking one (which unchecks the other).
    virtual DataKind CheckedDataKind() const = 0;
    virtual void CheckDataKind(DataKind kind) = 0;

    // Triggers the list-making command (MakeDataListBtn): refills the year selector.
    virtual void MakeDataList() = 0;

    // Writes section "JvDataGet", key "LastTime". On failure returns false with `reason`, a
    // UTF-8 text that names the settings file and the system's reason.
    virtual bool WriteLastTime(const std::string& value, std::string& reason) = 0;

    // Progress of the running session for a bar beside the status text: `done` of `total`
    // files downloaded or read. A total of 0 removes the bar.
    virtual void SetProgress(int done, int total) = 0;
};

}  // namespace koyomi
