// What the download session shows through the main window. Texts are UTF-8; the session
// decides everything, the window only shows it.
#pragma once

#include <string>

namespace koyomi {

// What a fetch asks JV-Link for: the menu's "通常データ" (what is new since the last fetch) or
// "セットアップデータ" (the last ten years).
enum class FetchMode {
    Normal,
    Setup,
};

// Where a fetch stands when the window is told. A failure's box has been shown by then, so
// the window only needs to know what to list and which data kind the next fetch asks for.
enum class FetchEnd {
    Downloading,  // the request is open and JV-Link is still downloading
    Completed,    // every record was read and stored, and the newest data's time with them:
                  // the next fetch asks for what is new
    Stored,       // every record was read and stored, but no newest-data time came with them
    NoNewData,    // JV-Link has nothing newer than the last fetch
    Cancelled,    // the user ended it; what was read so far is on disk where it could be kept
    Failed,       // the control or a file failed; what was read before is kept
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

    // While a request is open: a pointer that says the program is working while the window
    // still takes input (arrow with hourglass); off again when the request is closed.
    virtual void SetFetchBusy(bool busy) = 0;

    // Turns the 10 ms download poll (which calls DownloadSession::PollDownload) on or off.
    virtual void SetDownloadPollEnabled(bool enabled) = 0;

    // Lets the window handle its pending events (repaint, input, timers) and returns.
    virtual void ProcessPendingEvents() = 0;

    // Progress of the running session for a bar beside the status text: `done` of `total`
    // files downloaded or read. A total of 0 removes the bar.
    virtual void SetFetchProgress(int done, int total) = 0;

    // The year files may have changed: list them again, and check "通常データ" when the fetch
    // ended Completed.
    virtual void RefreshAfterFetch(FetchEnd end) = 0;
};

}  // namespace koyomi
