// Program entry on Windows: COM for JV-Link in this thread, the start-up (folders, the presence
// check of JV-Link), then the window and its message loop.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <utility>

#include "app/startup.h"
#include "app/win32/main_window_win32.h"
#include "app/win32/program_window.h"
#include "support/app_folders.h"
#include "support/program_file.h"
#include "support/win32/message_box_presenter.h"

namespace {

// JV-Link is an apartment-threaded control: it lives in this thread's single-threaded
// apartment, which ends only after the window and the control are gone.
class ComApartment {
  public:
    ComApartment() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComApartment() {
        if (SUCCEEDED(result_)) {
            CoUninitialize();
        }
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

  private:
    HRESULT result_;
};

int RunProgram(int show_command) {
    const std::filesystem::path program_file = koyomi::ProgramFilePath();
    const koyomi::FolderEnvironment environment = koyomi::FolderEnvironmentOfProcess();
    koyomi::MessageBoxPresenter presenter(koyomi::win32::ProgramTitle());
    koyomi::Startup started = koyomi::StartProgram(program_file, environment, presenter);
    if (!started.control) {
        return started.exit_code;
    }
    koyomi::win32::ProgramWindow::Options options;
    options.program_file = program_file;
    options.folders = std::move(started.folders);
    options.jv_link = std::move(started.control);
    options.documents_folder = environment.documents;
    options.home_folder = environment.home;
    options.window_made = [&presenter](HWND window) { presenter.SetOwner(window); };
    koyomi::win32::ProgramWindow window(std::move(options), presenter);
    window.Show(show_command);
    const int exit_code = window.Run();
    presenter.SetOwner(nullptr);
    return exit_code;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show_command) {
    const ComApartment apartment;
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                        ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    return RunProgram(show_command);
}
