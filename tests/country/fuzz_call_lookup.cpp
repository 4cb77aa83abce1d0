// libFuzzer target for looking call signs up: any text, against the
// fixture country file, gives an entity or one line saying why there is
// none, the same in capitals and in small letters. Never a crash.
#include "country/call_lookup.h"
#include "country/country_file.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace {

using namespace orvela::country;

std::optional<CountryFile> file;

void Check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "call lookup fuzz: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    CountryFileResult r = ReadCountryFile(ORVELA_COUNTRY_FIXTURE);
    if (!r.File) {
        std::fprintf(stderr, "call lookup fuzz: %s\n", r.Problem.c_str());
        std::abort();
    }
    file = std::move(r.File);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view call(reinterpret_cast<const char*>(data), size);
    const CallLookup r = LookUpCall(*file, call);

    Check(r.Found.has_value() == r.Problem.empty(), "no entity has a reason, an entity none");
    for (const char c : r.Problem) {
        Check(c >= ' ' && c <= '~', "the reason is one line of printable ASCII");
    }
    if (r.Found) {
        const CallEntity& e = *r.Found;
        Check(e.Entity < file->Entities().size(), "the entity is the file's");
        Check(e.Name == file->Entities()[e.Entity].Name, "the name is the entity's");
        Check(e.CqZone >= 1 && e.CqZone <= 40 && e.ItuZone >= 1 && e.ItuZone <= 90, "zones in range");
        Check(!e.LookedUp.empty() && !e.Matched.empty(), "what was looked up and what matched are given");
    }

    std::string small(call);
    for (char& c : small) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    const CallLookup s = LookUpCall(*file, small);
    Check(s.Problem == r.Problem, "small letters give the same reason");
    Check(s.Found.has_value() == r.Found.has_value() &&
              (!s.Found || (s.Found->Entity == r.Found->Entity && s.Found->CqZone == r.Found->CqZone &&
                            s.Found->Matched == r.Found->Matched)),
          "small letters give the same entity");
    return 0;
}
