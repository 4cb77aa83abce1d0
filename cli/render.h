// The three ways orvela-predict writes a prediction: aligned text as the
// window shows it, one CSV line per table row, and a JSON object for other
// programs.
#pragma once

#include "engine/prediction.h"
#include "engine/reach.h"
#include "cli/remote_entity.h"
#include "solar/flux_for_date.h"

#include <optional>

#include <string>

namespace orvela::cli {

// What --flux auto found: the bulletin's issue text and flux, or why the
// download failed.
struct SolarReport {
    bool Ok = false;
    std::string Issued;
    int Flux = 0;
    ld FluxUsed = 0; // the bulletin's flux within 1..500, or 100 after a failure
    std::string Error;
    std::string Url;
};

// The flux a run used and where it came from.
struct FluxOrigin {
    ld Sfu = DefaultFlux;
    solar::FluxSource Source = solar::FluxSource::Default;
    std::optional<solar::Date> Issued;
    std::string Described; // "NOAA 27-day outlook issued 7 Dec 2026", "typed", "default"
    bool Auto = false;     // chosen for the date by --flux auto
};

// A flux typed on the command line or in a batch line, or the default one
// when none was given.
FluxOrigin GivenFlux(ld sfu, bool typed);

// "Solar flux 135.0: NOAA 27-day outlook issued 7 Dec 2026", the status
// line of a flux chosen for its date.
std::string FluxStatusLine(const FluxOrigin& flux);

// The "flux" object of the JSON outputs: {"sfu": 148.0, "source": "outlook",
// "issued": "2026-12-07"}, "issued" null where the source has no issue date.
std::string FluxJson(const FluxOrigin& flux);

// "#RRGGBB", upper-case hex.
std::string HexColor(Rgb c);

// Header strips, a blank line, the table (labels left-aligned, hour columns
// right-aligned in one width), a blank line, the reason when no cell reached
// the receiver, and the status texts. With `ansi`, each cell is painted in
// its colours with 24-bit ANSI escapes. With a solar report, a last line
// gives the bulletin's issue text and the flux the run used; with a flux
// chosen for its date by another product, its status line (FluxStatusLine).
// With the remote point's entity, a last line "Remote point: " and the entity.
std::string RenderText(const Prediction& p, const Reach& reach, bool ansi, const SolarReport* solar = nullptr,
                       const FluxOrigin* flux = nullptr, const RemoteEntity* entity = nullptr);

// The 19 table rows, 25 fields each, LF line ends. A field holding a comma,
// a double quote, a blank or a line break is quoted, quotes doubled. With the
// remote point's entity, a line "# Remote point: " and the entity after the
// table. When no cell reached the receiver, a line "# " and the reason; with
// a flux chosen for its date, a last line "# " and its status line.
std::string RenderCsv(const Prediction& p, const Reach& reach = {}, const FluxOrigin* flux = nullptr,
                      const RemoteEntity* entity = nullptr);

// One JSON object (see the --help text for its keys), ending in a line break.
// "reaches" tells whether a cell reached the receiver, and when none did,
// "empty_reason" says why. "home" and "remote" are the run's positions, each
// {"lat_deg", "lon_deg"}, latitude positive north and longitude positive
// west, as doubles written to round-trip. With a solar report, also
// "solar": {"issued", "flux", "url"} or {"error", "url"}. With a flux
// origin, last "flux" (FluxJson). With the remote point's entity, "remote"
// also holds "entity": {"name", "prefix", "cq", "itu", "continent"}.
std::string RenderJson(const Prediction& p, const RunInput& in, const Reach& reach, const SolarReport* solar = nullptr,
                       const FluxOrigin* flux = nullptr, const RemoteEntity* entity = nullptr);

} // namespace orvela::cli
