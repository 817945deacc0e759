#include "output/clipboard_text.h"

#include <algorithm>

namespace koyomi {

std::string ClipboardText(const GridSource& grid, int first_col, int firstRow, int last_col,
                          int lastRow, std::string_view title) {
    const int col_count = grid.ColCount();
    const int rowCount = grid.RowCount();
    if (first_col > last_col || lastRow < firstRow || last_col < 0 || lastRow < 0 ||
        first_col >= col_count || firstRow >= rowCount) {
        return {};
    }
    first_col = std::max(first_col, 0);
    firstRow = std::max(firstRow, 0);
    last_col = std::min(last_col, col_count - 1);
    lastRow = std::min(lastRow, rowCount - 1);
    // A grid without columns or rows clamps to an empty range; never read a cell outside it.
    if (first_col > last_col || firstRow > lastRow) {
        return {};
    }

    std::string text(title);
    text += "\r\n";
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int col = first_col; col < last_col; ++col) {
            text += grid.Cell(col, row);
            text += '\t';
        }
        text += grid.Cell(last_col, row);
        text += "\r\n";
    }
    return text;
}

}  // namespace koyomi
