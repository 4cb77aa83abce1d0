// The DXCC entity a remote point was taken from, when it was given as a call
// sign or a prefix: what the outputs say about it.
#pragma once

#include <string>

namespace orvela::cli {

struct RemoteEntity {
    std::string Name;      // as the country file writes it
    std::string Prefix;    // the entity's primary prefix, without the WAE marker
    int CqZone = 0;        // after the matching alias's own zone, where it gives one
    int ItuZone = 0;       // likewise
    std::string Continent; // likewise: AF, AN, AS, EU, NA, OC or SA
};

// "Japan (JA), CQ zone 25, ITU zone 45, AS": the entity in one line.
inline std::string EntityLine(const RemoteEntity& e)
{
    return e.Name + " (" + e.Prefix + "), CQ zone " + std::to_string(e.CqZone) + ", ITU zone " +
           std::to_string(e.ItuZone) + ", " + e.Continent;
}

} // namespace orvela::cli
