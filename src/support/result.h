// The one shape of every fallible operation: a value (or plain success), or a reason a person
// can read. Reasons are UTF-8 and say why ("Permission denied"), with the file they concern
// kept beside them; the caller decides how to show them.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <variant>

namespace koyomi {

// What a caller may decide by, where the reason alone is for a person: a missing year file is
// an empty year, a folder another program is fetching into is tried again later.
enum class FailureKind {
    Failed,          // anything else
    NotFound,        // no file or folder of that name
    NotRegularFile,  // a folder, a pipe or a device stands under the name
    TooLarge,        // larger than the reader accepts
    InUse,           // another program holds it
};

// The reason of a failure, kept apart from the value type so that Result<std::string> is
// never ambiguous. `file` names the file the failure concerns, when there is one, so that a
// message can put it where it reads best.
struct Failure {
    std::string reason;
    std::filesystem::path file;
    FailureKind kind = FailureKind::Failed;
};

// A failure with the given reason (and the file it concerns), convertible to any Result.
inline Failure Fail(std::string reason, std::filesystem::path file = {},
                    FailureKind kind = FailureKind::Failed) {
    return Failure{std::move(reason), std::move(file), kind};
}

// "file: reason", or the reason alone when no file is named. The file's name in UTF-8, as the
// reason is, whatever the system's code page.
inline std::string Describe(const Failure& failure) {
    if (failure.file.empty()) {
        return failure.reason;
    }
    const std::u8string name = failure.file.u8string();
    return std::string(name.begin(), name.end()) + ": " + failure.reason;
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

    // The reason and the file it concerns; only when !Ok().
    const std::string& Reason() const { return std::get<1>(state_).reason; }
    const std::filesystem::path& File() const { return std::get<1>(state_).file; }
    FailureKind Kind() const { return std::get<1>(state_).kind; }
    const Failure& Error() const { return std::get<1>(state_); }

  private:
    std::variant<T, Failure> state_;
};

// Success without a value, or a reason.
template <>
class [[nodiscard]] Result<void> {
  public:
    Result() = default;
    Result(Failure failure) : failed_(true), failure_(std::move(failure)) {}

    bool Ok() const { return !failed_; }
    explicit operator bool() const { return Ok(); }
    const std::string& Reason() const { return failure_.reason; }
    const std::filesystem::path& File() const { return failure_.file; }
    FailureKind Kind() const { return failure_.kind; }
    const Failure& Error() const { return failure_; }

  private:
    bool failed_ = false;
    Failure failure_;
};

using Status = Result<void>;

}  // namespace koyomi
