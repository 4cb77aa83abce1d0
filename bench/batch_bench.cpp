// Cost of orvela-predict --batch: 10,000 lines read from memory, computed
// over every core and written as JSON to a stream that throws them away,
// through the same function the program runs.
#include "cli/batch.h"

#include <benchmark/benchmark.h>

#include <iostream>
#include <sstream>
#include <streambuf>
#include <string>

namespace {

using namespace orvela::cli;

// Counts what it is given and keeps nothing.
class Discard : public std::streambuf {
public:
    std::size_t Bytes = 0;

protected:
    int_type overflow(int_type c) override
    {
        ++Bytes;
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char*, std::streamsize n) override
    {
        Bytes += static_cast<std::size_t>(n);
        return n;
    }
};

// The path of BM_ComputeMUF (48.85 N 2.35 E to 40 N 74 W, dipole, signal
// level, 10 December), so that the batch's own costs, reading the lines and
// writing the tables, are what the comparison with it measures. Flux, power
// and call sign change from line to line.
std::string Lines(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += R"({"home": "48.85N,2.35E", "remote": "40N,74W", "antenna": "dipole", "date": "2026-12-10", "flux": )" +
                std::to_string(70 + i % 200) + R"(, "power": )" + std::to_string(50 + i % 100) + R"(, "call": "F)" +
                std::to_string(i) + "\"}\n";
    }
    return text;
}

void BM_Batch(benchmark::State& state)
{
    const std::string input = Lines(10000);
    BatchRequest request;
    request.File = "-";
    request.Format = OutputFormat::Json;
    request.Threads = 0; // every core
    const Now now{orvela::CivilDate{2026, 12, 10}, 12};
    // No line asks for the flux of its date: nothing is fetched.
    orvela::solar::ProductsSettings products;
    products.Get = [](const std::string&, const orvela::solar::FetchOptions&, orvela::solar::BodyReceiver, void*,
                      const orvela::solar::TransferCancel*) {
        return orvela::solar::TransferResult{orvela::solar::TransferEnd::Failed, "no download in the benchmark"};
    };
    DateFluxPicker noDownload(
        products, [](const std::string&) { return SolarReport{}; }, std::cerr);
    std::size_t written = 0;
    for (auto _ : state) {
        std::istringstream in(input);
        Discard sink;
        std::ostream out(&sink);
        const BatchResult r = RunBatch(in, out, request, now, noDownload);
        if (r.BadLine || r.ReadFailed || r.WriteFailed) {
            state.SkipWithError("the batch failed");
            break;
        }
        written += sink.Bytes;
    }
    state.SetBytesProcessed(static_cast<int64_t>(written));
}
BENCHMARK(BM_Batch)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
