#include "planner/targets.h"

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
    while (!s.empty() && IsBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && IsBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

bool Between(char c, char low, char high)
{
    return c >= low && c <= high;
}

// A field and square ("JN18"), with or without a sub-square ("JN18DU").
bool LooksLikeLocator(std::string_view upper)
{
    if (upper.size() != 4 && upper.size() != 6) {
        return false;
    }
    if (!Between(upper[0], 'A', 'R') || !Between(upper[1], 'A', 'R') || !Between(upper[2], '0', '9') ||
        !Between(upper[3], '0', '9')) {
        return false;
    }
    return upper.size() == 4 || (Between(upper[4], 'A', 'X') && Between(upper[5], 'A', 'X'));
}

Target LocatorTarget(std::string_view entry, const std::string& upper)
{
    Target t;
    t.Entry = std::string(entry);
    t.Kind = TargetKind::Locator;
    t.Resolved = true;
    t.Name = upper;
    // Locators count longitudes east; Orvela west.
    if (upper.size() == 6) {
        t.LatDeg = static_cast<double>(LocatorCentre(upper, "Lat"));
        t.LonWestDeg = -static_cast<double>(LocatorCentre(upper, "Long"));
    } else {
        t.LatDeg = static_cast<double>(SquareCentre(upper, "Lat"));
        t.LonWestDeg = -static_cast<double>(SquareCentre(upper, "Long"));
    }
    return t;
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
        t.Resolved = true;
        t.Name = e.Name;
        t.Prefix = e.PrimaryPrefix;
        t.Continent = e.Continent;
        t.CqZone = e.CqZone;
        t.ItuZone = e.ItuZone;
        t.LatDeg = e.LatDeg;
        t.LonWestDeg = e.LonWestDeg;
        targets.push_back(std::move(t));
    }
    return targets;
}

Target ResolveEntry(const country::CountryFile* file, std::string_view entry)
{
    entry = Trimmed(entry);
    const std::string upper = UpperOf(entry);
    if (LooksLikeLocator(upper)) {
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
    t.Resolved = true;
    t.Name = e.Name;
    t.Prefix = e.PrimaryPrefix;
    t.Continent = e.Continent;
    t.CqZone = e.CqZone;
    t.ItuZone = e.ItuZone;
    t.LatDeg = e.LatDeg;
    t.LonWestDeg = e.LonWestDeg;
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
