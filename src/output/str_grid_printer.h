// Prints a string grid at its on-screen proportions: each cell keeps its screen size converted
// to printer pixels and gets a thin black frame; a table too wide or too long for one page is
// cut into column strips and row bands, printed strip by strip, each band on a page of its own.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "output/grid_source.h"
#include "output/print_canvas.h"

namespace koyomi {

class TStrGridPrinter {
  public:
    using TNotifyEvent = std::function<void(TStrGridPrinter& sender)>;

    // Stored properties, with their defaults.
    TNotifyEvent OnBeginPage;  // every page, before its table part
    TNotifyEvent OnEndPage;    // every page, after its table part (LastY is set)
    int MojiTop = 2;           // text inset from a cell's top edge, screen pixels
    int MojiLeft = 2;          // text inset from a cell's left edge, screen pixels
    int LeftMargin = 10;       // millimetres
    int TopMargin = 10;
    int RightMargin = 5;
    int BottomMargin = 10;
    int ScreenRatioX = 1000;  // per mille; kept with the form, no effect on the output
    int ScreenRatioY = 1000;
    const GridSource* TargetGrid = nullptr;

    // The target grid's font, set together with TargetGrid.
    FontDescription TargetGridFont;

    // Prints the whole target grid on `canvas`, the current print job, which the caller opens
    // before and closes after. Without a target grid nothing is drawn. Returns false when a
    // failure cut the job short or spoilt a page; LastError() then says what happened, and
    // the pages already produced stay in the job.
    bool Print(PrintCanvas& canvas);

    // Millimetres to printer pixels at the resolutions of the last print job; meant for the
    // page events.
    int MmToPixelX(int mm) const;
    int MmToPixelY(int mm) const;

    // The 1-based strip and band of the page being drawn.
    int CurrentStrip() const { return currentStrip_; }
    int CurrentBand() const { return currentBand_; }
    // The pixel row just below the last table row of the page, set before OnEndPage.
    int LastY() const { return lastY_; }
    // The job's canvas while Print runs (for the page events), else null.
    PrintCanvas* Canvas() const { return canvas_; }

    // The layout of the last print job.
    int ColPages() const { return static_cast<int>(colStart_.size()); }
    int RowPages() const { return static_cast<int>(rowStart_.size()); }
    int PageCount() const { return ColPages() * RowPages(); }
    // The first grid column of a strip and the first grid row of a band (1-based).
    int ColStart(int strip) const { return colStart_.at(static_cast<size_t>(strip - 1)); }
    int RowStart(int band) const { return rowStart_.at(static_cast<size_t>(band - 1)); }
    long double RatioX() const { return ratioX_; }
    long double RatioY() const { return ratioY_; }
    int PrintableWidth() const { return printableWidth_; }
    int PrintableHeight() const { return printableHeight_; }

    // What went wrong in the last print job; empty when nothing did.
    const std::string& LastError() const { return lastError_; }

  private:
    bool CalcPages();
    void DrawPage(int strip, int band);
    void SetupCanvas();
    void NoteError(const std::string& what);

    PrintCanvas* canvas_ = nullptr;
    int printerResolutionX_ = 0;
    int printerResolutionY_ = 0;
    long double ratioX_ = 0;
    long double ratioY_ = 0;
    int leftPixels_ = 0;
    int topPixels_ = 0;
    int printableWidth_ = 0;
    int printableHeight_ = 0;
    // Grown as the layout needs, so any grid fits.
    std::vector<int> colStart_;
    std::vector<int> rowStart_;
    int currentStrip_ = 0;
    int currentBand_ = 0;
    int lastY_ = 0;
    std::string lastError_;
};

}  // namespace koyomi
