// Whole numbers written in decimal, as the settings store keeps them, the
// bulletin prints the solar flux and the command line takes a power or a
// width. Header only, with no dependency, so that every library can read
// them the same way and the bulletin's fuzz target builds without a link.
#pragma once

#include <climits>
#include <optional>
#include <string_view>

namespace orvela {

constexpr bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// At least one character, and decimal digits only: no sign, no blank.
constexpr bool IsDigits(std::string_view text)
{
    if (text.empty()) {
        return false;
    }
    for (const char c : text) {
        if (!IsDigit(c)) {
            return false;
        }
    }
    return true;
}

// An optional '-' or '+', then decimal digits only, no blanks, within 32
// bits (-2147483648 to 2147483647); nothing for any other text. Leading
// zeros are allowed. Independent of the locale.
constexpr std::optional<int> ParseWholeNumber(std::string_view text)
{
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (!IsDigits(text)) {
        return std::nullopt;
    }
    long long v = 0;
    for (const char c : text) {
        v = v * 10 + (c - '0');
        if (v > static_cast<long long>(INT_MAX) + 1) {
            return std::nullopt;
        }
    }
    if (negative) {
        v = -v;
    }
    if (v < INT_MIN || v > INT_MAX) {
        return std::nullopt;
    }
    return static_cast<int>(v);
}

} // namespace orvela
