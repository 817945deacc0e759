#include "app/qt/print_setup_dialog.h"

#include <QDialogButtonBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPushButton>

namespace koyomi {

std::unique_ptr<QDialog> MakePrintSetupDialog(QPrinter& printer, bool has_printers,
                                              QWidget* parent) {
    if (!has_printers) {
        // Qt warns that this dialog is meant for native printers, yet on Unix it sets a PDF
        // printer all the same.
        auto dialog = std::make_unique<QPageSetupDialog>(&printer, parent);
        dialog->setObjectName(QStringLiteral("PrintSetupDialog"));
        return dialog;
    }
    auto dialog = std::make_unique<QPrintDialog>(&printer, parent);
    dialog->setObjectName(QStringLiteral("PrintSetupDialog"));
    dialog->setWindowTitle(QStringLiteral("ﾌﾟﾘﾝﾀの設定"));
    // Printer, paper and orientation only: a job always prints the whole list.
    dialog->setOptions(QAbstractPrintDialog::PrintToFile);
    auto* buttons = dialog->findChild<QDialogButtonBox*>(QString(), Qt::FindDirectChildrenOnly);
    if (QPushButton* accept = buttons ? buttons->button(QDialogButtonBox::Ok) : nullptr) {
        accept->setText(QStringLiteral("OK"));
    }
    return dialog;
}

}  // namespace koyomi
