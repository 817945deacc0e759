// Clipboard copy of the list, and the window's connections for printing, help and the about box.
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QToolButton>

#include "app/grid_widget_source.h"
#include "app/main_form.h"
#include "output/clipboard_text.h"
#include "support/qt/qt_text.h"

namespace koyomi {

void TMainForm::ConnectOutputHandlers() {
    connect(N6, &QAction::triggered, this, &TMainForm::SpeedButton2Click);
    SetupStrGridPrinter1();
    connect(FilePrintItem, &QAction::triggered, this, &TMainForm::FilePrintItemClick);
    connect(FilePrintSetupItem, &QAction::triggered, this, &TMainForm::FilePrintSetupItemClick);
    connect(HelpContentsItem, &QAction::triggered, this, &TMainForm::HelpContentsItemClick);
    connect(SpeedButton5, &QToolButton::clicked, this, &TMainForm::HelpContentsItemClick);
    connect(HelpAboutItem, &QAction::triggered, this, &TMainForm::HelpAboutItemClick);
    connect(SpeedButton6, &QToolButton::clicked, this, &TMainForm::HelpAboutItemClick);
}

std::string TMainForm::clipboardText() const {
    const GridWidgetSource grid(model_.StringGrid1, *StringGrid1);
    return ClipboardText(grid, 0, 0, grid.ColCount() - 1, grid.RowCount() - 1,
                         model_.Label3D1Caption);
}

void TMainForm::SpeedButton2Click() {
    // The desktop's clipboard holds Unicode text; CR LF line ends stay as they are.
    QGuiApplication::clipboard()->setText(SjisToQString(clipboardText()));
}

}  // namespace koyomi
