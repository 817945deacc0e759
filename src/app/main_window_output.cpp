// Clipboard copy of the list, and the window's connections for printing, help and the about box.
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QToolButton>

#include "app/grid_widget_source.h"
#include "app/main_window.h"
#include "output/clipboard_text.h"
#include "support/qt/qt_text.h"

namespace koyomi {

void MainWindow::ConnectOutputHandlers() {
    connect(copy_action_, &QAction::triggered, this, &MainWindow::CopyToClipboard);
    connect(calendar_action_, &QAction::triggered, this, &MainWindow::SaveCalendarFile);
    SetUpGridPrinter();
    connect(print_action_, &QAction::triggered, this, &MainWindow::Print);
    connect(print_setup_action_, &QAction::triggered, this, &MainWindow::SetUpPrinter);
    connect(help_contents_action_, &QAction::triggered, this, &MainWindow::ShowHelpContents);
    connect(help_button_, &QToolButton::clicked, this, &MainWindow::ShowHelpContents);
    connect(about_action_, &QAction::triggered, this, &MainWindow::ShowAbout);
    connect(about_button_, &QToolButton::clicked, this, &MainWindow::ShowAbout);
}

std::string MainWindow::ClipboardBytes() const {
    const GridWidgetSource grid(model_.grid, *schedule_table_);
    return ClipboardText(grid, 0, 0, grid.ColCount() - 1, grid.RowCount() - 1, model_.title);
}

void MainWindow::CopyToClipboard() {
    // The desktop's clipboard holds Unicode text; CR LF line ends stay as they are.
    QGuiApplication::clipboard()->setText(SjisToQString(ClipboardBytes()));
}

}  // namespace koyomi
