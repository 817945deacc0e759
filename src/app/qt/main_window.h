// The program's Qt window: menus, tool buttons, the year, venue and period selectors, the
// title, the scrolling message band and the schedule grid. It holds widgets only: every action
// and timer tick goes to the viewer, which decides, and the window shows what the viewer
// reports through ViewerView.
#pragma once

#include <QMainWindow>
#include <QString>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "acquisition/jv_link.h"
#include "app/viewer.h"
#include "app/viewer_view.h"
#include "support/app_folders.h"
#include "support/clock.h"
#include "support/open_url.h"
#include "support/qt/qt_message_presenter.h"

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

class MainWindow : public QMainWindow, private ViewerView {
    Q_OBJECT
  public:
    struct Options {
        std::filesystem::path program_file;  // the running executable; its folder is home
        AppFolders folders;  // where writable things go; all beside the program file when empty
        std::unique_ptr<JVLink> jv_link;  // the JV-Link control the window hosts
        const Clock* clock = nullptr;     // "now"; the system clock when null
    };

    explicit MainWindow(Options options, QWidget* parent = nullptr);
    ~MainWindow() override;

    // What the window shows and decides, for tests and tools.
    const Viewer& viewer() const { return *viewer_; }
    // The data rows (the first is 0) the grid marks as today's.
    const std::vector<int>& MarkedRows() const;
    // The hint the empty grid area paints; empty when there is none.
    QString GridHint() const;

    // What opens the help and the home page; the desktop's unless set (tests).
    void SetDesktopLauncher(DesktopLauncher* launcher);

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildMenus();
    void BuildToolBar();
    void BuildClientArea();
    void BuildTimers();
    void ConnectHandlers();

    // ViewerView.
    void PlaceWindow(const WindowPlace& place) override;
    void ShowYearItems(const std::vector<std::string>& items) override;
    void SelectYear(int index) override;
    void ShowList(const ScheduleListModel& model) override;
    void ShowMeetingsMessage(const std::string& text) override;
    void MarkTodayRows(const std::vector<int>& rows) override;
    void GoToRow(int row) override;
    void ShowHint(const std::string& text) override;
    void ShowPeriod(Period period) override;
    void ShowGradedOnly(bool on) override;
    void ShowFetchMode(FetchMode mode) override;
    int TickerBandWidth() const override;
    int TickerTextWidth() const override;
    void DrawTicker(int offset) override;
    void SetStatusText(const std::string& text) override;
    void SetFetchBusy(bool busy) override;
    void SetDownloadPollEnabled(bool enabled) override;
    void ProcessPendingEvents() override;
    void SetFetchProgress(int done, int total) override;
    void SetClipboardText(const std::string& text) override;
    std::optional<std::filesystem::path> AskCalendarFile(const std::filesystem::path& folder,
                                                         const std::string& file_name) override;
    Result<PrintedTo> PrintList(const PrintRequest& request) override;
    void ShowAboutBox(const AboutText& text, DesktopLauncher& launcher) override;
    void CloseWindow() override;

    void SetUpPrinter();
    // The printer of every job, kept so the set-up dialog's choices apply to later jobs.
    QPrinter& Printer();

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

    // The platform's services behind the widgets.
    QtMessagePresenter presenter_;
    std::unique_ptr<DesktopLauncher> desktop_launcher_;
    std::shared_ptr<QPrinter> printer_;  // made on first use
    bool print_file_chosen_ = false;     // the set-up dialog named the file to print to

    std::unique_ptr<Viewer> viewer_;
};

}  // namespace koyomi
