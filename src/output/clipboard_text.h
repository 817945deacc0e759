// The text that copying the schedule grid puts on the clipboard: the list title, then one
// line a grid row with the cells separated by TAB, every line ended by CR LF. Cells are
// copied as they stand (no quoting, escaping or trimming), in code page 932.
#pragma once

#include <string>
#include <string_view>

#include "output/grid_source.h"

namespace koyomi {

// The text for the cells from (first_col, firstRow) to (last_col, lastRow), both inclusive.
// An empty or inverted range, or one wholly outside the grid, gives the empty text (which
// still replaces the clipboard's content); a range reaching past the grid is cut at its edges.
std::string ClipboardText(const GridSource& grid, int first_col, int firstRow, int last_col,
                          int lastRow, std::string_view title);

}  // namespace koyomi
