// Numbers are written with a point under a locale whose decimal separator is
// a comma, as the window runs when QApplication takes LC_ALL from the
// environment.
#include "engine/format.h"
#include "station/station_display.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace orvela {
namespace {

constexpr const char* CommaLocale = "de_DE.UTF-8";

class UnderCommaLocale : public testing::Test {
protected:
    void SetUp() override
    {
        saved_ = std::setlocale(LC_ALL, nullptr);
        ASSERT_NE(std::setlocale(LC_ALL, CommaLocale), nullptr)
            << "the locale " << CommaLocale << " is missing: run scripts/install-deps.sh to generate it";
        ASSERT_EQ(std::string(std::localeconv()->decimal_point), ",");
    }
    void TearDown() override { std::setlocale(LC_ALL, saved_.c_str()); }

private:
    std::string saved_;
};

TEST_F(UnderCommaLocale, StationEditsUseAPoint)
{
    EXPECT_EQ(FormatGeneral(44.16L), "44.16");
    EXPECT_EQ(FormatGeneral(-0.5L), "-0.5");
    EXPECT_EQ(FormatGeneral(1e-7L), "1e-07");
    const Dms d = SplitDMS(12.3456789L);
    EXPECT_EQ(FormatGeneral(d.Degrees) + " " + FormatGeneral(d.Minutes) + " " + FormatGeneral(d.Seconds),
              "12 20 44.44404");
}

TEST_F(UnderCommaLocale, TableFiguresUseAPoint)
{
    EXPECT_EQ(FormatFixed(73.35L, 1), "73.4");
    EXPECT_EQ(FormatFixed(6671.94L, 1), "6671.9");
}

} // namespace
} // namespace orvela
