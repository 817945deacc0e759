// For the start-up benchmark: with KOYOMIVW_REPORT_FIRST_PAINT set, the program prints the
// wall-clock time (ms since the epoch) at which its window first finished painting.
#pragma once

class QWidget;

namespace koyomi {

void ReportFirstPaintWhenAsked(QWidget& window);

}  // namespace koyomi
