// For the start-up benchmark: with KOYOMIVW_REPORT_FIRST_PAINT set, the time of a window's
// first paint goes to standard output as "first-paint-epoch-ms <milliseconds since 1970>".
#pragma once

namespace koyomi::win32 {

// Call once the first WM_PAINT is done; does nothing unless asked for.
void ReportFirstPaintWhenAsked();

}  // namespace koyomi::win32
