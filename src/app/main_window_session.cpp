// The window's side of the download session.
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QProgressBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>

#include "app/main_window.h"

namespace koyomi {

void MainWindow::SetStatusText(const std::string& text) {
    status_line_->showMessage(QString::fromStdString(text));
}

void MainWindow::ShowInformation(const std::string& text) {
    ShowInformationBox(text, false);
}

void MainWindow::ShowPlainMessage(const std::string& text) {
    ShowPlain(presenter_, text);
}

void MainWindow::Beep() {
    presenter_.Beep();
}

void MainWindow::SetBusyCursor(bool busy) {
    // The session is busy exactly while a request is open: that is when it can be cancelled.
    cancel_button_->setVisible(busy);
    if (busy && busy_depth_ == 0) {
        QApplication::setOverrideCursor(Qt::BusyCursor);
        busy_depth_ = 1;
    } else if (!busy && busy_depth_ > 0) {
        QApplication::restoreOverrideCursor();
        busy_depth_ = 0;
    }
}

void MainWindow::SetStatusTimerEnabled(bool enabled) {
    if (enabled) {
        download_poll_timer_->start();
    } else {
        download_poll_timer_->stop();
    }
}

void MainWindow::ProcessPendingEvents() {
    QCoreApplication::processEvents();
}

void MainWindow::CancelFetch() {
    if (session_) {
        session_->Cancel();
    }
}

FetchMode MainWindow::SelectedFetchMode() const {
    return normal_data_action_->isChecked() ? FetchMode::Normal : FetchMode::Setup;
}

void MainWindow::ShowOutcome(const FetchOutcome& outcome) {
    if (outcome.switch_to_normal) {
        normal_data_action_->setChecked(true);
    }
    RefillYearSelector();
}

void MainWindow::SetProgress(int done, int total) {
    if (total <= 0) {
        fetch_progress_->hide();
        return;
    }
    fetch_progress_->setRange(0, total);
    fetch_progress_->setValue(std::min(done, total));
    fetch_progress_->show();
}

}  // namespace koyomi
