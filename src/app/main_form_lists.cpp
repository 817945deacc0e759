// The year, venue and period selectors, the grid and the message band.
#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QHeaderView>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>

#include "app/main_form.h"
#include "support/qt/label_3dj.h"
#include "support/qt/qt_text.h"

namespace koyomi {

void TMainForm::ConnectHandlers() {
    connect(FileOpenItem, &QAction::triggered, this, [this] {
        if (session_) {
            session_->FileOpenItemClick();
        }
    });
    connect(JVBtn, &QToolButton::clicked, FileOpenItem, &QAction::trigger);
    connect(TimerJVStatus, &QTimer::timeout, this, [this] {
        if (session_) {
            session_->TimerJVStatusTimer();
        }
    });
    connect(JVLink2, &QAction::triggered, this, [this] {
        if (session_) {
            session_->JVLink2Click();
        }
    });
    connect(FileExitItem, &QAction::triggered, this, &TMainForm::FileExitItemClick);
    connect(SpeedButton4, &QToolButton::clicked, this, &TMainForm::FileExitItemClick);
    // activated fires for a choice by mouse and by arrow keys alike, and not when the
    // program itself refills or selects.
    connect(DateCombo, &QComboBox::activated, this, &TMainForm::DateComboChange);
    connect(ComboBox1, &QComboBox::activated, this, &TMainForm::ComboBox1Change);
    connect(RadioGroup1Items, &QButtonGroup::idClicked, this, &TMainForm::RadioGroup1Click);
    connect(Timer1, &QTimer::timeout, this, &TMainForm::Timer1Timer);
    ConnectOutputHandlers();
}

Period TMainForm::SelectedPeriod() const {
    return RadioGroup1Items->checkedId() == 1 ? Period::AllMonths : Period::FromThisMonth;
}

void TMainForm::MakeDataListBtnClick() {
    year_items_ = YearSelectorItems(ProgramFolder);
    DateCombo->clear();
    for (const YearSelectorItem& item : year_items_) {
        DateCombo->addItem(SjisToQString(item.Text));
    }
    DateCombo->setCurrentIndex(-1);
}

void TMainForm::DateComboChange(int index) {
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

void TMainForm::ComboBox1Change(int index) {
    model_.ComboBox1.ItemIndex = index;
    BuildSelectedList(model_, SelectedPeriod(), *clock_);
    ShowModel();
}

void TMainForm::RadioGroup1Click(int index) {
    ReportSettingsWrite(IniGT1.WriteInteger("kikan", "kikan", index));
    ComboBox1Change(ComboBox1->currentIndex());
}

void TMainForm::ShowModel() {
    const ScheduleGrid& grid = model_.StringGrid1;
    Label3D1->setCaption(SjisToQString(model_.Label3D1Caption));

    QStringList headings;
    for (int column = 0; column < grid.ColCount(); ++column) {
        headings << SjisToQString(grid.Cell(column, 0));
    }
    StringGrid1->setUpdatesEnabled(false);
    StringGrid1->setHorizontalHeaderLabels(headings);
    StringGrid1->clearContents();
    StringGrid1->setRowCount(grid.RowCount() - 1);
    for (int row = 1; row < grid.RowCount(); ++row) {
        for (int column = 0; column < grid.ColCount(); ++column) {
            auto* item = new QTableWidgetItem(SjisToQString(grid.Cell(column, row)));
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            StringGrid1->setItem(row - 1, column, item);
        }
    }
    StringGrid1->setUpdatesEnabled(true);
    StringGrid1->setVisible(grid.Visible());

    // Refilling the selector is not a user's choice: its handler must not run.
    const QSignalBlocker blocker(ComboBox1);
    ComboBox1->clear();
    for (const std::string& text : model_.ComboBox1.Items) {
        ComboBox1->addItem(SjisToQString(text));
    }
    ComboBox1->setCurrentIndex(model_.ComboBox1.ItemIndex);

    Label3D2->setTickerText(SjisToQString(model_.MessageText));
}

void TMainForm::Timer1Timer() {
    if (model_.MessageText.empty()) {
        ScrollX = Label3D2->width();
        return;
    }
    Label3D2->setTickerX(ScrollX);
    ScrollX -= 4;
    if (ScrollX + Label3D2->tickerTextWidth() < 0) {
        ScrollX = Label3D2->width();
    }
}

}  // namespace koyomi
