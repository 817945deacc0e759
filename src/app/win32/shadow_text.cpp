#include "app/win32/shadow_text.h"

#include <algorithm>

namespace koyomi::win32 {
namespace {

constexpr wchar_t kClassName[] = L"KoyomiShadowText";
constexpr UINT kTextFormat = DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;

void RegisterClassOnce(WNDPROC procedure) {
    static const bool registered = [procedure] {
        WNDCLASSEXW type{};
        type.cbSize = sizeof type;
        type.lpfnWndProc = procedure;
        type.hInstance = GetModuleHandleW(nullptr);
        type.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        type.lpszClassName = kClassName;
        return RegisterClassExW(&type) != 0;
    }();
    static_cast<void>(registered);
}

}  // namespace

void DrawShadowText(HDC dc, const RECT& area, const std::wstring& text, ShadowStyle style,
                    COLORREF colour, UINT horizontal) {
    const UINT format = kTextFormat | horizontal;
    SetBkMode(dc, TRANSPARENT);
    RECT inner = area;
    InflateRect(&inner, -1, -1);
    const int length = static_cast<int>(text.size());
    if (style != ShadowStyle::None) {
        // Light above-left and dark below-right looks raised; the other way round, recessed.
        const bool raised = style == ShadowStyle::Raised;
        RECT shade = inner;
        OffsetRect(&shade, -1, -1);
        SetTextColor(dc, raised ? RGB(0xFF, 0xFF, 0xFF) : RGB(0x60, 0x60, 0x60));
        DrawTextW(dc, text.c_str(), length, &shade, format);
        OffsetRect(&shade, 2, 2);
        SetTextColor(dc, raised ? RGB(0x60, 0x60, 0x60) : RGB(0xFF, 0xFF, 0xFF));
        DrawTextW(dc, text.c_str(), length, &shade, format);
    }
    SetTextColor(dc, colour);
    DrawTextW(dc, text.c_str(), length, &inner, format);
}

ShadowText::ShadowText(HWND parent, int id) {
    RegisterClassOnce(&ShadowText::Procedure);
    window_ = CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              GetModuleHandleW(nullptr), this);
}

void ShadowText::SetCaption(std::wstring caption) {
    if (caption != caption_) {
        caption_ = std::move(caption);
        // Screen readers read the title from the window text.
        SetWindowTextW(window_, caption_.c_str());
        Repaint();
    }
}

void ShadowText::SetStyle(ShadowStyle style) {
    style_ = style;
    Repaint();
}

void ShadowText::SetColours(COLORREF text, COLORREF background) {
    text_ = text;
    background_ = background;
    Repaint();
}

void ShadowText::SetFont(HFONT font) {
    font_ = font;
    Repaint();
}

void ShadowText::SetTickerText(std::wstring text) {
    if (text != ticker_) {
        ticker_ = std::move(text);
        Repaint();
    }
}

void ShadowText::SetTickerX(int x) {
    if (x != ticker_x_) {
        ticker_x_ = x;
        if (!ticker_.empty()) {
            Repaint();
        }
    }
}

int ShadowText::TickerTextWidth() const {
    HDC dc = GetDC(window_);
    const HGDIOBJ old =
        SelectObject(dc, font_ != nullptr ? font_ : GetStockObject(DEFAULT_GUI_FONT));
    SIZE size{};
    GetTextExtentPoint32W(dc, ticker_.c_str(), static_cast<int>(ticker_.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(window_, dc);
    return size.cx;
}

int ShadowText::Width() const {
    RECT area{};
    GetClientRect(window_, &area);
    return area.right - area.left;
}

void ShadowText::Repaint() const {
    InvalidateRect(window_, nullptr, FALSE);
}

void ShadowText::Paint(HDC dc, const RECT& area) const {
    const COLORREF fill = background_ == CLR_NONE ? GetSysColor(COLOR_BTNFACE) : background_;
    SetBkColor(dc, fill);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
    SelectObject(dc, font_ != nullptr ? font_ : GetStockObject(DEFAULT_GUI_FONT));
    if (!ticker_.empty()) {
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, text_);
        ExtTextOutW(dc, ticker_x_, 2, ETO_CLIPPED, &area, ticker_.c_str(),
                    static_cast<UINT>(ticker_.size()), nullptr);
        return;
    }
    if (!caption_.empty()) {
        DrawShadowText(dc, area, caption_, style_, text_);
    }
}

LRESULT CALLBACK ShadowText::Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    const auto* self =
        reinterpret_cast<const ShadowText*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC screen = BeginPaint(window, &paint);
            RECT area{};
            GetClientRect(window, &area);
            // Drawn off screen first: the band moves ten times a second and must not flicker.
            HDC buffer = CreateCompatibleDC(screen);
            HBITMAP bitmap = CreateCompatibleBitmap(screen, std::max<LONG>(area.right, 1),
                                                    std::max<LONG>(area.bottom, 1));
            const HGDIOBJ old_bitmap = SelectObject(buffer, bitmap);
            const HGDIOBJ old_font = SelectObject(buffer, GetStockObject(DEFAULT_GUI_FONT));
            if (self != nullptr) {
                self->Paint(buffer, area);
            }
            BitBlt(screen, 0, 0, area.right, area.bottom, buffer, 0, 0, SRCCOPY);
            SelectObject(buffer, old_font);
            SelectObject(buffer, old_bitmap);
            DeleteObject(bitmap);
            DeleteDC(buffer);
            EndPaint(window, &paint);
            return 0;
        }
        default:
            return DefWindowProcW(window, message, wparam, lparam);
    }
}

}  // namespace koyomi::win32
