#include "station/settings_schema.h"

#include "station/extended_codec.h"
#include "station/settings_store.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace orvela {
namespace {

const std::string Header = "Windows Registry Editor Version 5.00\r\n\r\n";
const std::string StationKey = "[HKEY_CURRENT_USER\\Software\\Talvik Software\\ORVELA\\Station]\r\n";
const std::string DiversKey = "[HKEY_CURRENT_USER\\Software\\Talvik Software\\ORVELA\\Divers]\r\n";

std::string File(const std::string& station, const std::string& divers = "")
{
    return Header + StationKey + station + "\r\n" + DiversKey + divers;
}

// A 10-byte extended value as a registry export writes it.
std::string HexOf(long double v)
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

// Every setting, "Name=value" in the order of the table, so that a
// difference names the setting.
std::string Describe(const StoredSettings& settings)
{
    StoredSettings s = settings;
    std::string out;
    for (const SettingRow& row : SettingRows) {
        out += std::string(row.Name) + "=";
        std::visit(
            [&out](auto* p) {
                using T = std::remove_pointer_t<decltype(p)>;
                if constexpr (std::is_same_v<T, std::string>) {
                    out += "\"" + *p + "\"";
                } else if constexpr (std::is_same_v<T, long double>) {
                    char buf[48];
                    std::snprintf(buf, sizeof buf, "%.21Lg", *p);
                    out += buf;
                } else {
                    out += std::to_string(static_cast<int>(*p));
                }
            },
            FieldOf(row, s));
        out += " ";
    }
    return out;
}

class SettingsSchema : public ::testing::Test {
protected:
    void Write(const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }
    std::string Read() const
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    orvela_test::ScratchFolder folder{"orvela-schema"};
    std::string path = (folder.Path() / "ORVELA.reg").string();
};

TEST_F(SettingsSchema, AFirstRunTakesEveryDefault)
{
    RegIni store(path);
    const LoadedSettings read = LoadSettings(store, StoredSettings{});
    EXPECT_TRUE(read.Warnings.empty());
    StoredSettings expected;
    expected.Station = Settings{"NoCall", 0, 0, 20, false, DisplayFormat::SignalLevel, Antenna::Isotropic, 10};
    expected.RemoteLonWestDeg = 0;
    expected.RemoteLatDeg = 0;
    expected.Rows = BandSet::Fixed;
    expected.ShowPath = true;
    EXPECT_EQ(Describe(read.Values), Describe(expected));
    EXPECT_EQ(Describe(StoredDefaults()), Describe(expected));
}

// What start-up makes of what it reads: the values it takes, and its
// warnings, word for word and in the order the window shows them.
TEST_F(SettingsSchema, LoadUsesWhatItCanAndSaysWhatItCannot)
{
    // What start-up has before reading: kept for what the read never reaches.
    StoredSettings start;
    start.Station = Settings{"", 0, 0, 0, false, static_cast<DisplayFormat>(0), Antenna::Isotropic, 0};
    start.RemoteLonWestDeg = 7;
    start.ShowPath = false;
    const std::string notText = "The setting Station\\Power in \"" + path + "\" is not a text value";

    struct Case {
        const char* What;
        std::string File;
        std::vector<std::string> Warnings;
        std::string Values; // of Describe, left out when only the warnings matter
    };
    const Case cases[] = {
        {"every value usable",
         File("\"Longitude\"=" + HexOf(-2.25L) + "\r\n\"Latitude\"=" + HexOf(48.5L) +
                  "\r\n\"CallSign\"=\"  F6XYZ \"\r\n\"Power\"=\"+30\"\r\n\"Path\"=\"2\"\r\n\"Display\"=\"4\"\r\n"
                  "\"GainTable\"=\"2\"\r\n\"MinAngle\"=\"0\"\r\n",
              "\"DistLon\"=\"-75\"\r\n\"DistLat\"=\"90\"\r\n\"BandSet\"=\"1\"\r\n\"ShowPath\"=\"0\"\r\n") +
             "\r\n[HKEY_CURRENT_USER\\Software\\Talvik Software\\ORVELA\\Planner]\r\n\"Targets\"=\"JA1ABC, jn18du "
             "VK9X\"\r\n",
         {},
         "Longitude=-2.25 Latitude=48.5 CallSign=\"F6XYZ\" Power=30 Path=1 Display=4 "
         "GainTable=2 MinAngle=0 DistLon=-75 DistLat=90 BandSet=1 ShowPath=0 Targets=\"JA1ABC, jn18du VK9X\" "},
        {"not numbers take their defaults, unsaid",
         File("\"CallSign\"=\"\"\r\n\"Power\"=\"abc\"\r\n\"Path\"=\"yes\"\r\n\"MinAngle\"=\"\"\r\n",
              "\"ShowPath\"=\"no\"\r\n"),
         {},
         "Longitude=0 Latitude=0 CallSign=\"\" Power=20 Path=0 Display=1 GainTable=0 MinAngle=10 DistLon=0 "
         "DistLat=0 BandSet=0 ShowPath=1 Targets=\"\" "},
        {"out of range, in the order of reading",
         File("\"Longitude\"=" + HexOf(std::nanl("")) + "\r\n\"Latitude\"=" + HexOf(95.0L) +
                  "\r\n\"CallSign\"=\"F6XYZ\"\r\n\"Power\"=\"99999\"\r\n\"Display\"=\"7\"\r\n\"GainTable\"=\"-1\""
                  "\r\n\"MinAngle\"=\"91\"\r\n",
              "\"DistLon\"=\"500\"\r\n\"DistLat\"=\"-91\"\r\n\"BandSet\"=\"2\"\r\n"),
         {"Station\\Longitude could not be used; 0 is used instead.",
          "Station\\Latitude could not be used; 0 is used instead.",
          "Station\\Power could not be used; 20 is used instead.",
          "Station\\Display could not be used; 1 is used instead.",
          "Station\\GainTable could not be used; 0 is used instead.",
          "Station\\MinAngle could not be used; 10 is used instead.",
          "Divers\\DistLon could not be used; 0 is used instead.",
          "Divers\\DistLat could not be used; 0 is used instead.",
          "Divers\\BandSet could not be used; 0 is used instead."},
         "Longitude=0 Latitude=0 CallSign=\"F6XYZ\" Power=20 Path=0 Display=1 GainTable=0 MinAngle=10 "
         "DistLon=0 DistLat=0 BandSet=0 ShowPath=1 Targets=\"\" "},
        {"a call sign with a control character",
         File("\"CallSign\"=\" F5\tABC \"\r\n"),
         {"Station\\CallSign could not be used: the call sign holds the control character U+0009 (tab) at "
          "character 3; a call sign is printable text. \"F5ABC\" is used instead."},
         ""},
        {"a value of the wrong type stops the read there",
         File("\"Latitude\"=" + HexOf(95.0L) +
                  "\r\n\"CallSign\"=\"F6XYZ\"\r\n\"Power\"=dword:00000064\r\n\"Display\"=\"3\"\r\n",
              "\"DistLon\"=\"10\"\r\n"),
         {notText, "Station\\Latitude could not be used; 0 is used instead."},
         "Longitude=0 Latitude=0 CallSign=\"F6XYZ\" Power=0 Path=0 Display=0 GainTable=0 MinAngle=0 DistLon=7 "
         "DistLat=0 BandSet=0 ShowPath=0 Targets=\"\" "},
        {"a file that cannot be read to its end",
         Header + StationKey + "\"CallSign\"=\"F6XYZ\"\r\n\"Power\"=\"300\"\r\n\"MinAngle\"=dword:zz\r\n",
         {"line 6: bad dword value"},
         "Longitude=0 Latitude=0 CallSign=\"F6XYZ\" Power=300 Path=0 Display=1 GainTable=0 MinAngle=10 DistLon=0 "
         "DistLat=0 BandSet=0 ShowPath=1 Targets=\"\" "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        Write(c.File);
        RegIni store(path);
        const LoadedSettings read = LoadSettings(store, start);
        EXPECT_EQ(read.Warnings, c.Warnings);
        if (!c.Values.empty()) {
            EXPECT_EQ(Describe(read.Values), c.Values);
        }
        EXPECT_EQ(Read(), c.File) << "reading writes nothing";
    }
}

// What SaveSettings writes, LoadSettings reads back; each section is one
// update of the file, with its values in the order given.
TEST_F(SettingsSchema, SaveWritesEachSectionInOneUpdateAndLoadReadsItBack)
{
    StoredSettings chosen;
    chosen.Station = Settings{" W1AW ", -71.25L, 41.75L, 2500, true, DisplayFormat::Delay, Antenna::Yagi, 90};
    chosen.RemoteLonWestDeg = -180;
    chosen.RemoteLatDeg = -90;
    chosen.Rows = BandSet::Amateur;
    chosen.ShowPath = false;
    chosen.PlannerTargets = "JA1ABC, FN31 vk9x";

    int updates = 0;
    RegIni store(path, [&updates] { ++updates; });
    SaveSettings(store, chosen, StationSetup);
    EXPECT_EQ(updates, 1);
    EXPECT_EQ(Read(), Header + StationKey + "\"CallSign\"=\" W1AW \"\r\n\"Longitude\"=" + HexOf(-71.25L) +
                          "\r\n\"Latitude\"=" + HexOf(41.75L) +
                          "\r\n\"Power\"=\"2500\"\r\n\"MinAngle\"=\"90\"\r\n\r\n");
    SaveSettings(store, chosen, KeptAtClosing);
    EXPECT_EQ(updates, 3);
    const SettingId choices[] = {SettingId::BandSet, SettingId::ShowPath};
    SaveSettings(store, chosen, choices);
    EXPECT_EQ(updates, 4);
    const SettingId planner[] = {SettingId::PlannerTargets};
    SaveSettings(store, chosen, planner);
    EXPECT_EQ(updates, 5);
    EXPECT_NE(Read().find("\"MinAngle\"=\"90\"\r\n\"Display\"=\"3\"\r\n\"GainTable\"=\"2\"\r\n\"Path\"=\"1\"\r\n\r\n" +
                          DiversKey +
                          "\"DistLon\"=\"-180\"\r\n\"DistLat\"=\"-90\"\r\n\"BandSet\"=\"1\"\r\n"
                          "\"ShowPath\"=\"0\"\r\n\r\n"
                          "[HKEY_CURRENT_USER\\Software\\Talvik Software\\ORVELA\\Planner]\r\n"
                          "\"Targets\"=\"JA1ABC, FN31 vk9x\"\r\n"),
              std::string::npos)
        << Read();

    RegIni reread(path);
    const LoadedSettings read = LoadSettings(reread, StoredSettings{});
    EXPECT_TRUE(read.Warnings.empty());
    StoredSettings expected = chosen;
    expected.Station.CallSign = "W1AW"; // used without its blanks
    EXPECT_EQ(Describe(read.Values), Describe(expected));

    // A section that cannot be written stops the save there.
    RegIni failing(path, [] { throw StoreError("disk full"); });
    chosen.Station.Display = DisplayFormat::SignalLevel;
    chosen.RemoteLonWestDeg = 1;
    const std::string before = Read();
    EXPECT_THROW(SaveSettings(failing, chosen, KeptAtClosing), StoreError);
    EXPECT_EQ(Read(), before);
}

// The setup dialog shows what the file holds, unchecked: its spins clamp.
TEST_F(SettingsSchema, LoadStoredValueTakesTheValueAsStoredOrItsDefault)
{
    Write(File("\"CallSign\"=\" F5\tABC \"\r\n\"Longitude\"=" + HexOf(500.0L) +
               "\r\n\"Power\"=\"99999\"\r\n\"MinAngle\"=dword:00000005\r\n"));
    RegIni store(path);
    StoredSettings shown = StoredDefaults();
    for (const SettingId id : StationSetup) {
        LoadStoredValue(store, id, shown);
    }
    EXPECT_EQ(shown.Station.CallSign, " F5\tABC ");
    EXPECT_EQ(shown.Station.Longitude, 500.0L);
    EXPECT_EQ(shown.Station.Latitude, 0.0L);
    EXPECT_EQ(shown.Station.Power, 99999);
    EXPECT_EQ(shown.Station.MinAngle, 10) << "a dword is not a whole number as text";
}

} // namespace
} // namespace orvela
