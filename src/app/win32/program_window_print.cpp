// The window's dialogs of printing and the about box.
#include "app/win32/about_dialog.h"
#include "app/win32/program_window.h"

namespace koyomi::win32 {

Result<PrintedTo> ProgramWindow::PrintList(const PrintRequest& request) {
    return printer_.Print(window_.window(), request);
}

void ProgramWindow::SetUpPrinter() {
    printer_.SetUp(window_.window());
}

void ProgramWindow::ShowAboutBox(const AboutText& text, DesktopLauncher& launcher) {
    ShowAboutDialog(window_.window(), text, launcher);
}

}  // namespace koyomi::win32
