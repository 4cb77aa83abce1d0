// What the project's command-line programs share: a value read from its text
// or the reason it was refused, options that take one value each and are
// checked by the program rather than by the parser library, one-line
// refusals, and writing the result to standard output. No engine and no map
// here, so that every program can use it.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace CLI {
class App;
class Option;
} // namespace CLI

namespace orvela::cli {

// A parsed value, or the reason the text was refused.
template <class T>
struct Parsed {
    std::optional<T> Value;
    std::string Error;

    static Parsed Ok(T v) { return Parsed{std::move(v), {}}; }
    static Parsed Fail(std::string why) { return Parsed{std::nullopt, std::move(why)}; }
    explicit operator bool() const { return Value.has_value(); }
};

// A whole number from `low` to `high`: decimal digits after an optional
// sign, no blank. `range` says what is accepted, e.g. "the power is 5 to
// 2500 dBW", and ends both refusals: "is not a whole number" for any other
// text, "is out of range" for a whole number outside the range, however
// many digits it has.
Parsed<int> ParseWholeInRange(std::string_view text, int low, int high, const std::string& range);

// The text in double quotes, for a refusal that names it. Control characters
// (C0, DEL and C1) and the characters that reorder text (bidirectional
// controls) are written as \xNN or \uNNNN, so that a refused value cannot
// send an escape to the terminal or turn the message around.
std::string Quoted(std::string_view s);

// Messages of the parser library can span lines; a refusal is one line:
// line ends become blanks and blanks at the end go.
std::string OneLine(std::string s);

// An option that takes one value. Every value is read as text and checked
// by Apply rather than by the parser library, so that each refusal can say
// what was expected. Apply stores the value into the request, or returns
// why the text was refused.
template <class Request>
struct ValueOption {
    using Store = std::function<std::optional<std::string>(std::string_view, Request&)>;

    const char* Name;
    const char* Kind; // placeholder shown by the parser library
    bool Required;
    Store Apply;
    std::vector<std::string> Given{};
};

// A store for a parser of one value and a setter of the request.
template <class Request, class T, class Set>
typename ValueOption<Request>::Store StoreParsed(Parsed<T> (*parse)(std::string_view), Set set)
{
    return [parse, set](std::string_view text, Request& req) -> std::optional<std::string> {
        Parsed<T> v = parse(text);
        if (!v) {
            return v.Error;
        }
        set(req, *v.Value);
        return std::nullopt;
    };
}

// Adds an option that takes exactly one value. It may be given more than
// once, so that ApplyValueOptions can refuse the repetition by name.
void AddValueOption(CLI::App& app, const char* name, const char* kind, std::vector<std::string>& given);

template <class Request>
void AddValueOptions(CLI::App& app, std::vector<ValueOption<Request>>& options)
{
    for (ValueOption<Request>& o : options) {
        AddValueOption(app, o.Name, o.Kind, o.Given);
    }
}

// What the parser library made of the arguments.
struct Arguments {
    enum class Outcome { Parsed, Help, Refused };
    Outcome What = Outcome::Parsed;
    std::string Error; // for Refused: the reason, not yet on one line
};

// What every program's command line is built on: --help as the help
// switch, options that take one value each, and switches. A switch takes no
// value in any of the programs: "--long-path=false" or "--no-sun=true" is
// refused by name ("--long-path takes no value"), so that a switch never
// means the opposite of what a reader of the line sees. Parse reports an unknown
// argument before any missing option, so that a mistyped option is named as
// such; help wins over anything else on the line.
class ArgumentParser {
public:
    explicit ArgumentParser(const char* program);
    ~ArgumentParser();
    ArgumentParser(const ArgumentParser&) = delete;
    ArgumentParser& operator=(const ArgumentParser&) = delete;

    template <class Request>
    void Add(std::vector<ValueOption<Request>>& options)
    {
        AddValueOptions(*app_, options);
    }
    // A switch, set when given; given with a value ("--no-sun=no") it is
    // refused by name.
    void AddSwitch(const char* name, bool& set);

    Arguments Parse(int argc, const char* const argv[]);

private:
    std::unique_ptr<CLI::App> app_;
    struct Switch {
        std::string Name;
        const CLI::Option* Given;
        bool* Set;
    };
    std::vector<Switch> switches_;
};

// A program's refusal: its command line with the Refuse action and the
// reason on one line.
template <class CommandLine>
CommandLine Refused(std::string why)
{
    CommandLine cl;
    cl.What = CommandLine::Action::Refuse;
    cl.Error = OneLine(std::move(why));
    return cl;
}

// The command line when parsing ends the matter: help was asked for, or the
// arguments were refused. Nothing when they were parsed and the program
// goes on to read the values.
template <class CommandLine>
std::optional<CommandLine> HelpOrRefusal(const Arguments& args)
{
    if (args.What == Arguments::Outcome::Help) {
        CommandLine cl;
        cl.What = CommandLine::Action::Help;
        return cl;
    }
    if (args.What == Arguments::Outcome::Refused) {
        return Refused<CommandLine>(args.Error);
    }
    return std::nullopt;
}

// Stores the value of every option given, in the order of `options`; the
// reason for the first option that is required and missing, given more than
// once, or refused.
template <class Request>
std::optional<std::string> ApplyValueOptions(std::vector<ValueOption<Request>>& options, Request& req)
{
    for (ValueOption<Request>& o : options) {
        if (o.Given.empty()) {
            if (o.Required) {
                return std::string(o.Name) + " is required (see --help)";
            }
            continue;
        }
        if (o.Given.size() > 1) {
            return std::string(o.Name) + " is given more than once";
        }
        if (std::optional<std::string> why = o.Apply(o.Given.front(), req)) {
            return std::string(o.Name) + ": " + *why;
        }
    }
    return std::nullopt;
}

// Writes the text to standard output. When it cannot be written (a full
// disc, a closed pipe), says so on standard error and gives the exit
// status 1; otherwise 0.
int WriteOutput(const char* program, const std::string& text);

// Says why the run was refused or failed on standard error, "program: why"
// on one line (line ends become blanks), and gives the exit status 2.
int ReportRefusal(const char* program, std::string why);

// What a program does when its command line ends the matter: the help on
// standard output, or the refusal on standard error. Gives the exit status,
// or nothing when the program goes on with its run.
template <class CommandLine>
std::optional<int> AnswerHelpOrRefusal(const char* program, const CommandLine& cl, std::string (*helpText)())
{
    if (cl.What == CommandLine::Action::Help) {
        return WriteOutput(program, helpText());
    }
    if (cl.What == CommandLine::Action::Refuse) {
        return ReportRefusal(program, cl.Error);
    }
    return std::nullopt;
}

// Why a run that was accepted could not be done (a file that cannot be
// read or written, pictures that do not fit): reported as a refusal.
struct Failure {
    std::string Why;
};

} // namespace orvela::cli
