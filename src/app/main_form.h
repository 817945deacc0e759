// The program's single window: menus, tool buttons, the year, venue and period selectors, the
// title, the scrolling message band and the schedule grid. The logic lives in the core; the
// handlers here move data between the core and the widgets.
#pragma once

#include <QMainWindow>
#include <QString>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "acquisition/download_session.h"
#include "acquisition/download_view.h"
#include "acquisition/jv_link.h"
#include "output/str_grid_printer.h"
#include "schedule/schedule_list.h"
#include "schedule/year_selector.h"
#include "support/ini_gt.h"
#include "support/msg_dlg.h"
#include "support/open_url.h"
#include "support/qt/qt_message_presenter.h"

class QAction;
class QButtonGroup;
class QComboBox;
class QGroupBox;
class QPrinter;
class QProgressBar;
class QStatusBar;
class QTableWidget;
class QTimer;
class QToolButton;

namespace koyomi {

class Clock;
class TLabel3Dj;

// The window's caption.
QString ProgramTitle();

class TMainForm : public QMainWindow, private DownloadView {
    Q_OBJECT
  public:
    struct Options {
        std::filesystem::path program_file;  // the running executable; its folder is home
        std::unique_ptr<TJVLink> jv_link;    // the JV-Link control the window hosts
        const Clock* clock = nullptr;        // "now"; the system clock when null
    };

    explicit TMainForm(Options options, QWidget* parent = nullptr);
    ~TMainForm() override;

    static constexpr int kGridColumns = 14;
    static constexpr int kGridRowHeight = 15;
    static constexpr const char* kVersionText = "Ver.1.02";

    // For tests and tools.
    const ScheduleListModel& model() const { return model_; }
    const std::string& messageText() const { return model_.MessageText; }
    int scrollX() const { return ScrollX; }
    const std::filesystem::path& programFolder() const { return ProgramFolder; }
    const TMsgDlg& msgDlg1() const { return MsgDlg1; }
    const TMsgDlg& msgDlg2() const { return MsgDlg2; }
    bool sessionOpen() const { return session_ && session_->IsOpen(); }

    // The table as clipboard text (code page 932), what "クリップボードへコピー(&C)" copies.
    std::string clipboardText() const;

    // The shell that opens the help and the home page; the desktop's unless set (tests).
    void setShellPlatform(ShellPlatform* shell) { shell_ = shell; }

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildMenus();
    void BuildToolBar();
    void BuildClientArea();
    void ConnectHandlers();
    void ConnectOutputHandlers();

    // Event handlers, named after their components.
    void FormCreate();
    void FormShow();
    void FormCloseQuery();
    void FileExitItemClick();
    void MakeDataListBtnClick();
    void DateComboChange(int index);
    void ComboBox1Change(int index);
    void RadioGroup1Click(int index);
    void Timer1Timer();
    void SpeedButton2Click();
    void FilePrintItemClick();
    void FilePrintSetupItemClick();
    void StrGridPrinter1BeginPage(TStrGridPrinter& sender);
    void HelpContentsItemClick();
    void HelpAboutItemClick();

    void SetupStrGridPrinter1();
    // The printer of every job, kept so the set-up dialog's choices apply to later jobs.
    QPrinter& Printer();
    ShellPlatform& Shell();

    Period SelectedPeriod() const;
    void ShowModel();
    void ReportSettingsWrite(const ProfileWriteResult& result);
    void ShowInformationBox(const std::string& text, bool beep);

    // DownloadView.
    void SetStatusText(const std::string& text) override;
    void ShowInformation(const std::string& text) override;
    void ShowPlainMessage(const std::string& text) override;
    void Beep() override;
    void SetBusyCursor(bool busy) override;
    void SetStatusTimerEnabled(bool enabled) override;
    void ProcessPendingEvents() override;
    DataKind CheckedDataKind() const override;
    void CheckDataKind(DataKind kind) override;
    void MakeDataList() override;
    bool WriteLastTime(const std::string& value, std::string& reason) override;
    void SetProgress(int done, int total) override;

    // Components, named as the window's stored form names them.
    QStatusBar* StatusLine = nullptr;
    QToolButton* JVBtn = nullptr;
    QComboBox* DateCombo = nullptr;
    QToolButton* SpeedButton4 = nullptr;
    QToolButton* SpeedButton5 = nullptr;
    QToolButton* SpeedButton6 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QGroupBox* RadioGroup1 = nullptr;
    QButtonGroup* RadioGroup1Items = nullptr;
    TLabel3Dj* Label3D1 = nullptr;
    TLabel3Dj* Label3D2 = nullptr;
    QTableWidget* StringGrid1 = nullptr;
    QTimer* TimerJVStatus = nullptr;
    QTimer* Timer1 = nullptr;
    QProgressBar* SessionProgress = nullptr;

    QAction* FileOpenItem = nullptr;
    QAction* N6 = nullptr;
    QAction* JVLink2 = nullptr;
    QAction* FilePrintItem = nullptr;
    QAction* FilePrintSetupItem = nullptr;
    QAction* FileExitItem = nullptr;
    QAction* NormalDataItem = nullptr;
    QAction* SetupDataItem = nullptr;
    QAction* HelpContentsItem = nullptr;
    QAction* HelpAboutItem = nullptr;

    std::filesystem::path program_file_;
    std::unique_ptr<Clock> own_clock_;
    const Clock* clock_ = nullptr;
    std::filesystem::path ProgramFolder;
    std::filesystem::path HelpFile;
    QString VersionText;
    TIniGT IniGT1;
    ScheduleListModel model_;
    std::vector<YearSelectorItem> year_items_;  // DateCombo's files, in item order
    int ScrollX = 0;
    bool shown_once_ = false;
    int busy_depth_ = 0;

    QtMessagePresenter presenter_;
    TMsgDlg MsgDlg1;
    TMsgDlg MsgDlg2;

    TStrGridPrinter StrGridPrinter1;
    std::shared_ptr<QPrinter> printer_;  // made on first use
    bool print_file_chosen_ = false;     // the set-up dialog named the file to print to
    ShellPlatform* shell_ = nullptr;
    std::unique_ptr<ShellPlatform> own_shell_;

    // The control is declared before the session that talks to it, so it outlives it.
    std::unique_ptr<TJVLink> JVLink1;
    std::unique_ptr<DownloadSession> session_;
};

}  // namespace koyomi
