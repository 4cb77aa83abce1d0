// orvela-predict: one prediction run from the command line.
#include "command_line.h"
#include "render.h"

#include <cstdio>
#include <ctime>
#include <iostream>
#include <unistd.h>

namespace {

orvela::cli::Now ReadClock()
{
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    std::tm utc{};
    localtime_r(&t, &local);
    gmtime_r(&t, &utc);
    orvela::cli::Now now;
    now.LocalDate = orvela::CivilDate{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
    now.UtcHour = utc.tm_hour;
    return now;
}

} // namespace

int main(int argc, char* argv[])
{
    using namespace orvela;
    using namespace orvela::cli;

    const CommandLine cl = ParseCommandLine(argc, argv);
    if (cl.What == CommandLine::Action::Help) {
        std::cout << HelpText() << std::flush;
        return std::cout ? 0 : 1;
    }
    if (cl.What == CommandLine::Action::Refuse) {
        std::cerr << "orvela-predict: " << cl.Error << std::endl;
        return 2;
    }

    const RunInput in = MakeRunInput(cl.Req, ReadClock());
    Workspace ws;
    Prediction p;
    ComputeMUF(in, ws, p);

    std::string out;
    switch (cl.Req.Format) {
    case OutputFormat::Text:
        out = RenderText(p, isatty(STDOUT_FILENO) == 1);
        break;
    case OutputFormat::Csv:
        out = RenderCsv(p);
        break;
    case OutputFormat::Json:
        out = RenderJson(p);
        break;
    }
    std::cout << out << std::flush;
    if (!std::cout) {
        std::cerr << "orvela-predict: cannot write the output" << std::endl;
        return 1;
    }
    return 0;
}
