// Prints a string grid at its on-screen proportions: each cell keeps its screen size converted
// to printer pixels and gets a thin black frame; a table too wide or too long for one page is
// cut into column strips and row bands, printed strip by strip, each band on a page of its own.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "output/grid_source.h"
#include "output/print_canvas.h"
#include "support/result.h"

namespace koyomi {

class GridPrinter {
  public:
    // A page event draws on Canvas() and says when that failed.
    using PageHandler = std::function<Status(GridPrinter& sender)>;

    // The layout and the page events, with their defaults.
    PageHandler on_begin_page;  // every page, before its table part
    PageHandler on_end_page;    // every page, after its table part (LastY is set)
    int text_inset_top = 2;     // text inset from a cell's top edge, screen pixels
    int text_inset_left = 2;    // text inset from a cell's left edge, screen pixels
    int left_margin = 10;       // millimetres
    int top_margin = 10;
    int right_margin = 5;
    int bottom_margin = 10;
    const GridSource* target_grid = nullptr;

    // The target grid's font, set together with target_grid.
    FontDescription target_grid_font;

    // Prints the whole target grid on `canvas`, the current print job, which the caller opens
    // before and closes after. Without a target grid nothing is drawn. A failure that cut the
    // job short or spoilt a page is told in words for the user (the first one, when there
    // were several); the pages already produced stay in the job.
    Status Print(PrintCanvas& canvas);

    // Millimetres to printer pixels at the resolutions of the last print job; meant for the
    // page events.
    int MmToPixelX(int mm) const;
    int MmToPixelY(int mm) const;

    // The 1-based strip and band of the page being drawn.
    int CurrentStrip() const { return current_strip_; }
    int CurrentBand() const { return current_band_; }
    // The pixel row just below the last table row of the page, set before on_end_page.
    int LastY() const { return last_y_; }
    // The job's canvas while Print runs (for the page events), else null.
    PrintCanvas* Canvas() const { return canvas_; }

    // The layout of the last print job.
    int ColPages() const { return static_cast<int>(col_start_.size()); }
    int RowPages() const { return static_cast<int>(rowStart_.size()); }
    int PageCount() const { return ColPages() * RowPages(); }
    // The first grid column of a strip and the first grid row of a band (1-based).
    int ColStart(int strip) const { return col_start_.at(static_cast<size_t>(strip - 1)); }
    int RowStart(int band) const { return rowStart_.at(static_cast<size_t>(band - 1)); }
    long double RatioX() const { return ratio_x_; }
    long double RatioY() const { return ratio_y_; }
    int PrintableWidth() const { return printable_width_; }
    int PrintableHeight() const { return printable_height_; }

  private:
    bool CalcPages();
    // A failure of the page as a whole ends the job; one of its table part spoils the page.
    Status DrawPage(int strip, int band);
    Status DrawTable(int strip, int band);
    Status SetupCanvas();
    void NoteError(const std::string& what);

    PrintCanvas* canvas_ = nullptr;
    int printer_resolution_x_ = 0;
    int printer_resolution_y_ = 0;
    long double ratio_x_ = 0;
    long double ratio_y_ = 0;
    int left_pixels_ = 0;
    int top_pixels_ = 0;
    int printable_width_ = 0;
    int printable_height_ = 0;
    // Grown as the layout needs, so any grid fits.
    std::vector<int> col_start_;
    std::vector<int> rowStart_;
    int current_strip_ = 0;
    int current_band_ = 0;
    int last_y_ = 0;
    std::string first_failure_;  // of the running or last job; empty when none
};

}  // namespace koyomi
