#include "engine/format.h"
#include "engine/minimuf.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using orvela::ld;

struct FixedCase {
    ld Value;
    int Decimals;
    const char* Text;
};

// Rounding is half away from zero on the value's 18-digit decimal form, so a
// binary value just below a printed half still rounds up. A negative value
// that rounds to zero keeps its sign.
TEST(FormatFixed, RoundsTheDecimalFormHalfAwayFromZero)
{
    const FixedCase cases[] = {
        {orvela::FluxToSpots(122.5L), 1, "73.4"}, // 73.35 held as 73.34999...
        {0.45L, 1, "0.5"},
        {0.05L, 1, "0.1"},
        {9.95L, 1, "10.0"},
        {99.96L, 1, "100.0"},
        {2.5L, 0, "3"},
        {-2.5L, 0, "-3"},
        {0.5L, 0, "1"},
        {0.49L, 0, "0"},
        {1234.5678L, 1, "1234.6"},
        {123456789.0L, 0, "123456789"},
        {-17.25L, 1, "-17.3"},
        {0.004L, 1, "0.0"},
        {100, 0, "100"},
    };
    for (const FixedCase& c : cases) {
        EXPECT_EQ(orvela::FormatFixed(c.Value, c.Decimals), c.Text) << static_cast<double>(c.Value);
    }
}

TEST(FormatFixed, NegativeZeroKeepsItsSignOnlyWhenTheValueIsNegative)
{
    EXPECT_EQ(orvela::FormatFixed(-0.4L, 0), "-0");
    EXPECT_EQ(orvela::FormatFixed(-1e-30L, 0), "-0");
    EXPECT_EQ(orvela::FormatFixed(-0.04L, 1), "-0.0");
    EXPECT_EQ(orvela::FormatFixed(0.0L, 0), "0");
    EXPECT_EQ(orvela::FormatFixed(-0.0L, 0), "0");
    EXPECT_EQ(orvela::FormatFixed(-0.0L, 1), "0.0");
}

// A distance in prose: whole, its digits grouped in threes from the right.
TEST(FormatThousands, GroupsTheWholeNumberInThrees)
{
    const std::pair<ld, const char*> cases[] = {
        {0, "0"},          {999.4L, "999"},        {999.5L, "1,000"},      {30317.46L, "30,317"},
        {40031, "40,031"}, {123456.0L, "123,456"}, {1234567, "1,234,567"}, {-1234.5L, "-1,235"},
        {-999, "-999"},
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(orvela::FormatThousands(value), text) << static_cast<double>(value);
    }
}

TEST(FormatLongDate, WritesDayMonthNameYear)
{
    EXPECT_EQ(orvela::FormatLongDate({2026, 12, 5}), "05 December 2026");
    EXPECT_EQ(orvela::FormatLongDate({2027, 1, 31}), "31 January 2027");
}

} // namespace
