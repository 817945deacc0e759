// Printing the list: the grid with the list title on every page, on the printer and paper
// chosen last in the printer set-up, or into a PDF file in the documents folder chosen at
// start-up when the machine has no printer.
#include <QApplication>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTableView>
#include <algorithm>

#include "app/qt/grid_widget_source.h"
#include "app/qt/main_window.h"
#include "app/qt/print_setup_dialog.h"
#include "output/qt/grid_print_job.h"
#include "support/qt/qt_text.h"

namespace koyomi {

namespace {

// A machine without a printer still gets its pages: a PDF at a laser printer's resolution,
// on the paper Japanese offices use.
void UsePdfOutput(QPrinter& printer) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setResolution(600);
    printer.setPageSize(QPageSize(QPageSize::A4));
}

bool HasPrinters() {
    return !QPrinterInfo::availablePrinters().isEmpty();
}

// The grid's font as the printer takes it: sizes in points, so the text keeps its size on
// paper.
FontDescription PrintFontOf(const QWidget& grid) {
    const QFont font = grid.font();
    FontDescription description;
    description.face = QStringToSjis(font.family());
    description.pointSize = font.pointSizeF() > 0
                                ? font.pointSizeF()
                                : font.pixelSize() * 72.0 / std::max(grid.logicalDpiY(), 1);
    description.bold = font.bold();
    description.italic = font.italic();
    description.underline = font.underline();
    description.strikeOut = font.strikeOut();
    description.colour = kBlack;
    return description;
}

}  // namespace

QPrinter& MainWindow::Printer() {
    if (!printer_) {
        printer_ = std::make_shared<QPrinter>(QPrinter::HighResolution);
        if (!HasPrinters()) {
            UsePdfOutput(*printer_);
        }
    }
    return *printer_;
}

Result<PrintedTo> MainWindow::PrintList(const PrintRequest& request) {
    QPrinter& printer = Printer();
    if (printer.outputFormat() == QPrinter::NativeFormat && !HasPrinters()) {
        // The printer chosen earlier has gone; the pages go to a file instead of nowhere.
        UsePdfOutput(printer);
        print_file_chosen_ = false;
    }
    const bool to_file = printer.outputFormat() == QPrinter::PdfFormat;
    if (to_file && !print_file_chosen_) {
        printer.setOutputFileName(QString::fromStdString(request.pdf_file.string()));
    }

    // The list title names the job in the printer queue and titles the PDF file.
    printer.setDocName(SjisToQString(request.title));

    GridPrinter& grid_printer = *request.printer;
    const GridTable grid = ShownTable(*request.grid, *schedule_table_);
    grid_printer.target_grid = &grid;
    grid_printer.target_grid_font = PrintFontOf(*schedule_table_);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QString error = PrintGridJob(grid_printer, printer, schedule_table_->logicalDpiX(),
                                       schedule_table_->logicalDpiY());
    QApplication::restoreOverrideCursor();
    // The table lives only for this job.
    grid_printer.target_grid = nullptr;

    if (!error.isEmpty()) {
        return Fail(error.toStdString());
    }
    return PrintedTo{to_file, PrintDestination(printer).toStdString()};
}

void MainWindow::SetUpPrinter() {
    QPrinter& printer = Printer();
    const bool has_printers = HasPrinters();
    const std::unique_ptr<QDialog> dialog = MakePrintSetupDialog(printer, has_printers, this);
    if (dialog->exec() == QDialog::Accepted && has_printers) {
        print_file_chosen_ =
            printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty();
    }
}

}  // namespace koyomi
