// What a window does for the viewer: it shows what the viewer hands it and runs the few
// services that only a window system has. It keeps no state and makes no decision of its own;
// every user action and timer tick goes back to the viewer as one call. Texts are UTF-8 unless
// said to be code page 932.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "acquisition/download_view.h"
#include "output/print_request.h"
#include "schedule/schedule_list.h"
#include "support/open_url.h"
#include "support/result.h"

namespace koyomi {

// The window's place on the screen, in pixels.
struct WindowPlace {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const WindowPlace&, const WindowPlace&) = default;
};

// What the About box shows and opens.
struct AboutText {
    std::string version;        // "Ver.1.02"
    std::string home_page_url;  // what its button opens
    std::string folders;        // the folders in use, a line each
};

class ViewerView {
  public:
    virtual ~ViewerView() = default;

    // The window's place, restored from the settings at start-up.
    virtual void PlaceWindow(const WindowPlace& place) = 0;

    // The year selector's items, newest first; nothing is selected after a refill.
    virtual void ShowYearItems(const std::vector<std::string>& items) = 0;
    // Selects an item of the year selector without running its handler; -1 selects none.
    virtual void SelectYear(int index) = 0;

    // The list: the title, the grid (hidden while it is not Visible()) and the venue selector
    // with its selection, all from `model`, code page 932. Refilling the venue selector does not
    // run its handler.
    virtual void ShowList(const ScheduleListModel& model) = 0;
    // The meetings message of the band above the grid, code page 932.
    virtual void ShowMeetingsMessage(const std::string& text) = 0;
    // Marks the data rows (the first is 0) dated today, in ascending order.
    virtual void MarkTodayRows(const std::vector<int>& rows) = 0;
    // Makes data row `row` (the first is 0) current, scrolls it to the top and focuses the grid.
    virtual void GoToRow(int row) = 0;
    // The hint over the empty grid area; an empty text shows none.
    virtual void ShowHint(const std::string& text) = 0;

    // The selectors' and the data-kind menu's state, as the settings or a fetch decide it;
    // setting them does not run their handlers.
    virtual void ShowPeriod(Period period) = 0;
    virtual void ShowGradedOnly(bool on) = 0;
    virtual void ShowFetchMode(FetchMode mode) = 0;

    // The message band: its width, the message's width in the band's font, and the message
    // drawn with its left edge at `offset` pixels.
    virtual int TickerBandWidth() const = 0;
    virtual int TickerTextWidth() const = 0;
    virtual void DrawTicker(int offset) = 0;

    // The status line's simple text; an empty text clears it.
    virtual void SetStatusText(const std::string& text) = 0;
    // While a fetch holds a request open: the busy cursor and the way to cancel it.
    virtual void SetFetchBusy(bool busy) = 0;
    // Starts or stops the 10 ms download poll, whose ticks go to Viewer::PollDownload.
    virtual void SetDownloadPollEnabled(bool enabled) = 0;
    // Lets the window handle its pending events (repaint, input, timers) and returns.
    virtual void ProcessPendingEvents() = 0;
    // A bar of `done` of `total` files beside the status line; a total of 0 removes it.
    virtual void SetFetchProgress(int done, int total) = 0;

    // Puts code page 932 text on the clipboard as the platform's text.
    virtual void SetClipboardText(const std::string& text) = 0;
    // The save dialog of "カレンダー形式で保存", opened in `folder` with `file_name` proposed;
    // none when the user cancels.
    virtual std::optional<std::filesystem::path> AskCalendarFile(
        const std::filesystem::path& folder, const std::string& file_name) = 0;
    // Runs one print job on the printer chosen last, or into `pdf_file` when there is none
    // (unless the printer set-up named another file). The reason of a failure is for the user.
    virtual Result<PrintedTo> PrintList(const PrintRequest& request) = 0;
    // The About box, modal; `launcher` opens its home page.
    virtual void ShowAboutBox(const AboutText& text, DesktopLauncher& launcher) = 0;
    // The window closes, which ends the program.
    virtual void CloseWindow() = 0;
};

}  // namespace koyomi
