// The year, venue and period selectors, the grid and the message band.
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QShortcut>
#include <QTableView>
#include <QTimer>
#include <QToolButton>

#include "app/main_window.h"
#include "app/schedule_table_model.h"
#include "support/qt/qt_text.h"
#include "support/qt/shadow_label.h"

namespace koyomi {

void MainWindow::ConnectHandlers() {
    connect(cancel_button_, &QToolButton::clicked, this, &MainWindow::CancelFetch);
    auto* cancel_key = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    cancel_key->setContext(Qt::WindowShortcut);
    connect(cancel_key, &QShortcut::activated, this, &MainWindow::CancelFetch);
    connect(fetch_action_, &QAction::triggered, this, [this] {
        if (session_) {
            session_->StartFetch(SelectedFetchMode());
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
    connect(graded_check_, &QCheckBox::toggled, this, &MainWindow::ChooseGradedOnly);
    connect(today_button_, &QToolButton::clicked, this, &MainWindow::MoveToToday);
    connect(day_timer_, &QTimer::timeout, this, &MainWindow::CheckDayChange);
    day_timer_->start();
    ConnectOutputHandlers();
}

Period MainWindow::SelectedPeriod() const {
    return period_buttons_->checkedId() == 1 ? Period::AllMonths : Period::FromThisMonth;
}

void MainWindow::RefillYearSelector() {
    year_items_ = YearSelectorItems(folders_.data_folder);
    year_selector_->clear();
    for (const YearSelectorItem& item : year_items_) {
        year_selector_->addItem(QString::fromStdString(item.text));
    }
    year_selector_->setCurrentIndex(-1);
    shown_year_index_ = -1;
    ShowHint();
}

void MainWindow::ChooseYear(int index) {
    if (index < 0 || index >= static_cast<int>(year_items_.size())) {
        return;
    }
    const YearSelectorItem& item = year_items_[static_cast<size_t>(index)];
    const Status result = LoadYearAndBuildFullList(model_, item.file, SelectedPeriod(), *clock_);
    if (!result) {
        // The grid and the title still show the year loaded before; so must the selector.
        year_selector_->setCurrentIndex(shown_year_index_);
        ShowInformationBox("年間スケジュールのファイルを開けませんでした。\n" + item.file.string() +
                               "\n" + result.Reason(),
                           true);
        return;
    }
    shown_year_index_ = index;
    year_loaded_ = true;
    ApplyGradedFilter();
    ShowModel();
}

void MainWindow::ChooseVenue(int index) {
    model_.venue_selector.item_index = index;
    BuildSelectedList(model_, SelectedPeriod(), *clock_);
    ApplyGradedFilter();
    ShowModel();
}

void MainWindow::ChoosePeriod(int index) {
    ReportSettingsWrite(settings_.WriteInteger("kikan", "kikan", index));
    ChooseVenue(venue_selector_->currentIndex());
}

void MainWindow::ShowModel() {
    const ScheduleGrid& grid = model_.grid;
    title_label_->SetCaption(SjisToQString(model_.title));

    schedule_rows_->ShowGrid(grid);
    schedule_table_->setVisible(grid.Visible());

    // Refilling the selector is not a user's choice: its handler must not run.
    const QSignalBlocker blocker(venue_selector_);
    venue_selector_->clear();
    for (const std::string& text : model_.venue_selector.items) {
        venue_selector_->addItem(SjisToQString(text));
    }
    venue_selector_->setCurrentIndex(model_.venue_selector.item_index);

    ticker_label_->SetTickerText(SjisToQString(model_.message_text));
    MarkToday();
    ShowHint();
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
