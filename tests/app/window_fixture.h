// The main window's test fixture: fakes for the screen, the clock and the
// download, a real settings file in a temporary folder, and the waits and
// searches the window's tests share.
#pragma once

#include "map/compositor.h"
#include "station/extended_codec.h"
#include "tests/app/fakes.h"
#include "map/picture_io.h"
#include "station/settings_store.h"
#include "app/tcoordform.h"
#include "app/tpropform.h"
#include "tests/app/window_probe.h"
#include "app/ui_tcoordform.h"
#include "app/ui_tpropform.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

namespace orvela::app::testing {

constexpr const char* Header = "Windows Registry Editor Version 5.00\r\n\r\n";
constexpr const char* StationKey = "[HKEY_CURRENT_USER\\Software\\Talvik Software\\ORVELA\\Station]\r\n";
constexpr const char* DiversKey = "[HKEY_CURRENT_USER\\Software\\Talvik Software\\ORVELA\\Divers]\r\n";

inline std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A 10-byte extended value as a registry export writes it.
inline std::string HexOf(long double v)
{
    std::string s = "hex:";
    char buf[4];
    for (std::uint8_t b : EncodeExtended(v)) {
        std::snprintf(buf, sizeof buf, "%02x,", b);
        s += buf;
    }
    s.pop_back();
    return s;
}

inline void WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

// Runs f with TZ set to zone, then puts the old zone back.
template <class F>
void WithTimeZone(const char* zone, F f)
{
    const char* old = std::getenv("TZ");
    const std::string saved = old ? old : "";
    setenv("TZ", zone, 1);
    tzset();
    f();
    if (old) {
        setenv("TZ", saved.c_str(), 1);
    } else {
        unsetenv("TZ");
    }
    tzset();
}

// The longest a test waits for the event loop: the event comes sooner on
// any machine, and a loaded one slows the test down without failing it.
constexpr int WaitMs = 10000;

// Runs the event loop until the window is shown on the screen, or is the
// active window.
[[nodiscard]] inline bool WaitUntilExposed(QWidget& window)
{
    return QTest::qWaitForWindowExposed(&window, WaitMs);
}
[[nodiscard]] inline bool WaitUntilActive(QWidget& window)
{
    return QTest::qWaitForWindowActive(&window, WaitMs);
}

// A cell of the band rows with a result, found in the table; invalid when
// the table has none.
inline QModelIndex ResultCell(const PredictionTable& table)
{
    for (int row = 0; row < RowUtc; ++row) {
        for (int col = 1; col < TableCols; ++col) {
            if (!table.CellText(col, row).isEmpty()) {
                return table.model()->index(row, col);
            }
        }
    }
    return {};
}

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("Talvik Software/ORVELA.reg")).toStdString();
        QDir(dir.path()).mkpath(QStringLiteral("Talvik Software"));
        flux.result = SolarFlux{true, "2026 Dec 10 0305 UTC", 122};
    }

    void WriteSettings(const std::string& station, const std::string& divers = "")
    {
        WriteFile(path, std::string(Header) + StationKey + station + "\r\n" + DiversKey + divers);
    }

    std::unique_ptr<TPROPForm> Open(SolarFluxSource* fluxSource = nullptr)
    {
        Services s;
        s.Messages = &messages;
        s.TimeSource = &clock;
        s.SettingsFile = path;
        s.BeforeSettingsReplaced = [this] {
            if (beforeSettingsReplaced) {
                beforeSettingsReplaced();
            }
        };
        s.Flux = fluxSource != nullptr ? fluxSource : &flux;
        s.Dialogs = &dialogs;
        s.Opener = &opener;
        s.Machine = &machine;
        s.Files = &files;
        s.Pictures = &pictures;
        s.Countries = &countries;
        s.BuildStr = "Build 1.5.0.0";
        s.DataDir = dataDir;
        s.StartUpAbandoned = [this] { return startUpAbandoned; };
        s.FluxProducts = products;
        return std::make_unique<TPROPForm>(s);
    }

    std::vector<QString> Captions() const
    {
        std::vector<QString> c;
        for (const auto& m : messages.shown) {
            c.push_back(m.Caption);
        }
        return c;
    }

    QTemporaryDir dir;
    std::string path;
    RecordingMessages messages;
    FixedClock clock;
    FakeFlux flux;
    FakeDialogs dialogs;
    RecordingOpener opener;
    FakeMachine machine;
    FakeFiles files;
    FakeMapPictures pictures;
    FakeCountryFiles countries;
    QString dataDir;               // the program's data folder; none by default
    bool startUpAbandoned = false; // as after a termination signal during start-up
    // NOAA's other flux products for the prediction date; none by default,
    // so that no test reaches a network unless it says where.
    std::optional<solar::ProductsSettings> products;
    // Runs in every write of the settings file just before the new file
    // replaces the old one; it may throw StoreError to fail the write.
    std::function<void()> beforeSettingsReplaced;
};

// The main window of a station with a remote point stored.
class StationWindow : public MainWindow {
protected:
    void SetUp() override
    {
        MainWindow::SetUp();
        WriteSettings("\"CallSign\"=\"F6XYZ\"\r\n", "\"DistLon\"=\"74\"\r\n\"DistLat\"=\"40\"\r\n");
    }
    // Cell reports shown so far.
    int Reports() const
    {
        return static_cast<int>(std::count_if(messages.shown.begin(), messages.shown.end(), [](const ShownMessage& m) {
            return m.Caption == QStringLiteral("What it means...");
        }));
    }
};

} // namespace orvela::app::testing
