// Bulletins for the tests: the real ones kept in fixtures/, and made-up
// ones in the same layout.
#pragma once

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

namespace orvela::solar::testing {

// A fixture file, byte for byte.
inline std::string Fixture(const std::string& name)
{
    std::ifstream in(std::string(ORVELA_SOLAR_FIXTURES) + "/" + name, std::ios::binary);
    if (!in)
        throw std::runtime_error("missing fixture " + name);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The real bulletins kept in fixtures/, with what they say.
struct RealBulletin {
    const char* file;
    const char* issued;
    int flux;
};
inline constexpr RealBulletin RealBulletins[] = {
    {"2025-03-14.txt", "2025 Mar 14 1205 UTC", 175},
    {"2025-08-16.txt", "2025 Aug 16 0605 UTC", 123},
    {"2026-08-20.txt", "2026 Aug 20 0305 UTC", 126},
};

// Today's layout, with the flux line's number as given.
inline std::string Bulletin(const std::string& flux = "122", const std::string& issued = "2026 Dec 10 0305 UTC")
{
    return ":Product: Geophysical Alert Message wwv.txt\n"
           ":Issued: " +
           issued +
           "\n"
           "# Prepared by the US Dept. of Commerce, NOAA, Space Weather Prediction Center\n"
           "#\n"
           "#          Geophysical Alert Message\n"
           "#\n"
           "Solar-terrestrial indices for 09 December follow.\n"
           "Solar flux " +
           flux +
           " and estimated planetary A-index 5.\n"
           "The estimated planetary K-index at 0300 UTC on 10 December was 1.33.\n"
           "\n"
           "No space weather storms were observed for the past 24 hours.\n";
}

// text followed by filler lines (no phrase of the bulletin in them) up to size bytes.
inline std::string PadTo(std::string text, std::size_t size)
{
    static const std::string filler = "No space weather storms are predicted for the next 24 hours.\n";
    while (text.size() < size)
        text += filler.substr(0, size - text.size());
    if (text.size() > size)
        throw std::logic_error("PadTo: text longer than the size");
    return text;
}

} // namespace orvela::solar::testing
