#include "app/main_form.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QProgressBar>
#include <QRadioButton>
#include <QShowEvent>
#include <QStatusBar>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <system_error>

#include "support/clock.h"
#include "support/program_file.h"
#include "support/qt/label_3dj.h"
#include "support/qt/qt_text.h"

namespace koyomi {

QString ProgramTitle() {
    return QStringLiteral("JRA 年間開催スケジュール");
}

TMainForm::TMainForm(Options options, QWidget* parent)
    : QMainWindow(parent),
      program_file_(std::move(options.program_file)),
      IniGT1(program_file_),
      presenter_(this, ProgramTitle()),
      JVLink1(std::move(options.jv_link)) {
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

    TimerJVStatus = new QTimer(this);
    TimerJVStatus->setObjectName(QStringLiteral("TimerJVStatus"));
    TimerJVStatus->setInterval(10);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));

    MsgDlg1.Sound = true;
    MsgDlg1.MsgDlgType = TMsgDlgType::mtWarning;
    MsgDlg2.Sound = true;

    FormCreate();
    ConnectHandlers();
}

TMainForm::~TMainForm() {
    if (session_) {
        session_->WindowClosing();
    }
}

void TMainForm::FormCreate() {
    // Year files, the settings file and the help file are found relative to the program.
    ProgramFolder = ProgramFolderOf(program_file_);
    std::error_code ignored;
    std::filesystem::current_path(ProgramFolder, ignored);
    HelpFile = ProgramFolder / "koyomivw.chm";

    IniGT1.Loaded();
    const int top = IniGT1.ReadInteger("locate", "top", 10);
    const int left = IniGT1.ReadInteger("locate", "left", 10);
    const int width = IniGT1.ReadInteger("locate", "width", 630);
    const int height = IniGT1.ReadInteger("locate", "height", 450);
    move(left, top);
    resize(std::max(width, 200), std::max(height, 150));

    for (int column = 0; column < kGridColumns; ++column) {
        const ScheduleColumn& spec = ScheduleColumns()[static_cast<size_t>(column)];
        StringGrid1->setColumnWidth(column, spec.width);
    }
    ShowModel();

    const int kikan = IniGT1.ReadInteger("kikan", "kikan", 0);
    if (QAbstractButton* button = RadioGroup1Items->button(kikan == 1 ? 1 : 0)) {
        button->setChecked(true);
    }

    const std::string last_time = IniGT1.ReadString("JvDataGet", "LastTime", "");
    (TrimBlanks(last_time).empty() ? SetupDataItem : NormalDataItem)->setChecked(true);

    if (JVLink1) {
        DownloadView& view = *this;
        session_ = std::make_unique<DownloadSession>(*JVLink1, view, *clock_, ProgramFolder);
    }
    MakeDataListBtnClick();

    Label3D2->setTickerText(QString());
    ScrollX = Label3D2->width();
    Timer1->setInterval(100);
    Timer1->start();
    DateCombo->setFocus();
}

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shown_once_) {
        shown_once_ = true;
        // After the window has painted, so a failure box has the window behind it.
        QTimer::singleShot(0, this, [this] { FormShow(); });
    }
}

void TMainForm::FormShow() {
    VersionText = QString::fromLatin1(kVersionText);
    if (session_) {
        session_->InitJVLink(kVersionText);
    }
    DateCombo->setFocus();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    FormCloseQuery();
    event->accept();
}

void TMainForm::FormCloseQuery() {
    // An open fetch ends here, keeping what it stored; the window may then close safely.
    if (session_) {
        session_->WindowClosing();
    }
    TimerJVStatus->stop();
    const ProfileWriteResult writes[] = {
        IniGT1.WriteInteger("locate", "top", y()),
        IniGT1.WriteInteger("locate", "left", x()),
        IniGT1.WriteInteger("locate", "width", width()),
        IniGT1.WriteInteger("locate", "height", height()),
    };
    for (const ProfileWriteResult& result : writes) {
        if (!result) {
            ReportSettingsWrite(result);
            break;
        }
    }
}

void TMainForm::FileExitItemClick() {
    close();
}

void TMainForm::ReportSettingsWrite(const ProfileWriteResult& result) {
    if (result) {
        return;
    }
    ShowInformationBox(Utf8ToSjis("設定ファイルに書き込めませんでした。\n" + result.path.string() +
                                  "\n" + result.reason),
                       true);
}

void TMainForm::ShowInformationBox(const std::string& text, bool beep) {
    koyomi::ShowInformation(presenter_, text, beep);
}

}  // namespace koyomi
