// An environment variable set or removed for a scope: the value it had,
// or its absence, comes back when the guard goes, so that a test leaves the
// process's environment as it found it.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

namespace orvela_test {

class ScopedEnv {
public:
    explicit ScopedEnv(std::string name)
        : name_(std::move(name))
    {
        if (const char* old = std::getenv(name_.c_str())) {
            saved_ = old;
        }
    }
    ScopedEnv(std::string name, const char* value)
        : ScopedEnv(std::move(name))
    {
        Set(value);
    }
    ~ScopedEnv()
    {
        if (saved_) {
            ::setenv(name_.c_str(), saved_->c_str(), 1);
        } else {
            ::unsetenv(name_.c_str());
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

    // Null removes the variable.
    void Set(const char* value) const
    {
        if (value) {
            ::setenv(name_.c_str(), value, 1);
        } else {
            ::unsetenv(name_.c_str());
        }
    }

private:
    std::string name_;
    std::optional<std::string> saved_;
};

} // namespace orvela_test
