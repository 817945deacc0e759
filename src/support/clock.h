// The one source of "now" for the core, so lists, messages and fetches can be tested with a
// fixed date.
#pragma once

#include <chrono>
#include <string>

namespace koyomi {

struct LocalDateTime {
    int year = 1970;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;

    friend bool operator==(const LocalDateTime&, const LocalDateTime&) = default;
};

class Clock {
  public:
    virtual ~Clock() = default;
    // The current local date and time.
    virtual LocalDateTime Now() const = 0;
    // A reading that only ever goes forward, for measuring intervals (never a date).
    virtual std::chrono::steady_clock::time_point Steady() const = 0;
};

// The machine's local time.
class SystemClock final : public Clock {
  public:
    LocalDateTime Now() const override;
    std::chrono::steady_clock::time_point Steady() const override;
};

// A clock that always says the same time; tests and tools set it. Its steady reading stands
// still too, until a test moves it on.
class FixedClock final : public Clock {
  public:
    explicit FixedClock(LocalDateTime now) : now_(now) {}
    LocalDateTime Now() const override { return now_; }
    std::chrono::steady_clock::time_point Steady() const override { return steady_; }
    void Set(LocalDateTime now) { now_ = now; }
    void Advance(std::chrono::steady_clock::duration elapsed) { steady_ += elapsed; }

  private:
    LocalDateTime now_;
    std::chrono::steady_clock::time_point steady_{};
};

// Calendar arithmetic on the date part (proleptic Gregorian); the time of day is kept.
LocalDateTime AddDays(const LocalDateTime& value, int days);

// "yyyymmddhhnnss".
std::string FormatCompact(const LocalDateTime& value);

}  // namespace koyomi
