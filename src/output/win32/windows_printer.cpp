#include "output/win32/windows_printer.h"

#include <commdlg.h>
#include <winspool.h>

#include <cwchar>
#include <string>

#include "output/win32/gdi_print_canvas.h"
#include "support/sjis_text.h"
#include "support/win32/windows_error.h"

namespace koyomi {
namespace {

// wchar_t is UTF-16 on Windows, so the core's UTF-16 moves over unit by unit.
std::wstring WideFromSjis(std::string_view sjis) {
    const std::u16string text = SjisToUtf16(sjis);
    return std::wstring(text.begin(), text.end());
}

std::string Utf8FromWide(const std::wstring& wide) {
    return Utf16ToUtf8(std::u16string(wide.begin(), wide.end()));
}

std::string Utf8FromPath(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::wstring DefaultPrinter() {
    DWORD size = 0;
    GetDefaultPrinterW(nullptr, &size);
    if (size == 0) {
        return {};
    }
    std::wstring name(size, L'\0');
    if (!GetDefaultPrinterW(name.data(), &size)) {
        return {};
    }
    name.resize(std::wcslen(name.c_str()));
    return name;
}

bool PrinterInstalled(const std::wstring& name) {
    HANDLE printer = nullptr;
    if (!OpenPrinterW(const_cast<LPWSTR>(name.c_str()), &printer, nullptr)) {
        return false;
    }
    ClosePrinter(printer);
    return true;
}

// The DPI the list has on screen, that of the monitor `window` is on. The per-monitor call is
// looked up at run time: Windows 7 and 8 lack it, and there the system DPI is the list's.
int ScreenDpi(HWND window) {
    using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
    static const auto get_dpi_for_window =
        reinterpret_cast<GetDpiForWindowCall>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (get_dpi_for_window != nullptr && window != nullptr) {
        if (const UINT dpi = get_dpi_for_window(window); dpi != 0) {
            return static_cast<int>(dpi);
        }
    }
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

// The device name the set-up's choice holds.
std::wstring ChosenDevice(HGLOBAL dev_names) {
    const auto* names = static_cast<const DEVNAMES*>(GlobalLock(dev_names));
    if (names == nullptr) {
        return {};
    }
    std::wstring device = reinterpret_cast<const wchar_t*>(names) + names->wDeviceOffset;
    GlobalUnlock(dev_names);
    return device;
}

void Free(HGLOBAL& memory) {
    if (memory != nullptr) {
        GlobalFree(memory);
        memory = nullptr;
    }
}

}  // namespace

WindowsPrinter::~WindowsPrinter() {
    Free(dev_mode_);
    Free(dev_names_);
}

void WindowsPrinter::SetUp(HWND owner) {
    PAGESETUPDLGW setup{};
    setup.lStructSize = sizeof setup;
    setup.hwndOwner = owner;
    setup.hDevMode = dev_mode_;
    setup.hDevNames = dev_names_;
    // The list keeps its own margins. Without a printer the dialog itself says so.
    setup.Flags = PSD_DISABLEMARGINS;
    PageSetupDlgW(&setup);
    // The dialog may have swapped the memory for its own, also when the user cancelled.
    dev_mode_ = setup.hDevMode;
    dev_names_ = setup.hDevNames;
}

Result<PrintedTo> WindowsPrinter::Print(HWND owner, const PrintRequest& request) {
    if (request.printer == nullptr || request.printer->target_grid == nullptr) {
        return Fail("印刷する一覧がありません。");
    }

    std::wstring device;
    if (dev_names_ != nullptr) {
        device = ChosenDevice(dev_names_);
        if (!PrinterInstalled(device)) {
            // The printer chosen earlier has gone; the default one takes the pages instead.
            Free(dev_mode_);
            Free(dev_names_);
            device.clear();
        }
    }
    const bool chosen = !device.empty();
    if (!chosen) {
        device = DefaultPrinter();
    }
    if (device.empty() && PrinterInstalled(kPdfPrinterName)) {
        device = kPdfPrinterName;
    }
    if (device.empty()) {
        return Fail(
            "プリンタがインストールされていないため、印刷できません。\n"
            "Windows の設定でプリンタを追加してください。");
    }
    // The system's PDF printer asks for a file unless it is given one; it is given the one the
    // program puts a PDF in, which the status line then names.
    const bool to_file = device == kPdfPrinterName;
    const std::string destination = to_file ? Utf8FromPath(request.pdf_file) : Utf8FromWide(device);

    HDC dc = nullptr;
    if (chosen && dev_mode_ != nullptr) {
        const auto* mode = static_cast<const DEVMODEW*>(GlobalLock(dev_mode_));
        dc = CreateDCW(L"WINSPOOL", device.c_str(), nullptr, mode);
        GlobalUnlock(dev_mode_);
    } else {
        dc = CreateDCW(L"WINSPOOL", device.c_str(), nullptr, nullptr);
    }
    if (dc == nullptr) {
        return Fail("印刷を開始できませんでした。\n" + destination + "\n(" +
                    WindowsErrorReason(GetLastError()) + ")");
    }

    // The list title names the job in the printer queue and titles a PDF file.
    const std::wstring title = WideFromSjis(request.title);
    const std::wstring output = request.pdf_file.wstring();
    DOCINFOW document{};
    document.cbSize = sizeof document;
    document.lpszDocName = title.c_str();
    document.lpszOutput = to_file ? output.c_str() : nullptr;
    const HCURSOR cursor = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    if (StartDocW(dc, &document) <= 0 || StartPage(dc) <= 0) {
        const DWORD error = GetLastError();
        AbortDoc(dc);
        DeleteDC(dc);
        SetCursor(cursor);
        return Fail("印刷を開始できませんでした。\n" + destination + "\n(" +
                    WindowsErrorReason(error) + ")");
    }

    Status printed;
    {
        GdiPrintCanvas canvas(dc, ScreenDpi(owner));
        printed = request.printer->Print(canvas);
    }
    // The job is always closed, so the pages made before a failure still come out.
    const bool closed = EndPage(dc) > 0 && EndDoc(dc) > 0;
    if (!closed) {
        AbortDoc(dc);
    }
    DeleteDC(dc);
    SetCursor(cursor);

    if (!printed) {
        return Fail("印刷中にエラーが発生しました。\n" + destination + "\n(" +
                    Describe(printed.Error()) + ")");
    }
    if (!closed) {
        return Fail("印刷を終えることができませんでした。\n" + destination);
    }
    return PrintedTo{to_file, destination};
}

}  // namespace koyomi
