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

bool GridPrinter::Print(PrintCanvas& canvas) {
    if (canvas_ != nullptr) {
        // Called again from a page event: the running job owns the canvas.
        NoteError("この表はすでに印刷中です");
        return false;
    }
    lastError_.clear();
    if (target_grid == nullptr) {
        return true;
    }
    canvas_ = &canvas;
    if (CalcPages()) {
        try {
            for (int strip = 1; strip <= ColPages(); ++strip) {
                for (int band = 1; band <= RowPages(); ++band) {
                    if (strip != 1 || band != 1) {
                        canvas.NewPage();
                    }
                    DrawPage(strip, band);
                }
            }
        } catch (const std::exception& error) {
            NoteError(ReasonOf(error));
        } catch (...) {
            NoteError("原因不明のエラーで印刷が止まりました");
        }
    }
    canvas_ = nullptr;
    return lastError_.empty();
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

void GridPrinter::SetupCanvas() {
    canvas_->SetPenColour(kBlack);
    canvas_->SetBrushClear();
    canvas_->SetFont(target_grid_font);
}

void GridPrinter::DrawPage(int strip, int band) {
    const int dx = RoundHalfEven(text_inset_left * ratio_x_);
    const int dy = RoundHalfEven(text_inset_top * ratio_y_);
    current_strip_ = strip;
    current_band_ = band;
    SetupCanvas();
    if (on_begin_page) {
        on_begin_page(*this);
    }
    // Whatever the page event changed on the canvas must not reach the table.
    SetupCanvas();

    try {
        const GridSource& grid = *target_grid;
        const int firstRow = RowStart(band);
        const int lastRow = std::min(
            band == RowPages() ? grid.RowCount() - 1 : RowStart(band + 1) - 1, grid.RowCount() - 1);
        const int first_col = ColStart(strip);
        const int last_col =
            std::min(strip == ColPages() ? grid.ColCount() - 1 : ColStart(strip + 1) - 1,
                     grid.ColCount() - 1);

        long double y = top_pixels_;
        for (int row = firstRow; row <= lastRow; ++row) {
            long double x = left_pixels_;
            const long double rh = grid.RowHeight(row) * ratio_y_;
            for (int col = first_col; col <= last_col; ++col) {
                const long double cw = grid.ColWidth(col) * ratio_x_;
                const int left = RoundHalfEven(x);
                const int top = RoundHalfEven(y);
                const PixelRect cell{left, top, left + RoundHalfEven(cw), RoundHalfEven(y + rh)};
                canvas_->TextRect(cell, left + dx, top + dy, grid.Cell(col, row));
                // One pixel more, so that neighbouring frames share their edges.
                canvas_->FrameRect(
                    {left, top, RoundHalfEven(x + cw + 1), RoundHalfEven(y + rh + 1)});
                x += cw;
            }
            y += rh;
        }
        last_y_ = RoundHalfEven(y);
        if (on_end_page) {
            on_end_page(*this);
        }
    } catch (const std::exception& error) {
        NoteError(ReasonOf(error));
    } catch (...) {
        NoteError("原因不明のエラーでページを印刷できませんでした");
    }
}

void GridPrinter::NoteError(const std::string& what) {
    // The first failure is the one worth telling; later ones usually follow from it.
    if (lastError_.empty()) {
        lastError_ = what.empty() ? std::string("印刷に失敗しました") : what;
    }
}

}  // namespace koyomi
