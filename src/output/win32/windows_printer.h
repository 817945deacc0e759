// Printing the list on Windows: the printer set-up that later jobs follow, and one print job
// of the grid printer on a printer's device context.
#pragma once

#include <windows.h>

#include "output/print_request.h"
#include "support/result.h"

namespace koyomi {

// The printer that takes the pages when the machine has no other; its pages become a PDF file.
inline constexpr wchar_t kPdfPrinterName[] = L"Microsoft Print to PDF";

class WindowsPrinter {
  public:
    WindowsPrinter() = default;
    ~WindowsPrinter();
    WindowsPrinter(const WindowsPrinter&) = delete;
    WindowsPrinter& operator=(const WindowsPrinter&) = delete;

    // The system's page set-up over `owner`: paper, orientation and, through its printer
    // button, the printer. What the user accepts is kept for the later jobs.
    void SetUp(HWND owner);

    // Prints `request` on the printer chosen last, else on the default one, else on the
    // system's PDF printer. That printer's pages go into `request.pdf_file`; with no printer
    // at all the job fails with a reason for the user. The caller has given `request.printer`
    // its target grid (the list as shown) and that grid's font; the grid is measured at the
    // DPI of `owner`'s monitor.
    Result<PrintedTo> Print(HWND owner, const PrintRequest& request);

  private:
    // The choice of the set-up (global memory the dialogs take and give), or none.
    HGLOBAL dev_mode_ = nullptr;
    HGLOBAL dev_names_ = nullptr;
};

}  // namespace koyomi
