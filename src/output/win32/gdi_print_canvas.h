// The print canvas over a GDI device context: a printer's, or an enhanced metafile's in tests.
// Failures of the device are thrown as std::runtime_error with a message for the user.
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

    void SetFont(const FontDescription& font) override;
    void SetPenColour(RgbColour colour) override;
    void SetBrushClear() override;
    void TextRect(const PixelRect& clip, int x, int y, const std::string& text) override;
    void TextOut(int x, int y, const std::string& text) override;
    void FrameRect(const PixelRect& rect) override;
    void NewPage() override;

  private:
    HDC device_;
    int screen_dpi_;
    int saved_state_;
    HFONT font_ = nullptr;
    HPEN pen_ = nullptr;
};

}  // namespace koyomi
