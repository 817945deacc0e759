// The season beyond the list: the calendar file, "重賞のみ", today's rows and "今日へ移動",
// the turn of the day, and the first-run hint.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTableView>

#include "app/grid_hint_panel.h"
#include "app/main_window.h"
#include "app/schedule_grid_delegate.h"
#include "app/schedule_table_model.h"
#include "output/calendar_export.h"
#include "schedule/first_run_hint.h"
#include "schedule/graded_filter.h"
#include "schedule/meetings_message.h"
#include "schedule/today_rows.h"
#include "support/qt/qt_text.h"
#include "support/qt/shadow_label.h"

namespace koyomi {
namespace {

std::filesystem::path PathOf(const QString& text) {
    return std::filesystem::path(text.toStdString());
}

QString TextOf(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

bool SameDay(const LocalDateTime& a, const LocalDateTime& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day;
}

}  // namespace

void MainWindow::SaveCalendarFile() {
    // Settings values are code page 932; a folder it cannot spell is not remembered.
    const std::string remembered =
        SjisToUtf8(settings_.ReadString(kCalendarSection, kCalendarFolderKey, ""));
    const std::filesystem::path folder = CalendarFolder(
        remembered, PathOf(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)),
        PathOf(QDir::homePath()));

    QFileDialog dialog(this, QStringLiteral("カレンダー形式で保存"));
    dialog.setObjectName(QStringLiteral("calendar_dialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({QStringLiteral("iCalendar (*.ics)"), QStringLiteral("*")});
    dialog.setDefaultSuffix(QStringLiteral("ics"));
    dialog.setDirectory(TextOf(folder));
    dialog.selectFile(QString::fromStdString(ProposedCalendarFileName(model_.title)));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return;
    }
    const std::filesystem::path file = PathOf(dialog.selectedFiles().constFirst());

    const std::string chosen_folder = file.parent_path().string();
    const std::string folder_value = Utf8ToSjis(chosen_folder);
    if (SjisToUtf8(folder_value) == chosen_folder) {
        ReportSettingsWrite(
            settings_.WriteString(kCalendarSection, kCalendarFolderKey, folder_value));
    }

    const Result<SavedCalendar> saved =
        SaveCalendar(file, model_.title, model_.shown_lines, *clock_);
    if (!saved) {
        ShowInformationBox("カレンダーを保存できませんでした。\n" + saved.Reason(), true);
        return;
    }
    QString status =
        QStringLiteral("カレンダーを保存しました（%1件）: %2").arg(saved->events).arg(TextOf(file));
    if (!saved->unreadable_rows.empty()) {
        status += QStringLiteral("　日付の読めない%1行は除きました")
                      .arg(static_cast<int>(saved->unreadable_rows.size()));
    }
    status_line_->showMessage(status);
}

void MainWindow::ChooseGradedOnly(bool on) {
    ReportSettingsWrite(settings_.WriteInteger(kGradedSection, kGradedKey, on ? 1 : 0));
    if (year_loaded_) {
        ChooseVenue(venue_selector_->currentIndex());
    }
}

void MainWindow::ApplyGradedFilter() {
    if (graded_check_->isChecked()) {
        KeepGradedRowsOnly(model_, *clock_);
    }
}

const std::vector<int>& MainWindow::TodayRows() const {
    return grid_delegate_->MarkedRows();
}

void MainWindow::MarkToday() {
    marked_day_ = clock_->Now();
    std::vector<int> rows = RowsOfDay(model_.shown_lines, marked_day_);
    for (int& row : rows) {
        --row;  // grid rows count the heading, the view's rows do not
    }
    grid_delegate_->SetMarkedRows(std::move(rows));
    schedule_table_->viewport()->update();
}

void MainWindow::MoveToToday() {
    const std::optional<int> row = FirstRowOnOrAfter(model_.shown_lines, clock_->Now());
    if (!row || schedule_table_->isHidden()) {
        status_line_->showMessage(QStringLiteral("今日以降の開催日はこのリストにありません"));
        return;
    }
    const QModelIndex first_cell = schedule_rows_->index(*row - 1, 0);
    schedule_table_->setCurrentIndex(first_cell);
    schedule_table_->scrollTo(first_cell, QAbstractItemView::PositionAtTop);
    schedule_table_->setFocus();
}

void MainWindow::CheckDayChange() {
    const LocalDateTime now = clock_->Now();
    if (SameDay(now, marked_day_)) {
        return;
    }
    // The rows stay as they are; the mark and the message follow the new day.
    model_.message_text = BuildMeetingsMessage(model_.grid, now);
    ticker_label_->SetTickerText(SjisToQString(model_.message_text));
    MarkToday();
}

QString MainWindow::GridHint() const {
    return grid_panel_->Hint();
}

void MainWindow::ShowHint() {
    const FirstRunHint hint =
        DecideFirstRunHint(static_cast<int>(year_items_.size()), year_loaded_);
    grid_panel_->SetHint(QString::fromStdString(FirstRunHintText(hint)));
}

}  // namespace koyomi
