// The prediction date chosen in the window and the flux that belongs to it,
// from NOAA's products served on the loopback interface: each product
// answering for its dates, back to today, a flux typed by the user, the
// window left open past midnight, a stale bulletin, and the service out of
// reach with and without a cached copy.
#include "solar/product_cache.h"
#include "tests/app/window_fixture.h"
#include "tests/support/http_test_server.h"

#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace orvela::app {
namespace {

using namespace ::orvela::app::testing;
using solar::testing::ClosedPort;
using solar::testing::HttpRequest;
using solar::testing::HttpTestServer;
using solar::testing::Reply;

std::string Fixture(const std::string& name)
{
    return ReadFile(std::string(ORVELA_PRODUCT_FIXTURES) + "/" + name);
}

// Serves each product's fixture under its path; anything else (the
// bulletin, which the window has from start-up) is not found.
void ServeProducts(const HttpRequest& r, solar::testing::HttpConnection& c)
{
    const std::string name = r.Target.substr(r.Target.rfind('/') + 1);
    for (const char* product : {"27-day-outlook.txt", "daily-solar-indices.txt", "predicted-solar-cycle.json",
                                "observed-solar-cycle-indices.json"}) {
        if (name == product) {
            Reply(200, Fixture(name))(r, c);
            return;
        }
    }
    Reply(404, "Not Found")(r, c);
}

class PredictionDateWindow : public StationWindow {
protected:
    void SetUp() override
    {
        StationWindow::SetUp();
        cacheFolder = dir.filePath(QStringLiteral("cache")).toStdString();
    }

    // The products from `origin`, cached in the test's folder, aged by the
    // test's clock.
    void UseService(const std::string& origin)
    {
        solar::ProductsSettings s;
        s.BulletinUrl = origin + "/text/wwv.txt";
        s.ServiceUrl = origin;
        s.Get = solar::LinkedTransport();
        s.CacheFolder = cacheFolder;
        s.Now = [this] { return std::chrono::sys_seconds(std::chrono::seconds(clock.now)); };
        s.Options.ConnectTimeoutMs = 10000;
        products = s;
    }

    // Chooses a date in the date control as the user does, and waits until
    // its flux (or why there is none) is shown.
    [[nodiscard]] static bool Choose(TPROPForm& form, const QDate& date)
    {
        QSignalSpy shown(&Probe(form).Date(), &PredictionDate::FluxShown);
        Probe(form).Date().DateEdit().setDate(date);
        return !shown.isEmpty() || shown.wait(WaitMs);
    }

    static QString Source(TPROPForm& form) { return Probe(form).Date().SourceLabel().text(); }
    static double Flux(TPROPForm& form) { return Probe(form).Widgets().FLXSpin->value(); }
    static int HighlightedColumn(TPROPForm& form)
    {
        const PredictionTable& grid = *Probe(form).Widgets().MUFGrid;
        for (int col = 1; col < TableCols; ++col) {
            if (grid.Current().At(col, RowUtc).Bg == 0xFFFF00) {
                return col;
            }
        }
        return 0;
    }

    std::string cacheFolder;
};

const QDate Today(2026, 12, 10); // the fixture's clock: 12:00 UTC

// Each stretch of dates gets its product's flux and says where it came
// from; the table, its strips, the map, the exports and the coverage all
// follow the date, and only today has a current hour.
TEST_F(PredictionDateWindow, EachDateGetsTheFluxOfTheProductThatCoversIt)
{
    HttpTestServer server(ServeProducts);
    UseService(server.Origin());
    auto form = Open();
    ASSERT_TRUE(Probe(*form).ProgramReady());
    EXPECT_EQ(Probe(*form).Date().DateEdit().date(), Today);
    EXPECT_EQ(Source(*form), QStringLiteral("122 \u2014 NOAA Geophysical Alert Message issued 10 Dec 2026"));
    EXPECT_EQ(HighlightedColumn(*form), 13);

    const auto predicted = solar::ParsePredictedCycle(Fixture("predicted-solar-cycle.json"));
    ASSERT_TRUE(predicted.Value);
    const double june = *solar::FluxOnDayOfMonths(*predicted.Value, CivilDate{2027, 6, 10}).Sfu;

    struct Case {
        QDate date;
        double flux;
        QString source;
        QString strip; // the date line of the second header strip
    };
    const Case cases[] = {
        {Today.addDays(10), 130, QStringLiteral("130 \u2014 NOAA 27-day outlook issued 7 Dec 2026"),
         QStringLiteral("Date :20 December 2026")},
        {QDate(2027, 6, 10), june, QString::number(june, 'f', 1) + QStringLiteral(" \u2014 NOAA predicted solar cycle"),
         QStringLiteral("Date :10 June 2027")},
        {Today.addDays(-3), 135, QStringLiteral("135 \u2014 NOAA daily solar indices issued 10 Dec 2026"),
         QStringLiteral("Date :07 December 2026")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.date.toString(Qt::ISODate).toStdString());
        const int maps = Probe(*form).MapUpdateCount();
        ASSERT_TRUE(Choose(*form, c.date));
        EXPECT_DOUBLE_EQ(Flux(*form), c.flux);
        EXPECT_EQ(Source(*form), c.source);
        EXPECT_EQ(Probe(*form).Widgets().FLXSpin->accessibleDescription(), c.source);
        EXPECT_EQ(Probe(*form).Widgets().H2->Text(2), c.strip);
        EXPECT_EQ(Probe(*form).Widgets().H2->Text(0),
                  QStringLiteral("Solar flux at 10.7cm : ") + QString::number(c.flux, 'f', 1));
        EXPECT_EQ(HighlightedColumn(*form), 0) << "a current hour on another day";
        EXPECT_GT(Probe(*form).MapUpdateCount(), maps) << "the map is not shaded for the date";
        EXPECT_TRUE(
            Probe(*form).ExportCaption().at(1).startsWith(c.date.toString(Qt::ISODate) + QStringLiteral(" 12:00 UTC")));
        EXPECT_EQ(Probe(*form).LastInput().Month, c.date.month());
        EXPECT_EQ(Probe(*form).LastInput().Day, c.date.day());
    }

    // Back to today: the bulletin's flux, at once, and the current hour.
    Probe(*form).Date().TodayButton().click();
    EXPECT_EQ(Probe(*form).Date().DateEdit().date(), Today);
    EXPECT_DOUBLE_EQ(Flux(*form), 122);
    EXPECT_EQ(Source(*form), QStringLiteral("122 \u2014 NOAA Geophysical Alert Message issued 10 Dec 2026"));
    EXPECT_EQ(HighlightedColumn(*form), 13);

    // The date is not kept: the next start is on today.
    Probe(*form).Date().DateEdit().setDate(Today.addDays(5));
    form->close();
    EXPECT_EQ(ReadFile(path).find("2026"), std::string::npos);
    form = Open();
    EXPECT_EQ(Probe(*form).Date().DateEdit().date(), Today);
}

// A flux the user types stays, marked as typed, until the date changes:
// also when it is typed while the date's flux is still on its way.
TEST_F(PredictionDateWindow, ATypedFluxStaysUntilTheDateChanges)
{
    HttpTestServer server(ServeProducts);
    UseService(server.Origin());
    auto form = Open();
    QDoubleSpinBox& spin = *Probe(*form).Widgets().FLXSpin;

    QSignalSpy shown(&Probe(*form).Date(), &PredictionDate::FluxShown);
    Probe(*form).Date().DateEdit().setDate(Today.addDays(10));
    spin.setValue(180); // before the window's loop takes the answer
    ASSERT_TRUE(shown.wait(WaitMs));
    EXPECT_DOUBLE_EQ(spin.value(), 180);
    EXPECT_EQ(Source(*form), QStringLiteral("180 \u2014 typed"));
    EXPECT_EQ(Probe(*form).LastInput().Flux, 180);

    Probe(*form).TimerClick(); // the clock goes on, the day does not change
    EXPECT_DOUBLE_EQ(spin.value(), 180);

    ASSERT_TRUE(Choose(*form, Today.addDays(-3)));
    EXPECT_DOUBLE_EQ(spin.value(), 135);
    EXPECT_EQ(Source(*form), QStringLiteral("135 \u2014 NOAA daily solar indices issued 10 Dec 2026"));
}

// Left open past local midnight, a window on today moves to the new day and
// its flux (the start-up bulletin being yesterday's, the outlook answers);
// one on another date keeps it.
TEST_F(PredictionDateWindow, PastMidnightTheWindowMovesToTheNewDay)
{
    HttpTestServer server(ServeProducts);
    UseService(server.Origin());
    WithTimeZone("UTC", [&] {
        clock.now = 1796947170; // 2026-12-10 23:59:30 UTC
        auto form = Open();
        PredictionDate& date = Probe(*form).Date();
        QSignalSpy shown(&date, &PredictionDate::FluxShown);
        clock.now += 60;
        Probe(*form).TimerClick();
        EXPECT_EQ(date.DateEdit().date(), Today.addDays(1));
        ASSERT_TRUE(!shown.isEmpty() || shown.wait(WaitMs));
        EXPECT_DOUBLE_EQ(Flux(*form), 135);
        EXPECT_EQ(Source(*form), QStringLiteral("135 \u2014 NOAA 27-day outlook issued 7 Dec 2026"));
        EXPECT_EQ(Probe(*form).Widgets().H2->Text(2), QStringLiteral("Date :11 December 2026"));
        EXPECT_EQ(HighlightedColumn(*form), 1);

        ASSERT_TRUE(Choose(*form, Today.addDays(10)));
        clock.now += 86400;
        Probe(*form).TimerClick();
        EXPECT_EQ(date.DateEdit().date(), Today.addDays(10));
        EXPECT_EQ(HighlightedColumn(*form), 0);
    });
}

// A bulletin issued more than two days before today is stale, and the
// window says so in words, to the eye and to a screen reader.
TEST_F(PredictionDateWindow, AStaleBulletinIsMarked)
{
    struct Case {
        const char* issued;
        bool stale;
    };
    for (const Case c : {Case{"2026 Dec 08 0305 UTC", false}, Case{"2026 Dec 07 0305 UTC", true}}) {
        SCOPED_TRACE(c.issued);
        flux.result = SolarFlux{true, c.issued, 122};
        auto form = Open();
        const QString stale = QStringLiteral("Stale bulletin: issued ") + QString::fromLatin1(c.issued);
        EXPECT_EQ(Source(*form).contains(stale), c.stale) << Source(*form).toStdString();
        EXPECT_EQ(Probe(*form).Widgets().FLXSpin->accessibleDescription().contains(stale), c.stale);
        EXPECT_EQ(Probe(*form).Widgets().SolarBox->accessibleDescription().contains(stale), c.stale);
        EXPECT_EQ(Probe(*form).Widgets().SolarBox->title(), QString::fromLatin1(c.issued));
    }
}

// With the service out of reach, a cached copy answers and says how old it
// is; with nothing cached, the window says so, keeps the flux shown, and
// the user can type one.
TEST_F(PredictionDateWindow, OutOfReachTheCacheAnswersOrTheUserTypes)
{
    const ClosedPort closed;
    UseService(closed.Origin());
    {
        auto form = Open();
        ASSERT_TRUE(Choose(*form, Today.addDays(10)));
        EXPECT_DOUBLE_EQ(Flux(*form), 122);
        EXPECT_TRUE(Source(*form).startsWith(QStringLiteral("No flux for 2026-12-20 from NOAA: 27-day outlook")))
            << Source(*form).toStdString();
        EXPECT_TRUE(Source(*form).contains(QStringLiteral("type one in the flux box")));
        Probe(*form).Widgets().FLXSpin->setValue(150);
        EXPECT_EQ(Source(*form), QStringLiteral("150 \u2014 typed"));
        EXPECT_EQ(Probe(*form).Widgets().H2->Text(0), QStringLiteral("Solar flux at 10.7cm : 150.0"));
    }

    solar::CachedCopy copy;
    copy.Url = closed.Origin() + "/text/27-day-outlook.txt";
    copy.FetchedAt = std::chrono::sys_seconds(std::chrono::seconds(clock.now - 2 * 86400));
    copy.Body = Fixture("27-day-outlook.txt");
    ASSERT_EQ(solar::ProductCache(cacheFolder).Write("27-day-outlook.txt", copy), "");
    auto form = Open();
    ASSERT_TRUE(Choose(*form, Today.addDays(10)));
    EXPECT_DOUBLE_EQ(Flux(*form), 130);
    EXPECT_EQ(Source(*form),
              QStringLiteral("130 \u2014 NOAA 27-day outlook issued 7 Dec 2026, cached copy 2 days old"));
}

// The date is named for screen readers and reached from the keyboard, and
// so is the way back to today.
TEST_F(PredictionDateWindow, TheDateIsNamedAndOnTheTabChain)
{
    auto form = Open();
    PredictionDate& date = Probe(*form).Date();
    EXPECT_EQ(date.DateEdit().accessibleName(), QStringLiteral("Prediction date"));
    EXPECT_TRUE(date.DateEdit().calendarPopup());
    EXPECT_FALSE(date.TodayButton().accessibleName().isEmpty());
    bool edit = false, today = false;
    QWidget* w = Probe(*form).Widgets().FLXSpin;
    for (int i = 0; i < 200 && !(edit && today); ++i) {
        w = w->nextInFocusChain();
        edit = edit || (w == &date.DateEdit() && (w->focusPolicy() & Qt::TabFocus));
        today = today || (w == &date.TodayButton() && (w->focusPolicy() & Qt::TabFocus));
    }
    EXPECT_TRUE(edit);
    EXPECT_TRUE(today);
}

} // namespace
} // namespace orvela::app
