// The year, venue and period selectors, the grid and the message band.
#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QHeaderView>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>

#include "app/main_window.h"
#include "support/qt/qt_text.h"
#include "support/qt/shadow_label.h"

namespace koyomi {

void MainWindow::ConnectHandlers() {
    connect(fetch_action_, &QAction::triggered, this, [this] {
        if (session_) {
            session_->StartFetch();
        }
    });
    connect(fetch_button_, &QToolButton::clicked, fetch_action_, &QAction::trigger);
    connect(download_poll_timer_, &QTimer::timeout, this, [this] {
        if (session_) {
            session_->PollDownload();
        }
    });
    connect(control_settings_action_, &QAction::triggered, this, [this] {
        if (session_) {
            session_->OpenControlSettings();
        }
    });
    connect(exit_action_, &QAction::triggered, this, &MainWindow::Exit);
    connect(exit_button_, &QToolButton::clicked, this, &MainWindow::Exit);
    // activated fires for a choice by mouse and by arrow keys alike, and not when the
    // program itself refills or selects.
    connect(year_selector_, &QComboBox::activated, this, &MainWindow::ChooseYear);
    connect(venue_selector_, &QComboBox::activated, this, &MainWindow::ChooseVenue);
    connect(period_buttons_, &QButtonGroup::idClicked, this, &MainWindow::ChoosePeriod);
    connect(ticker_timer_, &QTimer::timeout, this, &MainWindow::AdvanceTicker);
    ConnectOutputHandlers();
}

Period MainWindow::SelectedPeriod() const {
    return period_buttons_->checkedId() == 1 ? Period::AllMonths : Period::FromThisMonth;
}

void MainWindow::RefillYearSelector() {
    year_items_ = YearSelectorItems(folders_.data_folder);
    year_selector_->clear();
    for (const YearSelectorItem& item : year_items_) {
        year_selector_->addItem(SjisToQString(item.Text));
    }
    year_selector_->setCurrentIndex(-1);
}

void MainWindow::ChooseYear(int index) {
    if (index < 0 || index >= static_cast<int>(year_items_.size())) {
        return;
    }
    const YearSelectorItem& item = year_items_[static_cast<size_t>(index)];
    const LoadResult result =
        LoadYearAndBuildFullList(model_, item.File, SelectedPeriod(), *clock_);
    if (!result.ok) {
        ShowInformationBox(Utf8ToSjis("年間スケジュールのファイルを開けませんでした。\n" +
                                      item.File.string() + "\n" + result.reason),
                           true);
        return;
    }
    ShowModel();
}

void MainWindow::ChooseVenue(int index) {
    model_.venue_selector.item_index = index;
    BuildSelectedList(model_, SelectedPeriod(), *clock_);
    ShowModel();
}

void MainWindow::ChoosePeriod(int index) {
    ReportSettingsWrite(settings_.WriteInteger("kikan", "kikan", index));
    ChooseVenue(venue_selector_->currentIndex());
}

void MainWindow::ShowModel() {
    const ScheduleGrid& grid = model_.grid;
    title_label_->SetCaption(SjisToQString(model_.title));

    QStringList headings;
    for (int column = 0; column < grid.ColCount(); ++column) {
        headings << SjisToQString(grid.Cell(column, 0));
    }
    schedule_table_->setUpdatesEnabled(false);
    schedule_table_->setHorizontalHeaderLabels(headings);
    schedule_table_->clearContents();
    schedule_table_->setRowCount(grid.RowCount() - 1);
    for (int row = 1; row < grid.RowCount(); ++row) {
        for (int column = 0; column < grid.ColCount(); ++column) {
            auto* item = new QTableWidgetItem(SjisToQString(grid.Cell(column, row)));
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            schedule_table_->setItem(row - 1, column, item);
        }
    }
    schedule_table_->setUpdatesEnabled(true);
    schedule_table_->setVisible(grid.Visible());

    // Refilling the selector is not a user's choice: its handler must not run.
    const QSignalBlocker blocker(venue_selector_);
    venue_selector_->clear();
    for (const std::string& text : model_.venue_selector.items) {
        venue_selector_->addItem(SjisToQString(text));
    }
    venue_selector_->setCurrentIndex(model_.venue_selector.item_index);

    ticker_label_->SetTickerText(SjisToQString(model_.message_text));
}

void MainWindow::AdvanceTicker() {
    if (model_.message_text.empty()) {
        ticker_offset_ = ticker_label_->width();
        return;
    }
    ticker_label_->SetTickerX(ticker_offset_);
    ticker_offset_ -= 4;
    if (ticker_offset_ + ticker_label_->TickerTextWidth() < 0) {
        ticker_offset_ = ticker_label_->width();
    }
}

}  // namespace koyomi
