// The widths of the schedule list's columns: the Linux grid's widths at the window's DPI,
// widened where a heading would not fit, since a native list view heading shows a cut-off
// heading with an ellipsis.
#pragma once

#include <array>

#include "schedule/schedule_grid.h"

namespace koyomi::win32 {

// Space a heading needs around its text (the header control's margins), at 96 DPI.
inline constexpr int kHeadingPadding = 12;

// `heading_widths` are the headings' text widths in pixels in the heading font at `dpi`.
std::array<int, kScheduleColumnCount> ScheduleColumnWidths(
    const std::array<int, kScheduleColumnCount>& heading_widths, int dpi);

}  // namespace koyomi::win32
