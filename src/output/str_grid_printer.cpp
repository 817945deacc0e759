#include "output/str_grid_printer.h"

#include <algorithm>
#include <exception>

#include "output/round_half_even.h"

namespace koyomi {

namespace {

constexpr long double kMillimetresPerInch = 25.4L;

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
    int onPage = 0;
    for (int i = 0; i < count; ++i) {
        const int size = RoundHalfEven(sizeOf(i) * ratio);
        if (onPage > 0 && used + size > limit) {
            starts.push_back(i);
            used = size;
            onPage = 1;
        } else {
            used += size;
            ++onPage;
        }
    }
    return starts;
}

}  // namespace

bool TStrGridPrinter::Print(PrintCanvas& canvas) {
    if (canvas_ != nullptr) {
        // Called again from a page event: the running job owns the canvas.
        NoteError("the grid is already being printed");
        return false;
    }
    lastError_.clear();
    if (TargetGrid == nullptr) {
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
            NoteError(error.what());
        } catch (...) {
            NoteError("printing stopped by an unknown error");
        }
    }
    canvas_ = nullptr;
    return lastError_.empty();
}

int TStrGridPrinter::MmToPixelX(int mm) const {
    return MmToPixel(mm, printerResolutionX_);
}

int TStrGridPrinter::MmToPixelY(int mm) const {
    return MmToPixel(mm, printerResolutionY_);
}

bool TStrGridPrinter::CalcPages() {
    colStart_.clear();
    rowStart_.clear();
    const int leftMargin = LeftMargin;
    const int topMargin = TopMargin;
    const int rightMargin = RightMargin;
    const int bottomMargin = BottomMargin;
    if (TargetGrid == nullptr) {
        return false;
    }
    try {
        printerResolutionX_ = canvas_->PrinterResolutionX();
        printerResolutionY_ = canvas_->PrinterResolutionY();
        const int screenX = canvas_->ScreenResolutionX();
        const int screenY = canvas_->ScreenResolutionY();
        if (printerResolutionX_ <= 0 || printerResolutionY_ <= 0 || screenX <= 0 || screenY <= 0) {
            NoteError("the printer or the screen reports no resolution");
            return false;
        }
        ratioX_ = static_cast<long double>(printerResolutionX_) / screenX;
        ratioY_ = static_cast<long double>(printerResolutionY_) / screenY;

        leftPixels_ = MmToPixelX(leftMargin);
        topPixels_ = MmToPixelY(topMargin);
        printableWidth_ = canvas_->PageWidth() - leftPixels_ - MmToPixelX(rightMargin);
        printableHeight_ = canvas_->PageHeight() - topPixels_ - MmToPixelY(bottomMargin);
        if (printableWidth_ <= 0 || printableHeight_ <= 0) {
            NoteError("the margins leave no room on the page");
            return false;
        }

        const GridSource& grid = *TargetGrid;
        rowStart_ = SplitIntoPages(
            grid.RowCount(), [&grid](int row) { return grid.RowHeight(row); }, ratioY_,
            printableHeight_);
        colStart_ = SplitIntoPages(
            grid.ColCount(), [&grid](int col) { return grid.ColWidth(col); }, ratioX_,
            printableWidth_);
        return true;
    } catch (const std::exception& error) {
        NoteError(error.what());
    } catch (...) {
        NoteError("the page layout failed with an unknown error");
    }
    colStart_.clear();
    rowStart_.clear();
    return false;
}

void TStrGridPrinter::SetupCanvas() {
    canvas_->SetPenColour(kBlack);
    canvas_->SetBrushClear();
    canvas_->SetFont(TargetGridFont);
}

void TStrGridPrinter::DrawPage(int strip, int band) {
    const int dx = RoundHalfEven(MojiLeft * ratioX_);
    const int dy = RoundHalfEven(MojiTop * ratioY_);
    currentStrip_ = strip;
    currentBand_ = band;
    SetupCanvas();
    if (OnBeginPage) {
        OnBeginPage(*this);
    }
    // Whatever the page event changed on the canvas must not reach the table.
    SetupCanvas();

    try {
        const GridSource& grid = *TargetGrid;
        const int firstRow = RowStart(band);
        const int lastRow = std::min(
            band == RowPages() ? grid.RowCount() - 1 : RowStart(band + 1) - 1, grid.RowCount() - 1);
        const int firstCol = ColStart(strip);
        const int lastCol =
            std::min(strip == ColPages() ? grid.ColCount() - 1 : ColStart(strip + 1) - 1,
                     grid.ColCount() - 1);

        long double y = topPixels_;
        for (int row = firstRow; row <= lastRow; ++row) {
            long double x = leftPixels_;
            const long double rh = grid.RowHeight(row) * ratioY_;
            for (int col = firstCol; col <= lastCol; ++col) {
                const long double cw = grid.ColWidth(col) * ratioX_;
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
        lastY_ = RoundHalfEven(y);
        if (OnEndPage) {
            OnEndPage(*this);
        }
    } catch (const std::exception& error) {
        NoteError(error.what());
    } catch (...) {
        NoteError("a page failed with an unknown error");
    }
}

void TStrGridPrinter::NoteError(const std::string& what) {
    // The first failure is the one worth telling; later ones usually follow from it.
    if (lastError_.empty()) {
        lastError_ = what.empty() ? std::string("printing failed") : what;
    }
}

}  // namespace koyomi
