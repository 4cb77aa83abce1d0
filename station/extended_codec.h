// The 10-byte extended-precision numbers of the settings file: the 80-bit
// x87 layout, little-endian. Bytes 0..7 are the 64-bit significand with its
// integer bit explicit at bit 63; bytes 8..9 hold the exponent biased by
// 16383 in bits 0..14 and the sign in bit 15.
//
// The conversion works on sign, exponent and significand, never on the
// memory image of a long double, so it gives the same bytes whatever the
// compiler's long double is (80-bit, IEEE quad or plain double).
#pragma once

#include <array>
#include <cstdint>

namespace orvela {

// Where long double is wider than 64 significand bits the value is rounded
// to nearest, ties to even; a value beyond the format's range becomes an
// infinity. NaN is written as the quiet NaN with the value's sign.
std::array<std::uint8_t, 10> EncodeExtended(long double v);

// Zero, denormals (exponent field 0), infinities and NaN (exponent field
// 0x7FFF, an all-zero fraction meaning infinity) are decoded. A pattern the
// x87 itself rejects (integer bit clear with a non-zero exponent) reads as
// the plain sum of its bits, significand x 2^(exponent - 16383 - 63).
long double DecodeExtended(const std::array<std::uint8_t, 10>& b);

} // namespace orvela
