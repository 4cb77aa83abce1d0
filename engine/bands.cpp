#include "engine/bands.h"

#include "engine/ionosphere_constants.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace orvela {

const std::vector<TableBand>& BandsOf(BandSet set)
{
    static const std::vector<TableBand> fixed = [] {
        std::vector<TableBand> bands;
        for (int n = 1; n <= BandCount; ++n) {
            bands.push_back({static_cast<ld>(2 * n), {}});
        }
        return bands;
    }();
    static const std::vector<TableBand> amateur{
        {3.6L, "80 m"},  {5.36L, "60 m"}, {7.1L, "40 m"},  {10.1L, "30 m"}, {14.1L, "20 m"},
        {18.1L, "17 m"}, {21.2L, "15 m"}, {24.9L, "12 m"}, {28.5L, "10 m"},
    };
    return set == BandSet::Amateur ? amateur : fixed;
}

std::optional<BandSet> SetOf(const std::vector<TableBand>& bands)
{
    for (BandSet set : {BandSet::Fixed, BandSet::Amateur}) {
        if (bands == BandsOf(set)) {
            return set;
        }
    }
    return std::nullopt;
}

int BandNearest(const std::vector<TableBand>& bands, ld mhz)
{
    int best = 1;
    for (std::size_t i = 0; i < bands.size(); ++i) {
        if (std::fabs(bands[i].Mhz - mhz) < std::fabs(bands[static_cast<std::size_t>(best - 1)].Mhz - mhz)) {
            best = static_cast<int>(i) + 1;
        }
    }
    return best;
}

std::string MhzText(ld mhz)
{
    // The shortest text that reads back as the same double: 7.1, 10.12.
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, static_cast<double>(mhz));
    return std::string(buf, r.ptr);
}

std::string BandLabel(const TableBand& band)
{
    if (band.Name.empty()) {
        return std::to_string(static_cast<int>(band.Mhz)) + " Mhz";
    }
    return band.Name + " " + MhzText(band.Mhz);
}

std::optional<TableBand> AmateurBandNamed(std::string_view name)
{
    // Digits, blanks allowed before the unit, then m or M.
    std::string digits;
    std::size_t i = 0;
    while (i < name.size() && std::isdigit(static_cast<unsigned char>(name[i]))) {
        digits += name[i++];
    }
    while (i < name.size() && name[i] == ' ') {
        ++i;
    }
    if (digits.empty() || i + 1 != name.size() || (name[i] != 'm' && name[i] != 'M')) {
        return std::nullopt;
    }
    for (const TableBand& band : BandsOf(BandSet::Amateur)) {
        if (band.Name == digits + " m") {
            return band;
        }
    }
    return std::nullopt;
}

std::string SMeterReading(ld dbm)
{
    constexpr ld S9Dbm = -73;
    constexpr ld DbPerUnit = 6;
    if (dbm > S9Dbm) {
        const long over = std::lround(static_cast<double>(dbm - S9Dbm));
        if (over > 0) {
            return "S9+" + std::to_string(over) + " dB";
        }
        return "S9";
    }
    const long units = std::lround(static_cast<double>(9 + (dbm - S9Dbm) / DbPerUnit));
    return "S" + std::to_string(units < 0 ? 0 : units);
}

std::string SMeterOfTableLevel(ld dbAboveSensitivity)
{
    return SMeterReading(dbAboveSensitivity + SensitivityDbm);
}

} // namespace orvela
