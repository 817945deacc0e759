// Where today is among the rows the grid shows: the rows to mark and the row "今日へ移動"
// goes to. Row i shows line i of the shown lines.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "support/clock.h"

namespace koyomi {

// The rows dated `day` (several venues may meet on one day), in grid order.
std::vector<int> RowsOfDay(const std::vector<std::string>& shown_lines, const LocalDateTime& day);

// The first row, in grid order, dated `day` or later; none when every row is earlier. Rows
// without a readable date are passed over.
std::optional<int> FirstRowOnOrAfter(const std::vector<std::string>& shown_lines,
                                     const LocalDateTime& day);

}  // namespace koyomi
