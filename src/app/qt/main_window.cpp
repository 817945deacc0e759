#include "app/qt/main_window.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QShortcut>
#include <QShowEvent>
#include <QStandardPaths>
#include <QTimer>
#include <QToolButton>

#include "app/qt/grid_hint_panel.h"
#include "app/qt/schedule_grid_delegate.h"
#include "support/gio/gio_launcher.h"

namespace koyomi {
namespace {

std::filesystem::path PathOf(const QString& text) {
    return std::filesystem::path(text.toStdString());
}

}  // namespace

QString ProgramTitle() {
    return QStringLiteral("JRA 年間開催スケジュール");
}

MainWindow::MainWindow(Options options, QWidget* parent)
    : QMainWindow(parent),
      presenter_(this, ProgramTitle()),
      desktop_launcher_(std::make_unique<GioLauncher>()) {
    setWindowTitle(ProgramTitle());
    BuildMenus();
    BuildToolBar();
    BuildClientArea();
    BuildTimers();

    Viewer::Options viewer_options;
    viewer_options.program_file = std::move(options.program_file);
    viewer_options.folders = std::move(options.folders);
    viewer_options.jv_link = std::move(options.jv_link);
    viewer_options.clock = options.clock;
    viewer_options.launcher = desktop_launcher_.get();
    viewer_options.documents_folder =
        PathOf(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    viewer_options.home_folder = PathOf(QDir::homePath());
    ViewerView& view = *this;
    viewer_ = std::make_unique<Viewer>(std::move(viewer_options), view, presenter_);
    viewer_->Start();
    ConnectHandlers();
    ticker_timer_->start();
    day_timer_->start();
    year_selector_->setFocus();
}

MainWindow::~MainWindow() = default;

void MainWindow::SetDesktopLauncher(DesktopLauncher* launcher) {
    viewer_->SetDesktopLauncher(launcher != nullptr ? *launcher : *desktop_launcher_);
}

void MainWindow::BuildTimers() {
    download_poll_timer_ = new QTimer(this);
    download_poll_timer_->setObjectName(QStringLiteral("download_poll_timer"));
    download_poll_timer_->setInterval(10);
    ticker_timer_ = new QTimer(this);
    ticker_timer_->setObjectName(QStringLiteral("ticker_timer"));
    ticker_timer_->setInterval(100);
    day_timer_ = new QTimer(this);
    day_timer_->setObjectName(QStringLiteral("day_timer"));
    day_timer_->setInterval(30 * 1000);
}

void MainWindow::ConnectHandlers() {
    Viewer& viewer = *viewer_;
    const auto forward = [this](auto* sender, auto signal, auto action) {
        connect(sender, signal, this, action);
    };
    forward(fetch_action_, &QAction::triggered, [&viewer] { viewer.Fetch(); });
    connect(fetch_button_, &QToolButton::clicked, fetch_action_, &QAction::trigger);
    forward(cancel_button_, &QToolButton::clicked, [&viewer] { viewer.CancelFetch(); });
    auto* cancel_key = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    cancel_key->setContext(Qt::WindowShortcut);
    forward(cancel_key, &QShortcut::activated, [&viewer] { viewer.CancelFetch(); });
    forward(download_poll_timer_, &QTimer::timeout, [&viewer] { viewer.PollDownload(); });
    forward(control_settings_action_, &QAction::triggered,
            [&viewer] { viewer.OpenControlSettings(); });
    forward(normal_data_action_, &QAction::triggered,
            [&viewer] { viewer.ChooseFetchMode(FetchMode::Normal); });
    forward(setup_data_action_, &QAction::triggered,
            [&viewer] { viewer.ChooseFetchMode(FetchMode::Setup); });
    forward(exit_action_, &QAction::triggered, [&viewer] { viewer.Exit(); });
    forward(exit_button_, &QToolButton::clicked, [&viewer] { viewer.Exit(); });
    // activated fires for a choice by mouse and by arrow keys alike, and not when the
    // program itself refills or selects.
    forward(year_selector_, &QComboBox::activated,
            [&viewer](int index) { viewer.ChooseYear(index); });
    forward(venue_selector_, &QComboBox::activated,
            [&viewer](int index) { viewer.ChooseVenue(index); });
    forward(period_buttons_, &QButtonGroup::idClicked, [&viewer](int id) {
        viewer.ChoosePeriod(id == 1 ? Period::AllMonths : Period::FromThisMonth);
    });
    forward(graded_check_, &QCheckBox::toggled,
            [&viewer](bool on) { viewer.ChooseGradedOnly(on); });
    forward(today_button_, &QToolButton::clicked, [&viewer] { viewer.MoveToToday(); });
    forward(ticker_timer_, &QTimer::timeout, [&viewer] { viewer.TickTicker(); });
    forward(day_timer_, &QTimer::timeout, [&viewer] { viewer.TickDay(); });
    forward(copy_action_, &QAction::triggered, [&viewer] { viewer.CopyToClipboard(); });
    forward(calendar_action_, &QAction::triggered, [&viewer] { viewer.SaveCalendar(); });
    forward(print_action_, &QAction::triggered, [&viewer] { viewer.Print(); });
    forward(print_setup_action_, &QAction::triggered, [this] { SetUpPrinter(); });
    forward(help_contents_action_, &QAction::triggered, [&viewer] { viewer.ShowHelpContents(); });
    forward(help_button_, &QToolButton::clicked, [&viewer] { viewer.ShowHelpContents(); });
    forward(about_action_, &QAction::triggered, [&viewer] { viewer.ShowAbout(); });
    forward(about_button_, &QToolButton::clicked, [&viewer] { viewer.ShowAbout(); });
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // After the window has painted, so a failure box has the window behind it; the viewer
    // acts on the first show only.
    QTimer::singleShot(0, this, [this] {
        if (viewer_->FirstShown()) {
            year_selector_->setFocus();
        }
    });
}

void MainWindow::closeEvent(QCloseEvent* event) {
    viewer_->Close({x(), y(), width(), height()});
    event->accept();
}

void MainWindow::CloseWindow() {
    close();
}

}  // namespace koyomi
