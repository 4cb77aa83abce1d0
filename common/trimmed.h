// A piece of text without its blanks at either end, each reader saying what
// a blank is in its own format.
#pragma once

#include <string_view>

namespace orvela {

template <class IsBlank>
constexpr std::string_view Trimmed(std::string_view s, IsBlank isBlank)
{
    while (!s.empty() && isBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && isBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

} // namespace orvela
