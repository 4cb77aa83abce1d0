#include "station/extended_codec.h"

#include <cmath>
#include <limits>

namespace orvela {

namespace {

constexpr int ExponentBias = 16383;
constexpr unsigned MaxExponent = 0x7FFF;
constexpr std::uint64_t IntegerBit = std::uint64_t{1} << 63;
// A denormal (exponent field 0) is significand x 2^(1 - 16383 - 63).
constexpr int DenormalShift = ExponentBias - 1 + 63;

std::array<std::uint8_t, 10> Pack(bool negative, unsigned exponent, std::uint64_t significand)
{
    std::array<std::uint8_t, 10> b{};
    for (int i = 0; i < 8; ++i) {
        b[i] = static_cast<std::uint8_t>(significand >> (8 * i));
    }
    const unsigned top = (negative ? 0x8000u : 0u) | (exponent & MaxExponent);
    b[8] = static_cast<std::uint8_t>(top);
    b[9] = static_cast<std::uint8_t>(top >> 8);
    return b;
}

} // namespace

std::array<std::uint8_t, 10> EncodeExtended(long double v)
{
    const bool negative = std::signbit(v);
    if (std::isnan(v)) {
        return Pack(negative, MaxExponent, IntegerBit | (IntegerBit >> 1));
    }
    if (std::isinf(v)) {
        return Pack(negative, MaxExponent, IntegerBit);
    }
    if (v == 0) {
        return Pack(negative, 0, 0);
    }

    int e = 0;
    const long double m = std::frexp(std::fabs(v), &e); // |v| = m x 2^e, m in [0.5, 1)
    long exponent = static_cast<long>(e) + ExponentBias - 1;
    const long double two64 = std::ldexp(1.0L, 64);

    if (exponent >= 1) {
        long double s = std::nearbyint(std::ldexp(m, 64)); // in [2^63, 2^64]
        if (s >= two64) {                                  // rounding carried into the next binade
            s = std::ldexp(1.0L, 63);
            ++exponent;
        }
        if (exponent >= static_cast<long>(MaxExponent)) {
            return Pack(negative, MaxExponent, IntegerBit);
        }
        return Pack(negative, static_cast<unsigned>(exponent), static_cast<std::uint64_t>(s));
    }

    // Too small for a normal number: a denormal. Rounding may carry it up
    // to 2^63, which is the smallest normal number, exponent field 1.
    const long double s = std::nearbyint(std::ldexp(m, e + DenormalShift));
    const auto significand = static_cast<std::uint64_t>(s);
    return Pack(negative, (significand & IntegerBit) ? 1u : 0u, significand);
}

long double DecodeExtended(const std::array<std::uint8_t, 10>& b)
{
    std::uint64_t significand = 0;
    for (int i = 7; i >= 0; --i) {
        significand = (significand << 8) | b[i];
    }
    const unsigned top = b[8] | (static_cast<unsigned>(b[9]) << 8);
    const bool negative = (top & 0x8000u) != 0;
    const unsigned exponent = top & MaxExponent;

    long double r;
    if (exponent == MaxExponent) {
        if ((significand << 1) == 0) {
            r = std::numeric_limits<long double>::infinity();
        } else {
            r = std::numeric_limits<long double>::quiet_NaN();
        }
        return std::copysign(r, negative ? -1.0L : 1.0L);
    }
    const long double s = static_cast<long double>(significand);
    if (exponent == 0) {
        r = std::ldexp(s, -DenormalShift);
    } else {
        r = std::ldexp(s, static_cast<int>(exponent) - ExponentBias - 63);
    }
    return negative ? -r : r;
}

} // namespace orvela
