// The grid printer's canvas on a Qt print job: text and frames drawn with QPainter on a
// QPrinter, so a page keeps real text and lines (a printer gets fonts, a PDF stays
// searchable) rather than a picture of the grid.
#pragma once

#include <QColor>
#include <QPainter>

#include "output/print_canvas.h"

class QPrinter;

namespace koyomi {

class QtPrintCanvas final : public PrintCanvas {
  public:
    // Begins the job on `printer` (its first page). `screen_dpi_x` and `screen_dpi_y` are the
    // resolution the grid is measured in on screen.
    QtPrintCanvas(QPrinter& printer, int screen_dpi_x, int screen_dpi_y);
    // Ends a job that is still open.
    ~QtPrintCanvas() override;
    QtPrintCanvas(const QtPrintCanvas&) = delete;
    QtPrintCanvas& operator=(const QtPrintCanvas&) = delete;

    // The job began and has not ended yet.
    bool IsActive() const { return painter_.isActive(); }
    // Ends the job and hands it to the printer (or writes the file); false when that failed.
    bool End();

    int PrinterResolutionX() const override;
    int PrinterResolutionY() const override;
    int ScreenResolutionX() const override { return screen_dpi_x_; }
    int ScreenResolutionY() const override { return screen_dpi_y_; }
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
    // Drawing needs an open job: after it ended nothing would reach the paper.
    Status CheckOpen() const;
    void DrawText(int x, int y, const std::string& text);

    QPrinter& printer_;
    QPainter painter_;
    int screen_dpi_x_;
    int screen_dpi_y_;
    QColor pen_colour_ = Qt::black;
    QColor font_colour_ = Qt::black;
};

}  // namespace koyomi
