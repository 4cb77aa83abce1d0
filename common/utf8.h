// Text in UTF-8 read one character at a time, strictly as Unicode defines
// it: the call sign's check, the settings file's strings on their way to
// UTF-16 and the command line's quoting of a refused value all read it so.
#pragma once

#include <cstddef>
#include <string_view>

namespace orvela {

// Why the bytes at a place are not a UTF-8 character.
enum class Utf8Fault {
    None,
    StrayContinuation, // 0x80 to 0xBF where a character should start
    NeverInUtf8,       // 0xC0, 0xC1 or 0xF5 to 0xFF, which no character starts with
    CutShort,          // a lead byte whose sequence the text's end or another byte cuts short
    Overlong,          // a character written with more bytes than it needs
    Surrogate,         // U+D800 to U+DFFF, which UTF-16 alone uses
    BeyondUnicode,     // past U+10FFFF
};

// One character: its code point and the bytes it takes; a length of 0 and
// the fault when the bytes there are not UTF-8.
struct Utf8Char {
    char32_t Code = 0;
    std::size_t Length = 0;
    Utf8Fault Fault = Utf8Fault::None;
};

// The character that starts at `text[at]`; `at` is before the text's end.
// A reader that goes on past a fault usually skips that one byte.
Utf8Char DecodeUtf8(std::string_view text, std::size_t at);

} // namespace orvela
