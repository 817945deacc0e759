// The C runtime reads TZ from its own copy of the environment, which _putenv_s changes.
#include "testing/time_zone.h"

#include <cstdlib>
#include <ctime>

namespace koyomi::testing {

ScopedTimeZone::ScopedTimeZone(const char* zone) {
    if (const char* old = std::getenv("TZ")) {
        saved_ = old;
    }
    ::_putenv_s("TZ", zone);
    ::_tzset();
}

ScopedTimeZone::~ScopedTimeZone() {
    // An empty value removes the variable.
    ::_putenv_s("TZ", saved_ ? saved_->c_str() : "");
    ::_tzset();
}

}  // namespace koyomi::testing
