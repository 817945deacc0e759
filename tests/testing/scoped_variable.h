// An environment variable set (or removed) for one test and put back afterwards.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

namespace koyomi::testing {

class ScopedVariable {
  public:
    // `value` null: the variable is removed meanwhile.
    ScopedVariable(std::string name, const char* value) : name_(std::move(name)) {
        if (const char* old = std::getenv(name_.c_str())) {
            old_ = old;
        }
        value != nullptr ? ::setenv(name_.c_str(), value, 1) : ::unsetenv(name_.c_str());
    }
    ~ScopedVariable() {
        old_ ? ::setenv(name_.c_str(), old_->c_str(), 1) : ::unsetenv(name_.c_str());
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

  private:
    std::string name_;
    std::optional<std::string> old_;
};

}  // namespace koyomi::testing
