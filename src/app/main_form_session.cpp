// The window's side of the download session.
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QProgressBar>
#include <QStatusBar>
#include <QTimer>

#include "app/main_form.h"
#include "support/qt/qt_text.h"

namespace koyomi {

void TMainForm::SetStatusText(const std::string& text) {
    StatusLine->showMessage(SjisToQString(text));
}

void TMainForm::ShowInformation(const std::string& text) {
    ShowInformationBox(text, false);
}

void TMainForm::ShowPlainMessage(const std::string& text) {
    ShowPlain(presenter_, text);
}

void TMainForm::Beep() {
    presenter_.Beep();
}

void TMainForm::SetBusyCursor(bool busy) {
    if (busy && busy_depth_ == 0) {
        QApplication::setOverrideCursor(Qt::BusyCursor);
        busy_depth_ = 1;
    } else if (!busy && busy_depth_ > 0) {
        QApplication::restoreOverrideCursor();
        busy_depth_ = 0;
    }
}

void TMainForm::SetStatusTimerEnabled(bool enabled) {
    if (enabled) {
        TimerJVStatus->start();
    } else {
        TimerJVStatus->stop();
    }
}

void TMainForm::ProcessPendingEvents() {
    QCoreApplication::processEvents();
}

DataKind TMainForm::CheckedDataKind() const {
    return NormalDataItem->isChecked() ? DataKind::Normal : DataKind::Setup;
}

void TMainForm::CheckDataKind(DataKind kind) {
    (kind == DataKind::Normal ? NormalDataItem : SetupDataItem)->setChecked(true);
}

void TMainForm::MakeDataList() {
    MakeDataListBtnClick();
}

bool TMainForm::WriteLastTime(const std::string& value, std::string& reason) {
    const ProfileWriteResult result = IniGT1.WriteString("JvDataGet", "LastTime", value);
    if (!result) {
        reason = result.path.string() + ": " + result.reason;
    }
    return result.ok;
}

void TMainForm::SetProgress(int done, int total) {
    if (total <= 0) {
        SessionProgress->hide();
        return;
    }
    SessionProgress->setRange(0, total);
    SessionProgress->setValue(std::min(done, total));
    SessionProgress->show();
}

}  // namespace koyomi
