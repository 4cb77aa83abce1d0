// Timings of the main window, on Qt's offscreen platform:
// - BM_DisplayFormatClick: a click in the display format group until the
//   table has been repainted (the prediction run included);
// - BM_StartUp: the main window's construction (settings read, flux, map,
//   first prediction) until it has been shown and painted; with a flux that
//   is at hand, and with the flux downloaded from a server on loopback;
// - BM_CoverageFirstPicture: the coverage window opened from the table (14
//   MHz, 2-degree grid) until its first colours are painted, with the time to
//   the whole day and the longest the user-interface thread went unanswered
//   meanwhile as counters;
// - BM_CoverageSliderRedraw: the hour slider moved once the day is in,
//   until the map is painted again;
// - BM_PlannerWholeTable: the planner opened on every DXCC entity of
//   Debian's country file, all bands, until the whole table is in, with the
//   longest the user-interface thread went unanswered meanwhile;
// - BM_DateChangeWithProductAtHand: a new date chosen whose product this run
//   has already read, until its flux is shown and the table repainted.
#include "app/coverage_window.h"
#include "app/planner_window.h"
#include "app/prediction_date.h"
#include "common/whole_file.h"
#include "tests/support/http_test_server.h"
#include "app/network_solar_flux.h"
#include "app/splash.h"
#include "app/system_services.h"
#include "app/tpropform.h"
#include "tests/app/window_probe.h"
#include "app/ui_tpropform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QDateEdit>
#include <QSlider>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include <chrono>
#include <ctime>
#include <functional>

#include <benchmark/benchmark.h>

namespace {

using namespace orvela::app;

class SilentMessages : public MessageBoxes {
public:
    void Show(QWidget*, MessageIcon, const QString&, const QString&, const QString&) override {}
};
class NowClock : public Clock {
public:
    std::time_t Now() const override { return std::time(nullptr); }
};
class FixedFlux : public SolarFluxSource {
public:
    SolarFlux GetSolarFlux() override { return {true, "2026 Dec 10 0305 UTC", 122}; }
    QString ServiceAddress() const override { return {}; }
    QString FileAddress() const override { return {}; }
};
class NoDialogs : public DialogRunner {
public:
    int Exec(QDialog&) override { return 0; }
};

struct Fixture {
    QTemporaryDir dir;
    SilentMessages messages;
    NowClock clock;
    FixedFlux flux;
    NoDialogs dialogs;
    CompiledMapPictures pictures;
    Services services;
    Fixture()
    {
        services.Messages = &messages;
        services.TimeSource = &clock;
        services.SettingsFile = dir.filePath(QStringLiteral("ORVELA.reg")).toStdString();
        services.Flux = &flux;
        services.Dialogs = &dialogs;
        services.Pictures = &pictures;
        services.BuildStr = "Build bench";
    }
};

void BM_DisplayFormatClick(benchmark::State& state)
{
    Fixture f;
    TPROPForm form(f.services);
    form.show();
    QApplication::processEvents();
    Ui::TPROPForm& ui = Probe(form).Widgets();
    ui.DESTLong->setValue(74);
    ui.DESTLat->setValue(40);
    bool flip = false;
    for (auto _ : state) {
        (flip ? ui.DisplayItem0 : ui.DisplayItem1)->click();
        ui.MUFGrid->viewport()->repaint();
        flip = !flip;
    }
}
BENCHMARK(BM_DisplayFormatClick)->Unit(benchmark::kMillisecond);

// Construction to shown and painted; closing is not timed.
void MeasureStartUp(benchmark::State& state, const Services& services)
{
    for (auto _ : state) {
        TPROPForm form(services);
        form.show();
        form.repaint();
        state.PauseTiming();
        form.close();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

void BM_StartUp(benchmark::State& state)
{
    Fixture f;
    MeasureStartUp(state, f.services);
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond);

// The same, with the flux downloaded from a server answering on loopback.
void BM_StartUpWithLoopbackFlux(benchmark::State& state)
{
    using namespace orvela::solar::testing;
    HttpTestServer server(Reply(200, ":Product: Geophysical Alert Message wwv.txt\n"
                                     ":Issued: 2026 Dec 10 0305 UTC\n"
                                     "Solar flux 122 and estimated planetary A-index 5.\n"));
    NetworkSolarFlux flux(server.Url("/text/wwv.txt"));
    Fixture f;
    f.services.Flux = &flux;
    MeasureStartUp(state, f.services);
}
BENCHMARK(BM_StartUpWithLoopbackFlux)->Unit(benchmark::kMillisecond);

// The program's own start: the download starts with the splash, whose two
// seconds are waited here with the event loop running; the time measured
// runs from the end of the splash to the window shown and painted. The
// server answers after 1.5 s, within the splash.
void BM_StartUpAfterSplashWithSlowServer(benchmark::State& state)
{
    using namespace orvela::solar::testing;
    HttpTestServer server([](const HttpRequest&, HttpConnection& c) {
        if (c.Pause(std::chrono::milliseconds(1500))) {
            c.Send(Head(200) + "\r\n:Product: Geophysical Alert Message wwv.txt\n"
                               ":Issued: 2026 Dec 10 0305 UTC\n"
                               "Solar flux 122 and estimated planetary A-index 5.\n");
        }
    });
    Fixture f;
    for (auto _ : state) {
        NetworkSolarFlux flux(server.Url("/text/wwv.txt"));
        f.services.Flux = &flux;
        flux.Start();
        QEventLoop splash;
        QTimer::singleShot(TSplashForm::ShowMs, &splash, &QEventLoop::quit);
        splash.exec();
        const auto start = std::chrono::steady_clock::now();
        TPROPForm form(f.services);
        form.show();
        form.repaint();
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        form.close();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_StartUpAfterSplashWithSlowServer)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

// A form at Paris on a transatlantic path, shown, for the coverage
// benchmarks: the home station of BM_AreaDay.
struct CoverageFixture : Fixture {
    TPROPForm form{services};
    CoverageFixture()
    {
        Probe(form).Station().Latitude = 48.85L;
        Probe(form).Station().Longitude = -2.35L;
        Probe(form).Station().GainTable = orvela::Antenna::Dipole;
        form.show();
        Probe(form).Widgets().DESTLong->setValue(74);
        Probe(form).Widgets().DESTLat->setValue(40);
        QApplication::processEvents();
    }
};

void BM_CoverageFirstPicture(benchmark::State& state)
{
    CoverageFixture f;
    double toDay = 0;
    double longestStall = 0;
    double opening = 0;
    for (auto _ : state) {
        delete Probe(f.form).Coverage();
        QElapsedTimer clock;
        clock.start();
        Probe(f.form).OpenCoverage(7, 12);
        CoverageWindow* w = Probe(f.form).Coverage();
        opening += static_cast<double>(clock.nsecsElapsed()) / 1e6;
        // A tick every millisecond: the gap between two is how long the
        // thread was kept from its events. The ticks also end the waits,
        // which run the event loop as the program does, idle in between.
        qint64 last = clock.nsecsElapsed();
        qint64 stall = 0;
        QEventLoop loop;
        std::function<bool()> until;
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, [&] {
            const qint64 now = clock.nsecsElapsed();
            stall = std::max(stall, now - last);
            last = now;
            if (until()) {
                loop.quit();
            }
        });
        tick.start(1);
        until = [w] { return w->Day() != nullptr; };
        loop.exec();
        w->MapView()->repaint();
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
        until = [w] { return w->Final() && !w->Computing(); };
        loop.exec();
        toDay += static_cast<double>(clock.nsecsElapsed()) / 1e6;
        longestStall = std::max(longestStall, static_cast<double>(stall) / 1e6);
    }
    state.counters["whole_day_ms"] = toDay / static_cast<double>(state.iterations());
    state.counters["longest_stall_ms"] = longestStall;
    state.counters["opening_ms"] = opening / static_cast<double>(state.iterations());
}
BENCHMARK(BM_CoverageFirstPicture)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

void BM_CoverageSliderRedraw(benchmark::State& state)
{
    CoverageFixture f;
    Probe(f.form).OpenCoverage(7, 12);
    CoverageWindow* w = Probe(f.form).Coverage();
    while (!w->Final() || w->Computing()) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    int hour = 12;
    for (auto _ : state) {
        hour = (hour + 1) % 24;
        w->HourSlider()->setValue(hour);
        w->MapView()->repaint();
    }
}
BENCHMARK(BM_CoverageSliderRedraw)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// Dates 10 and 11 days ahead, both in the 27-day outlook, chosen in turn:
// the outlook is fetched once from a server on loopback before the timing,
// so each change is the flux looked up on the worker, shown, and the table
// run and repainted.
void BM_DateChangeWithProductAtHand(benchmark::State& state)
{
    using namespace orvela::solar::testing;
    const std::string outlook =
        orvela::ReadWholeFile(std::string(ORVELA_PRODUCT_FIXTURES) + "/27-day-outlook.txt").Bytes;
    HttpTestServer server(Reply(200, outlook));
    QTemporaryDir cache;
    orvela::solar::ProductsSettings products;
    products.BulletinUrl = server.Url("/text/wwv.txt");
    products.ServiceUrl = server.Origin();
    products.Get = orvela::solar::LinkedTransport();
    products.CacheFolder = cache.path().toStdString();
    Fixture f;
    f.services.FluxProducts = products;
    TPROPForm form(f.services);
    form.show();
    QApplication::processEvents();
    PredictionDate& date = Probe(form).Date();
    const QDate today = date.DateEdit().date();
    auto choose = [&](const QDate& d) {
        bool shown = false;
        QEventLoop loop;
        const QMetaObject::Connection c = QObject::connect(&date, &PredictionDate::FluxShown, [&] {
            shown = true;
            loop.quit();
        });
        date.DateEdit().setDate(d);
        if (!shown) {
            loop.exec();
        }
        QObject::disconnect(c);
        Probe(form).Widgets().MUFGrid->viewport()->repaint();
    };
    choose(today.addDays(12));
    int ahead = 10;
    for (auto _ : state) {
        choose(today.addDays(ahead));
        ahead = ahead == 10 ? 11 : 10;
    }
    state.counters["flux"] = Probe(form).Widgets().FLXSpin->value();
}
BENCHMARK(BM_DateChangeWithProductAtHand)->Unit(benchmark::kMillisecond);

// The processor time the calling thread has used.
qint64 ThreadBusyNs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<qint64>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

// The planner from Paris over every entity of the country file the program
// would read, on all bands: from the window opened to the whole table in,
// with the longest stall of the user-interface thread (a tick every
// millisecond, as for the coverage window) as a counter.
void BM_PlannerWholeTable(benchmark::State& state)
{
    LocatedCountryFile countries;
    QString problem;
    if (countries.Get(problem) == nullptr) {
        state.SkipWithError(problem.toStdString().c_str());
        return;
    }
    Fixture f;
    f.services.Countries = &countries;
    TPROPForm form(f.services);
    Probe(form).Station().Latitude = 48.85L;
    Probe(form).Station().Longitude = -2.35L;
    form.show();
    QApplication::processEvents();
    double longestStall = 0;
    double longestStallBusy = 0;
    for (auto _ : state) {
        delete Probe(form).Planner();
        QElapsedTimer clock;
        clock.start();
        Probe(form).OpenPlanner();
        PlannerWindow* w = Probe(form).Planner();
        qint64 last = clock.nsecsElapsed();
        qint64 lastBusy = ThreadBusyNs();
        qint64 stall = 0;
        qint64 stallBusy = 0;
        QEventLoop loop;
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, [&] {
            const qint64 now = clock.nsecsElapsed();
            const qint64 busy = ThreadBusyNs();
            if (now - last > stall) {
                stall = now - last;
                stallBusy = busy - lastBusy;
            }
            last = now;
            lastBusy = busy;
            if (w->Plan() != nullptr && !w->Computing()) {
                loop.quit();
            }
        });
        tick.start(1);
        loop.exec();
        w->Table()->viewport()->repaint();
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
        if (static_cast<double>(stall) / 1e6 > longestStall) {
            longestStall = static_cast<double>(stall) / 1e6;
            longestStallBusy = static_cast<double>(stallBusy) / 1e6;
        }
    }
    state.counters["longest_stall_ms"] = longestStall;
    // How much of that stall the window's thread spent running: the rest
    // it waited for a core.
    state.counters["longest_stall_busy_ms"] = longestStallBusy;
}
BENCHMARK(BM_PlannerWholeTable)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);
