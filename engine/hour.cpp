#include "engine/hour.h"

#include "engine/ionosphere.h"
#include "engine/run_steps.h"
#include "common/worker_threads.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace orvela {

void ComputeHour(const RunInput& in, int utcHour, Workspace& ws, Prediction& out)
{
    PathPlan plan;
    PreparePath(in, ws, plan);
    // The column as a run finds it after clearing the table: whatever an
    // earlier prediction left there must not show through a cell that this
    // hour leaves empty.
    const int col = utcHour + 1;
    for (int r = 0; r < TableRows; ++r) {
        out.At(col, r).Text.clear();
    }
    WriteHourColumn(plan, ws, in.Station.Display, utcHour, in.Bands, out);
    ColorHourColumn(out, col, HighlightedHour(in), in.CaptionColor);
}

namespace {

// The cell of one band once the hour has begun. Within an hour a band
// depends on the hour's modes alone, not on the bands evaluated before it,
// so the other fourteen are left out.
BandResult BandCell(const PathPlan& plan, Workspace& ws, ld frq)
{
    const int idx = Pathloss(ws, plan.BaseHops, frq);

    BandResult r;
    if (idx > 0) {
        const std::uint8_t flags = ws.HopFlags[idx];
        r.HasPath = true;
        r.Text = ResultCellText(ws.SigLevel[idx] - SensitivityDbm, flags, idx);
        // The number as written, read back from the text.
        std::from_chars(r.Text.data(), r.Text.data() + r.Text.size(), r.LevelDb);
        r.Letter = DayNightLetter(flags);
        r.Hops = idx;
        r.Marker = CellMarker(flags);
    }
    ResultCellColors(r.Text, r.Bg, r.Fg);
    return r;
}

} // namespace

BandResult ComputeBand(const RunInput& in, int utcHour, int band, Workspace& ws)
{
    PathPlan plan;
    PreparePath(in, ws, plan);
    BeginHour(plan, ws, utcHour);
    return BandCell(plan, ws, in.Bands[static_cast<std::size_t>(band - 1)].Mhz);
}

void ComputeBandDay(const RunInput& in, int band, Workspace& ws, std::array<BandResult, HoursPerDay>& day)
{
    PathPlan plan;
    PreparePath(in, ws, plan);
    // Every per-hour entry is written anew, so each hour depends on the
    // plan and the hour alone, as in a full run; the modes that cannot carry
    // the band are left out of the hour's work.
    const ld frq = in.Bands[static_cast<std::size_t>(band - 1)].Mhz;
    for (int h = 0; h < HoursPerDay; ++h) {
        BeginBandHour(plan, ws, h, frq);
        day[static_cast<std::size_t>(h)] = BandCell(plan, ws, frq);
    }
}

PathSummary ComputeBandsDay(const RunInput& in, Workspace& ws, std::vector<std::array<BandResult, HoursPerDay>>& days)
{
    PathPlan plan;
    PreparePath(in, ws, plan);
    days.resize(in.Bands.size());
    for (int h = 0; h < HoursPerDay; ++h) {
        if (in.Bands.size() == 1) {
            // One band alone: the modes that cannot carry it are left out.
            BeginBandHour(plan, ws, h, in.Bands.front().Mhz);
        } else {
            BeginHour(plan, ws, h);
        }
        for (std::size_t b = 0; b < in.Bands.size(); ++b) {
            days[b][static_cast<std::size_t>(h)] = BandCell(plan, ws, in.Bands[b].Mhz);
        }
    }
    return plan.Summary;
}

void ParallelFor(std::size_t count, unsigned threads, const std::function<void(std::size_t, Workspace&)>& work)
{
    if (count == 0) {
        return;
    }
    threads = static_cast<unsigned>(std::min<std::size_t>(WorkerThreads(threads), count));

    std::atomic<std::size_t> next{0};
    std::atomic<bool> failed{false};
    std::exception_ptr error;
    std::mutex errorLock;
    const auto fail = [&](std::exception_ptr e) {
        const std::lock_guard<std::mutex> lock(errorLock);
        if (!error) {
            error = std::move(e);
        }
        failed = true;
    };
    // After a failure no further item is started; those under way finish.
    const auto worker = [&] {
        try {
            Workspace ws;
            while (!failed) {
                const std::size_t i = next.fetch_add(1, std::memory_order_relaxed);
                if (i >= count) {
                    break;
                }
                work(i, ws);
            }
        } catch (...) {
            fail(std::current_exception());
        }
    };

    // The calling thread is one of the workers.
    std::vector<std::thread> pool;
    pool.reserve(threads - 1);
    try {
        for (unsigned t = 1; t < threads; ++t) {
            pool.emplace_back(worker);
        }
    } catch (...) {
        fail(std::current_exception()); // no thread to be had: stop those started
    }
    worker();
    for (std::thread& t : pool) {
        t.join();
    }
    if (error) {
        std::rethrow_exception(error);
    }
}

} // namespace orvela
