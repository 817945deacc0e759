// The program on Windows: the Win32 window over the viewer. It owns the window, the viewer and
// the services the viewer asks the window for (boxes, the shell, the clipboard, the save
// dialog); what the window's widgets ask for goes to the viewer as one call, and what the
// viewer shows lands on the widgets.
#pragma once

#include <windows.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "acquisition/jv_link.h"
#include "app/viewer.h"
#include "app/viewer_view.h"
#include "app/win32/main_window_win32.h"
#include "app/win32/window_actions.h"
#include "output/win32/windows_printer.h"
#include "support/app_folders.h"
#include "support/clock.h"
#include "support/message_dialog.h"
#include "support/open_url.h"

namespace koyomi::win32 {

class ProgramWindow final : private ViewerView, private WindowActions {
  public:
    struct Options {
        std::filesystem::path program_file;  // the running executable; its folder is home
        AppFolders folders;  // where writable things go; all beside the program file when empty
        std::unique_ptr<JVLink> jv_link;         // the control the window hosts
        std::filesystem::path documents_folder;  // where the calendar's save dialog opens first
        std::filesystem::path home_folder;
        const Clock* clock = nullptr;         // "now"; the system clock when null
        DesktopLauncher* launcher = nullptr;  // the shell's when null
        // Told the window as soon as it is made, before any box: the boxes' owner.
        std::function<void(HWND)> window_made;
    };

    // The window is made and the viewer started, with `presenter` for its boxes. Nothing shows
    // before Show.
    ProgramWindow(Options options, MessagePresenter& presenter);
    ~ProgramWindow() override;
    ProgramWindow(const ProgramWindow&) = delete;
    ProgramWindow& operator=(const ProgramWindow&) = delete;

    void Show(int show_command);
    // Until the window is closed; the program's exit code.
    int Run();

    // What is shown, for the program's tests.
    const MainWindowWin32& window() const { return window_; }
    const Viewer& viewer() const { return *viewer_; }
    // What a user does, for the program's tests.
    WindowActions& actions() { return *this; }

  private:
    // ViewerView.
    void PlaceWindow(const WindowPlace& place) override;
    void ShowYearItems(const std::vector<std::string>& items) override;
    void SelectYear(int index) override;
    void ShowList(const ScheduleListModel& model) override;
    void ShowMeetingsMessage(const std::string& text) override;
    void MarkTodayRows(const std::vector<int>& rows) override;
    void GoToRow(int row) override;
    void ShowHint(const std::string& text) override;
    void ShowPeriod(Period period) override;
    void ShowGradedOnly(bool on) override;
    void ShowFetchMode(FetchMode mode) override;
    int TickerBandWidth() const override;
    int TickerTextWidth() const override;
    void DrawTicker(int offset) override;
    void SetStatusText(const std::string& text) override;
    void SetFetchBusy(bool busy) override;
    void SetDownloadPollEnabled(bool enabled) override;
    void ProcessPendingEvents() override;
    void SetFetchProgress(int done, int total) override;
    void SetClipboardText(const std::string& text) override;
    std::optional<std::filesystem::path> AskCalendarFile(const std::filesystem::path& folder,
                                                         const std::string& file_name) override;
    Result<PrintedTo> PrintList(const PrintRequest& request) override;
    void ShowAboutBox(const AboutText& text, DesktopLauncher& launcher) override;
    void CloseWindow() override;

    // WindowActions.
    void Fetch() override;
    void CopyToClipboard() override;
    void SaveCalendar() override;
    void OpenControlSettings() override;
    void Print() override;
    void SetUpPrinter() override;
    void Exit() override;
    void ChooseDataKind(DataKind kind) override;
    void ShowHelpContents() override;
    void ShowAbout() override;
    void ChooseYear(int index) override;
    void ChooseVenue(int index) override;
    void ChoosePeriod(int index) override;
    void ChooseGradedOnly(bool on) override;
    void MoveToToday() override;
    void CancelFetch() override;
    void TimerFired(WindowTimer timer) override;
    void FirstShown() override;
    void Closing(const WindowPlacement& placement) override;

    MessagePresenter& presenter_;
    std::unique_ptr<DesktopLauncher> shell_;
    WindowsPrinter printer_;
    MainWindowWin32 window_;
    std::unique_ptr<Viewer> viewer_;
    bool quit_seen_ = false;  // the program's end met while pumping during a fetch
};

}  // namespace koyomi::win32
