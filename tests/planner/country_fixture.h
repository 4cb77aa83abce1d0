// The small country file of tests/country/fixtures, read once for the
// planner's tests.
#pragma once

#include "country/country_file.h"

#include <string>

namespace orvela_test {

inline const orvela::country::CountryFile& SmallCountryFile()
{
    static const orvela::country::CountryFileResult file =
        orvela::country::ReadCountryFile(std::string(ORVELA_COUNTRY_FIXTURES) + "/cty-small.dat");
    return *file.File;
}

} // namespace orvela_test
