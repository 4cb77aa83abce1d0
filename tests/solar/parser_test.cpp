// The Geophysical Alert Message parser: the piece rule over 1024-byte pieces,
// and a result that does not depend on how the body was delivered.
#include "tests/solar/bulletins.h"
#include "solar/geoalert.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <vector>

namespace orvela::solar {

void PrintTo(const GeoAlert& a, std::ostream* os)
{
    *os << "{Ok=" << a.Ok << " Issued=\"" << a.Issued << "\" Flux=" << a.Flux << " Problem=\"" << a.Problem << "\"}";
}

namespace {

using testing::Bulletin;
using testing::Fixture;
using testing::PadTo;
using testing::RealBulletin;
using testing::RealBulletins;

constexpr std::size_t Piece = GeoAlertParser::PieceSize;

// Feeds body in parts whose sizes repeat from sizes, then finishes.
GeoAlert FeedInParts(std::string_view body, const std::vector<std::size_t>& sizes)
{
    GeoAlertParser parser;
    for (std::size_t i = 0; !body.empty(); ++i) {
        const std::size_t n = std::min(sizes[i % sizes.size()], body.size());
        parser.Feed(body.substr(0, n));
        body.remove_prefix(n);
    }
    return parser.Finish();
}

// The result is the same for every way of delivering the body: split in two
// at any byte, or in parts of sizes that fall on both sides of the pieces.
void ExpectSameInAnyCutting(const std::string& body, const GeoAlert& whole)
{
    for (std::size_t at = 0; at <= body.size(); ++at) {
        GeoAlertParser parser;
        parser.Feed(std::string_view(body).substr(0, at));
        parser.Feed(std::string_view(body).substr(at));
        const GeoAlert cut = parser.Finish();
        ASSERT_EQ(cut, whole) << "split at byte " << at;
    }
    for (const std::vector<std::size_t>& sizes : std::vector<std::vector<std::size_t>>{
             {1}, {7}, {Piece - 1}, {Piece}, {Piece + 1}, {3 * Piece}, {0, 1000, 13, 2048}}) {
        ASSERT_EQ(FeedInParts(body, sizes), whole) << "parts of " << sizes[0] << " bytes";
    }
}

TEST(GeoAlertParser, RealBulletins)
{
    for (const RealBulletin& c : RealBulletins) {
        SCOPED_TRACE(c.file);
        const std::string body = Fixture(c.file);
        const GeoAlert a = ParseGeoAlert(body);
        EXPECT_EQ(a, (GeoAlert{true, c.issued, c.flux, ""}));
        ExpectSameInAnyCutting(body, a);
    }
}

struct PieceCase {
    const char* name;
    std::string body;
    GeoAlert expected;
};

void PrintTo(const PieceCase& c, std::ostream* os)
{
    *os << c.name;
}

GeoAlert Ok(const std::string& issued, int flux)
{
    return {true, issued, flux, ""};
}

GeoAlert Failed(const std::string& problem)
{
    return {false, "", 0, problem};
}

const std::string Issued = "2026 Dec 10 0305 UTC";
const std::string NoFlux1024 = "no \"Solar flux\" in bytes 0..1023";

std::vector<PieceCase> PieceCases()
{
    const std::string body = Bulletin();
    const std::string onePiece = PadTo(body, Piece);
    const std::string last = std::to_string(body.size() - 1);
    return {
        // One piece.
        {"Reply700Bytes", PadTo(body, 700), Ok(Issued, 122)},
        {"EmptyReply", "", Failed("empty reply")},
        {"NoIssued", "Solar-terrestrial indices follow.\nSolar flux 122 and estimated planetary A-index 5.\n",
         Ok("", 122)},
        {"PhraseInCapitals", Bulletin("122").replace(body.find("Solar flux"), 10, "SOLAR FLUX"),
         Failed("no \"Solar flux\" in bytes 0.." + last)},
        {"DataOutage", Bulletin("???"),
         Failed("\"Solar flux\" followed by \"???\", not a whole number, in bytes 0.." + last)},
        {"TwoDigitFlux", Bulletin("67"), Ok(Issued, 67)},
        {"FluxAboveTheWindowsRange", Bulletin("620"), Ok(Issued, 620)},
        {"LeadingZero", Bulletin("086"), Ok(Issued, 86)},
        {"Signs", "Solar flux +86\nIssued: x\n", Ok("x", 86)},
        {"NegativeFlux", "Solar flux -5 and\nIssued: x\n", Ok("x", -5)},
        {"FluxWithDecimals", "Solar flux 12.5\n",
         Failed("\"Solar flux\" followed by \"12.\", not a whole number, in bytes 0..15")},
        {"FluxWithABlankInside", "Solar flux 1 2\n",
         Failed("\"Solar flux\" followed by \"1 2\", not a whole number, in bytes 0..14")},
        {"SignAlone", "Solar flux + 1\n",
         Failed("\"Solar flux\" followed by \"+ 1\", not a whole number, in bytes 0..14")},
        {"PhraseAtTheEndOfTheBody", "Issued: x\nSolar flux",
         Failed("\"Solar flux\" followed by \"\", not a whole number, in bytes 0..19")},
        // Only four characters after the phrase count: " 123" of " 12345".
        {"FluxWindowOfFourCharacters", "Solar flux 12345\n", Ok("", 123)},
        {"OldFluxLine", "Solar flux 152 and estimated mid-latitude A-Index 17.\n", Ok("", 152)},
        {"FirstFluxInAPieceCounts", "Solar flux 120\nSolar flux 130\n", Ok("", 120)},
        {"FirstIssuedInAPieceCounts", "Solar flux 1 \nIssued: " + Issued + "\nIssued: 2026 Dec 11 0305 UTC\n",
         Ok(Issued, 1)},
        // The issue window: the word, any one character, then 22 characters,
        // whatever they hold.
        {"IssueWindowOf22Characters", "Solar flux 99\nIssued:ABCDEFGHIJKLMNOPQRSTUVWXYZ\n",
         Ok("ABCDEFGHIJKLMNOPQRSTUV", 99)},
        {"IssueWindowRunsIntoTheNextLine", "Issued: x\nSolar flux 99\n", Ok("x\nSolar flux 99", 99)},
        {"AnyCharacterAfterTheWord", "Solar flux 99\nIssuedXYZ\n", Ok("YZ", 99)},
        {"IssuedAtTheEndOfThePiece", "Solar flux 99\nIssued", Ok("", 99)},
        {"IssuedWithOneMoreCharacterAtTheEnd", "Solar flux 99\nIssued:", Ok("", 99)},
        {"CrLfLineEnds", "Issued: 2026 Dec 10 0305 UTC\r\nSolar flux 99\r\n", Ok(Issued, 99)},
        // Single-byte text: a Latin-1 letter is no blank.
        {"HighBytesAreNotTrimmed", "Solar flux 99\nIssued: \xB0 2026 Dec 10 \xE9\n", Ok("\xB0 2026 Dec 10 \xE9", 99)},
        // A piece's text ends at its first NUL byte.
        {"NulBeforeThePhrase", std::string("Issued: x\n\0Solar flux 99\n", 25),
         Failed("no \"Solar flux\" in bytes 0..24")},
        {"NulAfterThePhrase", std::string("Solar flux 99\n\0Issued: x\n", 25), Ok("", 99)},
        {"NulInsideTheFluxWindow",
         std::string("Solar flux 9\0"
                     "9\n",
                     15),
         Ok("", 9)},
        // Several pieces: every one must hold the phrase.
        {"Reply1500BytesSecondPieceWithoutThePhrase", PadTo(body, 1500),
         Failed("no \"Solar flux\" in bytes 1024..1499")},
        {"Reply1024BytesIsOnePiece", onePiece, Ok(Issued, 122)},
        {"Reply1025BytesLastPieceOfOneByte", onePiece + "x", Failed("no \"Solar flux\" in bytes 1024..1024")},
        {"LaterPieceKeepsTheIssueAndGivesTheFlux", onePiece + PadTo("Solar flux 131 and\n", 476), Ok(Issued, 131)},
        {"LaterIssuedReplacesTheEarlier", onePiece + PadTo("Solar flux 131\nIssued: 2026 Dec 11 0305 UTC\n", 476),
         Ok("2026 Dec 11 0305 UTC", 131)},
        {"OutageInALaterPiece", onePiece + PadTo("Solar flux ???\n", 476),
         Failed("\"Solar flux\" followed by \"???\", not a whole number, in bytes 1024..1499")},
        {"PhraseAcrossTwoPieces", PadTo("Issued: x\n", Piece - 7) + "Solar flux 100\n", Failed(NoFlux1024)},
        // The flux behind a phrase that ends a piece is in the next piece: not read.
        {"PhraseAtTheEndOfAPiece",
         PadTo("Issued: x\n", Piece - 10) + "Solar flux" + PadTo(" 100\nSolar flux 101\n", 100),
         Failed("\"Solar flux\" followed by \"\", not a whole number, in bytes 0..1023")},
        {"NulInAnEarlierPiece", std::string(Piece, '\0') + "Solar flux 99\n", Failed(NoFlux1024)},
    };
}

class PieceRule : public ::testing::TestWithParam<PieceCase> {};

TEST_P(PieceRule, WholeAndInAnyCutting)
{
    const PieceCase& c = GetParam();
    const GeoAlert whole = ParseGeoAlert(c.body);
    EXPECT_EQ(whole, c.expected);
    ExpectSameInAnyCutting(c.body, whole);
}

INSTANTIATE_TEST_SUITE_P(GeoAlertParser, PieceRule, ::testing::ValuesIn(PieceCases()),
                         [](const auto& info) { return std::string(info.param.name); });

// Feed says to stop as soon as a whole piece has failed, and not before: a
// shorter piece may still be completed by the next bytes.
TEST(GeoAlertParser, FeedSaysToStopAtTheFirstFailedPiece)
{
    const std::string good = PadTo(Bulletin(), Piece);
    const std::string bad = PadTo("", Piece);

    GeoAlertParser parser;
    EXPECT_TRUE(parser.Feed(good));
    EXPECT_TRUE(parser.Feed(bad.substr(0, Piece - 1)));
    EXPECT_FALSE(parser.Feed(bad.substr(Piece - 1)));
    EXPECT_FALSE(parser.Feed(good));
    EXPECT_EQ(parser.Finish(), Failed("no \"Solar flux\" in bytes 1024..2047"));

    // In one call, the failure is found without reading the rest.
    GeoAlertParser once;
    EXPECT_FALSE(once.Feed(good + bad + std::string(10 * Piece, 'x')));
    EXPECT_EQ(once.Finish(), Failed("no \"Solar flux\" in bytes 1024..2047"));
}

} // namespace
} // namespace orvela::solar
