// A short piece of a downloaded product in printable form, for a one-line
// message: quoted, with control bytes, bytes past ASCII, quotes and
// backslashes written as \xNN, and cut after `longest` bytes ("..." then
// says so).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orvela::solar {

inline std::string QuotedPiece(std::string_view s, std::size_t longest = std::string_view::npos)
{
    static constexpr char hex[] = "0123456789abcdef";
    const bool cut = s.size() > longest;
    s = s.substr(0, longest);
    std::string out = "\"";
    for (char c : s) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 32 || b >= 127 || c == '"' || c == '\\') {
            out += "\\x";
            out += hex[b >> 4];
            out += hex[b & 15];
        } else {
            out += c;
        }
    }
    return out + (cut ? "...\"" : "\"");
}

} // namespace orvela::solar
