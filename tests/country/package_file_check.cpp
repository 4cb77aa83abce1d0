// The real country file of the package hamradio-files, when it is
// installed: it reads without a refusal, holds the DXCC entities, and gives
// the expected entity for a few call signs of every kind. Exit status 77
// (skipped) without the file, 1 on a fault.
#include "country/call_lookup.h"
#include "country/country_file_location.h"

#include <cstdio>
#include <sys/stat.h>

int main()
{
    using namespace orvela::country;
    struct stat about {};
    if (::stat(PackageCountryFile, &about) != 0) {
        std::printf("%s is not installed: nothing to check\n", PackageCountryFile);
        return 77;
    }
    const CountryFileResult r = ReadCountryFile(PackageCountryFile);
    if (!r.File) {
        std::printf("%s\n", r.Problem.c_str());
        return 1;
    }
    int faults = 0;
    // About 340 DXCC entities and a few WAE-only ones.
    if (r.File->Entities().size() < 300 || r.File->Aliases().size() < 1000) {
        std::printf("only %zu entities and %zu aliases\n", r.File->Entities().size(), r.File->Aliases().size());
        ++faults;
    }
    const struct {
        const char* call;
        const char* prefix;
    } calls[] = {
        {"JA1ABC", "JA"},     {"W1ABC/6", "K"}, {"VE3XYZ/2", "VE"}, {"DL/W1ABC", "DL"},
        {"K1ABC/KH6", "KH6"}, {"F5ABC/P", "F"}, {"VK9XY", "VK9X"},  {"G4ABC/M", "G"},
    };
    for (const auto& c : calls) {
        const CallLookup found = LookUpCall(*r.File, c.call);
        if (!found.Found || found.Found->PrimaryPrefix != c.prefix) {
            std::printf("%s: expected %s, got %s\n", c.call, c.prefix,
                        found.Found ? found.Found->PrimaryPrefix.c_str() : found.Problem.c_str());
            ++faults;
        }
    }
    std::printf("%s: %zu entities, %zu aliases, version %s\n", PackageCountryFile, r.File->Entities().size(),
                r.File->Aliases().size(), r.File->Version().empty() ? "unknown" : r.File->Version().c_str());
    return faults == 0 ? 0 : 1;
}
