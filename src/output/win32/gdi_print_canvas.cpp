#include "output/win32/gdi_print_canvas.h"

#include <cmath>
#include <string>

#include "support/sjis_text.h"

namespace koyomi {
namespace {

COLORREF ColourOf(RgbColour colour) {
    return RGB((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF);
}

std::wstring WideOf(const std::string& sjis) {
    const std::u16string text = SjisToUtf16(sjis);
    return std::wstring(text.begin(), text.end());
}

}  // namespace

GdiPrintCanvas::GdiPrintCanvas(HDC device, int screen_dpi)
    : device_(device), screen_dpi_(screen_dpi), saved_state_(SaveDC(device)) {
    SetMapMode(device_, MM_TEXT);
    SetTextAlign(device_, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    // Outlines only: rectangles are never filled.
    SelectObject(device_, GetStockObject(NULL_BRUSH));
}

GdiPrintCanvas::~GdiPrintCanvas() {
    // The device gets its own objects back before ours go.
    RestoreDC(device_, saved_state_);
    if (font_ != nullptr) {
        DeleteObject(font_);
    }
    if (pen_ != nullptr) {
        DeleteObject(pen_);
    }
}

int GdiPrintCanvas::PrinterResolutionX() const {
    return GetDeviceCaps(device_, LOGPIXELSX);
}

int GdiPrintCanvas::PrinterResolutionY() const {
    return GetDeviceCaps(device_, LOGPIXELSY);
}

int GdiPrintCanvas::PageWidth() const {
    return GetDeviceCaps(device_, HORZRES);
}

int GdiPrintCanvas::PageHeight() const {
    return GetDeviceCaps(device_, VERTRES);
}

Status GdiPrintCanvas::SetFont(const FontDescription& font) {
    // A negative height asks for the character height, which is what a point size means.
    const int height = -static_cast<int>(std::lround(font.pointSize * PrinterResolutionY() / 72.0));
    const std::wstring face = WideOf(font.face);
    HFONT made = CreateFontW(height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, font.italic,
                             font.underline, font.strikeOut, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                             face.substr(0, LF_FACESIZE - 1).c_str());
    if (made == nullptr) {
        return Fail("印刷用のフォントを作れませんでした: " + SjisToUtf8(font.face));
    }
    SelectObject(device_, made);
    if (font_ != nullptr) {
        DeleteObject(font_);
    }
    font_ = made;
    SetTextColor(device_, ColourOf(font.colour));
    return {};
}

void GdiPrintCanvas::SetPenColour(RgbColour colour) {
    // The pen is made when a frame needs it, where a failure has a call to report it.
    if (colour != pen_colour_) {
        pen_colour_ = colour;
        pen_current_ = false;
    }
}

Status GdiPrintCanvas::SelectPen() {
    if (pen_current_) {
        return {};
    }
    HPEN made = CreatePen(PS_SOLID, 1, ColourOf(pen_colour_));
    if (made == nullptr) {
        return Fail("印刷用のペンを作れませんでした");
    }
    SelectObject(device_, made);
    if (pen_ != nullptr) {
        DeleteObject(pen_);
    }
    pen_ = made;
    pen_current_ = true;
    return {};
}

Status GdiPrintCanvas::SetBrushClear() {
    SelectObject(device_, GetStockObject(NULL_BRUSH));
    SetBkMode(device_, TRANSPARENT);
    return {};
}

Status GdiPrintCanvas::TextRect(const PixelRect& clip, int x, int y, const std::string& text) {
    const RECT rect{clip.left, clip.top, clip.right, clip.bottom};
    const std::wstring wide = WideOf(text);
    if (!ExtTextOutW(device_, x, y, ETO_CLIPPED, &rect, wide.c_str(),
                     static_cast<UINT>(wide.size()), nullptr)) {
        return Fail("印刷の文字を描けませんでした");
    }
    return {};
}

Status GdiPrintCanvas::TextOut(int x, int y, const std::string& text) {
    const std::wstring wide = WideOf(text);
    if (!ExtTextOutW(device_, x, y, 0, nullptr, wide.c_str(), static_cast<UINT>(wide.size()),
                     nullptr)) {
        return Fail("印刷の文字を描けませんでした");
    }
    return {};
}

Status GdiPrintCanvas::FrameRect(const PixelRect& rect) {
    if (Status pen = SelectPen(); !pen) {
        return pen;
    }
    // With the one-pixel pen and the hollow brush, Rectangle outlines the pixels from (left,
    // top) to (right - 1, bottom - 1), as the contract asks.
    if (!Rectangle(device_, rect.left, rect.top, rect.right, rect.bottom)) {
        return Fail("印刷の枠を描けませんでした");
    }
    return {};
}

Status GdiPrintCanvas::NewPage() {
    if (EndPage(device_) <= 0 || StartPage(device_) <= 0) {
        return Fail("プリンタに次のページを送れませんでした");
    }
    return {};
}

}  // namespace koyomi
