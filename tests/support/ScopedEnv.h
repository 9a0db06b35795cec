#pragma once
// Sets (or, for nullptr, unsets) an environment variable until the end of the scope, then puts back what was
// there.

#include <cstdlib>
#include <optional>
#include <string>

namespace testing_support {

class ScopedEnv {
public:
    ScopedEnv(const char* Name, const char* Value) : name_(Name) {
        if (const char* old = std::getenv(Name))
            old_ = old;
        if (Value != nullptr)
            ::setenv(Name, Value, 1);
        else
            ::unsetenv(Name);
    }
    ~ScopedEnv() {
        if (old_)
            ::setenv(name_.c_str(), old_->c_str(), 1);
        else
            ::unsetenv(name_.c_str());
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

} // namespace testing_support
