#include "engine/format.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace orvela {

std::string FormatFixed(ld value, int decimals)
{
    if (!std::isfinite(value)) {
        return std::isnan(value) ? "nan" : (value < 0 ? "-inf" : "inf");
    }
    const bool negative = value < 0;

    // Digits: 18 significant decimal digits of |value|, exponent of the first.
    std::string digits;
    int exponent = 0;
    if (value != 0) {
        // std::to_chars, unlike printf, ignores the C locale's decimal separator.
        char buf[64];
        const char* end = std::to_chars(buf, buf + sizeof buf, fabsl(value), std::chars_format::scientific, 17).ptr;
        const char* e = buf;
        while (*e != 'e') {
            if (*e >= '0' && *e <= '9') {
                digits.push_back(*e);
            }
            ++e;
        }
        ++e;
        if (*e == '+') {
            ++e; // from_chars takes a '-' but no '+'
        }
        std::from_chars(e, end, exponent);
    }

    // The value times 10^decimals, as a whole number in decimal digits.
    const int keep = exponent + 1 + decimals; // digits left of the rounding point
    std::string whole;
    if (digits.empty() || keep < 0) {
        whole = "0";
    } else if (keep >= static_cast<int>(digits.size())) {
        whole = digits + std::string(keep - digits.size(), '0');
    } else {
        whole = digits.substr(0, keep);
        if (digits[keep] >= '5') {
            int i = static_cast<int>(whole.size()) - 1;
            while (i >= 0 && whole[i] == '9') {
                whole[i--] = '0';
            }
            if (i < 0) {
                whole.insert(whole.begin(), '1');
            } else {
                ++whole[i];
            }
        }
        if (whole.empty()) {
            whole = "0";
        }
    }
    if (static_cast<int>(whole.size()) < decimals + 1) {
        whole.insert(0, decimals + 1 - whole.size(), '0');
    }
    std::string out = negative ? "-" : "";
    out += whole.substr(0, whole.size() - decimals);
    if (decimals > 0) {
        out += '.';
        out += whole.substr(whole.size() - decimals);
    }
    return out;
}

std::string FormatThousands(ld value)
{
    std::string text = FormatFixed(value, 0);
    const std::size_t first = text.find_first_of("0123456789");
    if (first == std::string::npos) {
        return text; // "nan", "inf"
    }
    for (std::size_t at = text.size(); at > first + 3; at -= 3) {
        text.insert(at - 3, 1, ',');
    }
    return text;
}

std::string FormatLongDate(const CivilDate& d)
{
    static const char* const names[12] = {"January", "February", "March",     "April",   "May",      "June",
                                          "July",    "August",   "September", "October", "November", "December"};
    const int m = d.Month >= 1 && d.Month <= 12 ? d.Month : 1;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%02d %s %04d", d.Day, names[m - 1], d.Year);
    return buf;
}

} // namespace orvela
