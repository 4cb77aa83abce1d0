// libFuzzer target for the registry-export reader: any file reads without a
// crash; the document keeps every line it read, as it read it, up to the
// first line it could not parse; what it writes reads back the same;
// storing the remote point, as closing the window does, changes that value
// alone; and a string goes to UTF-16, as the registry holds it, and back
// unchanged when it is UTF-8.
#include "station/reg_file.h"
#include "common/utf8.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using orvela::reg::Entry;
using orvela::reg::ParseResult;
using orvela::reg::RegDocument;
using orvela::reg::RegValue;

void Check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "reg_file fuzz: %s\n", what);
        std::abort();
    }
}

// The text the reader works on: UTF-16LE after its BOM turned into UTF-8,
// or UTF-8 less its BOM.
std::string Decoded(std::string_view bytes)
{
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        return orvela::reg::Utf16LeToUtf8(reinterpret_cast<const std::uint8_t*>(bytes.data()) + 2, bytes.size() - 2);
    }
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
    }
    return std::string(bytes);
}

// The text with every line ended by CRLF: a bare LF gains its CR.
std::string WithCrLf(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) {
            out += '\r';
        }
        out += text[i];
    }
    return out;
}

bool SameValue(const RegValue& a, const RegValue& b)
{
    return a.Written == b.Written && a.Type == b.Type && a.Text == b.Text && a.Data == b.Data;
}

bool SameEntry(const Entry& a, const Entry& b)
{
    return a.What == b.What && a.Lines == b.Lines && a.KeyPath == b.KeyPath && a.Deletes == b.Deletes &&
           a.Name == b.Name && SameValue(a.Value, b.Value);
}

bool SameEntries(const RegDocument& a, const RegDocument& b)
{
    const std::vector<Entry>& x = a.Entries();
    const std::vector<Entry>& y = b.Entries();
    if (x.size() != y.size()) {
        return false;
    }
    for (std::size_t i = 0; i < x.size(); ++i) {
        if (!SameEntry(x[i], y[i])) {
            return false;
        }
    }
    return true;
}

// Every (key, value name) pair the document names, each with the value in
// force for it.
std::vector<std::pair<std::pair<std::string, std::string>, const RegValue*>> ValuesInForce(const RegDocument& doc)
{
    std::vector<std::pair<std::pair<std::string, std::string>, const RegValue*>> found;
    std::string key;
    for (const Entry& e : doc.Entries()) {
        if (e.What == Entry::Kind::Key) {
            key = e.KeyPath;
        } else if (e.What == Entry::Kind::Value) {
            found.push_back({{key, e.Name}, doc.Find(key, e.Name)});
        }
    }
    return found;
}

// Text to UTF-16 and back: UTF-8 comes back as it was, and whatever comes
// back (each byte that is not UTF-8 made U+FFFD) goes there and back
// unchanged.
void CheckUtf16RoundTrip(std::string_view text)
{
    const auto thereAndBack = [](std::string_view t) {
        const std::vector<std::uint8_t> utf16 = orvela::reg::Utf8ToUtf16Le(t);
        return orvela::reg::Utf16LeToUtf8(utf16.data(), utf16.size());
    };
    const std::string back = thereAndBack(text);
    Check(thereAndBack(back) == back, "text back from UTF-16 goes there and back unchanged");
    bool utf8 = true;
    for (std::size_t at = 0; at < text.size() && utf8;) {
        const orvela::Utf8Char c = orvela::DecodeUtf8(text, at);
        utf8 = c.Length > 0;
        at += c.Length;
    }
    Check(!utf8 || back == text, "UTF-8 text goes to UTF-16 and back unchanged");
}

const std::string Divers = "HKEY_CURRENT_USER\\Software\\Talvik Software\\ORVELA\\Divers";

bool SameNameNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const ParseResult read = RegDocument::Parse(bytes);
    const RegDocument& doc = read.Document;
    const std::string text = doc.Serialize();

    // What was read is written back line for line, every line ended by CRLF;
    // a file that could not be read whole keeps the lines before its fault.
    const std::string original = WithCrLf(Decoded(bytes));
    // A parse fault names its line; a UTF-16 file's odd last byte is no
    // fault of any line, and everything before it was read.
    const bool stoppedEarly = read.Problem.starts_with("line ");
    if (!stoppedEarly) {
        Check(text == original, "a file read whole is written back as it was read");
    } else {
        Check(read.Problem.find('\n') == std::string::npos, "the problem is one line");
        Check(original.compare(0, text.size(), text) == 0, "what was kept is the start of the file");
        Check(text.empty() || text.ends_with("\r\n"), "the lines kept before a fault end with CRLF");
    }

    // What is written reads back without a fault, into the same entries.
    const ParseResult again = RegDocument::Parse(text);
    Check(again.Problem.empty(), "what is written reads back without a fault");
    Check(SameEntries(again.Document, doc), "what is written reads back into the same entries");
    Check(again.Document.Serialize() == text, "writing is stable");

    // Closing the window stores the remote point into whatever was read;
    // every other value in force stays as it was.
    const auto before = ValuesInForce(doc);
    RegDocument changed = doc;
    changed.Set(Divers, "DistLon", RegValue::String("-75"));
    const ParseResult stored = RegDocument::Parse(changed.Serialize());
    Check(stored.Problem.empty(), "a stored value reads back without a fault");
    const RegValue* distLon = stored.Document.Find(Divers, "DistLon");
    Check(distLon != nullptr && SameValue(*distLon, RegValue::String("-75")), "the stored value is in force");
    for (const auto& [where, value] : before) {
        if (SameNameNoCase(where.first, Divers) && SameNameNoCase(where.second, "DistLon")) {
            continue;
        }
        const RegValue* now = stored.Document.Find(where.first, where.second);
        Check((value == nullptr) == (now == nullptr), "storing one value adds or removes no other");
        Check(value == nullptr || SameValue(*value, *now), "storing one value changes no other");
    }

    CheckUtf16RoundTrip(bytes);
    return 0;
}
