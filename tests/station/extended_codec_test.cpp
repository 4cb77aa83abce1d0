#include "station/extended_codec.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

namespace {

using Bytes = std::array<std::uint8_t, 10>;
using Limits = std::numeric_limits<long double>;

constexpr bool NativeIsX87 = Limits::digits == 64 && Limits::max_exponent == 16384;

struct KnownCase {
    long double Value;
    Bytes Encoded;
};

TEST(ExtendedCodec, KnownValuesEncodeAndDecodeExactly)
{
    const KnownCase cases[] = {
        {1.0L, {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}},
        {-2.5L, {0, 0, 0, 0, 0, 0, 0, 0xA0, 0x00, 0xC0}},
        {48.5L, {0, 0, 0, 0, 0, 0, 0, 0xC2, 0x04, 0x40}},
        {0.0L, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {-0.0L, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80}},
        {Limits::infinity(), {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F}},
        {-Limits::infinity(), {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0xFF}},
        {0.75L, {0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFE, 0x3F}},
    };
    for (const KnownCase& c : cases) {
        EXPECT_EQ(orvela::EncodeExtended(c.Value), c.Encoded) << static_cast<double>(c.Value);
        const long double back = orvela::DecodeExtended(c.Encoded);
        EXPECT_EQ(back, c.Value) << static_cast<double>(c.Value);
        EXPECT_EQ(std::signbit(back), std::signbit(c.Value)) << static_cast<double>(c.Value);
    }
}

// Any value with at most 64 significant bits comes back exactly, whatever
// the machine's long double.
TEST(ExtendedCodec, RoundTripsEveryDoubleExactly)
{
    const double values[] = {
        0.1,
        -179.999,
        3.141592653589793,
        1e300,
        -1e-300,
        DBL_MAX,
        DBL_MIN,
        std::numeric_limits<double>::denorm_min(),
        2.0 / 3.0,
        -48.5125,
        6371.2,
    };
    for (const double d : values) {
        const long double v = d;
        EXPECT_EQ(orvela::DecodeExtended(orvela::EncodeExtended(v)), v) << d;
    }
}

TEST(ExtendedCodec, NaNKeepsItsSignAndReadsBackAsNaN)
{
    for (const long double nan : {Limits::quiet_NaN(), -Limits::quiet_NaN()}) {
        const Bytes b = orvela::EncodeExtended(nan);
        EXPECT_EQ(b[9] & 0x7F, 0x7F);
        EXPECT_EQ(b[8], 0xFF);
        EXPECT_NE(b[7] & 0x40, 0) << "quiet NaN";
        const long double back = orvela::DecodeExtended(b);
        EXPECT_TRUE(std::isnan(back));
        EXPECT_EQ(std::signbit(back), std::signbit(nan));
    }
    // Any non-zero fraction under the all-ones exponent is a NaN, a signalling one too.
    EXPECT_TRUE(std::isnan(orvela::DecodeExtended({1, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F})));
}

// The ends of the 80-bit range, which only a long double of that format can hold.
TEST(ExtendedCodec, RangeEndsAndDenormals)
{
    if (!NativeIsX87) {
        GTEST_SKIP() << "long double is not the 80-bit format here";
    }
    const KnownCase cases[] = {
        {Limits::max(), {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0x7F}},
        {-Limits::max(), {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF}},
        {Limits::min(), {0, 0, 0, 0, 0, 0, 0, 0x80, 0x01, 0x00}},
        {Limits::denorm_min(), {1, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {-Limits::denorm_min(), {1, 0, 0, 0, 0, 0, 0, 0, 0, 0x80}},
        {Limits::min() - Limits::denorm_min(), {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0, 0}},
        {Limits::min() / 2, {0, 0, 0, 0, 0, 0, 0, 0x40, 0, 0}},
    };
    for (const KnownCase& c : cases) {
        EXPECT_EQ(orvela::EncodeExtended(c.Value), c.Encoded) << static_cast<double>(c.Value);
        EXPECT_EQ(orvela::DecodeExtended(c.Encoded), c.Value) << static_cast<double>(c.Value);
    }
}

// On an x87 machine the bytes must be the machine's own memory image of the
// number, for normal numbers and denormals alike.
TEST(ExtendedCodec, MatchesTheMachineImageOnX87)
{
    if (!NativeIsX87) {
        GTEST_SKIP() << "long double is not the 80-bit format here";
    }
    std::mt19937_64 rng(20110101);
    std::uniform_real_distribution<double> mantissa(-2.0, 2.0);
    std::uniform_int_distribution<int> exponent(-16460, 16380);
    for (int i = 0; i < 20000; ++i) {
        long double v = std::ldexp(static_cast<long double>(mantissa(rng)), exponent(rng));
        v += v * std::ldexp(static_cast<long double>(mantissa(rng)), -60); // fill the low significand bits
        Bytes native{};
        std::memcpy(native.data(), &v, 10);
        ASSERT_EQ(orvela::EncodeExtended(v), native) << static_cast<double>(v);
        ASSERT_EQ(orvela::DecodeExtended(native), v) << static_cast<double>(v);
    }
}

} // namespace
