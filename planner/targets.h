// The places a plan is made for: every DXCC entity of the country file, or
// the user's own entries (call signs, prefixes, locators), each resolved to
// a position. An entry that resolves to nothing is kept, with the reason,
// so that the user sees it and can mend it.
#pragma once

#include "country/country_file.h"

#include <string>
#include <string_view>
#include <vector>

namespace orvela::planner {

// What an entry was read as.
enum class TargetKind {
    Entity,   // an entity of the country file, taken whole
    CallSign, // a call sign, looked up as a contest logger does
    Prefix,   // a prefix alone ("VK9X", "JA")
    Locator,  // a Maidenhead locator of 4 or 6 characters ("JN18", "JN18DU")
};

struct Target {
    std::string Entry; // as the user wrote it (blanks trimmed), or the entity's primary prefix
    TargetKind Kind = TargetKind::Entity;
    bool Resolved = false;
    std::string Problem; // one line, why the entry has no position; empty when resolved

    // For an entity, a call sign or a prefix: the entity's name and primary
    // prefix (without the WAE marker), and the zones, continent and position
    // after the matching alias's overrides. For a locator: the locator in
    // capitals as the name, no prefix, no zones or continent, and the centre
    // of its square or sub-square.
    std::string Name;
    std::string Prefix;
    std::string Continent; // two capital letters, empty for a locator
    int CqZone = 0;        // 0 when unknown
    int ItuZone = 0;       // 0 when unknown
    double LatDeg = 0;     // positive north
    double LonWestDeg = 0; // positive west
    friend bool operator==(const Target&, const Target&) = default;
};

// Every DXCC entity of the file, in the file's order. The entities that
// count only on the WAE list are left out: they are parts of a DXCC entity
// that is listed too.
std::vector<Target> EntityTargets(const country::CountryFile& file);

// One entry: a locator when it has the form of one (two letters A to R, two
// digits, and optionally two letters A to X, in either case), else a call
// sign or prefix looked up in `file`. Without a file (none could be read)
// only locators resolve, and a call sign says why.
Target ResolveEntry(const country::CountryFile* file, std::string_view entry);

// Entries separated by commas, blanks or line ends, as a user types or a
// file lists them; empty ones are passed over, and so is the rest of a line
// after '#'.
std::vector<std::string> SplitEntries(std::string_view text);

// ResolveEntry for each entry, in order.
std::vector<Target> EntryTargets(const country::CountryFile* file, const std::vector<std::string>& entries);

} // namespace orvela::planner
