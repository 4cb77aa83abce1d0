// The settings the program keeps between runs, as one table: for each, where
// the settings file keeps it (section and value name), how it is stored, its
// default and the range a value must lie in to be used. Start-up reads the
// file through the table (LoadSettings), the setup dialog and the main
// window write through it (SaveSettings), and the command line takes its
// defaults and ranges from it.
//
// A new setting is one row of SettingRows, with its name in SettingId at the
// same place and its member in StoredSettings; a value the program writes
// goes on the list of the moment it is written (StationSetup,
// KeptAtClosing), or is written on its own when chosen.
//
// The table and its defaults need no linking (the command line's fuzz
// target builds without the library); reading and writing a store does.
#pragma once

#include "engine/bands.h"
#include "engine/model.h"

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

namespace orvela {

class RegIni;

// Everything the settings file keeps: the station and its options, the
// remote point, and the choices of the table's and the map's menus.
struct StoredSettings {
    Settings Station;
    int RemoteLonWestDeg = 0; // whole degrees, positive west
    int RemoteLatDeg = 0;     // whole degrees, positive north
    BandSet Rows = BandSet::Fixed;
    bool ShowPath = true;
    // The planner's own targets: call signs, prefixes and locators as the
    // user typed them, separated by commas or blanks.
    std::string PlannerTargets;
};

// How a value is kept in the file.
enum class StoredAs {
    // A text, kept as typed; used without the blanks around it and without
    // any character a call sign may not hold.
    CallSign,
    // Ten bytes of an x87 extended-precision number.
    Extended,
    // A signed 32-bit whole number as decimal text.
    WholeNumber,
    // A whole number as decimal text, true when it is not zero.
    Flag,
    // A text kept and used as typed.
    Text,
};

// Where a row's value lives: a member of the station's Settings, or one of
// StoredSettings itself.
using SettingMember = std::variant<std::string Settings::*, long double Settings::*, int Settings::*, bool Settings::*,
                                   DisplayFormat Settings::*, Antenna Settings::*, int StoredSettings::*,
                                   bool StoredSettings::*, BandSet StoredSettings::*, std::string StoredSettings::*>;

// The member of one StoredSettings a row fills.
using SettingField = std::variant<std::string*, long double*, int*, bool*, DisplayFormat*, Antenna*, BandSet*>;

// The settings in the order start-up reads them: the order of SettingRows.
enum class SettingId : int {
    Longitude,
    Latitude,
    CallSign,
    Power,
    Path,
    Display,
    GainTable,
    MinAngle,
    DistLon,
    DistLat,
    BandSet,
    ShowPath,
    PlannerTargets,
};

struct SettingRow {
    SettingId Id;
    const char* Section;
    const char* Name;
    StoredAs Type;
    SettingMember Member;
    long double Default = 0; // a number's default; a flag's is 0 or 1
    // A number outside [Min, Max], or one that is not finite, is not used:
    // the default takes its place, and start-up says so. Flags and call
    // signs have no range.
    long double Min = 0;
    long double Max = 0;
    const char* DefaultText = ""; // a call sign's default

    constexpr int WholeDefault() const { return static_cast<int>(Default); }
    constexpr int WholeMin() const { return static_cast<int>(Min); }
    constexpr int WholeMax() const { return static_cast<int>(Max); }
};

// The display format is stored as 1 to 4 (DisplayFormat), the antenna as 0
// to 2 (Antenna), the table's rows as 0 for 2-30 MHz and 1 for the amateur
// bands (BandSet). ShowPath defaults to 1, so that a file from before the
// choice shows the path.
inline constexpr std::array<SettingRow, 13> SettingRows{{
    // id, section, name, stored as, member, default, min, max (a call sign: its default text)
    {SettingId::Longitude, "Station", "Longitude", StoredAs::Extended, &Settings::Longitude, 0, -180, 180},
    {SettingId::Latitude, "Station", "Latitude", StoredAs::Extended, &Settings::Latitude, 0, -90, 90},
    {SettingId::CallSign, "Station", "CallSign", StoredAs::CallSign, &Settings::CallSign, 0, 0, 0, "NoCall"},
    {SettingId::Power, "Station", "Power", StoredAs::WholeNumber, &Settings::Power, DefaultPower, 5, 2500},
    {SettingId::Path, "Station", "Path", StoredAs::Flag, &Settings::Path, 0},
    {SettingId::Display, "Station", "Display", StoredAs::WholeNumber, &Settings::Display, 1, 1, 4},
    {SettingId::GainTable, "Station", "GainTable", StoredAs::WholeNumber, &Settings::GainTable, 0, 0, 2},
    {SettingId::MinAngle, "Station", "MinAngle", StoredAs::WholeNumber, &Settings::MinAngle, DefaultMinAngle, 0, 90},
    {SettingId::DistLon, "Divers", "DistLon", StoredAs::WholeNumber, &StoredSettings::RemoteLonWestDeg, 0, -180, 180},
    {SettingId::DistLat, "Divers", "DistLat", StoredAs::WholeNumber, &StoredSettings::RemoteLatDeg, 0, -90, 90},
    {SettingId::BandSet, "Divers", "BandSet", StoredAs::WholeNumber, &StoredSettings::Rows, 0, 0, 1},
    {SettingId::ShowPath, "Divers", "ShowPath", StoredAs::Flag, &StoredSettings::ShowPath, 1},
    {SettingId::PlannerTargets, "Planner", "Targets", StoredAs::Text, &StoredSettings::PlannerTargets},
}};

// Each row at the place of its id, with a member of the kind its stored
// type fills.
constexpr bool RowsAreWellFormed()
{
    for (std::size_t i = 0; i < SettingRows.size(); ++i) {
        const SettingRow& row = SettingRows[i];
        const bool callSign = std::holds_alternative<std::string Settings::*>(row.Member);
        const bool text = std::holds_alternative<std::string StoredSettings::*>(row.Member);
        const bool extended = std::holds_alternative<long double Settings::*>(row.Member);
        const bool flag = std::holds_alternative<bool Settings::*>(row.Member) ||
                          std::holds_alternative<bool StoredSettings::*>(row.Member);
        const bool fits = row.Type == StoredAs::CallSign   ? callSign
                          : row.Type == StoredAs::Text     ? text
                          : row.Type == StoredAs::Extended ? extended
                          : row.Type == StoredAs::Flag     ? flag
                                                           : !callSign && !text && !extended && !flag;
        if (static_cast<std::size_t>(row.Id) != i || !fits) {
            return false;
        }
    }
    return true;
}
static_assert(RowsAreWellFormed(), "each row of SettingRows sits at the place of its SettingId and fills a member "
                                   "of the kind it is stored as");

constexpr const SettingRow& SettingRowOf(SettingId id)
{
    return SettingRows[static_cast<std::size_t>(id)];
}

namespace detail {
template <class Member>
struct ClassOf;
template <class T, class C>
struct ClassOf<T C::*> {
    using type = C;
};
} // namespace detail

// The member of `s` that a row fills.
inline SettingField FieldOf(const SettingRow& row, StoredSettings& s)
{
    return std::visit(
        [&s](auto member) -> SettingField {
            if constexpr (std::is_same_v<typename detail::ClassOf<decltype(member)>::type, Settings>) {
                return &(s.Station.*member);
            } else {
                return &(s.*member);
            }
        },
        row.Member);
}

// What the setup dialog writes when it is accepted, in one update of the
// file and in this order.
inline constexpr std::array<SettingId, 5> StationSetup{SettingId::CallSign, SettingId::Longitude, SettingId::Latitude,
                                                       SettingId::Power, SettingId::MinAngle};
// What the main window keeps when it closes: the display format, the
// antenna and the path in one update, then the remote point in another.
inline constexpr std::array<SettingId, 5> KeptAtClosing{SettingId::Display, SettingId::GainTable, SettingId::Path,
                                                        SettingId::DistLon, SettingId::DistLat};

namespace detail {

// Puts a stored number into its member: a whole number into an int or an
// enumeration, a flag into a bool.
inline void SetNumber(SettingField field, long double v)
{
    struct {
        long double V;
        void operator()(std::string*) const {}
        void operator()(long double* p) const { *p = V; }
        void operator()(int* p) const { *p = static_cast<int>(V); }
        void operator()(bool* p) const { *p = V != 0; }
        void operator()(DisplayFormat* p) const { *p = static_cast<DisplayFormat>(static_cast<int>(V)); }
        void operator()(Antenna* p) const { *p = static_cast<Antenna>(static_cast<int>(V)); }
        void operator()(BandSet* p) const { *p = static_cast<BandSet>(static_cast<int>(V)); }
    } set{v};
    std::visit(set, field);
}

inline void SetText(SettingField field, const std::string& text)
{
    if (std::string* const* p = std::get_if<std::string*>(&field)) {
        **p = text;
    }
}

} // namespace detail

// Every setting at its default: what a first run starts from, and the
// command line's defaults.
inline const StoredSettings& StoredDefaults()
{
    static const StoredSettings defaults = [] {
        StoredSettings s;
        for (const SettingRow& row : SettingRows) {
            if (row.Type == StoredAs::CallSign || row.Type == StoredAs::Text) {
                detail::SetText(FieldOf(row, s), row.DefaultText);
            } else {
                detail::SetNumber(FieldOf(row, s), row.Default);
            }
        }
        return s;
    }();
    return defaults;
}

// The settings read at start-up, and what start-up warns of.
struct LoadedSettings {
    StoredSettings Values;
    // One line each, in this order: why the read stopped, or else why the
    // file could not be read to its end; then each value that could not be
    // used and what is used instead, in the order of SettingRows. Empty
    // when all went well.
    std::vector<std::string> Warnings;
};

// Reads every setting in the order of SettingRows, starting from `start`.
// A value that is missing, or a number that is not a whole number, takes
// its default; a number out of its range or a call sign with a character a
// call sign may not hold is replaced, with a warning. A value of the wrong
// type (a dword where text is kept) stops the read there: the settings
// before it are read, those after it keep their values of `start`. A file
// that could not be read to its end gives what was read before the fault.
LoadedSettings LoadSettings(RegIni& store, const StoredSettings& start);

// One setting as the file holds it, into its member of `into`, without the
// checks of LoadSettings: a call sign as typed, a number whatever its range.
// A missing value, or one not of the setting's type, gives the default.
void LoadStoredValue(RegIni& store, SettingId id, StoredSettings& into);

// Writes the settings named, from `values`: those of one section in one
// update of the file, the sections in the order `which` first names them.
// Throws StoreError when the file cannot be written; the section that
// failed is then left as it was, and those after it are not written.
void SaveSettings(RegIni& store, const StoredSettings& values, std::span<const SettingId> which);

} // namespace orvela
