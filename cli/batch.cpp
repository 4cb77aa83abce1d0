#include "cli/batch.h"

#include "cli/batch_line.h"
#include "cli/remote_call.h"
#include "engine/hour.h"
#include "engine/table_export.h"
#include "common/worker_threads.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <istream>
#include <limits>
#include <mutex>
#include <optional>
#include <ostream>
#include <thread>
#include <vector>

namespace orvela::cli {

namespace {

using Json = nlohmann::ordered_json;

// Lines a chunk holds for each thread: enough that the threads seldom wait
// for each other at the end of a chunk, few enough that the outputs held
// until they are written stay small.
constexpr std::size_t LinesPerThread = 64;

std::string ErrorOutput(std::size_t line, const std::string& why, OutputFormat format)
{
    if (format == OutputFormat::Csv) {
        return std::to_string(line) + ",error," + CsvField(why) + "\n";
    }
    // A message that quotes the line's bytes may hold some that are not
    // UTF-8: they become U+FFFD rather than stop the output.
    return Json{{"line", line}, {"error", why}}.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n";
}

std::string PredictionOutput(std::size_t line, const Prediction& p, const RunInput& in, const SolarReport* solar,
                             const FluxOrigin& flux, const RemoteEntity* entity, OutputFormat format)
{
    const std::string number = std::to_string(line);
    const Reach reach = ReachOf(in, p);
    if (format == OutputFormat::Csv) {
        std::string out;
        for (int r = 0; r < TableRows; ++r) {
            out += number;
            out += ',';
            out += std::to_string(r);
            for (const Cell& c : p.Cells[r]) {
                out += ',';
                out += CsvField(c.Text);
            }
            out += '\n';
        }
        // The remote point's entity, when a call sign gave it, in a record
        // of its own: N,entity,name,prefix,cq,itu,continent.
        if (entity != nullptr) {
            out += number + ",entity," + CsvField(entity->Name) + "," + CsvField(entity->Prefix) + "," +
                   std::to_string(entity->CqZone) + "," + std::to_string(entity->ItuZone) + "," +
                   CsvField(entity->Continent) + "\n";
        }
        // A run that reaches no receiver says why in a record of its own,
        // as a bad line does.
        if (!reach.Reaches) {
            out += number + ",empty," + CsvField(reach.Reason) + "\n";
        }
        // A flux chosen for the line's date: the flux, its source and the
        // product's issue date (empty where it has none).
        if (flux.Auto) {
            out += number + ",flux," + FormatFixed(flux.Sfu, 1) + "," + solar::FluxSourceName(flux.Source) + "," +
                   (flux.Issued ? IsoDate(*flux.Issued) : std::string()) + "\n";
        }
        return out;
    }
    // The single run's object with the line number put first.
    const std::string object = RenderJson(p, in, reach, solar, &flux, entity);
    return "{\"line\":" + number + "," + object.substr(1);
}

// One input line and what it gives.
struct Job {
    std::size_t Line = 0;
    std::string Text;
    bool TooLong = false;
    std::string Out;
    bool Bad = false;
};

// What every line of a batch shares.
class Batch {
public:
    Batch(const BatchRequest& request, const Now& now, DateFluxPicker& flux)
        : request_(request)
        , now_(now)
        , flux_(flux)
        , countryFile_(request.CountryFile)
    {
    }

    // Whatever a line holds, it ends with its own output: the batch goes on
    // with the next line.
    void Run(Job& job, Workspace& ws)
    {
        job.Bad = false;
        try {
            Predict(job, ws);
        } catch (const std::exception& e) {
            Refuse(job, std::string("the line could not be computed: ") + e.what());
        }
    }

private:
    void Predict(Job& job, Workspace& ws)
    {
        if (job.TooLong) {
            Refuse(job, "the line is longer than " + std::to_string(MaxBatchLineBytes) + " bytes");
            return;
        }
        CommandLine cl = ReadBatchLine(job.Text);
        if (cl.What != CommandLine::Action::Predict) {
            Refuse(job, cl.Error);
            return;
        }
        if (std::optional<std::string> why = ResolveRemoteCall(cl.Req, countryFile_)) {
            Refuse(job, *why);
            return;
        }
        RunInput in = MakeRunInput(cl.Req, now_);
        FluxOrigin flux = GivenFlux(in.Flux, cl.Req.FluxTyped);
        const SolarReport* solar = nullptr;
        if (cl.Req.FluxAuto) {
            const DateFlux chosen = flux_.Pick(in.LocalDate, now_.LocalDate);
            flux = chosen.Origin;
            solar = chosen.Bulletin;
            in.Flux = flux.Sfu;
        }
        Prediction p;
        ComputeMUF(in, ws, p);
        const RemoteEntity* entity = cl.Req.RemoteEntityFound ? &*cl.Req.RemoteEntityFound : nullptr;
        job.Out = PredictionOutput(job.Line, p, in, solar, flux, entity, request_.Format);
    }

    void Refuse(Job& job, const std::string& why)
    {
        job.Bad = true;
        job.Out = ErrorOutput(job.Line, why, request_.Format);
    }

    const BatchRequest& request_;
    const Now now_;
    DateFluxPicker& flux_;
    // Read the first time a line gives a call sign.
    CountryFileSource countryFile_;
};

enum class LineRead { Line, TooLong, End };

// The next line of `in` into `text`, without its line end (LF or CR LF).
// A line longer than `buffer` can hold is skipped to its end, not stored.
LineRead ReadLine(std::istream& in, std::vector<char>& buffer, std::string& text)
{
    in.getline(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    const std::size_t taken = static_cast<std::size_t>(in.gcount());
    if (in.bad()) {
        return LineRead::End;
    }
    if (in.fail()) {
        if (taken == 0) {
            return LineRead::End; // nothing left
        }
        // The buffer filled before the line ended.
        in.clear();
        in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
        return in.bad() ? LineRead::End : LineRead::TooLong;
    }
    // gcount counts the line end when one was read.
    std::size_t length = in.eof() ? taken : taken - 1;
    if (length > 0 && buffer[length - 1] == '\r') {
        --length;
    }
    if (length > MaxBatchLineBytes) {
        return LineRead::TooLong;
    }
    text.assign(buffer.data(), length);
    return LineRead::Line;
}

bool IsBlank(const std::string& s)
{
    return s.find_first_not_of(" \t\r\f\v") == std::string::npos;
}

} // namespace

BatchResult RunBatch(std::istream& in, std::ostream& out, const BatchRequest& request, const Now& now,
                     DateFluxPicker& flux)
{
    const unsigned threads = WorkerThreads(request.Threads);
    const std::size_t chunk = LinesPerThread * threads;

    BatchResult result;
    Batch batch(request, now, flux);
    std::vector<Job> jobs(chunk);                    // reused from chunk to chunk
    std::vector<char> buffer(MaxBatchLineBytes + 2); // the line, a CR and the terminating NUL
    std::string text;
    std::size_t line = 0;
    bool more = true;
    while (more) {
        std::size_t count = 0;
        while (count < chunk) {
            const LineRead r = ReadLine(in, buffer, text);
            if (r == LineRead::End) {
                more = false;
                break;
            }
            ++line;
            if (r == LineRead::Line && IsBlank(text)) {
                continue; // a blank line gives no output
            }
            Job& job = jobs[count++];
            job.Line = line;
            job.TooLong = r == LineRead::TooLong;
            if (!job.TooLong) {
                job.Text.swap(text);
            }
        }
        ParallelFor(count, threads, [&](std::size_t i, Workspace& ws) { batch.Run(jobs[i], ws); });
        for (std::size_t i = 0; i < count; ++i) {
            out.write(jobs[i].Out.data(), static_cast<std::streamsize>(jobs[i].Out.size()));
            result.BadLine = result.BadLine || jobs[i].Bad;
        }
        out.flush();
        if (!out) {
            result.WriteFailed = true;
            return result;
        }
    }
    result.ReadFailed = in.bad();
    return result;
}

} // namespace orvela::cli
