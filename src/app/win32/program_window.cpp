#include "app/win32/program_window.h"

#include <commdlg.h>

#include <utility>

#include "app/win32/command_ids.h"
#include "app/win32/message_loop.h"
#include "app/win32/wide_text.h"
#include "output/win32/windows_clipboard.h"
#include "support/win32/shell_launcher.h"

namespace koyomi::win32 {
namespace {

constexpr int kTickerIntervalMs = 100;
constexpr int kDownloadPollIntervalMs = 10;
// Often enough to notice midnight within half a minute.
constexpr int kDayChangeIntervalMs = 30 * 1000;
// The window is made with this frame and then placed where the settings say.
constexpr WindowPlacement kFirstPlacement{10, 10, 630, 450};

std::unique_ptr<DesktopLauncher> ShellUnless(DesktopLauncher* launcher) {
    return launcher != nullptr ? nullptr : std::make_unique<ShellLauncher>();
}

}  // namespace

ProgramWindow::ProgramWindow(Options options, MessagePresenter& presenter)
    : presenter_(presenter),
      shell_(ShellUnless(options.launcher)),
      window_(*this, kFirstPlacement) {
    if (options.window_made) {
        options.window_made(window_.window());
    }
    Viewer::Options viewer_options;
    viewer_options.program_file = std::move(options.program_file);
    viewer_options.folders = std::move(options.folders);
    viewer_options.jv_link = std::move(options.jv_link);
    viewer_options.clock = options.clock;
    viewer_options.launcher = options.launcher != nullptr ? options.launcher : shell_.get();
    viewer_options.documents_folder = std::move(options.documents_folder);
    viewer_options.home_folder = std::move(options.home_folder);
    ViewerView& view = *this;
    viewer_ = std::make_unique<Viewer>(std::move(viewer_options), view, presenter_);
    viewer_->Start();
    window_.StartTimer(WindowTimer::Ticker, kTickerIntervalMs);
    window_.StartTimer(WindowTimer::DayChange, kDayChangeIntervalMs);
}

ProgramWindow::~ProgramWindow() {
    // The viewer may still end a fetch through the window, so it goes first.
    viewer_.reset();
}

void ProgramWindow::Show(int show_command) {
    window_.Show(show_command);
    window_.FocusYearSelector();
}

int ProgramWindow::Run() {
    return RunMessageLoop(window_.window(), window_.keys());
}

void ProgramWindow::PlaceWindow(const WindowPlace& place) {
    MoveWindow(window_.window(), place.left, place.top, place.width, place.height, TRUE);
}

void ProgramWindow::ShowYearItems(const std::vector<std::string>& items) {
    window_.SetYearItems(items);
}

void ProgramWindow::SelectYear(int index) {
    window_.SetSelectedYear(index);
}

void ProgramWindow::ShowList(const ScheduleListModel& model) {
    window_.SetTitle(model.title);
    window_.ShowGrid(model.grid);
    window_.SetVenueItems(model.venue_selector.items, model.venue_selector.item_index);
}

void ProgramWindow::ShowMeetingsMessage(const std::string& text) {
    window_.SetTickerText(text);
}

void ProgramWindow::MarkTodayRows(const std::vector<int>& rows) {
    window_.SetMarkedRows(rows);
}

void ProgramWindow::GoToRow(int row) {
    window_.MoveToRow(row);
}

void ProgramWindow::ShowHint(const std::string& text) {
    window_.SetHint(text);
}

void ProgramWindow::ShowPeriod(Period period) {
    window_.SetPeriod(period == Period::AllMonths ? 1 : 0);
}

void ProgramWindow::ShowGradedOnly(bool on) {
    window_.SetGradedOnly(on);
}

void ProgramWindow::ShowFetchMode(FetchMode mode) {
    window_.SetDataKind(mode == FetchMode::Normal ? DataKind::Normal : DataKind::Setup);
}

int ProgramWindow::TickerBandWidth() const {
    return window_.TickerWidth();
}

int ProgramWindow::TickerTextWidth() const {
    return window_.TickerTextWidth();
}

void ProgramWindow::DrawTicker(int offset) {
    window_.SetTickerOffset(offset);
}

void ProgramWindow::SetStatusText(const std::string& text) {
    window_.SetStatusText(text);
}

void ProgramWindow::SetFetchBusy(bool busy) {
    window_.SetBusyCursor(busy);
    window_.SetCancelVisible(busy);
}

void ProgramWindow::SetDownloadPollEnabled(bool enabled) {
    if (enabled) {
        window_.StartTimer(WindowTimer::DownloadPoll, kDownloadPollIntervalMs);
    } else {
        window_.StopTimer(WindowTimer::DownloadPoll);
    }
}

void ProgramWindow::ProcessPendingEvents() {
    // The read loop's pump: the window's keys and moves between its controls as in the
    // program's own loop. The end of the program (the window closed during a fetch) is posted
    // again for that loop, which would otherwise wait for it for ever; until then nothing more
    // is taken from the queue.
    MSG message;
    while (!quit_seen_ && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quit_seen_ = true;
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (!TranslateWindowMessage(window_.window(), window_.keys(), message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

void ProgramWindow::SetFetchProgress(int done, int total) {
    window_.SetProgress(done, total);
}

void ProgramWindow::SetClipboardText(const std::string& text) {
    if (const Status put = PutTextOnClipboard(window_.window(), text); !put) {
        MessageDialog error;
        error.text = "クリップボードにコピーできません。\n" + Describe(put.Error());
        error.kind = MessageKind::Error;
        error.Execute(presenter_);
    }
}

std::optional<std::filesystem::path> ProgramWindow::AskCalendarFile(
    const std::filesystem::path& folder, const std::string& file_name) {
    // Room for any path Windows takes.
    std::wstring chosen = WideFromUtf8(file_name);
    chosen.resize(32768, L'\0');
    const std::wstring initial_folder = folder.wstring();
    static constexpr wchar_t kFilter[] = L"iCalendar (*.ics)\0*.ics\0*\0*.*\0";
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = window_.window();
    dialog.lpstrFilter = kFilter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = chosen.data();
    dialog.nMaxFile = static_cast<DWORD>(chosen.size());
    dialog.lpstrInitialDir = initial_folder.c_str();
    dialog.lpstrTitle = L"カレンダー形式で保存";
    dialog.lpstrDefExt = L"ics";
    // The current folder is the data folder, where year files are listed; it stays so.
    dialog.Flags =
        OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
    if (GetSaveFileNameW(&dialog) == 0) {
        return std::nullopt;
    }
    chosen.resize(chosen.find(L'\0'));
    return std::filesystem::path(chosen);
}

void ProgramWindow::CloseWindow() {
    window_.Close();
}

void ProgramWindow::Fetch() {
    viewer_->Fetch();
}

void ProgramWindow::CopyToClipboard() {
    viewer_->CopyToClipboard();
}

void ProgramWindow::SaveCalendar() {
    viewer_->SaveCalendar();
}

void ProgramWindow::OpenControlSettings() {
    viewer_->OpenControlSettings();
}

void ProgramWindow::Print() {
    viewer_->Print();
}

void ProgramWindow::Exit() {
    viewer_->Exit();
}

void ProgramWindow::ChooseDataKind(DataKind kind) {
    viewer_->ChooseFetchMode(kind == DataKind::Normal ? FetchMode::Normal : FetchMode::Setup);
}

void ProgramWindow::ShowHelpContents() {
    viewer_->ShowHelpContents();
}

void ProgramWindow::ShowAbout() {
    viewer_->ShowAbout();
}

void ProgramWindow::ChooseYear(int index) {
    viewer_->ChooseYear(index);
}

void ProgramWindow::ChooseVenue(int index) {
    viewer_->ChooseVenue(index);
}

void ProgramWindow::ChoosePeriod(int index) {
    viewer_->ChoosePeriod(index == 1 ? Period::AllMonths : Period::FromThisMonth);
}

void ProgramWindow::ChooseGradedOnly(bool on) {
    viewer_->ChooseGradedOnly(on);
}

void ProgramWindow::MoveToToday() {
    viewer_->MoveToToday();
}

void ProgramWindow::CancelFetch() {
    viewer_->CancelFetch();
}

void ProgramWindow::TimerFired(WindowTimer timer) {
    switch (timer) {
        case WindowTimer::Ticker:
            return viewer_->TickTicker();
        case WindowTimer::DownloadPoll:
            return viewer_->PollDownload();
        case WindowTimer::DayChange:
            return viewer_->TickDay();
    }
}

void ProgramWindow::FirstShown() {
    // After the first paint, so that a failure box of the control has the window behind it.
    if (viewer_->FirstShown()) {
        window_.FocusYearSelector();
    }
}

void ProgramWindow::Closing(const WindowPlacement& placement) {
    viewer_->Close({placement.left, placement.top, placement.width, placement.height});
}

}  // namespace koyomi::win32
