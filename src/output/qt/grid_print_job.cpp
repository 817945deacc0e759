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

QString PrintGridJob(TStrGridPrinter& gridPrinter, QPrinter& printer, int screenDpiX,
                     int screenDpiY) {
    const QString destination = PrintDestination(printer);
    QtPrintCanvas canvas(printer, screenDpiX, screenDpiY);
    if (!canvas.IsActive()) {
        return QStringLiteral("印刷を開始できませんでした。\n%1").arg(destination);
    }
    const bool printed = gridPrinter.Print(canvas);
    const bool closed = canvas.End();
    if (!printed) {
        return QStringLiteral("印刷中にエラーが発生しました。\n%1\n(%2)")
            .arg(destination, QString::fromUtf8(gridPrinter.LastError()));
    }
    if (!closed) {
        return QStringLiteral("印刷を終えることができませんでした。\n%1").arg(destination);
    }
    return QString();
}

}  // namespace koyomi
