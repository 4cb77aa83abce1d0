// What a list of a plan's rows shows: their order and which of them.
#pragma once

#include "planner/plan.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvela::planner {

enum class SortKey { Continent, CqZone, Distance, Bearing, Name };

// The keys' names on the command line and in the settings: "continent",
// "cq", "distance", "bearing", "name"; index = SortKey.
inline constexpr std::array<std::string_view, 5> SortKeyNames{"continent", "cq", "distance", "bearing", "name"};
std::optional<SortKey> SortKeyNamed(std::string_view name);

struct RowFilter {
    // Kept when the target's name, prefix or entry contains it, letters
    // compared without regard to case; empty keeps all.
    std::string Search;
    // Kept when open at this UTC hour (0..23).
    std::optional<int> OpenAtHour;
};

// Whether a target matches a search text.
bool MatchesSearch(const Target& target, std::string_view search);

// The indices of the rows the filter keeps, ordered by the key (and then by
// name, then by entry). Locators, which have no continent or zone, come
// after the targets that have one; unresolved targets pass a search, never
// the "open" filter, and come last in every order.
std::vector<std::size_t> VisibleRows(const Plan& plan, SortKey key, const RowFilter& filter = {});

} // namespace orvela::planner
