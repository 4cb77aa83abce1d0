#include "cli/map_command_line.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>

namespace orvela::mapcli {
namespace {

struct GoodMoment {
    const char* Text;
    UtcDateTime Expected;
};

TEST(ParseMoment, ReadsEveryField)
{
    const GoodMoment cases[] = {
        {"2026-06-21T12:34:56Z", {2026, 6, 21, 12, 34, 56}},
        {"2024-02-29T23:59:59Z", {2024, 2, 29, 23, 59, 59}}, // a leap day, the last second
        {"0001-01-01T00:00:00Z", {1, 1, 1, 0, 0, 0}},
        {"9999-12-31T00:00:09Z", {9999, 12, 31, 0, 0, 9}},
    };
    for (const GoodMoment& c : cases) {
        SCOPED_TRACE(c.Text);
        const Checked<UtcDateTime> m = ParseMoment(c.Text);
        ASSERT_TRUE(m) << m.Error;
        const UtcDateTime& v = *m.Value;
        const UtcDateTime& e = c.Expected;
        EXPECT_EQ(std::tie(v.Year, v.Month, v.Day, v.Hour, v.Minute, v.Second),
                  std::tie(e.Year, e.Month, e.Day, e.Hour, e.Minute, e.Second));
    }
}

TEST(ParseWidth, AcceptsSixteenToEightThousandOneHundredNinetyTwo)
{
    // The widest map is only parsed here: composing it takes 100 MB.
    for (const auto& [text, value] : {std::pair{"16", 16}, {"8192", 8192}, {"0512", 512}}) {
        SCOPED_TRACE(text);
        const Checked<int> w = ParseWidth(text);
        ASSERT_TRUE(w) << w.Error;
        EXPECT_EQ(*w.Value, value);
    }
}

} // namespace
} // namespace orvela::mapcli
