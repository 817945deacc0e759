#include "app/win32/first_paint_report.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace koyomi::win32 {

void ReportFirstPaintWhenAsked() {
    if (std::getenv("KOYOMIVW_REPORT_FIRST_PAINT") == nullptr) {
        return;
    }
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const unsigned long long ticks =
        (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    // 100-ns ticks since 1601 to milliseconds since 1970.
    const unsigned long long epoch_ms = ticks / 10000ULL - 11644473600000ULL;
    std::printf("first-paint-epoch-ms %llu\n", epoch_ms);
    std::fflush(stdout);
}

}  // namespace koyomi::win32
