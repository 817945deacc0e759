// What the download session shows through the main window. Texts are UTF-8; the session
// decides everything, the window only shows it.
#pragma once

#include <set>
#include <string>

namespace koyomi {

// What a fetch asks JV-Link for: the menu's "通常データ" (what is new since the last fetch) or
// "セットアップデータ" (the last ten years).
enum class FetchMode {
    Normal,
    Setup,
};

// Where a fetch stands when the window is told: the year files it changed so far, whether it
// has ended, and, when it read everything, that the next fetch asks for normal data.
struct FetchOutcome {
    bool ended = false;                   // the request is closed
    bool completed = false;               // every record was read and stored
    bool cancelled = false;               // the user ended it
    bool switch_to_normal = false;        // a newest-data time was read: ask for new data next
    std::set<std::string> changed_years;  // "2026", ...
    std::string failure;                  // what went wrong, UTF-8; empty when nothing did
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

    // Turns the 10 ms download poll (which calls DownloadSession::PollDownload) on or off.
    virtual void SetStatusTimerEnabled(bool enabled) = 0;

    // Lets the window handle its pending events (repaint, input, timers) and returns.
    virtual void ProcessPendingEvents() = 0;

    // Progress of the running session for a bar beside the status text: `done` of `total`
    // files downloaded or read. A total of 0 removes the bar.
    virtual void SetProgress(int done, int total) = 0;

    // The year files may have changed: list them again, and check "通常データ" when the
    // outcome says so.
    virtual void ShowOutcome(const FetchOutcome& outcome) = 0;
};

}  // namespace koyomi
