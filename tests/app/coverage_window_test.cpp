// The coverage window on the real main window: opened from the table and
// the map, computed on its workers, following the main window, and picking
// the remote point.
#include "app/coverage_window.h"
#include "app/coverage_painting.h"
#include "coverage/map_projection.h"
#include "coverage/point_description.h"
#include "tests/app/window_fixture.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace orvela::app {
namespace {

using namespace ::orvela::app::testing;

// A coarse grid, so that the day is in quickly under the sanitizers too.
constexpr int TestStep = 5;

class Coverage : public MainWindow {
protected:
    // Paris, dipole, 100 W, flux 122 (the fake download's).
    std::unique_ptr<TPROPForm> OpenParis()
    {
        WriteSettings("\"CallSign\"=\"F6XYZ\"\r\n\"Latitude\"=" + HexOf(48.85L) + "\r\n\"Longitude\"=" + HexOf(-2.35L) +
                      "\r\n\"GainTable\"=\"1\"\r\n");
        return Open();
    }

    // Opens the coverage window as a user does: a right click on the cell
    // of `band` at `hour`, then C while the menu is open.
    static CoverageWindow* FromTheTable(TPROPForm& form, int band, int hour)
    {
        PredictionTable* table = Probe(form).Widgets().MUFGrid;
        const QRect cell = table->visualRect(table->model()->index(BandRow(band), hour + 1));
        QCursor::setPos(table->viewport()->mapToGlobal(cell.center()));
        QTimer::singleShot(0, Probe(form).TableMenu(),
                           [&form] { QTest::keyClick(Probe(form).TableMenu(), Qt::Key_C); });
        emit table->customContextMenuRequested(cell.center());
        return Probe(form).Coverage();
    }

    // The window of 14 MHz at 12h on the tests' grid, its whole day shown.
    static CoverageWindow* SettledAt14MHz(TPROPForm& form)
    {
        CoverageWindow* w = FromTheTable(form, 7, 12);
        if (w != nullptr) {
            w->SetStepDeg(TestStep);
            EXPECT_TRUE(Settled(*w));
        }
        return w;
    }

    // Waits until the newest request's last answer is shown.
    static bool Settled(CoverageWindow& w)
    {
        return QTest::qWaitFor([&w] { return w.Final() && !w.Computing() && w.Day() != nullptr; }, 60000);
    }
};

TEST_F(Coverage, OpensFromTheTableCellAndTheMap)
{
    auto form = OpenParis();
    CoverageWindow* w = FromTheTable(*form, 7, 12);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Coverage \u2014 14 MHz, 12h UTC"));
    EXPECT_EQ(w->Band(), 7);
    EXPECT_EQ(w->BandBox()->count(), BandCount);
    EXPECT_EQ(w->Hour(), 12);

    // Another cell: the same window, its band and hour.
    EXPECT_EQ(FromTheTable(*form, 11, 3), w);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Coverage \u2014 22 MHz, 03h UTC"));

    // From the keyboard, the pointer away from the table: the current cell.
    PredictionTable* table = Probe(*form).Widgets().MUFGrid;
    table->setCurrentIndex(table->model()->index(BandRow(2), 6 + 1));
    QCursor::setPos(form->mapToGlobal(QPoint(-100, -100)));
    QTimer::singleShot(0, Probe(*form).TableMenu(), [&form] { QTest::keyClick(Probe(*form).TableMenu(), Qt::Key_C); });
    emit table->customContextMenuRequested(QPoint(5, 5));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Coverage \u2014 4 MHz, 06h UTC"));

    // The map's menu: the last band, at the clock's hour (12h).
    QAction* fromMap = nullptr;
    for (QAction* a : Probe(*form).MapMenu()->actions()) {
        if (a->text() == QStringLiteral("&Coverage map\u2026")) {
            fromMap = a;
        }
    }
    ASSERT_NE(fromMap, nullptr);
    fromMap->trigger();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Coverage \u2014 4 MHz, 12h UTC"));
    w->close();
}

// The window's cells are orvela-area's for the same station, options and
// moment: the program is run on the same inputs and its CSV read back.
TEST_F(Coverage, TheCellsAreThoseOfOrvelaArea)
{
    auto form = OpenParis();
    CoverageWindow* w = SettledAt14MHz(*form);
    ASSERT_TRUE(w != nullptr && w->Final());
    const area::CoverageDaySummary& day = *w->Day();
    ASSERT_EQ(day.StepDeg, TestStep);

    const QString csv = dir.filePath(QStringLiteral("area.csv"));
    QProcess area;
    area.start(QStringLiteral(ORVELA_AREA_PATH),
               {"--home", "48.85N,2.35E", "--utc", "2026-12-10T12:00Z", "--band", "14", "--flux", "122", "--antenna",
                "dipole", "--step", QString::number(TestStep), "--threads", "2", "--out", csv});
    ASSERT_TRUE(area.waitForFinished(120000));
    ASSERT_EQ(area.exitCode(), 0) << area.readAllStandardError().toStdString();

    std::istringstream lines(ReadFile(csv.toStdString()));
    std::string line;
    std::getline(lines, line); // the header
    std::size_t i = 0;
    int withPath = 0;
    for (; std::getline(lines, line); ++i) {
        ASSERT_LT(i, day.Points.size());
        const area::CellSummary& c = day.At(12, i);
        // lat,lon,text,level,letter,hops,marker: no field holds a comma.
        std::vector<std::string> f;
        std::istringstream fields(line + ",");
        for (std::string v; std::getline(fields, v, ',');) {
            f.push_back(v);
        }
        ASSERT_EQ(f.size(), 7u) << line;
        const std::string mine =
            std::to_string(day.Points[i].LatDeg) + "," + std::to_string(day.Points[i].LonWestDeg) + "," +
            (c.HasPath ? std::to_string(c.LevelDb) + "," + c.Letter + "," + std::to_string(c.Hops) + "," +
                             (c.Marker == ' ' ? std::string() : std::string(1, c.Marker))
                       : std::string(",,,"));
        ASSERT_EQ(f[0] + "," + f[1] + "," + f[3] + "," + f[4] + "," + f[5] + "," + f[6], mine) << line;
        withPath += c.HasPath ? 1 : 0;
    }
    EXPECT_EQ(i, day.Points.size());
    EXPECT_GT(withPath, 0);
}

// Once the day is in, the slider only redraws; what the paths depend on
// asks the day again, the remote point only moves its marker, and an answer
// to an older request than the newest is dropped.
TEST_F(Coverage, FollowsTheMainWindowAndTheSliderOnlyRedraws)
{
    auto form = OpenParis();
    CoverageWindow* w = SettledAt14MHz(*form);
    ASSERT_TRUE(w != nullptr && w->Final());
    const std::uint64_t request = w->Request();
    const area::CoverageDaySummary* day = w->Day();

    const int frames = w->FramesDrawn();
    QTest::keyClick(w->HourSlider(), Qt::Key_Right);
    EXPECT_EQ(w->Hour(), 13);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Coverage \u2014 14 MHz, 13h UTC"));
    EXPECT_EQ(w->FramesDrawn(), frames + 1);
    EXPECT_EQ(w->Request(), request);
    EXPECT_EQ(w->Day(), day);

    Probe(*form).Widgets().DESTLong->setValue(74);
    Probe(*form).Widgets().DESTLat->setValue(40);
    EXPECT_EQ(w->Request(), request);

    Ui::TPROPForm& ui = Probe(*form).Widgets();
    struct Change {
        const char* What;
        std::function<void()> Make;
    };
    const Change changes[] = {
        {"flux", [&] { ui.FLXSpin->setValue(150); }},
        {"power", [&] { ui.PWREdit->setText(QStringLiteral("30")); }},
        {"antenna", [&] { ui.AGTItem2->click(); }},
        {"long path", [&] { ui.LongPathBox->click(); }},
        {"minimum angle", [&] { ui.ANGEdit->setText(QStringLiteral("5")); }},
        {"band", [&] { w->BandBox()->setCurrentIndex(w->BandBox()->findData(5)); }},
    };
    std::uint64_t last = w->Request();
    for (const Change& c : changes) {
        SCOPED_TRACE(c.What);
        c.Make();
        EXPECT_GT(w->Request(), last);
        last = w->Request();
    }
    ASSERT_TRUE(Settled(*w));
    const area::CoverageDaySummary* newest = w->Day();

    // A slow answer coming in after a newer request is not shown.
    const RunInput elsewhere;
    area::CoverageAnswer stale{request, true, area::ComputeCoverageDaySummary(elsewhere, 7, 30, 1), {}};
    EXPECT_FALSE(w->Accept(std::move(stale)));
    EXPECT_EQ(w->Day(), newest);
    w->close();
}

// A click on the coverage map, or Return on the keyboard's cursor, moves
// the main window's remote point to the point's whole degrees.
TEST_F(Coverage, AClickThereMovesTheRemotePoint)
{
    auto form = OpenParis();
    CoverageWindow* w = FromTheTable(*form, 7, 12);
    ASSERT_NE(w, nullptr);
    CoverageMapView* view = w->MapView();
    const QRect map = view->MapRect();
    const area::MapProjection proj{map.width(), map.height()};
    // New York, 40.7 N 74.0 W.
    const QPoint at(map.left() + static_cast<int>(std::lround(proj.X(74.0))),
                    map.top() + static_cast<int>(std::lround(proj.Y(40.7))));
    const int runs = Probe(*form).RunCount();
    QTest::mouseClick(view, Qt::LeftButton, {}, at);
    Ui::TPROPForm& ui = Probe(*form).Widgets();
    EXPECT_NEAR(ui.DESTLong->value(), 74, 1);
    EXPECT_NEAR(ui.DESTLat->value(), 40, 1);
    EXPECT_GT(Probe(*form).RunCount(), runs);
    EXPECT_EQ(Probe(*form).RemoteLabel(), QStringLiteral("Remote station"));

    // The cursor is on the new remote point; two steps west and one north.
    view->setFocus();
    EXPECT_EQ(view->Cursor(), QPointF(ui.DESTLong->value(), ui.DESTLat->value()));
    const int lat = ui.DESTLat->value(), lonWestDeg = ui.DESTLong->value();
    QTest::keyClick(view, Qt::Key_Left);
    QTest::keyClick(view, Qt::Key_Left);
    QTest::keyClick(view, Qt::Key_Up);
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_EQ(ui.DESTLong->value(), lonWestDeg + 2 * CoverageWindow::DefaultStepDeg);
    EXPECT_EQ(ui.DESTLat->value(), lat + CoverageWindow::DefaultStepDeg);
    w->close();
}

// Wherever the remote point moves, the keyboard's cursor and the status
// line go with it, from wherever the pointer left them: a click here, a
// click on the main map, its spin boxes, a locator.
TEST_F(Coverage, TheCursorAndTheStatusLineFollowTheRemotePoint)
{
    auto form = OpenParis();
    CoverageWindow* w = SettledAt14MHz(*form);
    ASSERT_TRUE(w != nullptr && w->Final());
    Ui::TPROPForm& ui = Probe(*form).Widgets();
    CoverageMapView* view = w->MapView();
    const QRect map = view->MapRect();
    const area::MapProjection proj{map.width(), map.height()};
    const auto pointAt = [&](double lat, double lonWestDeg) {
        return QPoint(map.left() + static_cast<int>(std::lround(proj.X(lonWestDeg))),
                      map.top() + static_cast<int>(std::lround(proj.Y(lat))));
    };
    const auto send = [](QWidget* to, QEvent::Type type, QPoint at) {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(type, at, to->mapToGlobal(at), button, button, Qt::NoModifier);
        QCoreApplication::sendEvent(to, &e);
    };
    const auto remoteSaid = [&] {
        return QString::fromStdString(area::PointDescription(
            *w->Day(), w->Hour(), area::NearestGridPoint(ui.DESTLat->value(), ui.DESTLong->value(), TestStep),
            "14 MHz"));
    };
    // The window opens on the remote point.
    EXPECT_EQ(view->Cursor(), QPointF(ui.DESTLong->value(), ui.DESTLat->value()));
    EXPECT_EQ(w->StatusLine()->text(), remoteSaid());

    struct Move {
        const char* What;
        std::function<void()> Make;
    };
    const Move moves[] = {
        {"a click here", [&] { send(view, QEvent::MouseButtonPress, pointAt(40.7, 74.0)); }},
        {"a click on the main map", [&] { send(ui.MAP, QEvent::MouseButtonPress, QPoint(400, 200)); }},
        {"the spin boxes",
         [&] {
             ui.DESTLong->setValue(-151);
             ui.DESTLat->setValue(-33);
         }},
        {"a locator",
         [&] {
             dialogs.onOpen = [](QDialog& dialog) {
                 dialog.findChild<QLineEdit*>(QStringLiteral("LocatorEdit"))->setText(QStringLiteral("FN31"));
                 dialog.accept();
                 return dialog.result();
             };
             Probe(*form).GoToLocator();
         }},
    };
    for (const Move& m : moves) {
        SCOPED_TRACE(m.What);
        // The pointer passes over the South Atlantic first.
        send(view, QEvent::MouseMove, pointAt(-40, 20));
        ASSERT_TRUE(w->StatusLine()->text().startsWith(QStringLiteral("40\u00B0 S, 20\u00B0 W at ")));
        const QPointF before(ui.DESTLong->value(), ui.DESTLat->value());
        m.Make();
        const QPointF remote(ui.DESTLong->value(), ui.DESTLat->value());
        ASSERT_NE(remote, before);
        EXPECT_EQ(view->Cursor(), remote);
        EXPECT_EQ(w->StatusLine()->text(), remoteSaid());
        EXPECT_EQ(view->accessibleDescription(), remoteSaid());
    }
    w->close();
}

// A click on the hour slider's track takes it to the hour clicked; the keys
// still step an hour, or three a page.
TEST_F(Coverage, AClickOnTheHourTrackSetsThatHour)
{
    auto form = OpenParis();
    CoverageWindow* w = FromTheTable(*form, 7, 12);
    ASSERT_NE(w, nullptr);
    QSlider* slider = w->HourSlider();
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = option.sliderValue = slider->value();
    option.tickPosition = slider->tickPosition();
    option.tickInterval = slider->tickInterval();
    option.pageStep = slider->pageStep();
    option.singleStep = slider->singleStep();
    option.subControls = QStyle::SC_All;
    QStyle* style = slider->style();
    const QRect groove = style->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, slider);
    const QRect handle = style->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider);
    for (const int hour : {20, 6, 0, 23, 13}) {
        SCOPED_TRACE(hour);
        const int x = groove.left() + handle.width() / 2 +
                      QStyle::sliderPositionFromValue(0, 23, hour, groove.width() - handle.width());
        QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(x, groove.center().y()));
        EXPECT_EQ(w->Hour(), hour);
    }
    QTest::keyClick(slider, Qt::Key_PageUp);
    EXPECT_EQ(w->Hour(), 16);
    QTest::keyClick(slider, Qt::Key_Left);
    EXPECT_EQ(w->Hour(), 15);
    w->close();
}

// Every control can be named by a screen reader, the hour slider as the
// hour; the status line says what lies under the keyboard's cursor, and
// the play button runs the hours on.
TEST_F(Coverage, TheControlsHaveNamesAndTheStatusLineSpeaks)
{
    auto form = OpenParis();
    CoverageWindow* w = FromTheTable(*form, 7, 12);
    ASSERT_NE(w, nullptr);
    w->SetStepDeg(TestStep);
    for (QWidget* c : w->findChildren<QWidget*>()) {
        if (c->focusPolicy() != Qt::NoFocus && c->isVisibleTo(w) && qobject_cast<QLabel*>(c) == nullptr) {
            EXPECT_FALSE(c->accessibleName().isEmpty()) << c->metaObject()->className();
        }
    }
    EXPECT_EQ(w->HourSlider()->accessibleName(), QStringLiteral("Hour (UTC)"));
    ASSERT_TRUE(Settled(*w));

    w->MapView()->setFocus();
    w->MapView()->SetCursor(0, 0);
    QTest::keyClick(w->MapView(), Qt::Key_Down);
    const QString said = w->StatusLine()->text();
    EXPECT_TRUE(said.startsWith(QStringLiteral("5\u00B0 S, 0\u00B0 at 12h UTC, 14 MHz: "))) << said.toStdString();
    EXPECT_EQ(w->MapView()->accessibleDescription(), said);
    QTest::keyClick(w->HourSlider(), Qt::Key_Left);
    EXPECT_TRUE(w->StatusLine()->text().contains(QStringLiteral(" at 11h UTC")))
        << w->StatusLine()->text().toStdString();

    QSignalSpy hours(w->HourSlider(), &QSlider::valueChanged);
    w->PlayButton()->click();
    EXPECT_EQ(w->PlayButton()->text(), QStringLiteral("&Pause"));
    ASSERT_TRUE(hours.wait(10000));
    EXPECT_EQ(w->Hour(), 12);
    w->PlayButton()->click();
    EXPECT_EQ(w->PlayButton()->text(), QStringLiteral("&Play"));
    // Paused, the hours stand still: a timer of two of the play's intervals,
    // started now, runs out after the play's next tick would have come, and
    // timers that are due fire in the order they fall due.
    hours.clear();
    QTimer twoTicks;
    twoTicks.setSingleShot(true);
    QSignalSpy ranOut(&twoTicks, &QTimer::timeout);
    twoTicks.start(2 * CoverageWindow::PlayIntervalMs);
    ASSERT_TRUE(ranOut.wait(10000));
    EXPECT_TRUE(hours.isEmpty());
    w->close();
}

// "Save as PNG…" writes the map as the window shows it, with a caption in
// its top left corner that says what it shows, as orvela-area's maps do;
// the caption is also the PNG's description.
TEST_F(Coverage, SavesThePictureShownWithItsCaption)
{
    auto form = OpenParis();
    CoverageWindow* w = SettledAt14MHz(*form);
    ASSERT_TRUE(w != nullptr && w->Final());
    const QStringList caption = {QStringLiteral("14 MHz, 2026-12-10 12:00 UTC"),
                                 QStringLiteral("Solar flux 122.0, home 48.85N 2.35E (F6XYZ)"),
                                 QStringLiteral("Power 20 dBW, simple dipole")};
    EXPECT_EQ(w->Caption(), caption);
    files.answer = dir.filePath(QStringLiteral("coverage.png"));
    w->SaveAsPng();
    const QImage saved(files.answer);
    EXPECT_TRUE(messages.shown.empty());
    ASSERT_EQ(saved.size(), w->MapView()->MapRect().size());
    EXPECT_EQ(saved.text(QStringLiteral("Description")), caption.join(QLatin1Char('\n')));
    const QImage shown = w->MapView()->Render();
    const QImage withCaption = saved.convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(withCaption, w->MapView()->Render(caption));
    // Only the top left corner differs from the map shown.
    QRect changed;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            if (withCaption.pixel(x, y) != shown.pixel(x, y)) {
                changed |= QRect(x, y, 1, 1);
            }
        }
    }
    EXPECT_FALSE(changed.isEmpty());
    EXPECT_LT(changed.right(), shown.width() / 2);
    EXPECT_LT(changed.bottom(), shown.height() / 4);

    // An amateur band is named with its frequency; the hour is the slider's.
    Probe(*form).SetRows(BandSet::Amateur);
    w->HourSlider()->setValue(3);
    EXPECT_TRUE(w->Caption().value(0).endsWith(QStringLiteral(" MHz), 2026-12-10 03:00 UTC")))
        << w->Caption().value(0).toStdString();
    w->close();
}

// The window draws its first frame once, at the size it shows at: none for
// the slider's hour before the one asked for, none before the layout.
TEST_F(Coverage, OpensWithOneFrameAtItsSize)
{
    auto form = OpenParis();
    Probe(*form).OpenCoverage(7, 12);
    CoverageWindow* w = Probe(*form).Coverage();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->FramesDrawn(), 1);
    EXPECT_EQ(w->MapView()->Render().size(), w->MapView()->MapRect().size());
    w->close();
}

// Once the day is in, each new frame is drawn into the pixels of the last:
// the hour slider, or a new answer, maps no fresh memory.
TEST_F(Coverage, DrawsEachFrameInTheSamePixels)
{
    auto form = OpenParis();
    CoverageWindow* w = SettledAt14MHz(*form);
    ASSERT_TRUE(w != nullptr && w->Final());
    const uchar* pixels = w->MapView()->Frame().constBits();
    const QImage twelve = w->MapView()->Frame().copy();
    QTest::keyClick(w->HourSlider(), Qt::Key_Right);
    EXPECT_EQ(w->MapView()->Frame().constBits(), pixels);
    EXPECT_NE(w->MapView()->Frame(), twelve);
    QTest::keyClick(w->HourSlider(), Qt::Key_Left);
    EXPECT_EQ(w->MapView()->Frame().constBits(), pixels);
    EXPECT_EQ(w->MapView()->Frame(), twelve);
    w->close();
}

// The cells are blended into a map handed over, in place: no copy of its
// pixels into fresh memory. A map still held elsewhere is left untouched.
TEST(CoverageBlend, BlendsAMapHandedOverInPlace)
{
    RunInput in;
    in.Station.Latitude = 48.85L;
    in.Station.Longitude = -2.35L;
    in.Month = 12;
    in.Day = 10;
    in.Bands = BandsOf(BandSet::Fixed);
    const area::CoverageDaySummary day = area::ComputeCoverageHourSummary(in, 12, 7, 30, 1);
    QImage grey(360, 180, QImage::Format_RGB32);
    grey.fill(QColor(0x60, 0x60, 0x60));

    const QImage kept = grey;
    const QImage blended = BlendCoverage(kept, day, 12);
    EXPECT_NE(blended, grey);
    EXPECT_EQ(kept, grey);

    QImage handed = grey.copy();
    const uchar* pixels = handed.constBits();
    const QImage inPlace = BlendCoverage(std::move(handed), day, 12);
    EXPECT_EQ(inPlace.constBits(), pixels);
    EXPECT_EQ(inPlace, blended);
}

} // namespace
} // namespace orvela::app
