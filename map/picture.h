// Pictures of the map: plain values, rows of bytes with row 0 at the top.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orvela {

// A picture of `Channels` bytes per pixel, rows packed with no padding. An
// empty picture has no size and no bytes.
template <int Channels>
struct Picture {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Bytes;

    static Picture Make(int width, int height)
    {
        Picture p;
        p.Width = width;
        p.Height = height;
        p.Bytes.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * Channels, 0);
        return p;
    }
    bool Empty() const { return Width <= 0 || Height <= 0; }
    std::uint8_t* Row(int y) { return Bytes.data() + static_cast<std::size_t>(y) * RowBytes(); }
    const std::uint8_t* Row(int y) const { return Bytes.data() + static_cast<std::size_t>(y) * RowBytes(); }
    std::size_t RowBytes() const { return static_cast<std::size_t>(Width) * Channels; }
    friend bool operator==(const Picture&, const Picture&) = default;
};

// A 24-bit picture: three bytes per pixel, blue, green, red.
using Picture24 = Picture<3>;
// An 8-bit picture: one byte per pixel (here an opacity, 0 to 255).
using Picture8 = Picture<1>;

// The sun glyph drawn over a map, and its opacity.
struct SunGlyph {
    Picture24 Glyph;
    Picture8 Alpha;
};

} // namespace orvela
