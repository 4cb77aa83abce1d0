#include "cli/batch_line.h"

#include "cli/prediction_options.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <optional>
#include <vector>

namespace orvela::cli {

namespace {

using Json = nlohmann::ordered_json;

// The options that take a number also take its text.
bool TakesANumber(const std::string& key)
{
    return key == "flux" || key == "power" || key == "min-angle";
}

// A JSON number as the command line takes it, and as a refusal quotes it.
struct NumberText {
    std::string Read;  // plain digits, a point and a sign as needed
    std::string Shown; // the same, or its short scientific form when that is long
};

// Refusals quote a number in plain digits up to this length.
constexpr std::size_t LongestShown = 20;

// Integers are written in full. Other numbers are written in fixed
// notation with the fewest digits that read back as the same double
// ("120.5", not "120.50000000000001"; 1.2e2 is "120"), so that each
// option's own check judges the value: 1e308 is out of range for the
// flux, 1e-7 is no whole number of degrees. Such a text can run to a few
// hundred digits; a refusal shows those as "1e+308".
NumberText TextOf(const Json& v)
{
    if (v.is_number_unsigned()) {
        const std::string t = std::to_string(v.get<std::uint64_t>());
        return {t, t};
    }
    if (v.is_number_integer()) {
        const std::string t = std::to_string(v.get<std::int64_t>());
        return {t, t};
    }
    const double d = v.get<double>();
    // The longest fixed text of a double: a sign, "0." and 323 zeros before
    // 17 digits, or 309 digits before the point.
    char fixed[400];
    const auto f = std::to_chars(fixed, fixed + sizeof fixed, d, std::chars_format::fixed);
    char shortest[40];
    const auto s = std::to_chars(shortest, shortest + sizeof shortest, d);
    if (f.ec != std::errc{} || s.ec != std::errc{}) {
        // Not reached for a finite double; a text no check takes.
        return {"?", "?"};
    }
    NumberText t{std::string(fixed, f.ptr), std::string(shortest, s.ptr)};
    if (t.Read.size() <= LongestShown) {
        t.Shown = t.Read;
    }
    return t;
}

// The text of one of the JSON library's exceptions, without its
// "[json.exception...] ".
std::string LibraryText(const std::exception& e)
{
    const std::string what = e.what();
    const std::size_t close = what.find("] ");
    return close == std::string::npos ? what : what.substr(close + 2);
}

// The line parsed, with the first key it gives twice.
struct ParsedLine {
    Json Value;
    std::string Repeated;
};

std::optional<std::string> Parse(const std::string& text, ParsedLine& line)
{
    std::vector<std::string> keys;
    const Json::parser_callback_t noteKeys = [&](int depth, Json::parse_event_t event, Json& parsed) {
        if (depth == 1 && event == Json::parse_event_t::key && line.Repeated.empty()) {
            const std::string& key = parsed.get_ref<const std::string&>();
            if (std::find(keys.begin(), keys.end(), key) != keys.end()) {
                line.Repeated = key;
            }
            keys.push_back(key);
        }
        return true;
    };
    try {
        line.Value = Json::parse(text, noteKeys);
    } catch (const Json::parse_error& e) {
        return "not a JSON object: " + LibraryText(e);
    } catch (const Json::out_of_range& e) {
        // A number beyond the largest double, such as 1e309.
        return "a number is too large: " + LibraryText(e);
    }
    return std::nullopt;
}

CommandLine Read(const std::string& text)
{
    ParsedLine line;
    if (std::optional<std::string> why = Parse(text, line)) {
        return Refusal(*why);
    }
    const Json& j = line.Value;
    if (!j.is_object()) {
        return Refusal("not a JSON object of options");
    }
    if (!line.Repeated.empty()) {
        return Refusal(Quoted(line.Repeated) + " is given more than once");
    }
    std::vector<NamedValue> values;
    std::vector<NumberText> numbers;
    bool longPath = false;
    for (const auto& [given, value] : j.items()) {
        // The remote point's call sign is "remote_call" in a line, as JSON's
        // readers spell a key, and --remote-call on the command line.
        const std::string key = given == "remote_call" ? "remote-call" : given == "remote-call" ? "" : given;
        if (!IsPredictionOption(key)) {
            return Refusal("unknown key " + Quoted(given) +
                           "; the keys are home, remote, remote_call, flux, power, min-angle, long-path, antenna, "
                           "display, bands, date and call");
        }
        if (key == "long-path") {
            if (!value.is_boolean()) {
                return Refusal("\"long-path\": expected true or false");
            }
            longPath = value.get<bool>();
        } else if (value.is_string()) {
            values.push_back({key, value.get<std::string>()});
        } else if (value.is_number() && TakesANumber(key)) {
            numbers.push_back(TextOf(value));
            values.push_back({key, numbers.back().Read});
        } else {
            return Refusal(Quoted(given) +
                           (TakesANumber(key) ? ": expected a number or a string" : ": expected a string"));
        }
    }
    CommandLine cl = ParsePredictionOptions(values, longPath);
    if (cl.What == CommandLine::Action::Refuse) {
        // A refusal quotes the number it read; a long one as it is short.
        for (const NumberText& n : numbers) {
            const std::string read = Quoted(n.Read);
            const std::size_t at = cl.Error.find(read);
            if (n.Shown != n.Read && at != std::string::npos) {
                cl.Error.replace(at, read.size(), Quoted(n.Shown));
                break;
            }
        }
    }
    return cl;
}

} // namespace

CommandLine ReadBatchLine(const std::string& text)
{
    try {
        return Read(text);
    } catch (const Json::exception& e) {
        // Not expected past the parse; still this line's fault alone.
        return Refusal("the line cannot be read: " + LibraryText(e));
    }
}

} // namespace orvela::cli
