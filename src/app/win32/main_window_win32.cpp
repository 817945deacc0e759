#include "app/win32/main_window_win32.h"

#include <commctrl.h>

#include "app/win32/accelerators.h"
#include "app/win32/command_ids.h"
#include "app/win32/first_paint_report.h"
#include "app/win32/menus.h"
#include "app/win32/wide_text.h"

namespace koyomi::win32 {
namespace {

constexpr wchar_t kClassName[] = L"KoyomiMainWindow";
constexpr UINT kFirstShownMessage = WM_APP + 1;

void RegisterClassOnce(WNDPROC procedure) {
    static const bool registered = [procedure] {
        WNDCLASSEXW type{};
        type.cbSize = sizeof type;
        type.lpfnWndProc = procedure;
        type.hInstance = GetModuleHandleW(nullptr);
        type.hIcon = LoadIconW(type.hInstance, MAKEINTRESOURCEW(1));
        type.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        type.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        type.lpszClassName = kClassName;
        return RegisterClassExW(&type) != 0;
    }();
    static_cast<void>(registered);
}

int SelectedItem(HWND combo) {
    return static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
}

bool IsDroppedDown(HWND combo) {
    return SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void FillCombo(HWND combo, const std::vector<std::wstring>& items, int selected) {
    SendMessageW(combo, WM_SETREDRAW, FALSE, 0);
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (const std::wstring& item : items) {
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
    // Setting the selection sends no CBN_SELCHANGE: a refill is never taken for a choice.
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    SendMessageW(combo, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(combo, nullptr, TRUE);
}

}  // namespace

const wchar_t* ProgramTitle() {
    return L"JRA 年間開催スケジュール";
}

MainWindowWin32::MainWindowWin32(WindowActions& actions, const WindowPlacement& placement)
    : actions_(actions) {
    INITCOMMONCONTROLSEX controls{
        sizeof(INITCOMMONCONTROLSEX),
        ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    RegisterClassOnce(&MainWindowWin32::Procedure);
    keys_ = CreateWindowAccelerators();
    window_ = CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, ProgramTitle(), WS_OVERLAPPEDWINDOW,
                              placement.left, placement.top, std::max(placement.width, 200),
                              std::max(placement.height, 150), nullptr, CreateMainMenu(),
                              GetModuleHandleW(nullptr), this);
}

MainWindowWin32::~MainWindowWin32() {
    if (window_ != nullptr) {
        closing_ = true;
        DestroyWindow(window_);
    }
    DestroyAcceleratorTable(keys_);
}

void MainWindowWin32::Show(int show_command) {
    ShowWindow(window_, show_command);
    UpdateWindow(window_);
}

void MainWindowWin32::Close() {
    PostMessageW(window_, WM_CLOSE, 0, 0);
}

void MainWindowWin32::SetYearItems(const std::vector<std::string>& items) {
    std::vector<std::wstring> wide;
    for (const std::string& item : items) {
        wide.push_back(WideFromUtf8(item));
    }
    FillCombo(year_selector(), wide, -1);
}

void MainWindowWin32::SetSelectedYear(int index) {
    SendMessageW(year_selector(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void MainWindowWin32::SetVenueItems(const std::vector<std::string>& items, int selected) {
    std::vector<std::wstring> wide;
    for (const std::string& item : items) {
        wide.push_back(WideFromSjis(item));
    }
    FillCombo(venue_selector_, wide, selected);
}

void MainWindowWin32::SetPeriod(int index) {
    CheckRadioButton(window_, kControlPeriodFromThisMonth, kControlPeriodAllMonths,
                     index == 1 ? kControlPeriodAllMonths : kControlPeriodFromThisMonth);
}

void MainWindowWin32::SetGradedOnly(bool on) {
    SendMessageW(graded_check_, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

void MainWindowWin32::SetDataKind(DataKind kind) {
    CheckDataKindItem(GetMenu(window_),
                      kind == DataKind::Normal ? kCommandNormalData : kCommandSetupData);
}

void MainWindowWin32::SetTitle(std::string_view sjis) {
    title_->SetCaption(WideFromSjis(sjis));
}

void MainWindowWin32::SetTickerText(std::string_view sjis) {
    ticker_->SetTickerText(WideFromSjis(sjis));
}

void MainWindowWin32::SetTickerOffset(int x) {
    ticker_->SetTickerX(x);
}

int MainWindowWin32::TickerWidth() const {
    return ticker_->Width();
}

int MainWindowWin32::TickerTextWidth() const {
    return ticker_->TickerTextWidth();
}

void MainWindowWin32::ShowGrid(const ScheduleGrid& grid) {
    const bool was_visible = IsWindowVisible(schedule_list_->window()) != 0;
    schedule_list_->ShowGrid(grid);
    if (was_visible != grid.Visible()) {
        // The hint is painted where the list is while it is hidden.
        const Box& area = layout_.schedule_list;
        const RECT box{area.left, area.top, area.left + area.width, area.top + area.height};
        InvalidateRect(window_, &box, TRUE);
    }
}

void MainWindowWin32::SetMarkedRows(std::vector<int> rows) {
    schedule_list_->SetMarkedRows(std::move(rows));
}

void MainWindowWin32::MoveToRow(int row) {
    schedule_list_->MoveToRow(row);
}

void MainWindowWin32::SetStatusText(std::string_view utf8) {
    status_line_->SetText(WideFromUtf8(utf8));
}

void MainWindowWin32::SetProgress(int done, int total) {
    status_line_->SetProgress(done, total);
}

void MainWindowWin32::SetCancelVisible(bool visible) {
    status_line_->SetCancelVisible(visible);
}

void MainWindowWin32::SetBusyCursor(bool busy) {
    busy_ = busy;
    POINT cursor{};
    GetCursorPos(&cursor);
    if (WindowFromPoint(cursor) != nullptr) {
        SetCursor(LoadCursorW(nullptr, busy ? IDC_APPSTARTING : IDC_ARROW));
    }
}

void MainWindowWin32::SetHint(std::string_view utf8) {
    std::wstring hint = WideFromUtf8(utf8);
    if (hint != hint_) {
        hint_ = std::move(hint);
        const Box& area = layout_.schedule_list;
        const RECT box{area.left, area.top, area.left + area.width, area.top + area.height};
        InvalidateRect(window_, &box, TRUE);
    }
}

void MainWindowWin32::SetCommandEnabled(UINT command, bool enabled) {
    EnableMenuItem(GetMenu(window_), command, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
    SendMessageW(tool_bar_->window(), TB_ENABLEBUTTON, command,
                 MAKELPARAM(enabled ? TRUE : FALSE, 0));
}

void MainWindowWin32::StartTimer(WindowTimer timer, int interval_ms) {
    SetTimer(window_, static_cast<UINT_PTR>(timer), static_cast<UINT>(std::max(interval_ms, 1)),
             nullptr);
}

void MainWindowWin32::StopTimer(WindowTimer timer) {
    KillTimer(window_, static_cast<UINT_PTR>(timer));
}

void MainWindowWin32::FocusYearSelector() {
    SetFocus(year_selector());
}

WindowPlacement MainWindowWin32::Placement() const {
    RECT frame{};
    if (IsIconic(window_) || IsZoomed(window_)) {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        GetWindowPlacement(window_, &placement);
        frame = placement.rcNormalPosition;
    } else {
        GetWindowRect(window_, &frame);
    }
    return {frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top};
}

LRESULT CALLBACK MainWindowWin32::Procedure(HWND window, UINT message, WPARAM wparam,
                                            LPARAM lparam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<MainWindowWin32*>(
            reinterpret_cast<const CREATESTRUCTW*>(lparam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindowWin32*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) {
        return DefWindowProcW(window, message, wparam, lparam);
    }
    return self->Handle(message, wparam, lparam);
}

LRESULT MainWindowWin32::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_CREATE:
            CreateChildren();
            return 0;
        case WM_SIZE:
            LayOut();
            return 0;
        case WM_DPICHANGED: {
            ApplyDpi(HIWORD(wparam));
            const auto* suggested = reinterpret_cast<const RECT*>(lparam);
            SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                         suggested->right - suggested->left, suggested->bottom - suggested->top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        case WM_COMMAND:
            OnCommand(LOWORD(wparam), HIWORD(wparam), reinterpret_cast<HWND>(lparam));
            return 0;
        case WM_NOTIFY:
            return OnNotify(*reinterpret_cast<const NMHDR*>(lparam));
        case WM_MENUSELECT:
            if (HIWORD(wparam) == 0xFFFF && lparam == 0) {
                status_line_->EndHint();
            } else if ((HIWORD(wparam) & MF_POPUP) == 0) {
                status_line_->ShowHint(CommandHint(LOWORD(wparam)));
            }
            return 0;
        case WM_EXITMENULOOP:
            status_line_->EndHint();
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            SetBkColor(reinterpret_cast<HDC>(wparam), GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        case WM_CTLCOLORLISTBOX:
            // The year selector's list has the info background, as in the Linux window.
            if (GetDlgCtrlID(reinterpret_cast<HWND>(lparam)) != kControlVenueSelector) {
                SetBkColor(reinterpret_cast<HDC>(wparam), GetSysColor(COLOR_INFOBK));
                return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_INFOBK));
            }
            break;
        case WM_ACTIVATE:
            // A box or dialog takes the focus away; coming back, the control that had it gets
            // it again, as in the Linux window, so the keys go on where they were.
            if (LOWORD(wparam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus != nullptr && IsChild(window_, focus)) {
                    focus_before_ = focus;
                }
            } else if (focus_before_ != nullptr && IsWindow(focus_before_) &&
                       IsWindowEnabled(focus_before_)) {
                SetFocus(focus_before_);
                return 0;
            }
            break;
        case WM_SETCURSOR:
            if (busy_ && LOWORD(lparam) == HTCLIENT) {
                SetCursor(LoadCursorW(nullptr, IDC_APPSTARTING));
                return TRUE;
            }
            break;
        case WM_PAINT:
            OnPaint();
            return 0;
        case kFirstShownMessage:
            ReportFirstPaintWhenAsked();
            actions_.FirstShown();
            return 0;
        case WM_TIMER:
            actions_.TimerFired(static_cast<WindowTimer>(wparam));
            return 0;
        case WM_CLOSE:
            if (!closing_) {
                closing_ = true;
                actions_.Closing(Placement());
            }
            DestroyWindow(window_);
            return 0;
        case WM_DESTROY:
            window_ = nullptr;
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window_, message, wparam, lparam);
}

void MainWindowWin32::OnCommand(UINT id, UINT code, HWND control) {
    switch (id) {
        case kCommandFetch:
            return actions_.Fetch();
        case kCommandCopy:
            return actions_.CopyToClipboard();
        case kCommandSaveCalendar:
            return actions_.SaveCalendar();
        case kCommandControlSettings:
            return actions_.OpenControlSettings();
        case kCommandPrint:
            return actions_.Print();
        case kCommandPrinterSetup:
            return actions_.SetUpPrinter();
        case kCommandExit:
            return actions_.Exit();
        case kCommandNormalData:
        case kCommandSetupData:
            CheckDataKindItem(GetMenu(window_), id);
            return actions_.ChooseDataKind(id == kCommandNormalData ? DataKind::Normal
                                                                    : DataKind::Setup);
        case kCommandHelpContents:
            return actions_.ShowHelpContents();
        case kCommandAbout:
            return actions_.ShowAbout();
        case kCommandToday:
            return actions_.MoveToToday();
        case kCommandCancelFetch:
            return actions_.CancelFetch();
        case kControlYearSelector:
        case kControlVenueSelector: {
            // A choice is made when the closed list moves by a key, or when the open list
            // closes on an item; moving through the open list chooses nothing yet.
            const bool chosen = (code == CBN_SELCHANGE && !IsDroppedDown(control)) ||
                                (code == CBN_SELENDOK && IsDroppedDown(control));
            if (chosen && SelectedItem(control) >= 0) {
                if (id == kControlYearSelector) {
                    actions_.ChooseYear(SelectedItem(control));
                } else {
                    actions_.ChooseVenue(SelectedItem(control));
                }
            }
            return;
        }
        case kControlPeriodFromThisMonth:
        case kControlPeriodAllMonths:
            if (code == BN_CLICKED && SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED) {
                actions_.ChoosePeriod(id == kControlPeriodAllMonths ? 1 : 0);
            }
            return;
        case kControlGradedOnly:
            if (code == BN_CLICKED) {
                actions_.ChooseGradedOnly(SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED);
            }
            return;
        default:
            return;
    }
}

LRESULT MainWindowWin32::OnNotify(const NMHDR& header) {
    LRESULT result = 0;
    if (schedule_list_ && schedule_list_->HandleNotify(header, result)) {
        return result;
    }
    if (header.code == TTN_GETDISPINFOW) {
        auto& info = reinterpret_cast<NMTTDISPINFOW&>(const_cast<NMHDR&>(header));
        const wchar_t* hint = ToolButtonHint(static_cast<UINT>(header.idFrom));
        info.lpszText = const_cast<wchar_t*>(hint != nullptr ? hint : L"");
        return 0;
    }
    if (header.code == static_cast<UINT>(TBN_HOTITEMCHANGE)) {
        const auto& change = reinterpret_cast<const NMTBHOTITEM&>(header);
        if ((change.dwFlags & HICF_LEAVING) != 0) {
            status_line_->EndHint();
        } else {
            status_line_->ShowHint(ToolButtonHint(static_cast<UINT>(change.idNew)));
        }
        return 0;
    }
    return 0;
}

void MainWindowWin32::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    if (!hint_.empty() && !IsWindowVisible(schedule_list_->window())) {
        const Box& area = layout_.schedule_list;
        const int inset = Scale(16, dpi_);
        RECT box{area.left + inset, area.top + inset, area.left + area.width - inset,
                 area.top + area.height - inset};
        RECT measured = box;
        SelectObject(dc, HintFont());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        const UINT format = DT_CENTER | DT_WORDBREAK | DT_NOPREFIX;
        DrawTextW(dc, hint_.c_str(), static_cast<int>(hint_.size()), &measured,
                  format | DT_CALCRECT);
        // Centred both ways, as the Linux window centres it.
        const int height = measured.bottom - measured.top;
        box.top += std::max(0, static_cast<int>(box.bottom - box.top) - height) / 2;
        DrawTextW(dc, hint_.c_str(), static_cast<int>(hint_.size()), &box, format);
    }
    EndPaint(window_, &paint);
    if (!painted_) {
        painted_ = true;
        // After this paint has reached the screen, as the Linux window does it.
        PostMessageW(window_, kFirstShownMessage, 0, 0);
    }
}

}  // namespace koyomi::win32
