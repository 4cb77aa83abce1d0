// The options orvela-area and orvela-plan share with orvela-predict for the
// flux and the station: --flux (a number of sfu, or auto for the date's
// flux from NOAA's products), --flux-url, --service-url, --power,
// --min-angle and --antenna, each checked as orvela-predict checks it.
#pragma once

#include "cli/prediction_options.h"
#include "cli/program.h"
#include "cli/values.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvela::cli {

// Adds the options to `o`, in the order above. Request has the fields
// Station, Flux, FluxTyped, FluxAuto, FluxUrl and ServiceUrl.
template <class Request>
void AddFluxAndStationOptions(std::vector<ValueOption<Request>>& o)
{
    o.push_back({"--flux", "SFU", false, [](std::string_view text, Request& r) -> std::optional<std::string> {
                     if (text == "auto") {
                         r.FluxAuto = true;
                         return std::nullopt;
                     }
                     return StoreParsed<Request>(&ParseFlux, [](Request& q, ld v) {
                         q.Flux = v;
                         q.FluxTyped = true;
                     })(text, r);
                 }});
    o.push_back({"--flux-url", "URL", false,
                 StoreParsed<Request>(&ParseFluxUrl, [](Request& r, const std::string& url) { r.FluxUrl = url; })});
    o.push_back(
        {"--service-url", "URL", false,
         StoreParsed<Request>(&ParseServiceUrl, [](Request& r, const std::string& url) { r.ServiceUrl = url; })});
    o.push_back(
        {"--power", "DBW", false, StoreParsed<Request>(&ParsePower, [](Request& r, int v) { r.Station.Power = v; })});
    o.push_back({"--min-angle", "DEG", false,
                 StoreParsed<Request>(&ParseMinAngle, [](Request& r, int v) { r.Station.MinAngle = v; })});
    o.push_back({"--antenna", "TYPE", false, [](std::string_view text, Request& r) -> std::optional<std::string> {
                     const Parsed<int> v = ParseChoice(text, AntennaNames);
                     if (!v) {
                         return v.Error;
                     }
                     r.Station.GainTable = static_cast<Antenna>(*v.Value);
                     return std::nullopt;
                 }});
}

} // namespace orvela::cli
