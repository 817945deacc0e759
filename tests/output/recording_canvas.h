// A print canvas that keeps every call, page by page, for the printing tests.
#pragma once

#include <string>
#include <vector>

#include "output/print_canvas.h"

namespace koyomi {

struct DrawnText {
    PixelRect clip;
    int x = 0;
    int y = 0;
    std::string text;
};

struct RecordedPage {
    std::vector<DrawnText> texts;
    std::vector<PixelRect> frames;
    std::vector<DrawnText> titles;  // TextOut
    std::vector<std::string> log;   // every drawing-state and drawing call, in order
};

class RecordingCanvas final : public PrintCanvas {
  public:
    RecordingCanvas(int printer_dpi, int screen_dpi, int page_width, int page_height)
        : printer_dpi_(printer_dpi),
          screen_dpi_(screen_dpi),
          width_(page_width),
          height_(page_height) {}

    std::vector<RecordedPage> pages{RecordedPage{}};
    FontDescription font;
    int fail_on_new_page = 0;  // fail when this page (1-based) would start; 0 = never

    int PrinterResolutionX() const override { return printer_dpi_; }
    int PrinterResolutionY() const override { return printer_dpi_; }
    int ScreenResolutionX() const override { return screen_dpi_; }
    int ScreenResolutionY() const override { return screen_dpi_; }
    int PageWidth() const override { return width_; }
    int PageHeight() const override { return height_; }

    Status SetFont(const FontDescription& new_font) override {
        font = new_font;
        return Logged("font " + new_font.face);
    }
    void SetPenColour(RgbColour colour) override { Log("pen " + std::to_string(colour)); }
    Status SetBrushClear() override { return Logged("brush clear"); }
    Status TextRect(const PixelRect& clip, int x, int y, const std::string& text) override {
        pages.back().texts.push_back({clip, x, y, text});
        return Logged("text " + text);
    }
    Status TextOut(int x, int y, const std::string& text) override {
        pages.back().titles.push_back({{}, x, y, text});
        return Logged("title " + text);
    }
    Status FrameRect(const PixelRect& rect) override {
        pages.back().frames.push_back(rect);
        return Logged("frame");
    }
    Status NewPage() override {
        if (fail_on_new_page == static_cast<int>(pages.size()) + 1) {
            return Fail("printer went away");
        }
        pages.emplace_back();
        return {};
    }

    void Log(std::string entry) { pages.back().log.push_back(std::move(entry)); }
    // Every call that can fail succeeds here.
    Status Logged(std::string entry) {
        Log(std::move(entry));
        return {};
    }

  private:
    int printer_dpi_;
    int screen_dpi_;
    int width_;
    int height_;
};

}  // namespace koyomi
