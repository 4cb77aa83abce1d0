#include "program.h"

#include "whole_number.h"

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
    return "\"" + std::string(s) + "\"";
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
