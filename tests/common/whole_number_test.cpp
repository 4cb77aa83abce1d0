#include "common/whole_number.h"

#include <gtest/gtest.h>

#include <optional>
#include <string_view>

namespace {

using orvela::ParseWholeNumber;

TEST(ParseWholeNumber, SignDigitsAndThirtyTwoBits)
{
    const struct {
        std::string_view Text;
        std::optional<int> Value;
    } cases[] = {
        {"0", 0},
        {"100", 100},
        {"+7", 7},
        {"-5", -5},
        {"-0", 0},
        {"007", 7},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483648", std::nullopt}, // one past either end of 32 bits
        {"-2147483649", std::nullopt},
        {"99999999999999999999999", std::nullopt}, // past 64 bits as well
        {"", std::nullopt},
        {"+", std::nullopt},
        {"-", std::nullopt},
        {"+-1", std::nullopt},
        {" 1", std::nullopt}, // no blanks, at either end or inside
        {"1 ", std::nullopt},
        {"1 0", std::nullopt},
        {"1.0", std::nullopt},
        {"1e3", std::nullopt},
        {"0x10", std::nullopt},
        {"???", std::nullopt},
        {std::string_view("1\0"
                          "2",
                          3),
         std::nullopt},
        {"\xd9\xa3", std::nullopt}, // an Arabic-Indic digit is not a decimal digit here
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseWholeNumber(c.Text), c.Value) << '"' << c.Text << '"';
    }
    // The sign is optional; plain digits alone are what IsDigits accepts.
    EXPECT_TRUE(orvela::IsDigits("0123456789"));
    EXPECT_FALSE(orvela::IsDigits("+1"));
    EXPECT_FALSE(orvela::IsDigits(""));
}

} // namespace
