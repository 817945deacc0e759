// The records of a service file: Shift-JIS text, each record ending in CR LF (LF alone is
// accepted).
#pragma once

#include <string_view>
#include <vector>

namespace koyomi {

// The records of `content` without their line ends, in file order. A last record without a
// line end counts; empty lines are no records.
std::vector<std::string_view> SplitServiceRecords(std::string_view content);

}  // namespace koyomi
