#include "planner/plan_view.h"

#include "common/trimmed.h"

#include <algorithm>
#include <cctype>
#include <tuple>

namespace orvela::planner {

namespace {

char Lower(char c)
{
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool ContainsFolded(std::string_view text, std::string_view part)
{
    const auto it = std::search(text.begin(), text.end(), part.begin(), part.end(),
                                [](char a, char b) { return Lower(a) == Lower(b); });
    return it != text.end();
}

std::string_view Trimmed(std::string_view s)
{
    return orvela::Trimmed(s, [](char c) { return c == ' '; });
}

} // namespace

std::optional<SortKey> SortKeyNamed(std::string_view name)
{
    for (std::size_t i = 0; i < SortKeyNames.size(); ++i) {
        if (SortKeyNames[i] == name) {
            return static_cast<SortKey>(i);
        }
    }
    return std::nullopt;
}

bool MatchesSearch(const Target& target, std::string_view search)
{
    search = Trimmed(search);
    return search.empty() || ContainsFolded(target.Name, search) || ContainsFolded(target.Prefix, search) ||
           ContainsFolded(target.Entry, search);
}

std::vector<std::size_t> VisibleRows(const Plan& plan, SortKey key, const RowFilter& filter)
{
    std::vector<std::size_t> rows;
    for (std::size_t i = 0; i < plan.Targets.size(); ++i) {
        if (!MatchesSearch(plan.Targets[i], filter.Search)) {
            continue;
        }
        if (filter.OpenAtHour && !(plan.Targets[i].Resolved && OpenAt(plan.Rows[i], *filter.OpenAtHour))) {
            continue;
        }
        rows.push_back(i);
    }
    // The key first, then the name and the entry, so that equal keys keep
    // one order whatever the file's.
    const auto before = [&](std::size_t a, std::size_t b) {
        const Target& ta = plan.Targets[a];
        const Target& tb = plan.Targets[b];
        if (ta.Resolved != tb.Resolved) {
            return ta.Resolved;
        }
        const PlanRow& ra = plan.Rows[a];
        const PlanRow& rb = plan.Rows[b];
        const auto rest = [&] { return std::tie(ta.Name, ta.Entry) < std::tie(tb.Name, tb.Entry); };
        switch (key) {
        // A locator has no continent or zone: after those that have one.
        case SortKey::Continent:
            if (ta.Continent != tb.Continent) {
                return std::make_tuple(ta.Continent.empty(), ta.Continent) <
                       std::make_tuple(tb.Continent.empty(), tb.Continent);
            }
            break;
        case SortKey::CqZone:
            if (ta.CqZone != tb.CqZone) {
                return std::make_tuple(ta.CqZone == 0, ta.CqZone) < std::make_tuple(tb.CqZone == 0, tb.CqZone);
            }
            break;
        case SortKey::Distance:
            if (ra.DistanceKm != rb.DistanceKm) {
                return ra.DistanceKm < rb.DistanceKm;
            }
            break;
        case SortKey::Bearing:
            if (ra.BearingDeg != rb.BearingDeg) {
                return ra.BearingDeg < rb.BearingDeg;
            }
            break;
        case SortKey::Name: break;
        }
        return rest();
    };
    std::stable_sort(rows.begin(), rows.end(), before);
    return rows;
}

} // namespace orvela::planner
