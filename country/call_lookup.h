// The DXCC entity of a call sign, as contest loggers find it in the country
// file:
//
// 1. the whole call sign, in capitals, as one of the file's exact calls
//    ("=3D2AG/P" is on Rotuma, where 3D2AG is in Fiji);
// 2. the parts after the first '/' that only say how the station works are
//    set aside: /P, /M, /A, /B, /J, /LH, /QRP and the like (ModifierSuffix);
//    /MM and /AM (at sea, in the air) have no entity, and the call sign is
//    refused with that reason;
// 3. what is left is one call sign, looked up again as an exact call and
//    then by the longest prefix of the file that begins it; or a call sign
//    and one digit (W1ABC/6, VE3XYZ/2), which moves the station to that call
//    area: the call's last digit becomes the new one (W6ABC, VE2XYZ) and the
//    longest prefix of that is taken; or two parts (DL/W1ABC, K1ABC/VP9),
//    of which the shorter (the first when both are as long) is the prefix
//    the station works under, and its longest prefix in the file is taken.
//
// Letters are compared without regard to case; blanks around the call sign
// are passed over.
#pragma once

#include "country/country_file.h"

#include <optional>
#include <string>
#include <string_view>

namespace orvela::country {

// The longest call sign looked up; a longer text is refused.
inline constexpr std::size_t MaxCallLength = 32;

// True for a part after '/' that says how a station works and not where:
// P, M, A, B and J (portable, mobile, alternative address, beacon,
// jamboree), LH (lighthouse), QRP, QRPP, LGT, and the US licence upgrades
// AE, AG and KT. Capitals. Some of them are prefixes too (M of England, LH of
// Norway): after a call sign they are taken as the way of working.
bool ModifierSuffix(std::string_view part);

// What a call sign resolves to: its entity, with the values of the alias
// that matched in place of the entity's where the alias gives its own.
struct CallEntity {
    std::uint32_t Entity = 0;  // index into CountryFile::Entities()
    std::string Name;          // the entity's name
    std::string PrimaryPrefix; // the entity's, without the WAE marker
    bool WaeOnly = false;
    int CqZone = 0;
    int ItuZone = 0;
    std::string Continent;
    double LatDeg = 0;
    double LonWestDeg = 0;
    double UtcOffsetHours = 0;
    std::string LookedUp; // what was looked up: "W6ABC" for W1ABC/6, "DL" for DL/W1ABC
    std::string Matched;  // the alias that matched: "W" or, for an exact call, "=3D2AG/P"
};

struct CallLookup {
    std::optional<CallEntity> Found;
    std::string Problem; // one line, why there is no entity; empty when found
};

CallLookup LookUpCall(const CountryFile& file, std::string_view callSign);

} // namespace orvela::country
