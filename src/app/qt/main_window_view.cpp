// What the viewer shows, on the window's widgets.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QGuiApplication>
#include <QProgressBar>
#include <QStatusBar>
#include <QTableView>
#include <QToolButton>
#include <algorithm>

#include "app/qt/grid_hint_panel.h"
#include "app/qt/main_window.h"
#include "app/qt/schedule_grid_delegate.h"
#include "app/qt/schedule_table_model.h"
#include "support/qt/about_box.h"
#include "support/qt/qt_text.h"
#include "support/qt/shadow_label.h"

namespace koyomi {

void MainWindow::PlaceWindow(const WindowPlace& place) {
    move(place.left, place.top);
    resize(place.width, place.height);
}

void MainWindow::ShowYearItems(const std::vector<std::string>& items) {
    year_selector_->clear();
    for (const std::string& item : items) {
        year_selector_->addItem(QString::fromStdString(item));
    }
    year_selector_->setCurrentIndex(-1);
}

void MainWindow::SelectYear(int index) {
    year_selector_->setCurrentIndex(index);
}

void MainWindow::ShowList(const ScheduleListModel& model) {
    title_label_->SetCaption(SjisToQString(model.title));
    schedule_rows_->ShowGrid(model.grid);
    schedule_table_->setVisible(model.grid.Visible());

    // Refilling the selector is not a user's choice: its handler must not run.
    const QSignalBlocker blocker(venue_selector_);
    venue_selector_->clear();
    for (const std::string& text : model.venue_selector.items) {
        venue_selector_->addItem(SjisToQString(text));
    }
    venue_selector_->setCurrentIndex(model.venue_selector.item_index);
}

void MainWindow::ShowMeetingsMessage(const std::string& text) {
    ticker_label_->SetTickerText(SjisToQString(text));
}

void MainWindow::MarkTodayRows(const std::vector<int>& rows) {
    grid_delegate_->SetMarkedRows(rows);
    schedule_table_->viewport()->update();
}

const std::vector<int>& MainWindow::MarkedRows() const {
    return grid_delegate_->MarkedRows();
}

void MainWindow::GoToRow(int row) {
    const QModelIndex first_cell = schedule_rows_->index(row, 0);
    schedule_table_->setCurrentIndex(first_cell);
    schedule_table_->scrollTo(first_cell, QAbstractItemView::PositionAtTop);
    schedule_table_->setFocus();
}

void MainWindow::ShowHint(const std::string& text) {
    grid_panel_->SetHint(QString::fromStdString(text));
}

QString MainWindow::GridHint() const {
    return grid_panel_->Hint();
}

void MainWindow::ShowPeriod(Period period) {
    if (QAbstractButton* button = period_buttons_->button(static_cast<int>(period))) {
        button->setChecked(true);
    }
}

void MainWindow::ShowGradedOnly(bool on) {
    const QSignalBlocker blocker(graded_check_);
    graded_check_->setChecked(on);
}

void MainWindow::ShowFetchMode(FetchMode mode) {
    (mode == FetchMode::Normal ? normal_data_action_ : setup_data_action_)->setChecked(true);
}

int MainWindow::TickerBandWidth() const {
    return ticker_label_->width();
}

int MainWindow::TickerTextWidth() const {
    return ticker_label_->TickerTextWidth();
}

void MainWindow::DrawTicker(int offset) {
    ticker_label_->SetTickerX(offset);
}

void MainWindow::SetStatusText(const std::string& text) {
    status_line_->showMessage(QString::fromStdString(text));
}

void MainWindow::SetFetchBusy(bool busy) {
    // The cancel button shows exactly while the busy cursor is on the application's stack.
    const bool was_busy = !cancel_button_->isHidden();
    cancel_button_->setVisible(busy);
    if (busy && !was_busy) {
        QApplication::setOverrideCursor(Qt::BusyCursor);
    } else if (!busy && was_busy) {
        QApplication::restoreOverrideCursor();
    }
}

void MainWindow::SetDownloadPollEnabled(bool enabled) {
    if (enabled) {
        download_poll_timer_->start();
    } else {
        download_poll_timer_->stop();
    }
}

void MainWindow::ProcessPendingEvents() {
    QCoreApplication::processEvents();
}

void MainWindow::SetFetchProgress(int done, int total) {
    if (total <= 0) {
        fetch_progress_->hide();
        return;
    }
    fetch_progress_->setRange(0, total);
    fetch_progress_->setValue(std::min(done, total));
    fetch_progress_->show();
}

void MainWindow::SetClipboardText(const std::string& text) {
    // The desktop's clipboard holds Unicode text; CR LF line ends stay as they are.
    QGuiApplication::clipboard()->setText(SjisToQString(text));
}

std::optional<std::filesystem::path> MainWindow::AskCalendarFile(
    const std::filesystem::path& folder, const std::string& file_name) {
    QFileDialog dialog(this, QStringLiteral("カレンダー形式で保存"));
    dialog.setObjectName(QStringLiteral("calendar_dialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({QStringLiteral("iCalendar (*.ics)"), QStringLiteral("*")});
    dialog.setDefaultSuffix(QStringLiteral("ics"));
    dialog.setDirectory(QString::fromStdString(folder.string()));
    dialog.selectFile(QString::fromStdString(file_name));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return std::filesystem::path(dialog.selectedFiles().constFirst().toStdString());
}

void MainWindow::ShowAboutBox(const AboutText& text, DesktopLauncher& launcher) {
    // A fresh box every time, freed when it closes.
    AboutBox box(launcher, text.home_page_url, this);
    box.version_label_->SetCaption(QString::fromStdString(text.version));
    box.ShowFolders(QString::fromStdString(text.folders));
    box.exec();
}

}  // namespace koyomi
