#include "station/call_sign.h"

#include "common/utf8.h"

#include <cstdio>

namespace orvela {

namespace {

constexpr const char* Printable = "; a call sign is printable text";

bool IsControl(char32_t c)
{
    return c <= 0x1F || (c >= 0x7F && c <= 0x9F);
}

// The characters that change the direction of the text around them
// (Unicode's Bidi_Control property).
bool IsDirectionControl(char32_t c)
{
    return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

// The name a user may know a refused character by, or null.
const char* NameOf(char32_t c)
{
    switch (c) {
    case 0x00: return "null";
    case 0x09: return "tab";
    case 0x0A: return "line feed";
    case 0x0D: return "carriage return";
    case 0x1B: return "escape";
    case 0x7F: return "delete";
    case 0x9B: return "control sequence introducer";
    case 0x061C: return "Arabic letter mark";
    case 0x200E: return "left-to-right mark";
    case 0x200F: return "right-to-left mark";
    case 0x202A: return "left-to-right embedding";
    case 0x202B: return "right-to-left embedding";
    case 0x202C: return "pop directional formatting";
    case 0x202D: return "left-to-right override";
    case 0x202E: return "right-to-left override";
    case 0x2066: return "left-to-right isolate";
    case 0x2067: return "right-to-left isolate";
    case 0x2068: return "first strong isolate";
    case 0x2069: return "pop directional isolate";
    default: return nullptr;
    }
}

// "U+001B (escape)"
std::string Named(char32_t c)
{
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
    const char* name = NameOf(c);
    return name != nullptr ? std::string(code) + " (" + name + ")" : std::string(code);
}

} // namespace

std::optional<std::string> CallSignProblem(std::string_view utf8)
{
    std::size_t character = 0;
    for (std::size_t at = 0; at < utf8.size();) {
        ++character;
        const Utf8Char d = DecodeUtf8(utf8, at);
        if (d.Length == 0) {
            return "the call sign is not UTF-8 text (at byte " + std::to_string(at + 1) + ")" + Printable;
        }
        if (IsControl(d.Code)) {
            return "the call sign holds the control character " + Named(d.Code) + " at character " +
                   std::to_string(character) + Printable;
        }
        if (IsDirectionControl(d.Code)) {
            return "the call sign holds the text-direction control " + Named(d.Code) + " at character " +
                   std::to_string(character) + Printable;
        }
        at += d.Length;
    }
    return std::nullopt;
}

std::string PrintableCallSign(std::string_view utf8)
{
    std::string out;
    for (std::size_t at = 0; at < utf8.size();) {
        const Utf8Char d = DecodeUtf8(utf8, at);
        if (d.Length == 0) {
            ++at; // a byte that is not UTF-8
            continue;
        }
        if (!IsControl(d.Code) && !IsDirectionControl(d.Code)) {
            out.append(utf8.substr(at, d.Length));
        }
        at += d.Length;
    }
    return out;
}

std::string TrimmedCallSign(std::string_view text)
{
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return std::string(text);
}

} // namespace orvela
