// Reading the Geophysical Alert Message piece by piece. No network here, so
// that the parser can be built and fuzzed on its own.
#include "solar/geoalert.h"
#include "solar/quoted_piece.h"
#include "common/trimmed.h"
#include "common/whole_number.h"

#include <algorithm>
#include <utility>

namespace orvela::solar {

namespace {

constexpr std::string_view IssuedWord = "Issued";
constexpr std::string_view FluxPhrase = "Solar flux";
constexpr std::size_t IssueWidth = 22; // the issue date and time fit in these
constexpr std::size_t FluxWidth = 4;   // the flux, padded with blanks

// Removes characters of code 32 or below at both ends. The bulletin is
// single-byte text: bytes from 128 up are letters, not blanks.
std::string_view Trim(std::string_view s)
{
    return Trimmed(s, [](char c) { return static_cast<unsigned char>(c) <= 32; });
}

// Printable form of a short piece of the bulletin for a one-line message.
std::string Quoted(std::string_view s)
{
    return QuotedPiece(s);
}

} // namespace

GeoAlertParser::GeoAlertParser()
{
    pending_.reserve(PieceSize);
}

bool GeoAlertParser::Fail(std::string problem)
{
    failed_ = true;
    problem_ = std::move(problem);
    return false;
}

bool GeoAlertParser::Piece(std::string_view piece)
{
    const std::uint64_t first = consumed_;
    consumed_ += piece.size();
    auto range = [&] { return "bytes " + std::to_string(first) + ".." + std::to_string(consumed_ - 1); };

    // The text of a piece ends at its first NUL byte.
    const std::string_view text = piece.substr(0, piece.find('\0'));

    // The word, one more character (a colon in today's bulletin), then the
    // date and time. A piece without the word keeps the last issue text.
    const std::size_t p = text.find(IssuedWord);
    if (p != std::string_view::npos) {
        const std::size_t from = std::min(p + IssuedWord.size() + 1, text.size());
        issued_.assign(Trim(text.substr(from, IssueWidth)));
    }

    const std::size_t q = text.find(FluxPhrase);
    if (q == std::string_view::npos)
        return Fail("no \"Solar flux\" in " + range());
    const std::string_view flux = Trim(text.substr(q + FluxPhrase.size(), FluxWidth));
    // During NOAA's data outages the bulletin reads "Solar flux ???".
    const std::optional<int> value = ParseWholeNumber(flux);
    if (!value)
        return Fail("\"Solar flux\" followed by " + Quoted(flux) + ", not a whole number, in " + range());
    flux_ = *value;
    return true;
}

bool GeoAlertParser::Feed(std::string_view bytes)
{
    if (failed_)
        return false;
    // Complete the piece begun by earlier calls.
    if (!pending_.empty()) {
        const std::size_t take = std::min(bytes.size(), PieceSize - pending_.size());
        pending_.append(bytes.substr(0, take));
        bytes.remove_prefix(take);
        if (pending_.size() < PieceSize)
            return true;
        const bool ok = Piece(pending_);
        pending_.clear();
        if (!ok)
            return false;
    }
    // Whole pieces straight from the caller's bytes.
    while (bytes.size() >= PieceSize) {
        if (!Piece(bytes.substr(0, PieceSize)))
            return false;
        bytes.remove_prefix(PieceSize);
    }
    pending_.append(bytes);
    return true;
}

GeoAlert GeoAlertParser::Finish()
{
    if (!failed_ && !pending_.empty()) {
        Piece(pending_);
        pending_.clear();
    }
    if (!failed_ && consumed_ == 0)
        Fail("empty reply");

    GeoAlert result;
    if (failed_) {
        result.Problem = problem_;
    } else {
        result.Ok = true;
        result.Issued = issued_;
        result.Flux = flux_;
    }
    return result;
}

GeoAlert ParseGeoAlert(std::string_view body)
{
    GeoAlertParser parser;
    parser.Feed(body);
    return parser.Finish();
}

} // namespace orvela::solar
