#include "output/qt/grid_print_job.h"

#include <QDir>
#include <QPrinter>

#include "output/qt/qt_print_canvas.h"

namespace koyomi {

QString PrintDestination(const QPrinter& printer) {
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        return QDir::toNativeSeparators(printer.outputFileName());
    }
    return printer.printerName();
}

QString PrintGridJob(GridPrinter& grid_printer, QPrinter& printer, int screen_dpi_x,
                     int screen_dpi_y) {
    const QString destination = PrintDestination(printer);
    QtPrintCanvas canvas(printer, screen_dpi_x, screen_dpi_y);
    if (!canvas.IsActive()) {
        return QStringLiteral("印刷を開始できませんでした。\n%1").arg(destination);
    }
    const Status printed = grid_printer.Print(canvas);
    const bool closed = canvas.End();
    if (!printed) {
        return QStringLiteral("印刷中にエラーが発生しました。\n%1\n(%2)")
            .arg(destination, QString::fromStdString(Describe(printed.Error())));
    }
    if (!closed) {
        return QStringLiteral("印刷を終えることができませんでした。\n%1").arg(destination);
    }
    return QString();
}

}  // namespace koyomi
