// The proxy variables libcurl reads, cleared for a test that talks to its
// own server on loopback.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace orvela::solar::testing {

// Clears the proxy variables libcurl reads, so that a proxy set on the test
// machine cannot stand between the tests and their server; puts them back
// afterwards.
class ProxyEnvironment {
public:
    ProxyEnvironment()
    {
        for (const char* name : Names) {
            const char* value = std::getenv(name);
            saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
            unsetenv(name);
        }
    }
    ~ProxyEnvironment()
    {
        for (const auto& [name, value] : saved_) {
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
        }
    }
    ProxyEnvironment(const ProxyEnvironment&) = delete;
    ProxyEnvironment& operator=(const ProxyEnvironment&) = delete;

private:
    static constexpr const char* Names[] = {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY",
                                            "all_proxy",  "ALL_PROXY",  "no_proxy",    "NO_PROXY"};
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

} // namespace orvela::solar::testing
