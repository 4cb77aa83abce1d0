// libFuzzer target for the country file's reader: any text is either read
// whole, into entities and aliases that keep the reader's promises, or
// refused with one line that names the line at fault. Never a crash.
#include "country/call_lookup.h"
#include "country/country_file.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using namespace orvela::country;

void Check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "country file fuzz: %s\n", what);
        std::abort();
    }
}

bool CallText(const std::string& s)
{
    if (s.empty() || s.size() > MaxAliasLength) {
        return false;
    }
    for (const char c : s) {
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '/')) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const CountryFileResult r = ParseCountryFile(text);

    Check(r.File.has_value() == r.Problem.empty(), "a refusal has a reason, a file read whole none");
    Check(r.Problem.find('\n') == std::string::npos, "the reason is one line");
    Check(r.Line >= 0, "a line number is not negative");
    if (r.Line > 0) {
        Check(r.Problem.starts_with("line " + std::to_string(r.Line) + ": "), "the reason names its line");
    }
    if (!r.File) {
        return 0;
    }
    const CountryFile& f = *r.File;
    Check(!f.Entities().empty(), "a file read holds an entity");
    for (const Entity& e : f.Entities()) {
        Check(!e.Name.empty() && e.CqZone >= 1 && e.CqZone <= 40 && e.ItuZone >= 1 && e.ItuZone <= 90,
              "an entity has a name and zones in range");
        Check(e.LatDeg >= -90 && e.LatDeg <= 90 && e.LonWestDeg >= -180 && e.LonWestDeg <= 180,
              "an entity's position is on the globe");
        Check(e.Continent.size() == 2 && !e.PrimaryPrefix.empty() && e.PrimaryPrefix.front() != '*',
              "an entity has a continent and a prefix without the WAE marker");
        LookUpCall(f, e.PrimaryPrefix);
    }
    for (const Alias& a : f.Aliases()) {
        Check(a.Entity < f.Entities().size(), "an alias belongs to an entity");
        Check(CallText(a.Text), "an alias is capitals, digits and '/'");
        Check(a.Over.LatDeg.has_value() == a.Over.LonWestDeg.has_value(), "a position override has both values");
        // Every alias is found: itself, or the one listed before it.
        const Alias* found = a.ExactCall ? f.FindExactCall(a.Text) : f.FindLongestPrefix(a.Text);
        Check(found != nullptr && found->Text == a.Text && found->ExactCall == a.ExactCall, "every alias is found");
    }
    return 0;
}
