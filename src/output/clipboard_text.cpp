#include "output/clipboard_text.h"

#include <algorithm>

namespace koyomi {

std::string ClipboardText(const GridSource& grid, int firstCol, int firstRow, int lastCol,
                          int lastRow, std::string_view title) {
    const int colCount = grid.ColCount();
    const int rowCount = grid.RowCount();
    if (firstCol > lastCol || lastRow < firstRow || lastCol < 0 || lastRow < 0 ||
        firstCol >= colCount || firstRow >= rowCount) {
        return {};
    }
    firstCol = std::max(firstCol, 0);
    firstRow = std::max(firstRow, 0);
    lastCol = std::min(lastCol, colCount - 1);
    lastRow = std::min(lastRow, rowCount - 1);
    // A grid without columns or rows clamps to an empty range; never read a cell outside it.
    if (firstCol > lastCol || firstRow > lastRow) {
        return {};
    }

    std::string text(title);
    text += "\r\n";
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int col = firstCol; col < lastCol; ++col) {
            text += grid.Cell(col, row);
            text += '\t';
        }
        text += grid.Cell(lastCol, row);
        text += "\r\n";
    }
    return text;
}

}  // namespace koyomi
