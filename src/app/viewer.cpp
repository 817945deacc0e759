#include "app/viewer.h"

#include <algorithm>
#include <optional>
#include <system_error>
#include <utility>

#include "output/calendar_export.h"
#include "output/clipboard_text.h"
#include "output/grid_table.h"
#include "output/print_file_name.h"
#include "schedule/first_run_hint.h"
#include "schedule/graded_filter.h"
#include "schedule/meetings_message.h"
#include "schedule/schedule_grid.h"
#include "schedule/today_rows.h"
#include "support/help_pages.h"
#include "support/sjis_text.h"

namespace koyomi {
namespace {

// The smallest window that still shows its selectors; a saved place below it is enlarged.
constexpr int kMinimumWidth = 200;
constexpr int kMinimumHeight = 150;
// The message band moves this many pixels a tick.
constexpr int kTickerStep = 4;

bool SameDay(const LocalDateTime& a, const LocalDateTime& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day;
}

}  // namespace

Viewer::Viewer(Options options, ViewerView& view, MessagePresenter& presenter)
    : view_(view),
      presenter_(presenter),
      program_file_(std::move(options.program_file)),
      folders_(options.folders.program_folder.empty() ? FoldersBesideProgram(program_file_)
                                                      : std::move(options.folders)),
      launcher_(options.launcher),
      documents_folder_(std::move(options.documents_folder)),
      home_folder_(std::move(options.home_folder)),
      settings_(program_file_),
      control_(std::move(options.jv_link)) {
    if (options.clock != nullptr) {
        clock_ = options.clock;
    } else {
        own_clock_ = std::make_unique<SystemClock>();
        clock_ = own_clock_.get();
    }
    grid_printer_.left_margin = 0;
    grid_printer_.right_margin = 0;
    grid_printer_.on_begin_page = [this](GridPrinter& sender) {
        PrintCanvas* canvas = sender.Canvas();
        return canvas == nullptr
                   ? Status()
                   : canvas->TextOut(sender.MmToPixelX(10), sender.MmToPixelY(4), model_.title);
    };
}

Viewer::~Viewer() {
    if (session_) {
        session_->WindowClosing();
    }
}

void Viewer::Start() {
    // Year files are found by their bare names from here on, as the program always has.
    std::error_code ignored;
    std::filesystem::current_path(folders_.data_folder, ignored);

    settings_.SetFileName(folders_.settings_file);
    settings_.Loaded();
    view_.PlaceWindow({settings_.ReadInteger("locate", "left", 10),
                       settings_.ReadInteger("locate", "top", 10),
                       std::max(settings_.ReadInteger("locate", "width", 630), kMinimumWidth),
                       std::max(settings_.ReadInteger("locate", "height", 450), kMinimumHeight)});
    ShowModel();

    period_ =
        settings_.ReadInteger("kikan", "kikan", 0) == 1 ? Period::AllMonths : Period::FromThisMonth;
    view_.ShowPeriod(period_);
    graded_only_ = settings_.ReadInteger(kGradedSection, kGradedKey, 0) == 1;
    view_.ShowGradedOnly(graded_only_);
    fetch_mode_ = FetchModeFromSettings(settings_);
    view_.ShowFetchMode(fetch_mode_);

    if (control_) {
        DownloadView& session_view = *this;
        session_ = std::make_unique<DownloadSession>(*control_, session_view, *clock_, settings_,
                                                     folders_.data_folder);
    }
    RefillYearSelector();

    view_.ShowMeetingsMessage(std::string());
    ticker_offset_ = view_.TickerBandWidth();
}

bool Viewer::FirstShown() {
    if (!version_text_.empty()) {
        return false;
    }
    version_text_ = kVersionText;
    if (session_) {
        session_->InitControl(version_text_);
    }
    return true;
}

void Viewer::Close(const WindowPlace& place) {
    // An open fetch ends here, keeping what it stored; the window may then close safely.
    if (session_) {
        session_->WindowClosing();
    }
    view_.SetDownloadPollEnabled(false);
    const Status writes[] = {
        settings_.WriteInteger("locate", "top", place.top),
        settings_.WriteInteger("locate", "left", place.left),
        settings_.WriteInteger("locate", "width", place.width),
        settings_.WriteInteger("locate", "height", place.height),
    };
    for (const Status& result : writes) {
        if (!result) {
            ReportSettingsWrite(result);
            break;
        }
    }
}

void Viewer::Fetch() {
    if (session_) {
        session_->StartFetch(fetch_mode_);
    }
}

void Viewer::CancelFetch() {
    if (session_) {
        session_->Cancel();
    }
}

void Viewer::PollDownload() {
    if (session_) {
        session_->PollDownload();
    }
}

void Viewer::OpenControlSettings() {
    if (session_) {
        session_->OpenControlSettings();
    }
}

void Viewer::ChooseFetchMode(FetchMode mode) {
    fetch_mode_ = mode;
}

void Viewer::RefillYearSelector() {
    year_items_ = YearSelectorItems(folders_.data_folder);
    std::vector<std::string> texts;
    texts.reserve(year_items_.size());
    for (const YearSelectorItem& item : year_items_) {
        texts.push_back(item.text);
    }
    view_.ShowYearItems(texts);
    shown_year_index_ = -1;
    ShowHint();
}

void Viewer::ChooseYear(int index) {
    if (index < 0 || index >= static_cast<int>(year_items_.size())) {
        return;
    }
    const YearSelectorItem& item = year_items_[static_cast<size_t>(index)];
    const Status result = LoadYearAndBuildFullList(model_, item.file, period_, *clock_);
    if (!result) {
        // The grid and the title still show the year loaded before; so must the selector.
        view_.SelectYear(shown_year_index_);
        ShowErrorBox("年間スケジュールのファイルを開けませんでした。\n" + item.file.string() +
                     "\n" + result.Reason());
        return;
    }
    shown_year_index_ = index;
    year_loaded_ = true;
    if (graded_only_) {
        KeepGradedRowsOnly(model_, *clock_);
    }
    ShowModel();
}

void Viewer::ChooseVenue(int index) {
    model_.venue_selector.item_index = index;
    BuildAndShowList();
}

void Viewer::ChoosePeriod(Period period) {
    period_ = period;
    ReportSettingsWrite(settings_.WriteInteger("kikan", "kikan", static_cast<int>(period)));
    BuildAndShowList();
}

void Viewer::ChooseGradedOnly(bool on) {
    graded_only_ = on;
    ReportSettingsWrite(settings_.WriteInteger(kGradedSection, kGradedKey, on ? 1 : 0));
    if (year_loaded_) {
        BuildAndShowList();
    }
}

void Viewer::BuildAndShowList() {
    BuildSelectedList(model_, period_, *clock_);
    if (graded_only_) {
        KeepGradedRowsOnly(model_, *clock_);
    }
    ShowModel();
}

void Viewer::ShowModel() {
    view_.ShowList(model_);
    view_.ShowMeetingsMessage(model_.message_text);
    MarkToday();
    ShowHint();
}

void Viewer::MarkToday() {
    marked_day_ = clock_->Now();
    today_rows_ = RowsOfDay(model_.shown_lines, marked_day_);
    view_.MarkTodayRows(today_rows_);
}

void Viewer::ShowHint() {
    hint_ =
        FirstRunHintText(DecideFirstRunHint(static_cast<int>(year_items_.size()), year_loaded_));
    view_.ShowHint(hint_);
}

void Viewer::MoveToToday() {
    const std::optional<int> row = FirstRowOnOrAfter(model_.shown_lines, clock_->Now());
    if (!row || !model_.grid.Visible()) {
        view_.SetStatusText("今日以降の開催日はこのリストにありません");
        return;
    }
    view_.GoToRow(*row);
}

void Viewer::TickTicker() {
    if (model_.message_text.empty()) {
        ticker_offset_ = view_.TickerBandWidth();
        return;
    }
    view_.DrawTicker(ticker_offset_);
    ticker_offset_ -= kTickerStep;
    if (ticker_offset_ + view_.TickerTextWidth() < 0) {
        ticker_offset_ = view_.TickerBandWidth();
    }
}

void Viewer::TickDay() {
    const LocalDateTime now = clock_->Now();
    if (SameDay(now, marked_day_)) {
        return;
    }
    // The rows stay as they are; the mark and the message follow the new day.
    model_.message_text = BuildMeetingsMessage(model_.shown_lines, model_.grid, now);
    view_.ShowMeetingsMessage(model_.message_text);
    MarkToday();
}

std::string Viewer::ClipboardBytes() const {
    // The columns at their designed widths: the copy reads only the texts.
    std::vector<int> widths;
    for (const ScheduleColumn& column : ScheduleColumns()) {
        widths.push_back(column.width);
    }
    const GridTable grid = ScheduleTable(model_.grid, std::move(widths), kScheduleRowHeight,
                                         [](int) { return kScheduleRowHeight; });
    return ClipboardText(grid, 0, 0, grid.ColCount() - 1, grid.RowCount() - 1, model_.title);
}

void Viewer::CopyToClipboard() {
    view_.SetClipboardText(ClipboardBytes());
}

void Viewer::SaveCalendar() {
    // Settings values are code page 932; a folder it cannot spell is not remembered.
    const std::string remembered =
        SjisToUtf8(settings_.ReadString(kCalendarSection, kCalendarFolderKey, ""));
    const std::filesystem::path folder =
        CalendarFolder(remembered, documents_folder_, home_folder_);
    const std::optional<std::filesystem::path> file =
        view_.AskCalendarFile(folder, ProposedCalendarFileName(model_.title));
    if (!file) {
        return;
    }

    const std::string chosen_folder = file->parent_path().string();
    const std::string folder_value = Utf8ToSjis(chosen_folder);
    if (SjisToUtf8(folder_value) == chosen_folder) {
        ReportSettingsWrite(
            settings_.WriteString(kCalendarSection, kCalendarFolderKey, folder_value));
    }

    const Result<SavedCalendar> saved =
        koyomi::SaveCalendar(*file, model_.title, model_.shown_lines, *clock_);
    if (!saved) {
        ShowErrorBox("カレンダーを保存できませんでした。\n" + Describe(saved.Error()));
        return;
    }
    std::string status =
        "カレンダーを保存しました（" + std::to_string(saved->events) + "件）: " + file->string();
    if (!saved->unreadable_rows.empty()) {
        status +=
            "　日付の読めない" + std::to_string(saved->unreadable_rows.size()) + "行は除きました";
    }
    view_.SetStatusText(status);
}

void Viewer::Print() {
    PrintRequest request;
    request.printer = &grid_printer_;
    request.grid = &model_.grid;
    request.title = model_.title;
    request.pdf_file = PrintPdfPath(folders_.documents_folder, model_.title);
    const Result<PrintedTo> printed = view_.PrintList(request);
    if (!printed) {
        view_.SetStatusText(std::string());
        ShowErrorBox(Describe(printed.Error()));
        return;
    }
    view_.SetStatusText(printed->to_file
                            ? "印刷内容をPDFファイルに書き出しました：" + printed->destination
                            : printed->destination + " に印刷しました");
}

void Viewer::ShowHelpContents() {
    // Nothing is reported: a missing help file or viewer is the viewer's to tell.
    static_cast<void>(OpenHelpContents(*launcher_, folders_.program_folder / kHelpFileName));
}

void Viewer::ShowAbout() {
    view_.ShowAboutBox({version_text_, HomePageUrl(folders_.program_folder), FoldersText(folders_)},
                       *launcher_);
}

void Viewer::Exit() {
    view_.CloseWindow();
}

void Viewer::ReportSettingsWrite(const Status& result) {
    if (result) {
        return;
    }
    ShowErrorBox("設定ファイルに書き込めませんでした。\n" + result.File().string() + "\n" +
                 result.Reason());
}

void Viewer::ShowErrorBox(const std::string& text) {
    koyomi::ShowInformation(presenter_, text, true);
}

void Viewer::SetStatusText(const std::string& text) {
    view_.SetStatusText(text);
}

void Viewer::ShowInformation(const std::string& text) {
    koyomi::ShowInformation(presenter_, text, false);
}

void Viewer::ShowPlainMessage(const std::string& text) {
    ShowPlain(presenter_, text);
}

void Viewer::Beep() {
    presenter_.Beep();
}

void Viewer::SetFetchBusy(bool busy) {
    view_.SetFetchBusy(busy);
}

void Viewer::SetDownloadPollEnabled(bool enabled) {
    view_.SetDownloadPollEnabled(enabled);
}

void Viewer::ProcessPendingEvents() {
    view_.ProcessPendingEvents();
}

void Viewer::SetFetchProgress(int done, int total) {
    view_.SetFetchProgress(done, total);
}

void Viewer::RefreshAfterFetch(FetchEnd end) {
    if (end == FetchEnd::Completed) {
        fetch_mode_ = FetchMode::Normal;
        view_.ShowFetchMode(fetch_mode_);
    }
    RefillYearSelector();
}

}  // namespace koyomi
