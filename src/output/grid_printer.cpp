#include "output/grid_printer.h"

#include <algorithm>
#include <exception>
#include <new>

#include "output/round_half_even.h"

namespace koyomi {

namespace {

constexpr long double kMillimetresPerInch = 25.4L;

// The reason an exception gives, in words for the user: canvases, grid sources and page
// handlers throw with such words; the library's own texts are English and say little.
std::string ReasonOf(const std::exception& error) {
    if (dynamic_cast<const std::bad_alloc*>(&error) != nullptr) {
        return "メモリが足りません";
    }
    return error.what();
}

int MmToPixel(int mm, int resolution) {
    return RoundHalfEven(mm / kMillimetresPerInch * resolution);
}

// The first index of each page when a run of sizes (screen pixels, scaled and rounded) is
// cut into pages of at most `limit` printer pixels. A size that no longer fits begins the
// next page; one larger than the whole page gets a page of its own, which is then cut at the
// page edge. A page is never left empty, even when the very first size is too large.
template <typename SizeOf>
std::vector<int> SplitIntoPages(int count, SizeOf sizeOf, long double ratio, int limit) {
    std::vector<int> starts{0};
    long long used = 0;
    int on_page = 0;
    for (int i = 0; i < count; ++i) {
        const int size = RoundHalfEven(sizeOf(i) * ratio);
        if (on_page > 0 && used + size > limit) {
            starts.push_back(i);
            used = size;
            on_page = 1;
        } else {
            used += size;
            ++on_page;
        }
    }
    return starts;
}

}  // namespace

Status GridPrinter::Print(PrintCanvas& canvas) {
    if (canvas_ != nullptr) {
        // Called again from a page event: the running job owns the canvas, and its page is
        // spoilt by whatever the event meant to print.
        NoteError("この表はすでに印刷中です");
        return Fail("この表はすでに印刷中です");
    }
    first_failure_.clear();
    if (target_grid == nullptr) {
        return {};
    }
    canvas_ = &canvas;
    if (CalcPages()) {
        try {
            Status page;
            for (int strip = 1; page && strip <= ColPages(); ++strip) {
                for (int band = 1; page && band <= RowPages(); ++band) {
                    if (strip != 1 || band != 1) {
                        page = canvas.NewPage();
                    }
                    if (page) {
                        page = DrawPage(strip, band);
                    }
                }
            }
            if (!page) {
                NoteError(page.Reason());
            }
        } catch (const std::exception& error) {
            NoteError(ReasonOf(error));
        } catch (...) {
            NoteError("原因不明のエラーで印刷が止まりました");
        }
    }
    canvas_ = nullptr;
    if (!first_failure_.empty()) {
        return Fail(first_failure_);
    }
    return {};
}

int GridPrinter::MmToPixelX(int mm) const {
    return MmToPixel(mm, printer_resolution_x_);
}

int GridPrinter::MmToPixelY(int mm) const {
    return MmToPixel(mm, printer_resolution_y_);
}

bool GridPrinter::CalcPages() {
    col_start_.clear();
    rowStart_.clear();
    const int leftMargin = left_margin;
    const int topMargin = top_margin;
    const int rightMargin = right_margin;
    const int bottomMargin = bottom_margin;
    if (target_grid == nullptr) {
        return false;
    }
    try {
        printer_resolution_x_ = canvas_->PrinterResolutionX();
        printer_resolution_y_ = canvas_->PrinterResolutionY();
        const int screen_x = canvas_->ScreenResolutionX();
        const int screen_y = canvas_->ScreenResolutionY();
        if (printer_resolution_x_ <= 0 || printer_resolution_y_ <= 0 || screen_x <= 0 ||
            screen_y <= 0) {
            NoteError("プリンタか画面の解像度がわかりません");
            return false;
        }
        ratio_x_ = static_cast<long double>(printer_resolution_x_) / screen_x;
        ratio_y_ = static_cast<long double>(printer_resolution_y_) / screen_y;

        left_pixels_ = MmToPixelX(leftMargin);
        top_pixels_ = MmToPixelY(topMargin);
        printable_width_ = canvas_->PageWidth() - left_pixels_ - MmToPixelX(rightMargin);
        printable_height_ = canvas_->PageHeight() - top_pixels_ - MmToPixelY(bottomMargin);
        if (printable_width_ <= 0 || printable_height_ <= 0) {
            NoteError("余白を除くと用紙に印刷できる範囲がありません");
            return false;
        }

        const GridSource& grid = *target_grid;
        rowStart_ = SplitIntoPages(
            grid.RowCount(), [&grid](int row) { return grid.RowHeight(row); }, ratio_y_,
            printable_height_);
        col_start_ = SplitIntoPages(
            grid.ColCount(), [&grid](int col) { return grid.ColWidth(col); }, ratio_x_,
            printable_width_);
        return true;
    } catch (const std::exception& error) {
        NoteError(ReasonOf(error));
    } catch (...) {
        NoteError("原因不明のエラーでページの割り付けに失敗しました");
    }
    col_start_.clear();
    rowStart_.clear();
    return false;
}

Status GridPrinter::SetupCanvas() {
    canvas_->SetPenColour(kBlack);
    if (Status brush = canvas_->SetBrushClear(); !brush) {
        return brush;
    }
    return canvas_->SetFont(target_grid_font);
}

Status GridPrinter::DrawPage(int strip, int band) {
    current_strip_ = strip;
    current_band_ = band;
    if (Status ready = SetupCanvas(); !ready) {
        return ready;
    }
    if (on_begin_page) {
        if (Status begun = on_begin_page(*this); !begun) {
            return begun;
        }
    }
    // Whatever the page event changed on the canvas must not reach the table.
    if (Status ready = SetupCanvas(); !ready) {
        return ready;
    }
    try {
        if (Status drawn = DrawTable(strip, band); !drawn) {
            NoteError(drawn.Reason());
        }
    } catch (const std::exception& error) {
        NoteError(ReasonOf(error));
    } catch (...) {
        NoteError("原因不明のエラーでページを印刷できませんでした");
    }
    return {};
}

Status GridPrinter::DrawTable(int strip, int band) {
    const int dx = RoundHalfEven(text_inset_left * ratio_x_);
    const int dy = RoundHalfEven(text_inset_top * ratio_y_);
    const GridSource& grid = *target_grid;
    const int firstRow = RowStart(band);
    const int lastRow = std::min(band == RowPages() ? grid.RowCount() - 1 : RowStart(band + 1) - 1,
                                 grid.RowCount() - 1);
    const int first_col = ColStart(strip);
    const int last_col = std::min(
        strip == ColPages() ? grid.ColCount() - 1 : ColStart(strip + 1) - 1, grid.ColCount() - 1);

    long double y = top_pixels_;
    for (int row = firstRow; row <= lastRow; ++row) {
        long double x = left_pixels_;
        const long double rh = grid.RowHeight(row) * ratio_y_;
        for (int col = first_col; col <= last_col; ++col) {
            const long double cw = grid.ColWidth(col) * ratio_x_;
            const int left = RoundHalfEven(x);
            const int top = RoundHalfEven(y);
            const PixelRect cell{left, top, left + RoundHalfEven(cw), RoundHalfEven(y + rh)};
            if (Status text = canvas_->TextRect(cell, left + dx, top + dy, grid.Cell(col, row));
                !text) {
                return text;
            }
            // One pixel more, so that neighbouring frames share their edges.
            if (Status frame = canvas_->FrameRect(
                    {left, top, RoundHalfEven(x + cw + 1), RoundHalfEven(y + rh + 1)});
                !frame) {
                return frame;
            }
            x += cw;
        }
        y += rh;
    }
    last_y_ = RoundHalfEven(y);
    return on_end_page ? on_end_page(*this) : Status();
}

void GridPrinter::NoteError(const std::string& what) {
    // The first failure is the one worth telling; later ones usually follow from it.
    if (first_failure_.empty()) {
        first_failure_ = what.empty() ? std::string("印刷に失敗しました") : what;
    }
}

}  // namespace koyomi
