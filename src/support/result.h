// The one shape of every fallible operation: a value (or plain success), or a reason a person
// can read. Reasons are UTF-8 and name what failed and why ("/home/u/koyomivw.ini: Permission
// denied"); the caller decides how to show them.
#pragma once

#include <string>
#include <utility>
#include <variant>

namespace koyomi {

// The reason of a failure, kept apart from the value type so that Result<std::string> is
// never ambiguous.
struct Failure {
    std::string reason;
};

// A failure with the given reason, convertible to any Result.
inline Failure Fail(std::string reason) {
    return Failure{std::move(reason)};
}

template <typename T>
class [[nodiscard]] Result {
  public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Failure failure) : state_(std::in_place_index<1>, std::move(failure)) {}

    bool Ok() const { return state_.index() == 0; }
    explicit operator bool() const { return Ok(); }

    // The value; only when Ok().
    const T& Value() const& { return std::get<0>(state_); }
    T& Value() & { return std::get<0>(state_); }
    T&& Value() && { return std::get<0>(std::move(state_)); }
    const T& operator*() const& { return Value(); }
    const T* operator->() const { return &Value(); }

    // The reason; only when !Ok().
    const std::string& Reason() const { return std::get<1>(state_).reason; }

  private:
    std::variant<T, Failure> state_;
};

// Success without a value, or a reason.
template <>
class [[nodiscard]] Result<void> {
  public:
    Result() = default;
    Result(Failure failure) : failed_(true), reason_(std::move(failure.reason)) {}

    bool Ok() const { return !failed_; }
    explicit operator bool() const { return Ok(); }
    const std::string& Reason() const { return reason_; }

  private:
    bool failed_ = false;
    std::string reason_;
};

using Status = Result<void>;

}  // namespace koyomi
