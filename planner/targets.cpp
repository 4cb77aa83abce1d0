#include "planner/targets.h"

#include "common/trimmed.h"
#include "country/call_lookup.h"
#include "station/locator.h"

#include <cctype>

namespace orvela::planner {

namespace {

char Upper(char c)
{
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

std::string UpperOf(std::string_view s)
{
    std::string u(s);
    for (char& c : u) {
        c = Upper(c);
    }
    return u;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view Trimmed(std::string_view s)
{
    return orvela::Trimmed(s, IsBlank);
}

Target LocatorTarget(std::string_view entry, const std::string& upper)
{
    Target t;
    t.Entry = std::string(entry);
    t.Kind = TargetKind::Locator;
    t.Resolved = true;
    t.Name = upper;
    const LocatorPoint centre = LocatorCentreWest(upper);
    t.LatDeg = static_cast<double>(centre.LatDeg);
    t.LonWestDeg = static_cast<double>(centre.LonWestDeg);
    return t;
}

// The entity's own values: its name, primary prefix, zones, continent and
// position, from the file's entity or from a call's resolved entity.
template <class E>
void TakeEntity(Target& t, const E& e)
{
    t.Resolved = true;
    t.Name = e.Name;
    t.Prefix = e.PrimaryPrefix;
    t.Continent = e.Continent;
    t.CqZone = e.CqZone;
    t.ItuZone = e.ItuZone;
    t.LatDeg = e.LatDeg;
    t.LonWestDeg = e.LonWestDeg;
}

} // namespace

std::vector<Target> EntityTargets(const country::CountryFile& file)
{
    std::vector<Target> targets;
    targets.reserve(file.Entities().size());
    for (const country::Entity& e : file.Entities()) {
        if (e.WaeOnly) {
            continue;
        }
        Target t;
        t.Entry = e.PrimaryPrefix;
        t.Kind = TargetKind::Entity;
        TakeEntity(t, e);
        targets.push_back(std::move(t));
    }
    return targets;
}

Target ResolveEntry(const country::CountryFile* file, std::string_view entry)
{
    entry = Trimmed(entry);
    const std::string upper = UpperOf(entry);
    if (IsLocator(upper)) {
        return LocatorTarget(entry, upper);
    }
    Target t;
    t.Entry = std::string(entry);
    t.Kind = TargetKind::CallSign;
    if (file == nullptr) {
        t.Problem = "no country file was read, so call signs and prefixes cannot be looked up";
        return t;
    }
    const country::CallLookup found = country::LookUpCall(*file, entry);
    if (!found.Found) {
        t.Problem = found.Problem;
        return t;
    }
    const country::CallEntity& e = *found.Found;
    // Typed as the very prefix the file lists, it is a prefix; anything
    // longer, or an exact call of the file, a call sign.
    if (e.Matched == upper && e.LookedUp == upper) {
        t.Kind = TargetKind::Prefix;
    }
    TakeEntity(t, e);
    return t;
}

std::vector<std::string> SplitEntries(std::string_view text)
{
    std::vector<std::string> entries;
    std::string current;
    bool comment = false;
    const auto flush = [&] {
        if (!current.empty()) {
            entries.push_back(std::move(current));
            current.clear();
        }
    };
    for (const char c : text) {
        if (c == '\n') {
            comment = false;
            flush();
        } else if (comment) {
            continue;
        } else if (c == '#') {
            comment = true;
            flush();
        } else if (c == ',' || c == ';' || IsBlank(c)) {
            flush();
        } else {
            current.push_back(c);
        }
    }
    flush();
    return entries;
}

std::vector<Target> EntryTargets(const country::CountryFile* file, const std::vector<std::string>& entries)
{
    std::vector<Target> targets;
    targets.reserve(entries.size());
    for (const std::string& e : entries) {
        targets.push_back(ResolveEntry(file, e));
    }
    return targets;
}

} // namespace orvela::planner
