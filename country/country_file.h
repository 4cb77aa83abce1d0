// The contest country file, cty.dat: the DXCC entities (and the entities of
// the DARC's WAE list) with their zones, continent and position, and the
// prefixes and whole call signs that belong to each.
//
// The file is plain ASCII text. Each entity starts with a line of eight
// fields, each ended by ':' and padded with blanks for the eye:
//
//   Japan:                    25:  45:  AS:   36.40:  -138.38:    -9.0:  JA:
//
// the entity's name, its CQ zone (1 to 40), its ITU zone (1 to 90), its
// continent (AF, AN, AS, EU, NA, OC or SA), its latitude (degrees, positive
// north), its longitude (degrees, positive WEST, as Orvela counts them
// everywhere), the hours to add to local time to get UTC (so also positive
// west: -9.0 for Japan) and its primary prefix; a '*' before the primary
// prefix marks an entity that counts only on the WAE list. The lines after
// it list the entity's aliases, separated by ',', over as many lines as
// needed, the last ended by ';':
//
//     JA,JD,JE,=JA1XYZ/JD1(27)[45],7J1(28)<24.3/-153.97>,
//     JR6(25){AS}~-9.0~;
//
// An alias is a prefix, or with '=' before it a whole call sign that only an
// exact match takes. After it may follow, in any order and each at most
// once, the values that differ from the entity's for the stations it covers:
// (CQ zone), [ITU zone], <latitude/longitude>, {continent} and ~UTC offset~.
//
// A file that breaks any of this is refused as a whole, with the line and
// the reason: this is the file every call sign is looked up in, and a
// half-read one would give wrong answers without a word.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orvela::country {

// A file larger than this is refused unread: the real file is about a third
// of a megabyte.
inline constexpr std::size_t MaxFileBytes = 4 * 1024 * 1024;
// The longest prefix or call sign an alias may give.
inline constexpr std::size_t MaxAliasLength = 32;

struct Entity {
    std::string Name;
    int CqZone = 0;
    int ItuZone = 0;
    std::string Continent; // two capital letters
    double LatDeg = 0;
    double LonWestDeg = 0;
    double UtcOffsetHours = 0; // added to local time gives UTC: positive west
    std::string PrimaryPrefix; // as the file writes it, without the WAE marker
    bool WaeOnly = false;      // the '*' before the primary prefix
    int Line = 0;              // of the entity's first line, from 1
};

// The values an alias gives in place of its entity's.
struct Overrides {
    std::optional<int> CqZone;
    std::optional<int> ItuZone;
    std::optional<std::string> Continent;
    std::optional<double> LatDeg;     // given together with LonWestDeg
    std::optional<double> LonWestDeg; // given together with LatDeg
    std::optional<double> UtcOffsetHours;
};

struct Alias {
    std::string Text;         // the prefix or call sign, in capitals, without '='
    bool ExactCall = false;   // written with '=': only this whole call sign
    std::uint32_t Entity = 0; // index into CountryFile::Entities()
    Overrides Over;
    int Line = 0;
};

class CountryFile {
public:
    // In the order of the file.
    const std::vector<Entity>& Entities() const { return entities_; }
    const std::vector<Alias>& Aliases() const { return aliases_; }

    // The alias for this whole call sign (capitals, as Alias::Text), or null.
    const Alias* FindExactCall(std::string_view call) const;
    // The alias of the longest prefix that begins `call`, or null.
    const Alias* FindLongestPrefix(std::string_view call) const;

    // The date of the file's release, "20230502", from the pseudo call sign
    // "=VER20230502" that the published files carry; empty without one.
    const std::string& Version() const { return version_; }

private:
    friend class CountryFileBuilder;

    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    using Index = std::unordered_map<std::string, std::uint32_t, Hash, std::equal_to<>>;

    std::vector<Entity> entities_;
    std::vector<Alias> aliases_;
    Index exactCalls_; // call sign to index into aliases_
    Index prefixes_;   // prefix to index into aliases_
    std::size_t longestPrefix_ = 0;
    std::string version_;
};

struct CountryFileResult {
    std::optional<CountryFile> File; // set when the whole file was understood
    int Line = 0;                    // the line at fault, from 1; 0 when no one line is
    std::string Problem;             // one line: "line 12: ..." or what is wrong with the whole
    std::string Warning;             // one line when another file was refused and passed over for this one
};

// Reads the whole text of a country file. LF or CRLF line ends; a UTF-8 byte
// order mark at the start is passed over. The same prefix or call sign given
// for two entities belongs to the first of them, unless the first counts only
// on the WAE list and the second is a DXCC entity: the file lists the calls
// of the Vienna International Centre both under it (WAE) and under Austria
// (DXCC), and a call sign resolves to its DXCC entity.
CountryFileResult ParseCountryFile(std::string_view text);

// Reads the file at `path` and parses it; a file that cannot be read, or is
// larger than MaxFileBytes, is refused with the reason. The problem names
// the file.
CountryFileResult ReadCountryFile(const std::string& path);

} // namespace orvela::country
