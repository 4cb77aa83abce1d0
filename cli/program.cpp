#include "cli/program.h"

#include "common/utf8.h"
#include "common/whole_number.h"

#include <CLI/CLI.hpp>

#include <iostream>

namespace orvela::cli {

Parsed<int> ParseWholeInRange(std::string_view text, int low, int high, const std::string& range)
{
    std::string_view digits = text;
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) {
        digits.remove_prefix(1);
    }
    if (!IsDigits(digits)) {
        return Parsed<int>::Fail(Quoted(text) + " is not a whole number; " + range);
    }
    // Too many digits for an int are out of range too.
    const std::optional<int> v = ParseWholeNumber(text);
    if (!v || *v < low || *v > high) {
        return Parsed<int>::Fail(Quoted(text) + " is out of range: " + range);
    }
    return Parsed<int>::Ok(*v);
}

std::string Quoted(std::string_view s)
{
    const auto hex = [](unsigned value, int digits) {
        std::string text(static_cast<std::size_t>(digits), '0');
        for (int i = digits - 1; i >= 0; --i, value >>= 4) {
            text[static_cast<std::size_t>(i)] = "0123456789ABCDEF"[value & 0xF];
        }
        return text;
    };
    // The C1 controls U+0080 to U+009F, and the bidirectional controls
    // U+061C, U+200E, U+200F, U+202A to U+202E and U+2066 to U+2069.
    const auto wide = [](char32_t c) {
        return (c >= 0x80 && c <= 0x9F) || c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
               (c >= 0x2066 && c <= 0x2069);
    };
    std::string out = "\"";
    for (std::size_t i = 0; i < s.size();) {
        const Utf8Char c = DecodeUtf8(s, i);
        if (c.Length == 0) {
            out += s[i++]; // a byte that is not UTF-8, kept as it is
            continue;
        }
        if (c.Code < 0x20 || c.Code == 0x7F) {
            out += "\\x" + hex(static_cast<unsigned>(c.Code), 2);
        } else if (wide(c.Code)) {
            out += "\\u" + hex(static_cast<unsigned>(c.Code), 4);
        } else {
            out.append(s.substr(i, c.Length));
        }
        i += c.Length;
    }
    return out + "\"";
}

std::string OneLine(std::string s)
{
    for (char& c : s) {
        if (c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    while (!s.empty() && s.back() == ' ') {
        s.pop_back();
    }
    return s;
}

void AddValueOption(CLI::App& app, const char* name, const char* kind, std::vector<std::string>& given)
{
    app.add_option(name, given)
        ->type_name(kind)
        ->expected(1)
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
}

namespace {

// The arguments (argv[0] is the program) as the parser library reads them.
// Unknown arguments are allowed there (allow_extras) and reported here.
Arguments ParseArguments(CLI::App& app, int argc, const char* const argv[])
{
    Arguments a;
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        a.What = Arguments::Outcome::Help;
        return a;
    } catch (const CLI::ParseError& e) {
        a.What = Arguments::Outcome::Refused;
        a.Error = std::string(e.what()) + " (see --help)";
        return a;
    }
    const std::vector<std::string> extras = app.remaining();
    if (!extras.empty()) {
        const std::string& first = extras.front();
        a.What = Arguments::Outcome::Refused;
        a.Error = first.size() > 1 && first[0] == '-'
                      ? "unknown option " + first.substr(0, first.find('=')) + " (see --help)"
                      : "unexpected argument \"" + first + "\" (see --help)";
    }
    return a;
}

} // namespace

ArgumentParser::ArgumentParser(const char* program)
    : app_(std::make_unique<CLI::App>("", program))
{
    app_->set_help_flag("--help");
    app_->allow_extras(); // reported by ParseArguments
}

ArgumentParser::~ArgumentParser() = default;

void ArgumentParser::AddSwitch(const char* name, bool& set)
{
    // Read by Parse rather than by the library, which would take a value
    // after "=" for the switch's own.
    switches_.push_back({name, app_->add_flag(name), &set});
}

Arguments ArgumentParser::Parse(int argc, const char* const argv[])
{
    Arguments a = ParseArguments(*app_, argc, argv);
    if (a.What == Arguments::Outcome::Help) {
        return a;
    }
    // A value given to a switch is refused, "--no-sun=true" as much as
    // "--long-path=false", up to the "--" that ends the options.
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--") {
            break;
        }
        for (const Switch& s : switches_) {
            if (arg.size() > s.Name.size() && arg.starts_with(s.Name) && arg[s.Name.size()] == '=') {
                a.What = Arguments::Outcome::Refused;
                a.Error = s.Name + " takes no value (see --help)";
                return a;
            }
        }
    }
    for (const Switch& s : switches_) {
        *s.Set = s.Given->count() > 0;
    }
    return a;
}

int WriteOutput(const char* program, const std::string& text)
{
    std::cout << text << std::flush;
    if (!std::cout) {
        std::cerr << program << ": cannot write the output" << std::endl;
        return 1;
    }
    return 0;
}

int ReportRefusal(const char* program, std::string why)
{
    for (char& c : why) {
        if (c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    std::cerr << program << ": " << why << std::endl;
    return 2;
}

} // namespace orvela::cli
