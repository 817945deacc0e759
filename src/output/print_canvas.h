// The drawing surface of a print job as the grid printer sees it. The program's canvas draws
// with the platform printer; tests record the calls. A call that can fail returns why, in
// words meant for the user.
#pragma once

#include <cstdint>
#include <string>

#include "support/result.h"

namespace koyomi {

// 0xRRGGBB.
using RgbColour = std::uint32_t;
inline constexpr RgbColour kBlack = 0x000000;

// Printer pixels; right and bottom lie just outside the rectangle, as with the platform's
// rectangle calls.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// A font as the grid on screen uses it. Its size is in points, so printed text keeps the
// physical size it has on screen.
struct FontDescription {
    std::string face;  // family name, code page 932
    double pointSize = 9.0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    RgbColour colour = kBlack;

    friend bool operator==(const FontDescription&, const FontDescription&) = default;
};

class PrintCanvas {
  public:
    virtual ~PrintCanvas() = default;

    // The printer's logical pixels per inch.
    virtual int PrinterResolutionX() const = 0;
    virtual int PrinterResolutionY() const = 0;
    // Pixels per inch of the surface the grid is drawn on, on screen.
    virtual int ScreenResolutionX() const = 0;
    virtual int ScreenResolutionY() const = 0;
    // The printable area of the selected paper and orientation, in printer pixels. Drawing
    // coordinates start at its top-left corner.
    virtual int PageWidth() const = 0;
    virtual int PageHeight() const = 0;

    virtual Status SetFont(const FontDescription& font) = 0;
    // Kept for the frames drawn next.
    virtual void SetPenColour(RgbColour colour) = 0;
    // Rectangles are outlined only and text gets no background.
    virtual Status SetBrushClear() = 0;

    // Text (code page 932) in the current font with its top-left corner at (x, y), cut at the
    // edges of `clip`.
    virtual Status TextRect(const PixelRect& clip, int x, int y, const std::string& text) = 0;
    // Text with its top-left corner at (x, y), not cut; for the page events.
    virtual Status TextOut(int x, int y, const std::string& text) = 0;
    // A one-pixel outline in the pen colour through the pixels from (left, top) to
    // (right - 1, bottom - 1).
    virtual Status FrameRect(const PixelRect& rect) = 0;

    // Ends the current page and starts the next one of the job.
    virtual Status NewPage() = 0;
};

}  // namespace koyomi
