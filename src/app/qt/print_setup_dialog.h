// The printer set-up dialog of "ﾌﾟﾘﾝﾀの設定(&R)...": its choices apply to later print jobs.
#pragma once

#include <QDialog>
#include <memory>

class QPrinter;
class QWidget;

namespace koyomi {

// With printers, the platform's print dialog limited to printer, paper and orientation; it
// prints nothing, so its accept button reads "OK" instead of the dialog's own "Print".
// Without printers, the page set-up of the PDF file: only paper and orientation.
std::unique_ptr<QDialog> MakePrintSetupDialog(QPrinter& printer, bool has_printers,
                                              QWidget* parent);

}  // namespace koyomi
