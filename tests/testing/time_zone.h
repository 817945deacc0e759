// The process's local time zone for one test, put back afterwards.
#pragma once

#include <optional>
#include <string>

namespace koyomi::testing {

class ScopedTimeZone {
  public:
    // `zone` in the TZ form both systems read, such as "JST-9".
    explicit ScopedTimeZone(const char* zone);
    ~ScopedTimeZone();
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

  private:
    std::optional<std::string> saved_;
};

}  // namespace koyomi::testing
