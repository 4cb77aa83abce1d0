// Pictures of the map: plain values, rows of bytes with row 0 at the top.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orvela {

// A 24-bit picture: three bytes per pixel, blue, green, red, rows packed
// with no padding. An empty picture has no size and no bytes.
struct Picture24 {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Bytes;

    static Picture24 Make(int width, int height)
    {
        Picture24 p;
        p.Width = width;
        p.Height = height;
        p.Bytes.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3u, 0);
        return p;
    }
    bool Empty() const { return Width <= 0 || Height <= 0; }
    std::uint8_t* Row(int y) { return Bytes.data() + static_cast<std::size_t>(y) * RowBytes(); }
    const std::uint8_t* Row(int y) const { return Bytes.data() + static_cast<std::size_t>(y) * RowBytes(); }
    std::size_t RowBytes() const { return static_cast<std::size_t>(Width) * 3u; }
    friend bool operator==(const Picture24&, const Picture24&) = default;
};

// An 8-bit picture: one byte per pixel (here an opacity, 0 to 255).
struct Picture8 {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Bytes;

    static Picture8 Make(int width, int height)
    {
        Picture8 p;
        p.Width = width;
        p.Height = height;
        p.Bytes.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
        return p;
    }
    bool Empty() const { return Width <= 0 || Height <= 0; }
    std::uint8_t* Row(int y) { return Bytes.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(Width); }
    const std::uint8_t* Row(int y) const
    {
        return Bytes.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(Width);
    }
    friend bool operator==(const Picture8&, const Picture8&) = default;
};

} // namespace orvela
