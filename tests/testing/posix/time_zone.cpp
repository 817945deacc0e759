#include "testing/time_zone.h"

#include <cstdlib>
#include <ctime>

namespace koyomi::testing {

ScopedTimeZone::ScopedTimeZone(const char* zone) {
    if (const char* old = std::getenv("TZ")) {
        saved_ = old;
    }
    ::setenv("TZ", zone, 1);
    ::tzset();
}

ScopedTimeZone::~ScopedTimeZone() {
    if (saved_) {
        ::setenv("TZ", saved_->c_str(), 1);
    } else {
        ::unsetenv("TZ");
    }
    ::tzset();
}

}  // namespace koyomi::testing
