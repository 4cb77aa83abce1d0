// The table's rows as a list of frequencies: the fixed fifteen, one band
// alone, the amateur bands.
#include "engine/bands.h"
#include "engine/hour.h"
#include "engine/prediction.h"
#include "tests/engine/run_inputs.h"
#include "tests/support/test_paths.h"

#include <gtest/gtest.h>

namespace {

using namespace orvela;

void ExpectSameCell(const Cell& a, const Cell& b, const std::string& where)
{
    EXPECT_TRUE(a.Text == b.Text && a.Bg == b.Bg && a.Fg == b.Fg && a.Bold == b.Bold)
        << where << ": \"" << a.Text << "\" against \"" << b.Text << "\"";
}

// The fixed list given explicitly is the default run, and a list holding
// 14 MHz alone gives the standard run's 14 MHz row, in the lowest band row,
// with every other band row empty, in each display format; the hours and the
// rows under the bands do not change.
TEST(TableBands, ARunTakesItsRowsFrequencies)
{
    Workspace ws;
    int compared = 0;
    for (const auto& [base, what] : orvela_test::VariedInputs()) {
        if (base.Station.Display == DisplayFormat::BestFrequency) {
            continue;
        }
        SCOPED_TRACE(what);
        Prediction standard, listed, alone;
        ComputeMUF(base, ws, standard);
        RunInput in = base;
        in.Bands = BandsOf(BandSet::Fixed);
        ComputeMUF(in, ws, listed);
        in.Bands = {{14, {}}};
        ComputeMUF(in, ws, alone);
        for (int r = 0; r < TableRows; ++r) {
            for (int c = 0; c < TableCols; ++c) {
                const std::string where = std::to_string(r) + "," + std::to_string(c);
                ExpectSameCell(listed.At(c, r), standard.At(c, r), where);
                if (r == BandRow(1)) {
                    ExpectSameCell(alone.At(c, r), standard.At(c, BandRow(7)), where);
                } else if (r < RowUtc) {
                    ASSERT_TRUE(alone.At(c, r).Text.empty()) << where;
                } else {
                    ExpectSameCell(alone.At(c, r), standard.At(c, r), where);
                }
            }
        }
        EXPECT_EQ(alone.At(0, BandRow(1)).Text, "14 Mhz");
        ++compared;
    }
    EXPECT_GT(compared, 50);
}

// With the amateur bands, rows are labelled by band and frequency, the best
// band is named, and one band's cell is that band alone at the same hour.
TEST(TableBands, TheAmateurBandsAreNamedAndBestIsABand)
{
    RunInput in = orvela_test::PathInput(orvela_test::Paris, orvela_test::NewYork);
    in.Flux = 120;
    in.Bands = BandsOf(BandSet::Amateur);
    Workspace ws;
    Prediction p;
    ComputeMUF(in, ws, p);
    EXPECT_EQ(p.At(0, 14).Text, "80 m 3.6");
    EXPECT_EQ(p.At(0, 12).Text, "40 m 7.1");
    EXPECT_EQ(p.At(0, 11).Text, "30 m 10.1");
    EXPECT_EQ(p.At(0, 6).Text, "10 m 28.5");
    for (int r = 0; r < 6; ++r) {
        for (int c = 0; c < TableCols; ++c) {
            EXPECT_TRUE(p.At(c, r).Text.empty()) << r << "," << c;
        }
    }
    // 20 m at 14h, band by band.
    const BandResult twenty = ComputeBand(in, 14, 5, ws);
    EXPECT_EQ(twenty.Text, p.At(15, BandRow(5)).Text);

    in.Station.Display = DisplayFormat::BestFrequency;
    ComputeMUF(in, ws, p);
    int named = 0;
    for (int c = 1; c < TableCols; ++c) {
        const std::string& best = p.At(c, RowBestFreq).Text;
        if (!best.empty()) {
            EXPECT_TRUE(AmateurBandNamed(best).has_value()) << best;
            ++named;
        }
    }
    EXPECT_GT(named, 12);
}

TEST(TableBands, NamesAndSets)
{
    EXPECT_EQ(SetOf(BandsOf(BandSet::Fixed)), BandSet::Fixed);
    EXPECT_EQ(SetOf(BandsOf(BandSet::Amateur)), BandSet::Amateur);
    EXPECT_EQ(SetOf({{14, {}}}), std::nullopt);
    for (const char* name : {"20m", "20 m", "20M", "20  m"}) {
        ASSERT_TRUE(AmateurBandNamed(name).has_value()) << name;
        EXPECT_EQ(AmateurBandNamed(name)->Mhz, 14.1L);
    }
    for (const char* name : {"160m", "20", "m", "20 mm", " 20m", "2Om", ""}) {
        EXPECT_FALSE(AmateurBandNamed(name).has_value()) << name;
    }
}

} // namespace
