// The viewer: everything the program's window shows and decides, without a window system. It
// reads and writes the settings, lists the year files and loads the chosen one, builds the
// lists the venue, period and "重賞のみ" choices ask for, keeps the meetings message scrolling
// and today's rows marked, runs the fetch session, and copies, prints, saves and opens what
// the menus ask for. A window builds its widgets, forwards each user action and timer tick
// as one call and shows what the viewer reports through ViewerView.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "acquisition/download_session.h"
#include "acquisition/download_view.h"
#include "acquisition/jv_link.h"
#include "app/viewer_view.h"
#include "output/grid_printer.h"
#include "schedule/schedule_list.h"
#include "schedule/year_selector.h"
#include "support/app_folders.h"
#include "support/clock.h"
#include "support/message_dialog.h"
#include "support/open_url.h"
#include "support/settings_file.h"

namespace koyomi {

// "Ver.1.02": the version in the control's software ID and in the About box.
inline constexpr const char* kVersionText = "Ver.1.02";
// Settings of "重賞のみ" ("1": on; anything else or none: off) and of the folder the calendar
// was saved in last.
inline constexpr const char* kGradedSection = "jusho";
inline constexpr const char* kGradedKey = "jusho";
inline constexpr const char* kCalendarSection = "ical";
inline constexpr const char* kCalendarFolderKey = "folder";

class Viewer final : private DownloadView {
  public:
    struct Options {
        std::filesystem::path program_file;  // the running executable; its folder is home
        AppFolders folders;  // where writable things go; all beside the program file when empty
        std::unique_ptr<JVLink> jv_link;      // the control; none: fetch commands do nothing
        const Clock* clock = nullptr;         // "now"; the system clock when null
        DesktopLauncher* launcher = nullptr;  // opens the help and the home page; must be set
        // Where the calendar's save dialog opens when it has no folder of its own yet.
        std::filesystem::path documents_folder;
        std::filesystem::path home_folder;
    };

    // `view` and `presenter` must outlive the viewer. Nothing is shown before Start().
    Viewer(Options options, ViewerView& view, MessagePresenter& presenter);
    // Ends a fetch still open, keeping what it stored.
    ~Viewer() override;
    Viewer(const Viewer&) = delete;
    Viewer& operator=(const Viewer&) = delete;

    // Once the window's widgets exist: makes the data folder the current folder, reads the
    // settings, places the window, sets the selectors and the data kind, lists the year files.
    void Start();
    // Whenever the window has been shown and painted: the first time, initialises the control
    // with the program's version and returns true; later shows do nothing.
    bool FirstShown();
    // The window closes: an open fetch ends, the window's place is saved.
    void Close(const WindowPlace& place);

    // The user's actions and the timers' ticks, one call each.
    void Fetch();
    void CancelFetch();
    void PollDownload();
    void OpenControlSettings();
    void ChooseFetchMode(FetchMode mode);
    void ChooseYear(int index);
    void ChooseVenue(int index);
    void ChoosePeriod(Period period);
    void ChooseGradedOnly(bool on);
    void MoveToToday();
    void TickTicker();
    void TickDay();
    void CopyToClipboard();
    void SaveCalendar();
    void Print();
    void ShowHelpContents();
    void ShowAbout();
    void Exit();

    // What is shown, for tests and tools.
    const ScheduleListModel& model() const { return model_; }
    const std::string& message_text() const { return model_.message_text; }
    int ticker_offset() const { return ticker_offset_; }
    const AppFolders& folders() const { return folders_; }
    const std::vector<YearSelectorItem>& year_items() const { return year_items_; }
    int shown_year_index() const { return shown_year_index_; }
    Period period() const { return period_; }
    bool graded_only() const { return graded_only_; }
    FetchMode fetch_mode() const { return fetch_mode_; }
    // Data rows (the first is 0) marked as today's.
    const std::vector<int>& today_rows() const { return today_rows_; }
    // The first-run hint over the empty grid area (UTF-8); empty when there is none.
    const std::string& hint() const { return hint_; }
    bool IsFetching() const { return session_ && session_->IsOpen(); }
    // The table as clipboard text (code page 932), what "クリップボードへコピー(&C)" copies.
    std::string ClipboardBytes() const;
    // Changes what opens the help and the home page (tests).
    void SetDesktopLauncher(DesktopLauncher& launcher) { launcher_ = &launcher; }

  private:
    void RefillYearSelector();
    // Builds the list the venue selector asks for, narrowed by "重賞のみ", and shows it.
    void BuildAndShowList();
    void ShowModel();
    void MarkToday();
    void ShowHint();
    void ReportSettingsWrite(const Status& result);
    void ShowErrorBox(const std::string& text);

    // DownloadView: the session's duties, passed on to the window, and how the fetch stands.
    void SetStatusText(const std::string& text) override;
    void ShowInformation(const std::string& text) override;
    void ShowPlainMessage(const std::string& text) override;
    void Beep() override;
    void SetFetchBusy(bool busy) override;
    void SetDownloadPollEnabled(bool enabled) override;
    void ProcessPendingEvents() override;
    void SetFetchProgress(int done, int total) override;
    void RefreshAfterFetch(FetchEnd end) override;

    ViewerView& view_;
    MessagePresenter& presenter_;
    std::filesystem::path program_file_;
    AppFolders folders_;
    std::unique_ptr<Clock> own_clock_;
    const Clock* clock_ = nullptr;
    DesktopLauncher* launcher_ = nullptr;
    std::filesystem::path documents_folder_;
    std::filesystem::path home_folder_;
    SettingsFile settings_;

    ScheduleListModel model_;
    std::vector<YearSelectorItem> year_items_;  // the year selector's files, in item order
    int shown_year_index_ = -1;  // the selector's item last loaded; -1 after a refill
    bool year_loaded_ = false;   // a year file has been loaded since start-up
    Period period_ = Period::FromThisMonth;
    bool graded_only_ = false;
    FetchMode fetch_mode_ = FetchMode::Setup;
    int ticker_offset_ = 0;
    LocalDateTime marked_day_;     // the day today_rows_ belongs to
    std::vector<int> today_rows_;  // data rows, the first is 0
    std::string hint_;
    std::string version_text_;
    GridPrinter grid_printer_;

    // The control is declared before the session that talks to it, so it outlives it.
    std::unique_ptr<JVLink> control_;
    std::unique_ptr<DownloadSession> session_;
};

}  // namespace koyomi
