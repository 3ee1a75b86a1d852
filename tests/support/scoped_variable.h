#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace tarvenor::testing {

// Sets one environment variable, or removes it when `value` is empty.
inline void set_environment_variable(const char* name, const std::optional<std::string>& value) {
#ifdef _WIN32
    // An empty value removes the variable on Windows, which has no other way to.
    ::_putenv_s(name, value ? value->c_str() : "");
#else
    if (value) {
        ::setenv(name, value->c_str(), 1);
    } else {
        ::unsetenv(name);
    }
#endif
}

// Sets or clears one environment variable for a test and puts the old value back.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        set_environment_variable(name_, value);
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;
    ~ScopedVariable() { set_environment_variable(name_, old_); }

private:
    const char* name_;
    std::optional<std::string> old_;
};

} // namespace tarvenor::testing
