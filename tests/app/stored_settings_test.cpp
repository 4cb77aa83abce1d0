// Stored settings the window cannot use: each takes its default and is
// named in start-up's warning, and the settings file stays as it was.
#include "tests/app/window_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace orvela::app {
namespace {

using namespace ::orvela::app::testing;

class StoredSettings : public StationWindow {};

TEST_F(StoredSettings, SettingsThatCannotBeUsedTakeTheirDefaultsAndLeaveTheFileAlone)
{
    struct Case {
        const char* name;
        std::string station;
        std::string divers;
        const char* named; // in the warning's detail
    };
    const long double inf = std::numeric_limits<long double>::infinity();
    const Case cases[] = {
        {"NaN longitude", "\"Longitude\"=" + HexOf(std::nanl("")) + "\r\n", "", "Station\\Longitude"},
        {"infinite longitude", "\"Longitude\"=" + HexOf(-inf) + "\r\n", "", "Station\\Longitude"},
        {"huge latitude", "\"Latitude\"=" + HexOf(1e300L) + "\r\n", "", "Station\\Latitude"},
        {"latitude 95", "\"Latitude\"=" + HexOf(95.0L) + "\r\n", "", "Station\\Latitude"},
        {"power 99999", "\"Power\"=\"99999\"\r\n", "", "Station\\Power"},
        {"angle 91", "\"MinAngle\"=\"91\"\r\n", "", "Station\\MinAngle"},
        {"display 7", "\"Display\"=\"7\"\r\n", "", "Station\\Display"},
        {"gain table -1", "\"GainTable\"=\"-1\"\r\n", "", "Station\\GainTable"},
        {"remote longitude 500", "", "\"DistLon\"=\"500\"\r\n", "Divers\\DistLon"},
        {"rows 7", "", "\"BandSet\"=\"7\"\r\n", "Divers\\BandSet"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        messages.shown.clear();
        WriteSettings("\"CallSign\"=\"F6XYZ\"\r\n" + c.station, c.divers);
        const std::string before = ReadFile(path);
        auto form = Open();
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].Text, QStringLiteral("Problem reading the registry"));
        EXPECT_TRUE(messages.shown[0].Detail.contains(QString::fromLatin1(c.named)))
            << messages.shown[0].Detail.toStdString();
        const Settings& st = Probe(*form).Station();
        EXPECT_EQ(st.Longitude, 0);
        EXPECT_EQ(st.Latitude, 0);
        EXPECT_EQ(st.Power, 20);
        EXPECT_EQ(st.MinAngle, 10);
        EXPECT_EQ(Number(st.Display), 1);
        EXPECT_EQ(Number(st.GainTable), 0);
        EXPECT_EQ(Probe(*form).Widgets().DESTLong->value(), 0);
        EXPECT_EQ(Probe(*form).Rows(), BandSet::Fixed);
        EXPECT_EQ(Probe(*form).Widgets().STA->pos(), QPoint(256, 128));
        EXPECT_EQ(Probe(*form).RunCount(), 1);
        EXPECT_EQ(ReadFile(path), before);
    }
}

// A call sign written into the settings file with a control character in
// it (by hand, by another program, or a line end escaped in the file) is
// used without that character, and the start-up warning names it; the other
// settings are used and the file stays as it was. The setup dialog offers
// the call sign without it, so that accepting mends the file.
TEST_F(StoredSettings, ACallSignWithAControlCharacterIsUsedWithoutIt)
{
    const struct {
        std::string Stored; // as written between the quotes of the file
        std::string Used;
        const char* Named;
    } cases[] = {
        {"F5\tABC", "F5ABC", "the control character U+0009 (tab) at character 3"},
        {"F6XYZ\x1b[2J", "F6XYZ[2J", "the control character U+001B (escape) at character 6"},
        {"F5\\nABC", "F5ABC", "the control character U+000A (line feed) at character 3"},
        {"\\r\\nF5ABC\x7f/P", "F5ABC/P", "the control character U+007F (delete) at character 6"},
        {"F5\xc2\x9b"
         "31mABC",
         "F531mABC", "the control character U+009B (control sequence introducer)"},
        {"F5ABC\xe2\x80\xae", "F5ABC", "the text-direction control U+202E (right-to-left override)"},
        {"\xc2\x85", "", "the control character U+0085 at character 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Named);
        messages.shown.clear();
        dialogs.titles.clear();
        WriteSettings("\"CallSign\"=\"" + c.Stored + "\"\r\n\"Power\"=\"30\"\r\n",
                      "\"DistLon\"=\"74\"\r\n\"DistLat\"=\"40\"\r\n");
        const std::string before = ReadFile(path);
        auto form = Open();
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].Text, QStringLiteral("Problem reading the registry"));
        const QString detail = messages.shown[0].Detail;
        EXPECT_TRUE(detail.contains(QStringLiteral("Station\\CallSign could not be used: the call sign holds ") +
                                    QString::fromLatin1(c.Named)))
            << detail.toStdString();
        EXPECT_TRUE(detail.endsWith(QStringLiteral("; a call sign is printable text. \"") +
                                    QString::fromStdString(c.Used) + QStringLiteral("\" is used instead.")))
            << detail.toStdString();
        Ui::TPROPForm& ui = Probe(*form).Widgets();
        EXPECT_EQ(Probe(*form).Station().CallSign, c.Used);
        EXPECT_EQ(ui.LocalGroupBox->title(), QStringLiteral(" Station %1 ").arg(QString::fromStdString(c.Used)));
        EXPECT_TRUE(ui.H1->Text(0).startsWith(QString::fromStdString(c.Used) + QStringLiteral(" Lat ")));
        EXPECT_EQ(ui.STA->toolTip(), QString::fromStdString(c.Used));
        EXPECT_EQ(Probe(*form).Station().Power, 30);
        EXPECT_EQ(ui.DESTLong->value(), 74);
        EXPECT_TRUE(dialogs.titles.empty()); // not taken for a first run
        EXPECT_EQ(ReadFile(path), before);
    }

    WriteSettings("\"CallSign\"=\"F5\tABC\"\r\n");
    QString offered;
    dialogs.onOpen = [&offered](QDialog& d) {
        auto& dialog = static_cast<TCoordForm&>(d);
        offered = dialog.Widgets().INDEdit->text();
        dialog.Widgets().OkBtn->click();
        return d.result();
    };
    Probe(*Open()).Widgets().ChangeBtn->click();
    EXPECT_EQ(offered, QStringLiteral("F5ABC"));
    EXPECT_EQ(RegIni(path).ReadString("Station", "CallSign", ""), "F5ABC");
    messages.shown.clear();
    Open();
    EXPECT_TRUE(messages.shown.empty());
}

} // namespace
} // namespace orvela::app
