// The 3-D title line and the scrolling message band: a text drawn once more one pixel off in a
// light and a dark shade, so it looks raised or pressed into the surface; or, for the band, a
// text drawn at a horizontal offset over a plain background.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <string>

namespace koyomi::win32 {

enum class ShadowStyle { None, Raised, Recessed };

// Draws `text` vertically centred in `area` with its shades, placed across by `horizontal`
// (DT_LEFT, DT_CENTER or DT_RIGHT).
void DrawShadowText(HDC dc, const RECT& area, const std::wstring& text, ShadowStyle style,
                    COLORREF colour, UINT horizontal = DT_LEFT);

class ShadowText {
  public:
    ShadowText(HWND parent, int id);
    ShadowText(const ShadowText&) = delete;
    ShadowText& operator=(const ShadowText&) = delete;

    HWND window() const { return window_; }

    void SetCaption(std::wstring caption);
    const std::wstring& caption() const { return caption_; }
    void SetStyle(ShadowStyle style);
    void SetColours(COLORREF text, COLORREF background);  // CLR_NONE: the window's face colour
    void SetFont(HFONT font);                             // not owned

    // The band's text, drawn at `x` instead of the caption.
    void SetTickerText(std::wstring text);
    void SetTickerX(int x);
    int ticker_x() const { return ticker_x_; }
    int TickerTextWidth() const;
    int Width() const;

  private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    void Paint(HDC dc, const RECT& area) const;
    void Repaint() const;

    HWND window_ = nullptr;
    std::wstring caption_;
    std::wstring ticker_;
    int ticker_x_ = 0;
    ShadowStyle style_ = ShadowStyle::Raised;
    COLORREF text_ = RGB(0, 0, 0);
    COLORREF background_ = CLR_NONE;
    HFONT font_ = nullptr;
};

}  // namespace koyomi::win32
