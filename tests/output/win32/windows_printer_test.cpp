// Print jobs on the system's printers, in the Wine prefix of the Windows tests: first with no
// printer at all, then with a printer of the system's PDF printer's name, which Wine's
// PostScript driver stands in for.
#include "output/win32/windows_printer.h"

#include <gtest/gtest.h>

#include <dlgs.h>
#include <winspool.h>

#include <string>

#include "output/fake_grid.h"
#include "output/grid_printer.h"
#include "support/sjis_text.h"
#include "testing/files.h"
#include "testing/temp_folder.h"

namespace koyomi {
namespace {

bool UnderWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// The smallest printer description Wine's PostScript driver takes: A4 only.
constexpr char kTestPpd[] =
    "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*LanguageLevel: \"2\"\n"
    "*ColorDevice: False\n*DefaultResolution: 300dpi\n*DefaultPageSize: A4\n"
    "*PageSize A4/A4: \"<</PageSize[595 842]>>setpagedevice\"\n*DefaultPageRegion: A4\n"
    "*PageRegion A4/A4: \"<</PageSize[595 842]>>setpagedevice\"\n"
    "*DefaultImageableArea: A4\n*ImageableArea A4/A4: \"18 18 577 824\"\n"
    "*DefaultPaperDimension: A4\n*PaperDimension A4/A4: \"595 842\"\n";

wchar_t* Text(const wchar_t* text) {
    return const_cast<wchar_t*>(text);
}

// Installs Wine's PostScript driver under the PDF printer's name; true when it is there.
bool AddStandInPdfPrinter() {
    wchar_t folder[MAX_PATH] = {};
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(folder),
                                    sizeof folder, &needed)) {
        return false;
    }
    testing::WriteBytes(std::filesystem::path(folder) / L"3" / L"koyomi-test.ppd", kTestPpd);
    DRIVER_INFO_3W driver{};
    driver.cVersion = 3;
    driver.pName = Text(L"Wine PostScript Driver");
    driver.pEnvironment = Text(L"Windows NT x86");
    driver.pDriverPath = Text(L"wineps.drv");
    driver.pDataFile = Text(L"koyomi-test.ppd");
    driver.pConfigFile = Text(L"wineps.drv");
    driver.pDefaultDataType = Text(L"RAW");
    if (!AddPrinterDriverExW(nullptr, 3, reinterpret_cast<BYTE*>(&driver), APD_COPY_NEW_FILES)) {
        return false;
    }
    PRINTER_INFO_2W printer{};
    printer.pPrinterName = Text(kPdfPrinterName);
    printer.pPortName = Text(L"FILE:");
    printer.pDriverName = driver.pName;
    printer.pPrintProcessor = Text(L"WinPrint");
    printer.pDatatype = Text(L"RAW");
    HANDLE added = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&printer));
    if (added == nullptr) {
        return false;
    }
    ClosePrinter(added);
    return true;
}

void DeletePrinterNamed(const wchar_t* name) {
    HANDLE printer = nullptr;
    PRINTER_DEFAULTSW access{nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (OpenPrinterW(Text(name), &printer, &access)) {
        DeletePrinter(printer);
        ClosePrinter(printer);
    }
}

int Count(const std::string& text, const std::string& part) {
    int count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

// Wine makes no window without a display; the suite runs once without and once with one.
bool CanShowWindows() {
    HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    if (probe == nullptr) {
        return false;
    }
    DestroyWindow(probe);
    return true;
}

// The page set-up's steps, run from a timer of the test's thread while the dialog is open.
int set_up_ticks = 0;

void CALLBACK ChooseLandscape(HWND, UINT, UINT_PTR, DWORD) {
    HWND dialog = GetActiveWindow();
    if (++set_up_ticks > 300 && dialog != nullptr) {
        EndDialog(dialog, IDCANCEL);
        return;
    }
    HWND landscape = dialog != nullptr ? GetDlgItem(dialog, rad2) : nullptr;
    if (landscape != nullptr) {
        SendMessageW(landscape, BM_CLICK, 0, 0);
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    }
}

TEST(WindowsPrinter, WithoutAPrinterFailsAndWithThePdfPrinterWritesTheFileNamedByTheTitle) {
    DWORD default_size = 0;
    if (!UnderWine() || GetDefaultPrinterW(nullptr, &default_size) || default_size != 0) {
        GTEST_SKIP() << "needs Wine's PostScript driver and a prefix without printers";
    }
    // A run cut short may have left the stand-in behind.
    DeletePrinterNamed(kPdfPrinterName);
    const testing::TempFolder folder("印刷");
    // Tall enough for a second page.
    FakeGrid grid({60, 120}, std::vector<int>(120, 20));
    GridPrinter grid_printer;
    PrintRequest request;
    request.printer = &grid_printer;
    request.title = Utf8ToSjis("2026年 スケジュール【ALL】");
    request.pdf_file = folder / "2026年 スケジュール.pdf";
    WindowsPrinter printer;

    // Without the list there is nothing to print, and no job is started for it.
    const Result<PrintedTo> no_list = printer.Print(nullptr, request);
    ASSERT_FALSE(no_list);
    EXPECT_EQ(no_list.Reason(), "印刷する一覧がありません。");

    grid_printer.target_grid = &grid;
    grid_printer.target_grid_font = {"Courier", 9.0};
    const Result<PrintedTo> no_printer = printer.Print(nullptr, request);
    ASSERT_FALSE(no_printer);
    EXPECT_NE(no_printer.Reason().find("プリンタがインストールされていない"), std::string::npos)
        << no_printer.Reason();
    EXPECT_FALSE(std::filesystem::exists(request.pdf_file));

    ASSERT_TRUE(AddStandInPdfPrinter()) << GetLastError();
    const Result<PrintedTo> printed = printer.Print(nullptr, request);
    DeletePrinterNamed(kPdfPrinterName);
    ASSERT_TRUE(printed) << printed.Reason();
    EXPECT_TRUE(printed->to_file);
    const std::u8string file = request.pdf_file.u8string();
    EXPECT_EQ(printed->destination, std::string(file.begin(), file.end()));
    const std::string pages = testing::ReadBytes(request.pdf_file);
    ASSERT_GT(grid_printer.PageCount(), 1);
    EXPECT_EQ(Count(pages, "%%Page: "), grid_printer.PageCount());
    // The driver writes the job's name in the prefix's code page; its ASCII part shows it is
    // the list title.
    const size_t title = pages.find("%%Title: 2026");
    ASSERT_NE(title, std::string::npos);
    EXPECT_NE(pages.find("ALL", title), std::string::npos);
}

TEST(WindowsPrinter, LaterJobsKeepThePaperTurnedInThePageSetUp) {
    DWORD default_size = 0;
    if (!UnderWine() || GetDefaultPrinterW(nullptr, &default_size) || default_size != 0) {
        GTEST_SKIP() << "needs Wine's PostScript driver and a prefix without printers";
    }
    if (!CanShowWindows()) {
        GTEST_SKIP() << "the page set-up needs a display";
    }
    DeletePrinterNamed(kPdfPrinterName);
    // The only printer, so the system's default, as Windows makes it.
    ASSERT_TRUE(AddStandInPdfPrinter()) << GetLastError();
    ASSERT_TRUE(SetDefaultPrinterW(kPdfPrinterName));
    const testing::TempFolder folder("印刷");
    FakeGrid grid({60, 120}, {20, 20});
    GridPrinter grid_printer;
    grid_printer.target_grid = &grid;
    grid_printer.target_grid_font = {"Courier", 9.0};
    PrintRequest request;
    request.printer = &grid_printer;
    request.title = "2026";
    WindowsPrinter printer;

    request.pdf_file = folder / "upright.pdf";
    ASSERT_TRUE(printer.Print(nullptr, request));
    set_up_ticks = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 30, &ChooseLandscape);
    printer.SetUp(nullptr);
    KillTimer(nullptr, timer);
    request.pdf_file = folder / "turned.pdf";
    const Result<PrintedTo> turned = printer.Print(nullptr, request);
    request.pdf_file = folder / "turned again.pdf";
    const Result<PrintedTo> again = printer.Print(nullptr, request);
    DeletePrinterNamed(kPdfPrinterName);

    ASSERT_LE(set_up_ticks, 300) << "the page set-up stayed open";
    ASSERT_TRUE(turned) << turned.Reason();
    ASSERT_TRUE(again) << again.Reason();
    EXPECT_NE(testing::ReadBytes(folder / "upright.pdf").find("%%Orientation: Portrait"),
              std::string::npos);
    for (const char* name : {"turned.pdf", "turned again.pdf"}) {
        EXPECT_NE(testing::ReadBytes(folder / name).find("%%Orientation: Landscape"),
                  std::string::npos)
            << name;
    }
}

}  // namespace
}  // namespace koyomi
