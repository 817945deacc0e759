// Where today is among the rows the grid shows: the rows to mark and the row "今日へ移動"
// goes to. Rows are grid rows (the first data row is 1); line i of the shown lines is row i + 1.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "support/clock.h"

namespace koyomi {

// The rows dated `day` (several venues may meet on one day), in grid order.
std::vector<int> RowsOfDay(const std::vector<std::string>& shown_lines, const LocalDateTime& day);

// The first row, in grid order, dated `day` or later; none when every row is earlier. Rows
// whose date is not eight digits are passed over.
std::optional<int> FirstRowOnOrAfter(const std::vector<std::string>& shown_lines,
                                     const LocalDateTime& day);

}  // namespace koyomi
