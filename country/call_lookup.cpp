#include "country/call_lookup.h"

#include <algorithm>
#include <vector>

namespace orvela::country {

bool ModifierSuffix(std::string_view part)
{
    static constexpr std::string_view modifiers[] = {"P",   "M",    "A",   "B",  "J",  "LH",
                                                     "QRP", "QRPP", "LGT", "AE", "AG", "KT"};
    return std::find(std::begin(modifiers), std::end(modifiers), part) != std::end(modifiers);
}

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

CallLookup Found(const CountryFile& file, const Alias& alias, std::string_view lookedUp)
{
    const Entity& e = file.Entities()[alias.Entity];
    const Overrides& o = alias.Over;
    CallEntity c;
    c.Entity = alias.Entity;
    c.Name = e.Name;
    c.PrimaryPrefix = e.PrimaryPrefix;
    c.WaeOnly = e.WaeOnly;
    c.CqZone = o.CqZone.value_or(e.CqZone);
    c.ItuZone = o.ItuZone.value_or(e.ItuZone);
    c.Continent = o.Continent.value_or(e.Continent);
    c.LatDeg = o.LatDeg.value_or(e.LatDeg);
    c.LonWestDeg = o.LonWestDeg.value_or(e.LonWestDeg);
    c.UtcOffsetHours = o.UtcOffsetHours.value_or(e.UtcOffsetHours);
    c.LookedUp = std::string(lookedUp);
    c.Matched = (alias.ExactCall ? "=" : "") + alias.Text;
    return CallLookup{std::move(c), {}};
}

CallLookup Refused(std::string problem)
{
    return CallLookup{std::nullopt, std::move(problem)};
}

// The entity of the longest prefix that begins `text`.
CallLookup ByPrefix(const CountryFile& file, const std::string& call, std::string_view text)
{
    if (const Alias* a = file.FindLongestPrefix(text)) {
        return Found(file, *a, text);
    }
    if (text == call) {
        return Refused("No DXCC entity for " + call + ": no prefix in the country file begins it");
    }
    return Refused("No DXCC entity for " + call + ": no prefix in the country file begins " + std::string(text));
}

} // namespace

CallLookup LookUpCall(const CountryFile& file, std::string_view callSign)
{
    while (!callSign.empty() && static_cast<unsigned char>(callSign.front()) <= ' ') {
        callSign.remove_prefix(1);
    }
    while (!callSign.empty() && static_cast<unsigned char>(callSign.back()) <= ' ') {
        callSign.remove_suffix(1);
    }
    if (callSign.empty()) {
        return Refused("No call sign was given");
    }
    std::string call;
    call.reserve(callSign.size());
    for (const char c : callSign) {
        if (c >= 'a' && c <= 'z') {
            call += static_cast<char>(c - 'a' + 'A');
        } else if ((c >= 'A' && c <= 'Z') || IsDigit(c) || c == '/') {
            call += c;
        } else {
            return Refused("A call sign holds only letters, digits and '/'");
        }
    }
    if (call.size() > MaxCallLength) {
        return Refused("A call sign has at most " + std::to_string(MaxCallLength) + " characters");
    }

    if (const Alias* a = file.FindExactCall(call)) {
        return Found(file, *a, call);
    }

    std::vector<std::string_view> parts;
    for (std::size_t at = 0;;) {
        const std::size_t slash = call.find('/', at);
        parts.push_back(std::string_view(call).substr(at, slash - at));
        if (parts.back().empty()) {
            return Refused(call + " is not a call sign: a '/' with nothing on one side");
        }
        if (slash == std::string::npos) {
            break;
        }
        at = slash + 1;
    }

    // The first part is a call sign or a prefix; of the others, those that
    // say how the station works are set aside.
    std::vector<std::string_view> kept{parts.front()};
    for (std::size_t i = 1; i < parts.size(); ++i) {
        if (parts[i] == "MM") {
            return Refused(call + " is maritime mobile: a station at sea has no DXCC entity");
        }
        if (parts[i] == "AM") {
            return Refused(call + " is aeronautical mobile: a station in the air has no DXCC entity");
        }
        if (!ModifierSuffix(parts[i])) {
            kept.push_back(parts[i]);
        }
    }

    if (kept.size() == 1) {
        if (kept.front().size() != call.size()) {
            if (const Alias* a = file.FindExactCall(kept.front())) {
                return Found(file, *a, kept.front());
            }
        }
        return ByPrefix(file, call, kept.front());
    }
    if (kept.size() > 2) {
        return Refused(call + " is not a call sign: more than one part besides the call sign and the ways of working");
    }
    if (kept[1].size() == 1 && IsDigit(kept[1].front())) {
        // The station moved to another call area: its area digit is the last
        // digit of its call sign.
        std::string moved(kept[0]);
        const std::size_t digit = moved.find_last_of("0123456789");
        if (digit == std::string::npos) {
            return Refused(call + " is not a call sign: " + std::string(kept[0]) + " has no call-area digit for " +
                           std::string(kept[1]) + " to replace");
        }
        moved[digit] = kept[1].front();
        if (const Alias* a = file.FindLongestPrefix(moved)) {
            return Found(file, *a, moved);
        }
        return Refused("No DXCC entity for " + call + ": no prefix in the country file begins " + moved);
    }
    const std::string_view prefix = kept[0].size() <= kept[1].size() ? kept[0] : kept[1];
    return ByPrefix(file, call, prefix);
}

} // namespace orvela::country
