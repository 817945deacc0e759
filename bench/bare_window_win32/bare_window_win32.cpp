// The yardstick of bench/window_startup_windows.sh: a plain Win32 window with the program's
// menus, selectors and an empty 14-column list view, and nothing behind them, so that the
// program's first paint under Wine can be compared with what Windows alone needs for the same
// window.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <initializer_list>

#include "app/win32/first_paint_report.h"

namespace {

bool painted = false;

void AddItems(HMENU menu, std::initializer_list<const wchar_t*> items) {
    for (const wchar_t* item : items) {
        AppendMenuW(menu, item == nullptr ? MF_SEPARATOR : MF_STRING, 0, item);
    }
}

HMENU MakeMenus() {
    HMENU file = CreatePopupMenu();
    AddItems(file, {L"ＪＶデータ・年間スケジュール取得(&D)", L"クリップボードへコピー(&C)",
                    L"JV Link 設定(&S)", nullptr, L"印刷(&P)...", L"ﾌﾟﾘﾝﾀの設定(&R)...", nullptr,
                    L"終了(&X)"});
    HMENU options = CreatePopupMenu();
    AddItems(options, {L"取得データの種類"});
    HMENU help = CreatePopupMenu();
    AddItems(help, {L"目次(&C)", L"ﾊﾞｰｼﾞｮﾝ情報(&A)..."});
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"ﾌｧｲﾙ(&F)");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(options), L"ｵﾌﾟｼｮﾝ(&O)");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"ﾍﾙﾌﾟ(&H)");
    return bar;
}

HWND Child(HWND parent, const wchar_t* type, const wchar_t* caption, DWORD style, int x, int y,
           int width, int height) {
    return CreateWindowExW(0, type, caption, WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                           parent, nullptr, GetModuleHandleW(nullptr), nullptr);
}

void MakeControls(HWND window) {
    HWND bar = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"",
                               WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_LIST, 0, 0, 0, 0,
                               window, nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(bar, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
    TBBUTTON buttons[5] = {};
    const wchar_t* captions[] = {L"JVデータ取得", L"", L"終了", L"ヘルプ", L"ﾊﾞｰｼﾞｮﾝ情報"};
    for (int i = 0; i < 5; ++i) {
        buttons[i].iBitmap = i == 1 ? 174 : I_IMAGENONE;
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = i == 1 ? BTNS_SEP : BTNS_AUTOSIZE | BTNS_SHOWTEXT;
        buttons[i].iString = reinterpret_cast<INT_PTR>(captions[i]);
    }
    SendMessageW(bar, TB_ADDBUTTONSW, 5, reinterpret_cast<LPARAM>(buttons));
    SendMessageW(bar, TB_AUTOSIZE, 0, 0);
    RECT slot{};
    SendMessageW(bar, TB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&slot));
    Child(bar, WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_TABSTOP, slot.left + 2, slot.top, 170, 300);

    Child(window, WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_TABSTOP, 4, 42, 140, 300);
    Child(window, WC_BUTTONW, L"期間指定", BS_GROUPBOX, 150, 32, 170, 44);
    Child(window, WC_BUTTONW, L"今月以降", BS_AUTORADIOBUTTON | WS_GROUP, 160, 50, 80, 20);
    Child(window, WC_BUTTONW, L"全月分", BS_AUTORADIOBUTTON, 244, 50, 70, 20);
    HWND list = Child(window, WC_LISTVIEWW, L"", LVS_REPORT | WS_BORDER, 4, 130, 760, 330);
    for (int column = 0; column < 14; ++column) {
        LVCOLUMNW spec{};
        spec.mask = LVCF_WIDTH;
        spec.cx = 40;
        ListView_InsertColumn(list, column, &spec);
    }
    Child(window, STATUSCLASSNAMEW, L"", SBARS_SIZEGRIP, 0, 0, 0, 0);
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_CREATE:
            MakeControls(window);
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            BeginPaint(window, &paint);
            EndPaint(window, &paint);
            if (!painted) {
                painted = true;
                PostMessageW(window, WM_APP, 0, 0);
            }
            return 0;
        }
        case WM_APP:
            koyomi::win32::ReportFirstPaintWhenAsked();
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wparam, lparam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSEXW type{};
    type.cbSize = sizeof type;
    type.lpfnWndProc = Procedure;
    type.hInstance = instance;
    type.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    type.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    type.lpszClassName = L"KoyomiBareWindow";
    RegisterClassExW(&type);
    HWND window = CreateWindowExW(0, type.lpszClassName, L"bare window", WS_OVERLAPPEDWINDOW, 10,
                                  10, 630, 450, nullptr, MakeMenus(), instance, nullptr);
    ShowWindow(window, show);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
