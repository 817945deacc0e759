#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QProgressBar>
#include <QRadioButton>
#include <QShowEvent>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <system_error>

#include "support/clock.h"
#include "support/qt/qt_text.h"
#include "support/qt/shadow_label.h"

namespace koyomi {

QString ProgramTitle() {
    return QStringLiteral("JRA 年間開催スケジュール");
}

MainWindow::MainWindow(Options options, QWidget* parent)
    : QMainWindow(parent),
      program_file_(std::move(options.program_file)),
      folders_(options.folders.program_folder.empty() ? FoldersBesideProgram(program_file_)
                                                      : std::move(options.folders)),
      settings_(program_file_),
      presenter_(this, ProgramTitle()),
      control_(std::move(options.jv_link)) {
    if (options.clock != nullptr) {
        clock_ = options.clock;
    } else {
        own_clock_ = std::make_unique<SystemClock>();
        clock_ = own_clock_.get();
    }
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(ProgramTitle());
    BuildMenus();
    BuildToolBar();
    BuildClientArea();

    download_poll_timer_ = new QTimer(this);
    download_poll_timer_->setObjectName(QStringLiteral("download_poll_timer"));
    download_poll_timer_->setInterval(10);
    ticker_timer_ = new QTimer(this);
    ticker_timer_->setObjectName(QStringLiteral("ticker_timer"));
    day_timer_ = new QTimer(this);
    day_timer_->setObjectName(QStringLiteral("day_timer"));
    day_timer_->setInterval(30 * 1000);

    warning_dialog_.beep = true;
    warning_dialog_.kind = MessageKind::Warning;
    notice_dialog_.beep = true;

    LoadSettingsAndLists();
    ConnectHandlers();
}

MainWindow::~MainWindow() {
    if (session_) {
        session_->WindowClosing();
    }
}

void MainWindow::LoadSettingsAndLists() {
    // The help file is found beside the program; year files and the settings file where the
    // folders chosen at start-up say.
    program_folder_ = folders_.program_folder;
    std::error_code ignored;
    std::filesystem::current_path(folders_.data_folder, ignored);
    help_file_ = program_folder_ / "koyomivw.chm";

    settings_.SetFileName(folders_.settings_file);
    settings_.Loaded();
    const int top = settings_.ReadInteger("locate", "top", 10);
    const int left = settings_.ReadInteger("locate", "left", 10);
    const int width = settings_.ReadInteger("locate", "width", 630);
    const int height = settings_.ReadInteger("locate", "height", 450);
    move(left, top);
    resize(std::max(width, 200), std::max(height, 150));

    for (int column = 0; column < kGridColumns; ++column) {
        const ScheduleColumn& spec = ScheduleColumns()[static_cast<size_t>(column)];
        schedule_table_->setColumnWidth(column, spec.width);
    }
    ShowModel();

    const int kikan = settings_.ReadInteger("kikan", "kikan", 0);
    if (QAbstractButton* button = period_buttons_->button(kikan == 1 ? 1 : 0)) {
        button->setChecked(true);
    }
    graded_check_->setChecked(settings_.ReadInteger(kGradedSection, kGradedKey, 0) == 1);

    (FetchModeFromSettings(settings_) == FetchMode::Normal ? normal_data_action_
                                                           : setup_data_action_)
        ->setChecked(true);

    if (control_) {
        DownloadView& view = *this;
        session_ = std::make_unique<DownloadSession>(*control_, view, *clock_, settings_,
                                                     folders_.data_folder);
    }
    RefillYearSelector();

    ticker_label_->SetTickerText(QString());
    ticker_offset_ = ticker_label_->width();
    ticker_timer_->setInterval(100);
    ticker_timer_->start();
    year_selector_->setFocus();
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shown_once_) {
        shown_once_ = true;
        // After the window has painted, so a failure box has the window behind it.
        QTimer::singleShot(0, this, [this] { InitControlAfterFirstPaint(); });
    }
}

void MainWindow::InitControlAfterFirstPaint() {
    version_text_ = QString::fromLatin1(kVersionText);
    if (session_) {
        session_->InitControl(kVersionText);
    }
    year_selector_->setFocus();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    SaveOnClose();
    event->accept();
}

void MainWindow::SaveOnClose() {
    // An open fetch ends here, keeping what it stored; the window may then close safely.
    if (session_) {
        session_->WindowClosing();
    }
    download_poll_timer_->stop();
    const Status writes[] = {
        settings_.WriteInteger("locate", "top", y()),
        settings_.WriteInteger("locate", "left", x()),
        settings_.WriteInteger("locate", "width", width()),
        settings_.WriteInteger("locate", "height", height()),
    };
    for (const Status& result : writes) {
        if (!result) {
            ReportSettingsWrite(result);
            break;
        }
    }
}

void MainWindow::Exit() {
    close();
}

void MainWindow::ReportSettingsWrite(const Status& result) {
    if (result) {
        return;
    }
    ShowInformationBox(
        "設定ファイルに書き込めませんでした。\n" + result.File().string() + "\n" + result.Reason(),
        true);
}

void MainWindow::ShowInformationBox(const std::string& text, bool beep) {
    koyomi::ShowInformation(presenter_, text, beep);
}

}  // namespace koyomi
