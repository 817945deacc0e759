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
#include "output/grid_printer.h"
#include "schedule/schedule_list.h"
#include "schedule/year_selector.h"
#include "support/app_folders.h"
#include "support/clock.h"
#include "support/message_dialog.h"
#include "support/open_url.h"
#include "support/qt/qt_message_presenter.h"
#include "support/settings_file.h"

class QAction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QPrinter;
class QProgressBar;
class QStatusBar;
class QTableView;
class QTimer;
class QToolButton;

namespace koyomi {

class GridHintPanel;
class ScheduleGridDelegate;
class ScheduleTableModel;
class ShadowLabel;

// The window's caption.
QString ProgramTitle();

class MainWindow : public QMainWindow, private DownloadView {
    Q_OBJECT
  public:
    struct Options {
        std::filesystem::path program_file;  // the running executable; its folder is home
        AppFolders folders;  // where writable things go; all beside the program file when empty
        std::unique_ptr<JvLink> jv_link;  // the JV-Link control the window hosts
        const Clock* clock = nullptr;     // "now"; the system clock when null
    };

    explicit MainWindow(Options options, QWidget* parent = nullptr);
    ~MainWindow() override;

    static constexpr int kGridColumns = 14;
    static constexpr int kGridRowHeight = 15;
    static constexpr const char* kVersionText = "Ver.1.02";
    // Settings of the graded filter ("1": on; anything else or none: off) and of the folder the
    // calendar was saved in last.
    static constexpr const char* kGradedSection = "jusho";
    static constexpr const char* kGradedKey = "jusho";
    static constexpr const char* kCalendarSection = "ical";
    static constexpr const char* kCalendarFolderKey = "folder";

    // For tests and tools.
    const ScheduleListModel& model() const { return model_; }
    const std::string& message_text() const { return model_.message_text; }
    int ticker_offset() const { return ticker_offset_; }
    const std::filesystem::path& program_folder() const { return program_folder_; }
    const AppFolders& folders() const { return folders_; }
    const MessageDialog& warning_dialog() const { return warning_dialog_; }
    const MessageDialog& notice_dialog() const { return notice_dialog_; }
    bool IsFetching() const { return session_ && session_->IsOpen(); }

    // The table as clipboard text (code page 932), what "クリップボードへコピー(&C)" copies.
    std::string ClipboardBytes() const;

    // Grid rows (0 for the first data row) marked as today's.
    const std::vector<int>& TodayRows() const;
    // The first-run hint over the empty grid area; empty when there is none.
    QString GridHint() const;

    // What opens the help and the home page; the desktop's unless set (tests).
    void SetDesktopLauncher(DesktopLauncher* launcher) { launcher_ = launcher; }

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildMenus();
    void BuildToolBar();
    void BuildClientArea();
    void ConnectHandlers();
    void ConnectOutputHandlers();

    // What the menus, buttons, selectors and timers do.
    void LoadSettingsAndLists();
    void InitControlAfterFirstPaint();
    void SaveOnClose();
    void Exit();
    void RefillYearSelector();
    void ChooseYear(int index);
    void ChooseVenue(int index);
    void ChoosePeriod(int index);
    void AdvanceTicker();
    void CopyToClipboard();
    void Print();
    void SetUpPrinter();
    void PrintPageTitle(GridPrinter& sender);
    void ShowHelpContents();
    void ShowAbout();
    void SaveCalendarFile();
    void ChooseGradedOnly(bool on);
    void MoveToToday();
    void CheckDayChange();

    void SetUpGridPrinter();
    // The printer of every job, kept so the set-up dialog's choices apply to later jobs.
    QPrinter& Printer();
    DesktopLauncher& Launcher();

    Period SelectedPeriod() const;
    // After every list build: "重賞のみ" narrows the list when it is on.
    void ApplyGradedFilter();
    void ShowModel();
    void MarkToday();
    void ShowHint();
    FetchMode SelectedFetchMode() const;
    void CancelFetch();
    void ReportSettingsWrite(const Status& result);
    void ShowInformationBox(const std::string& text, bool beep);

    // DownloadView.
    void SetStatusText(const std::string& text) override;
    void ShowInformation(const std::string& text) override;
    void ShowPlainMessage(const std::string& text) override;
    void Beep() override;
    void SetBusyCursor(bool busy) override;
    void SetStatusTimerEnabled(bool enabled) override;
    void ProcessPendingEvents() override;
    void SetProgress(int done, int total) override;
    void ShowOutcome(const FetchOutcome& outcome) override;

    // The widgets.
    QStatusBar* status_line_ = nullptr;
    QToolButton* fetch_button_ = nullptr;
    QComboBox* year_selector_ = nullptr;
    QToolButton* exit_button_ = nullptr;
    QToolButton* help_button_ = nullptr;
    QToolButton* about_button_ = nullptr;
    QComboBox* venue_selector_ = nullptr;
    QGroupBox* period_group_ = nullptr;
    QButtonGroup* period_buttons_ = nullptr;
    QCheckBox* graded_check_ = nullptr;
    QToolButton* today_button_ = nullptr;
    ShadowLabel* title_label_ = nullptr;
    ShadowLabel* ticker_label_ = nullptr;
    QTableView* schedule_table_ = nullptr;
    ScheduleTableModel* schedule_rows_ = nullptr;  // what schedule_table_ shows
    ScheduleGridDelegate* grid_delegate_ = nullptr;
    GridHintPanel* grid_panel_ = nullptr;
    QTimer* download_poll_timer_ = nullptr;
    QTimer* ticker_timer_ = nullptr;
    QTimer* day_timer_ = nullptr;  // notices midnight
    QProgressBar* fetch_progress_ = nullptr;
    QToolButton* cancel_button_ = nullptr;

    QAction* fetch_action_ = nullptr;
    QAction* copy_action_ = nullptr;
    QAction* calendar_action_ = nullptr;
    QAction* control_settings_action_ = nullptr;
    QAction* print_action_ = nullptr;
    QAction* print_setup_action_ = nullptr;
    QAction* exit_action_ = nullptr;
    QAction* normal_data_action_ = nullptr;
    QAction* setup_data_action_ = nullptr;
    QAction* help_contents_action_ = nullptr;
    QAction* about_action_ = nullptr;

    std::filesystem::path program_file_;
    AppFolders folders_;
    std::unique_ptr<Clock> own_clock_;
    const Clock* clock_ = nullptr;
    std::filesystem::path program_folder_;
    std::filesystem::path help_file_;
    QString version_text_;
    SettingsFile settings_;
    ScheduleListModel model_;
    std::vector<YearSelectorItem> year_items_;  // year_selector_'s files, in item order
    int shown_year_index_ = -1;  // the selector's item last loaded; -1 after a refill
    int ticker_offset_ = 0;
    bool year_loaded_ = false;  // a year file has been loaded since start-up
    LocalDateTime marked_day_;  // the day TodayRows() belongs to
    bool shown_once_ = false;
    int busy_depth_ = 0;

    QtMessagePresenter presenter_;
    MessageDialog warning_dialog_;
    MessageDialog notice_dialog_;

    GridPrinter grid_printer_;
    std::shared_ptr<QPrinter> printer_;  // made on first use
    bool print_file_chosen_ = false;     // the set-up dialog named the file to print to
    DesktopLauncher* launcher_ = nullptr;
    std::unique_ptr<DesktopLauncher> own_launcher_;

    // The control is declared before the session that talks to it, so it outlives it.
    std::unique_ptr<JvLink> control_;
    std::unique_ptr<DownloadSession> session_;
};

}  // namespace koyomi
