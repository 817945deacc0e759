// The print canvas over a GDI device context: a printer's, or an enhanced metafile's in tests.
// A failure of the device comes back as the call's Status, with a message for the user.
#pragma once

#include <windows.h>

#include "output/print_canvas.h"

namespace koyomi {

class GdiPrintCanvas final : public PrintCanvas {
  public:
    // Draws on `device`, which stays the caller's; `screen_dpi` is the resolution the grid has
    // on screen. Drawing starts at the device's origin, the printable area's top-left corner.
    GdiPrintCanvas(HDC device, int screen_dpi);
    ~GdiPrintCanvas() override;
    GdiPrintCanvas(const GdiPrintCanvas&) = delete;
    GdiPrintCanvas& operator=(const GdiPrintCanvas&) = delete;

    int PrinterResolutionX() const override;
    int PrinterResolutionY() const override;
    int ScreenResolutionX() const override { return screen_dpi_; }
    int ScreenResolutionY() const override { return screen_dpi_; }
    int PageWidth() const override;
    int PageHeight() const override;

    Status SetFont(const FontDescription& font) override;
    void SetPenColour(RgbColour colour) override;
    Status SetBrushClear() override;
    Status TextRect(const PixelRect& clip, int x, int y, const std::string& text) override;
    Status TextOut(int x, int y, const std::string& text) override;
    Status FrameRect(const PixelRect& rect) override;
    Status NewPage() override;

  private:
    // Makes and selects the pen of the colour last set, when it changed.
    Status SelectPen();

    HDC device_;
    int screen_dpi_;
    int saved_state_;
    HFONT font_ = nullptr;
    HPEN pen_ = nullptr;
    RgbColour pen_colour_ = kBlack;
    bool pen_current_ = false;  // pen_ is of pen_colour_ and selected
};

}  // namespace koyomi
