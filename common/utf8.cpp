#include "common/utf8.h"

#include <cstdint>

namespace orvela {

Utf8Char DecodeUtf8(std::string_view text, std::size_t at)
{
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
    const auto fault = [](Utf8Fault why) { return Utf8Char{0, 0, why}; };
    const std::uint8_t lead = byte(at);
    if (lead < 0x80) {
        return {lead, 1, Utf8Fault::None};
    }
    std::size_t length = 0;
    char32_t code = 0;
    char32_t lowest = 0; // below this the character needs fewer bytes
    if (lead < 0xC0) {
        return fault(Utf8Fault::StrayContinuation);
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
        lowest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
        lowest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
        lowest = 0x10000;
    } else {
        return fault(Utf8Fault::NeverInUtf8);
    }
    if (text.size() - at < length) {
        return fault(Utf8Fault::CutShort);
    }
    for (std::size_t i = 1; i < length; ++i) {
        const std::uint8_t next = byte(at + i);
        if ((next & 0xC0) != 0x80) {
            return fault(Utf8Fault::CutShort);
        }
        code = (code << 6) | (next & 0x3F);
    }
    if (code < lowest) {
        return fault(Utf8Fault::Overlong);
    }
    if (code >= 0xD800 && code <= 0xDFFF) {
        return fault(Utf8Fault::Surrogate);
    }
    if (code > 0x10FFFF) {
        return fault(Utf8Fault::BeyondUnicode);
    }
    return {code, length, Utf8Fault::None};
}

} // namespace orvela
