#include "app/win32/about_dialog.h"

// After windows.h, which it needs.
#include <commctrl.h>

#include <algorithm>
#include <string>

#include "app/win32/about_artwork.h"
#include "app/win32/dpi.h"
#include "app/win32/shadow_text.h"
#include "app/win32/wide_text.h"

namespace koyomi::win32 {
namespace {

constexpr wchar_t kPictureClass[] = L"KoyomiAboutPicture";
constexpr wchar_t kLabelClass[] = L"KoyomiAboutLabel";

// The Linux box's client area at 96 DPI, without the folder list, and the list's margin.
constexpr int kClientWidth = 324;
constexpr int kClientHeight = 258;
constexpr int kFolderMargin = 8;
// The picture's sunken panel, and the picture's place in it.
constexpr RECT kPanel{6, 12, 6 + 307, 12 + 205};
constexpr int kArtworkLeft = 3;
constexpr int kArtworkTop = 2;

constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;

struct AboutState {
    HWND owner = nullptr;
    const AboutText* text = nullptr;
    DesktopLauncher* launcher = nullptr;

    HWND dialog = nullptr;
    HWND picture = nullptr;
    HWND version = nullptr;
    HWND credit = nullptr;
    HWND home_page = nullptr;
    HWND ok = nullptr;
    HWND folders = nullptr;
    HWND tooltip = nullptr;

    int dpi = kDesignDpi;
    HFONT font = nullptr;
    HFONT version_font = nullptr;
    HFONT credit_font = nullptr;
    HFONT folder_font = nullptr;
    HBITMAP artwork = nullptr;

    void FreeDrawing() {
        Delete(font);
        Delete(version_font);
        Delete(credit_font);
        Delete(folder_font);
        Delete(artwork);
    }

  private:
    template <typename Object>
    static void Delete(Object& object) {
        if (object != nullptr) {
            DeleteObject(object);
            object = nullptr;
        }
    }
};

AboutState* StateOf(HWND window) {
    return reinterpret_cast<AboutState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), int(text.size()))));
    return text;
}

// The edit control breaks lines at CR LF only.
std::wstring WithCrLf(const std::wstring& text) {
    std::wstring out;
    for (wchar_t c : text) {
        if (c == L'\n' && (out.empty() || out.back() != L'\r')) {
            out += L'\r';
        }
        out += c;
    }
    return out;
}

void OpenHomePage(const AboutState& state) {
    if (!OpenUrl(*state.launcher, state.text->home_page_url)) {
        // The plain box of the program's few errors shown without icon: text and OK, under
        // the window's title.
        const std::wstring title = state.owner != nullptr ? WindowText(state.owner) : L"";
        MessageBoxW(state.dialog, L"ホームページの表示に失敗しました。", title.c_str(), MB_OK);
    }
}

// The picture's area in its panel.
RECT ArtworkRect(int dpi) {
    const int left = Scale(kArtworkLeft, dpi);
    const int top = Scale(kArtworkTop, dpi);
    return {left, top, left + Scale(kAboutArtworkWidth, dpi),
            top + Scale(kAboutArtworkHeight, dpi)};
}

void PaintPanel(const AboutState& state, HDC dc, const RECT& area) {
    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    FillRect(dc, &area, black);
    RECT edge = area;
    DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
    if (state.artwork != nullptr) {
        const RECT place = ArtworkRect(state.dpi);
        HDC source = CreateCompatibleDC(dc);
        const HGDIOBJ old = SelectObject(source, state.artwork);
        BitBlt(dc, place.left, place.top, place.right - place.left, place.bottom - place.top,
               source, 0, 0, SRCCOPY);
        SelectObject(source, old);
        DeleteDC(source);
    }
}

LRESULT CALLBACK PictureProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    const AboutState* state = StateOf(window);
    switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            RECT area{};
            GetClientRect(window, &area);
            if (state != nullptr) {
                PaintPanel(*state, dc, area);
            }
            EndPaint(window, &paint);
            return 0;
        }
        case WM_SETCURSOR:
            if (state != nullptr && LOWORD(lparam) == HTCLIENT) {
                POINT at{};
                GetCursorPos(&at);
                ScreenToClient(window, &at);
                const RECT place = ArtworkRect(state->dpi);
                if (PtInRect(&place, at)) {
                    // The picture is a link to the home page.
                    SetCursor(LoadCursorW(nullptr, IDC_HAND));
                    return TRUE;
                }
            }
            break;
        case WM_LBUTTONUP:
            if (state != nullptr) {
                const RECT place = ArtworkRect(state->dpi);
                const POINT at{static_cast<short>(LOWORD(lparam)),
                               static_cast<short>(HIWORD(lparam))};
                if (PtInRect(&place, at)) {
                    // A click on the picture does what the home page button does.
                    SendMessageW(state->home_page, BM_CLICK, 0, 0);
                }
            }
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

// A caption lying on the picture: the picture under it, then the text with its shades.
LRESULT CALLBACK LabelProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    const AboutState* state = StateOf(window);
    switch (message) {
        case WM_NCHITTEST:
            // Clicks go through to the picture.
            return HTTRANSPARENT;
        case WM_ERASEBKGND:
            return 1;
        case WM_SETTEXT: {
            const LRESULT done = DefWindowProcW(window, message, wparam, lparam);
            InvalidateRect(window, nullptr, FALSE);
            return done;
        }
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            if (state != nullptr) {
                RECT area{};
                GetClientRect(window, &area);
                // The panel drawn with its origin where it lies under this label.
                RECT place{};
                GetWindowRect(window, &place);
                MapWindowPoints(nullptr, state->picture, reinterpret_cast<POINT*>(&place), 2);
                RECT panel{};
                GetClientRect(state->picture, &panel);
                POINT old_origin{};
                SetViewportOrgEx(dc, -place.left, -place.top, &old_origin);
                PaintPanel(*state, dc, panel);
                SetViewportOrgEx(dc, old_origin.x, old_origin.y, nullptr);

                const bool version = window == state->version;
                SelectObject(dc, version ? state->version_font : state->credit_font);
                DrawShadowText(dc, area, WindowText(window),
                               version ? ShadowStyle::Recessed : ShadowStyle::Raised,
                               version ? RGB(0x10, 0x2A, 0x60) : RGB(0xFF, 0xFF, 0xFF),
                               version ? DT_LEFT : DT_CENTER);
            }
            EndPaint(window, &paint);
            return 0;
        }
        default:
            break;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

void RegisterClassesOnce() {
    static const bool registered = [] {
        WNDCLASSEXW type{};
        type.cbSize = sizeof type;
        type.hInstance = GetModuleHandleW(nullptr);
        type.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        type.lpfnWndProc = &PictureProcedure;
        type.lpszClassName = kPictureClass;
        const bool picture = RegisterClassExW(&type) != 0;
        type.lpfnWndProc = &LabelProcedure;
        type.lpszClassName = kLabelClass;
        return RegisterClassExW(&type) != 0 && picture;
    }();
    static_cast<void>(registered);
}

HWND MakeChild(const wchar_t* type, const wchar_t* text, DWORD style, HWND parent, int id,
               AboutState* state) {
    return CreateWindowExW(0, type, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), state);
}

HWND MakeControl(const wchar_t* type, const wchar_t* text, DWORD style, HWND parent, int id) {
    return MakeChild(type, text, style, parent, id, nullptr);
}

void MakeParts(AboutState& state) {
    HWND dialog = state.dialog;
    state.picture = MakeChild(kPictureClass, L"", 0, dialog, kAboutPicture, &state);
    // The captions lie on the picture, so they are its children.
    // Only a JV-Link of the program's own bitness can be created in it, so the box says which
    // build this is.
    const std::wstring version = WideFromUtf8(state.text->version) +
                                 (sizeof(void*) == 8 ? L" 64 ビット版" : L" 32 ビット版");
    state.version =
        MakeChild(kLabelClass, version.c_str(), 0, state.picture, kAboutVersion, &state);
    state.credit = MakeChild(kLabelClass, L"制作 koyomivw 開発チーム ／ JRA-VAN Data Lab. 対応", 0,
                             state.picture, kAboutCredit, &state);
    state.home_page =
        MakeControl(L"BUTTON", L"ホームページ", WS_TABSTOP | BS_PUSHBUTTON, dialog, kAboutHomePage);
    state.ok = MakeControl(L"BUTTON", L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, dialog, IDOK);
    // Read-only text, so the folders can be selected and copied.
    state.folders = MakeControl(L"EDIT", WithCrLf(WideFromUtf8(state.text->folders)).c_str(),
                                ES_MULTILINE | ES_READONLY, dialog, kAboutFolders);

    state.tooltip =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr,
                        GetModuleHandleW(nullptr), nullptr);
    if (state.tooltip != nullptr) {
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = dialog;
        tool.uId = reinterpret_cast<UINT_PTR>(state.picture);
        tool.lpszText = const_cast<wchar_t*>(L"ホームページ");
        SendMessageW(state.tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

RECT Scaled(const RECT& rect, int dpi) {
    return {Scale(rect.left, dpi), Scale(rect.top, dpi), Scale(rect.right, dpi),
            Scale(rect.bottom, dpi)};
}

void Place(HWND window, const RECT& rect) {
    MoveWindow(window, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
}

// The window's outer size for a client area at `dpi`.
SIZE OuterSize(HWND dialog, int width, int height, int dpi) {
    RECT outer{0, 0, width, height};
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE));
    const auto ex_style = static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE));
    // Looked up at run time: Windows before 10 1607 lacks it and sizes frames at the system DPI.
    using AdjustForDpiCall = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    static const auto adjust_for_dpi = reinterpret_cast<AdjustForDpiCall>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
    if (adjust_for_dpi == nullptr ||
        !adjust_for_dpi(&outer, style, FALSE, ex_style, static_cast<UINT>(dpi))) {
        AdjustWindowRectEx(&outer, style, FALSE, ex_style);
    }
    return {outer.right - outer.left, outer.bottom - outer.top};
}

// Makes the fonts and the picture for `dpi` and places every part; returns the outer size.
SIZE Layout(AboutState& state, int dpi) {
    state.FreeDrawing();
    state.dpi = dpi;
    state.font = CreateGothicFont(12, dpi, false);
    state.version_font = CreateGothicFont(16, dpi, true, true);
    state.credit_font = CreateGothicFont(11, dpi, true);
    state.folder_font = CreateGothicFont(10, dpi, false);
    state.artwork =
        MakeAboutArtwork(Scale(kAboutArtworkWidth, dpi), Scale(kAboutArtworkHeight, dpi));

    for (HWND part : {state.home_page, state.ok}) {
        SendMessageW(part, WM_SETFONT, reinterpret_cast<WPARAM>(state.font), FALSE);
    }
    SendMessageW(state.folders, WM_SETFONT, reinterpret_cast<WPARAM>(state.folder_font), FALSE);
    SendMessageW(state.folders, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);

    Place(state.picture, Scaled(kPanel, dpi));
    Place(state.version, Scaled({14, 12, 14 + 200, 12 + 24}, dpi));
    Place(state.credit, Scaled({6, 180, 6 + 295, 180 + 17}, dpi));
    Place(state.home_page, Scaled({10, 226, 10 + 155, 226 + 21}, dpi));
    Place(state.ok, Scaled({234, 224, 234 + 75, 224 + 25}, dpi));

    // The folder list below the buttons, as high as its lines wrap to.
    const int margin = Scale(kFolderMargin, dpi);
    const int client_width = Scale(kClientWidth, dpi);
    const int list_width = client_width - 2 * margin;
    const std::wstring folders = WindowText(state.folders);
    RECT measured{0, 0, list_width, 0};
    HDC dc = GetDC(state.folders);
    const HGDIOBJ old = SelectObject(dc, state.folder_font);
    DrawTextW(dc, folders.c_str(), static_cast<int>(folders.size()), &measured,
              DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(state.folders, dc);
    const int list_top = Scale(kClientHeight, dpi);
    const int list_height = folders.empty() ? 0 : measured.bottom - measured.top;
    MoveWindow(state.folders, margin, list_top, list_width, list_height, TRUE);
    ShowWindow(state.folders, folders.empty() ? SW_HIDE : SW_SHOW);

    const int client_height = list_top + (folders.empty() ? 0 : list_height + margin);
    InvalidateRect(state.dialog, nullptr, TRUE);
    return OuterSize(state.dialog, client_width, client_height, dpi);
}

// The box lays itself out again when the DPI changes; Windows' own rescaling of dialogs
// (Windows 10 1703 on, looked up at run time) would move its parts a second time.
void KeepOwnDpiLayout(HWND dialog) {
    using SetBehaviourCall =
        BOOL(WINAPI*)(HWND, DIALOG_DPI_CHANGE_BEHAVIORS, DIALOG_DPI_CHANGE_BEHAVIORS);
    static const auto set_behaviour = reinterpret_cast<SetBehaviourCall>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetDialogDpiChangeBehavior")));
    if (set_behaviour != nullptr) {
        set_behaviour(dialog, DDC_DISABLE_ALL, DDC_DISABLE_ALL);
    }
}

// Centred on the work area of the owner's monitor, as the Linux box is on its screen.
void Centre(HWND dialog, HWND owner, SIZE size) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(owner != nullptr ? owner : dialog, MONITOR_DEFAULTTOPRIMARY),
                    &monitor);
    const RECT& work = monitor.rcWork;
    const int left = work.left + std::max(0L, (work.right - work.left - size.cx) / 2);
    const int top = work.top + std::max(0L, (work.bottom - work.top - size.cy) / 2);
    SetWindowPos(dialog, nullptr, left, top, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* state = reinterpret_cast<AboutState*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG: {
            state = reinterpret_cast<AboutState*>(lparam);
            SetWindowLongPtrW(dialog, DWLP_USER, lparam);
            state->dialog = dialog;
            SetWindowTextW(dialog, L"ﾊﾞｰｼﾞｮﾝ情報");
            KeepOwnDpiLayout(dialog);
            MakeParts(*state);
            Centre(dialog, state->owner, Layout(*state, WindowDpi(dialog)));
            SetFocus(state->ok);
            // The focus is set.
            return FALSE;
        }
        case WM_DPICHANGED: {
            const RECT* suggested = reinterpret_cast<const RECT*>(lparam);
            const SIZE size = Layout(*state, HIWORD(wparam));
            SetWindowPos(dialog, nullptr, suggested->left, suggested->top, size.cx, size.cy,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            return TRUE;
        }
        case WM_COMMAND:
            switch (LOWORD(wparam)) {
                case IDOK:
                case IDCANCEL:
                    EndDialog(dialog, LOWORD(wparam));
                    return TRUE;
                case kAboutHomePage:
                    if (HIWORD(wparam) == BN_CLICKED) {
                        OpenHomePage(*state);
                    }
                    return TRUE;
                default:
                    return FALSE;
            }
        default:
            return FALSE;
    }
}

}  // namespace

void ShowAboutDialog(HWND owner, const AboutText& text, DesktopLauncher& launcher) {
    RegisterClassesOnce();
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    // An empty template: no menu, the system's class, no title and no controls; the parts are
    // made and sized when the dialog starts.
    struct alignas(DWORD) EmptyTemplate {
        DLGTEMPLATE dialog;
        WORD menu;
        WORD window_class;
        WORD title;
    };
    EmptyTemplate blank{};
    blank.dialog.style = kDialogStyle;
    AboutState state;
    state.owner = owner;
    state.text = &text;
    state.launcher = &launcher;
    DialogBoxIndirectParamW(GetModuleHandleW(nullptr), &blank.dialog, owner, &DialogProcedure,
                            reinterpret_cast<LPARAM>(&state));
    state.FreeDrawing();
}

}  // namespace koyomi::win32
