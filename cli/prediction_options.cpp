#include "cli/prediction_options.h"

#include "station/call_sign.h"

#include <algorithm>

namespace orvela::cli {

namespace {

// Index = OutputFormat.
constexpr std::array<std::string_view, 3> FormatNames{"text", "csv", "json"};

// The long names of the options of one prediction, without their dashes.
constexpr std::array<std::string_view, 12> PredictionOptionNames{"home",    "remote",    "remote-call", "flux",
                                                                 "power",   "min-angle", "long-path",   "antenna",
                                                                 "display", "bands",     "date",        "call"};

using Apply = RequestOption::Store;

template <std::size_t N, class Store>
Apply Choice(const std::array<std::string_view, N>& names, Store store)
{
    return [&names, store](std::string_view text, Request& req) -> std::optional<std::string> {
        const Parsed<int> v = ParseChoice(text, names);
        if (!v) {
            return v.Error;
        }
        store(req, *v.Value);
        return std::nullopt;
    };
}

template <class T, class Set>
Apply Checked(Parsed<T> (*parse)(std::string_view), Set set)
{
    return StoreParsed<Request>(parse, set);
}

} // namespace

std::vector<RequestOption> RequestOptions()
{
    std::vector<RequestOption> o;
    o.push_back({"--home", "POS", true, Checked(&ParsePositionOrLocator, [](Request& r, const GeoPosition& p) {
                     r.Station.Latitude = p.LatDeg;
                     r.Station.Longitude = p.LonWestDeg;
                 })});
    o.push_back({"--remote", "POS", true,
                 Checked(&ParsePositionOrLocator, [](Request& r, const GeoPosition& p) { r.Remote = p; })});
    // A call sign or prefix: looked up in the country file once the options
    // are read, so only what no call sign holds is refused here.
    o.push_back({"--remote-call", "CALL", false, [](std::string_view text, Request& r) -> std::optional<std::string> {
                     const std::size_t begin = text.find_first_not_of(' ');
                     if (begin == std::string_view::npos) {
                         return std::string("expected a call sign or a prefix, JA1ABC or JA");
                     }
                     if (std::optional<std::string> why = CallSignProblem(text)) {
                         return why;
                     }
                     r.RemoteCall = std::string(text);
                     return std::nullopt;
                 }});
    o.push_back({"--flux", "SFU", false, [](std::string_view text, Request& r) -> std::optional<std::string> {
                     if (text == "auto") {
                         r.FluxAuto = true;
                         return std::nullopt;
                     }
                     return Checked(&ParseFlux, [](Request& q, ld v) {
                         q.Flux = v;
                         q.FluxTyped = true;
                     })(text, r);
                 }});
    o.push_back({"--flux-url", "URL", false,
                 Checked(&ParseFluxUrl, [](Request& r, const std::string& url) { r.FluxUrl = url; })});
    o.push_back({"--service-url", "URL", false,
                 Checked(&ParseServiceUrl, [](Request& r, const std::string& url) { r.ServiceUrl = url; })});
    o.push_back({"--power", "DBW", false, Checked(&ParsePower, [](Request& r, int v) { r.Station.Power = v; })});
    o.push_back(
        {"--min-angle", "DEG", false, Checked(&ParseMinAngle, [](Request& r, int v) { r.Station.MinAngle = v; })});
    o.push_back({"--antenna", "TYPE", false,
                 Choice(AntennaNames, [](Request& r, int i) { r.Station.GainTable = static_cast<Antenna>(i); })});
    o.push_back({"--display", "WHAT", false, Choice(DisplayNames, [](Request& r, int i) {
                     r.Station.Display = static_cast<DisplayFormat>(i + 1);
                 })});
    o.push_back(
        {"--bands", "SET", false, Choice(BandSetNames, [](Request& r, int i) { r.Bands = static_cast<BandSet>(i); })});
    o.push_back(
        {"--date", "YYYY-MM-DD", false, Checked(&ParseDate, [](Request& r, const CivilDate& d) { r.Date = d; })});
    // The call sign goes into the first header strip of every output: no
    // control character may ride along into a terminal.
    o.push_back({"--call", "CALLSIGN", false, [](std::string_view text, Request& r) -> std::optional<std::string> {
                     if (std::optional<std::string> why = CallSignProblem(text)) {
                         return why;
                     }
                     r.Station.CallSign = std::string(text);
                     return std::nullopt;
                 }});
    o.push_back({"--country-file", "FILE", false, [](std::string_view text, Request& r) -> std::optional<std::string> {
                     if (text.empty()) {
                         return std::string("expected the path of a country file, cty.dat");
                     }
                     r.CountryFile = std::string(text);
                     return std::nullopt;
                 }});
    o.push_back({"--format", "FORMAT", false,
                 Choice(FormatNames, [](Request& r, int i) { r.Format = static_cast<OutputFormat>(i); })});
    return o;
}

bool IsPredictionOption(std::string_view name)
{
    return std::find(PredictionOptionNames.begin(), PredictionOptionNames.end(), name) != PredictionOptionNames.end();
}

bool IsPredictionOptionName(std::string_view dashed)
{
    return dashed.substr(0, 2) == "--" && IsPredictionOption(dashed.substr(2));
}

CommandLine Refusal(std::string why)
{
    return Refused<CommandLine>(std::move(why));
}

CommandLine SingleRun(std::vector<RequestOption>& options, bool longPath)
{
    CommandLine cl;
    cl.What = CommandLine::Action::Predict;
    cl.Req.Station.Path = longPath;
    // The remote point is a position or a call sign, one of them required.
    const auto named = [&](std::string_view name) {
        return std::find_if(options.begin(), options.end(), [&](const RequestOption& o) { return o.Name == name; });
    };
    const auto remote = named("--remote");
    const auto remoteCall = named("--remote-call");
    if (remote != options.end() && remoteCall != options.end() && !remoteCall->Given.empty()) {
        if (!remote->Given.empty()) {
            return Refusal("--remote and --remote-call both give the remote point: give one of them");
        }
        remote->Required = false;
    }
    if (std::optional<std::string> why = ApplyValueOptions(options, cl.Req)) {
        return Refusal(*why);
    }
    if (!cl.Req.FluxUrl.empty() && !cl.Req.FluxAuto) {
        return Refusal("--flux-url is only used with --flux auto");
    }
    if (!cl.Req.ServiceUrl.empty() && !cl.Req.FluxAuto) {
        return Refusal("--service-url is only used with --flux auto");
    }
    if (!cl.Req.CountryFile.empty() && cl.Req.RemoteCall.empty()) {
        return Refusal("--country-file is only used with --remote-call");
    }
    return cl;
}

CommandLine ParsePredictionOptions(const std::vector<NamedValue>& values, bool longPath)
{
    std::vector<RequestOption> options = RequestOptions();
    for (const NamedValue& v : values) {
        const auto o = std::find_if(options.begin(), options.end(), [&](const RequestOption& x) {
            return IsPredictionOptionName(x.Name) && std::string_view(x.Name).substr(2) == v.Name;
        });
        if (o == options.end()) {
            return Refusal("unknown option " + Quoted(v.Name));
        }
        o->Given.push_back(v.Text);
    }
    return SingleRun(options, longPath);
}

} // namespace orvela::cli
