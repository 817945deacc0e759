#include "app/win32/column_widths.h"

#include <algorithm>

#include "app/win32/window_layout.h"

namespace koyomi::win32 {

std::array<int, kScheduleColumnCount> ScheduleColumnWidths(
    const std::array<int, kScheduleColumnCount>& heading_widths, int dpi) {
    std::array<int, kScheduleColumnCount> widths{};
    for (int column = 0; column < kScheduleColumnCount; ++column) {
        const auto at = static_cast<size_t>(column);
        const int design = ScaleToDpi(ScheduleColumns()[at].width, dpi);
        widths[at] = std::max(design, heading_widths[at] + ScaleToDpi(kHeadingPadding, dpi));
    }
    return widths;
}

}  // namespace koyomi::win32
