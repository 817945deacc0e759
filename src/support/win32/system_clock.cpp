// The wall clock as Windows keeps it: the local time of the time zone set in Windows, not the
// C library's TZ variable.
#include <windows.h>

#include "support/clock.h"

namespace koyomi {

LocalDateTime SystemClock::Now() const {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

}  // namespace koyomi
