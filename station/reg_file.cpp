#include "station/reg_file.h"

#include "common/utf8.h"

#include <cstddef>
#include <optional>
#include <utility>

namespace orvela::reg {

namespace {

bool IsBlankChar(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view TrimLeft(std::string_view s)
{
    while (!s.empty() && IsBlankChar(s.front())) {
        s.remove_prefix(1);
    }
    return s;
}

std::string_view TrimRight(std::string_view s)
{
    while (!s.empty() && IsBlankChar(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

std::string_view Trim(std::string_view s)
{
    return TrimRight(TrimLeft(s));
}

char AsciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix)
{
    return s.size() >= prefix.size() && SameName(s.substr(0, prefix.size()), prefix);
}

// True when deleting `deleted` removes `key`: the key itself or one of its subkeys.
bool DeletionCovers(std::string_view deleted, std::string_view key)
{
    if (SameName(deleted, key)) {
        return true;
    }
    return key.size() > deleted.size() && key[deleted.size()] == '\\' &&
           SameName(key.substr(0, deleted.size()), deleted);
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Parses 1..maxDigits hex digits filling the whole of `s`.
std::optional<std::uint32_t> ParseHexNumber(std::string_view s, std::size_t maxDigits)
{
    if (s.empty() || s.size() > maxDigits) {
        return std::nullopt;
    }
    std::uint32_t v = 0;
    for (char c : s) {
        const int d = HexDigit(c);
        if (d < 0) {
            return std::nullopt;
        }
        v = v * 16 + static_cast<std::uint32_t>(d);
    }
    return v;
}

const char* const HexChars = "0123456789abcdef";

std::string HexByte(std::uint8_t b)
{
    return {HexChars[b >> 4], HexChars[b & 15]};
}

std::string Quote(std::string_view s)
{
    std::string out = "\"";
    for (char c : s) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '"': out += "\\\""; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
    out += '"';
    return out;
}

// Reads a quoted string starting at s[pos] == '"'; on success pos is just
// past the closing quote.
bool ParseQuoted(std::string_view s, std::size_t& pos, std::string& out)
{
    ++pos;
    while (pos < s.size()) {
        const char c = s[pos++];
        if (c == '"') {
            return true;
        }
        if (c != '\\') {
            out += c;
            continue;
        }
        if (pos >= s.size()) {
            return false;
        }
        switch (s[pos++]) {
        case '\\': out += '\\'; break;
        case '"': out += '"'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        default: return false;
        }
    }
    return false;
}

void AppendUtf8(std::string& out, std::uint32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

constexpr std::uint32_t Replacement = 0xFFFD;

// Splits decoded text into lines: LF ends a line and one CR before it is
// dropped.
std::vector<std::string> SplitLines(std::string_view text, bool& missingFinalLineEnd)
{
    std::vector<std::string> lines;
    missingFinalLineEnd = false;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t nl = text.find('\n', pos);
        std::string_view line = text.substr(pos, nl == std::string_view::npos ? std::string_view::npos : nl - pos);
        if (nl == std::string_view::npos) {
            missingFinalLineEnd = true;
        } else if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.emplace_back(line);
        if (nl == std::string_view::npos) {
            break;
        }
        pos = nl + 1;
    }
    return lines;
}

// The byte list of hex data, possibly spread over several pieces (one per
// physical line, continuation backslashes already removed). Each piece is a
// comma-separated list of 1- or 2-digit hex bytes; a piece may end with a
// comma.
bool ParseHexBytes(const std::vector<std::string_view>& pieces, std::vector<std::uint8_t>& out)
{
    for (std::string_view piece : pieces) {
        if (Trim(piece).empty()) {
            continue;
        }
        std::size_t pos = 0;
        while (true) {
            const std::size_t comma = piece.find(',', pos);
            const std::string_view token =
                Trim(piece.substr(pos, comma == std::string_view::npos ? std::string_view::npos : comma - pos));
            const bool last = comma == std::string_view::npos;
            if (token.empty()) {
                if (!last) {
                    return false; // ",," or a leading comma
                }
                break; // trailing comma
            }
            const auto v = ParseHexNumber(token, 2);
            if (!v) {
                return false;
            }
            out.push_back(static_cast<std::uint8_t>(*v));
            if (last) {
                break;
            }
            pos = comma + 1;
        }
    }
    return true;
}

class Parser {
public:
    explicit Parser(const std::vector<std::string>& lines)
        : lines_(lines)
    {
    }

    // Parses lines_[i...] into entries; returns the problem, or "".
    std::string Run(std::vector<Entry>& entries)
    {
        if (lines_.empty()) {
            return {};
        }
        if (Trim(lines_[0]) != FileHeader) {
            return Fault(0, "the file does not start with \"" + std::string(FileHeader) + "\"");
        }
        entries.push_back(Entry{Entry::Kind::Header, {lines_[0]}, {}, false, {}, {}});
        bool inKey = false;
        std::size_t i = 1;
        while (i < lines_.size()) {
            const std::string_view t = TrimLeft(lines_[i]);
            Entry e;
            std::size_t next = i + 1;
            if (TrimRight(t).empty()) {
                e.What = Entry::Kind::Blank;
            } else if (t.front() == ';') {
                e.What = Entry::Kind::Comment;
            } else if (t.front() == '[') {
                const std::string_view r = TrimRight(t);
                if (r.back() != ']' || r.size() < 2) {
                    return Fault(i, "a key line must end with ']'");
                }
                std::string_view path = r.substr(1, r.size() - 2);
                e.What = Entry::Kind::Key;
                if (!path.empty() && path.front() == '-') {
                    e.Deletes = true;
                    path.remove_prefix(1);
                }
                if (path.empty()) {
                    return Fault(i, "empty key name");
                }
                e.KeyPath = std::string(path);
                inKey = true;
            } else if (t.front() == '"' || t.front() == '@') {
                if (!inKey) {
                    return Fault(i, "a value before any key");
                }
                std::string problem = ParseValue(i, t, e, next);
                if (!problem.empty()) {
                    return Fault(i, problem);
                }
            } else {
                return Fault(i, "not a key, a value or a comment");
            }
            e.Lines.assign(lines_.begin() + static_cast<std::ptrdiff_t>(i),
                           lines_.begin() + static_cast<std::ptrdiff_t>(next));
            entries.push_back(std::move(e));
            i = next;
        }
        return {};
    }

private:
    static std::string Fault(std::size_t index, const std::string& what)
    {
        return "line " + std::to_string(index + 1) + ": " + what;
    }

    // A value entry starting on line i (t is that line without its indent).
    // Sets `next` past its last continuation line.
    std::string ParseValue(std::size_t i, std::string_view t, Entry& e, std::size_t& next)
    {
        e.What = Entry::Kind::Value;
        std::size_t pos = 0;
        if (t.front() == '@') {
            pos = 1;
        } else if (!ParseQuoted(t, pos, e.Name)) {
            return "bad value name";
        }
        std::string_view rest = TrimLeft(t.substr(pos));
        if (rest.empty() || rest.front() != '=') {
            return "'=' expected after the value name";
        }
        rest = TrimLeft(rest.substr(1));

        if (TrimRight(rest) == "-") {
            e.Deletes = true;
            return {};
        }
        if (!rest.empty() && rest.front() == '"') {
            std::string text;
            std::size_t p = 0;
            if (!ParseQuoted(rest, p, text) || !Trim(rest.substr(p)).empty()) {
                return "bad string value";
            }
            e.Value = RegValue::String(std::move(text));
            return {};
        }
        if (StartsWithNoCase(rest, "dword:")) {
            const auto v = ParseHexNumber(TrimRight(rest.substr(6)), 8);
            if (!v) {
                return "bad dword value";
            }
            e.Value = RegValue::Dword(*v);
            return {};
        }
        if (StartsWithNoCase(rest, "hex")) {
            rest.remove_prefix(3);
            std::uint32_t type = RegBinary;
            if (!rest.empty() && rest.front() == '(') {
                const std::size_t close = rest.find(')');
                const auto v =
                    close == std::string_view::npos ? std::nullopt : ParseHexNumber(rest.substr(1, close - 1), 8);
                if (!v) {
                    return "bad hex(type)";
                }
                type = *v;
                rest.remove_prefix(close + 1);
            }
            if (rest.empty() || rest.front() != ':') {
                return "':' expected after hex";
            }
            rest.remove_prefix(1);

            std::vector<std::string_view> pieces;
            std::size_t line = i;
            while (true) {
                std::string_view piece = TrimRight(rest);
                const bool continued = !piece.empty() && piece.back() == '\\';
                if (continued) {
                    piece.remove_suffix(1);
                }
                pieces.push_back(piece);
                if (!continued) {
                    break;
                }
                if (++line >= lines_.size()) {
                    return "hex data continues past the end of the file";
                }
                rest = lines_[line];
            }
            next = line + 1;
            std::vector<std::uint8_t> data;
            if (!ParseHexBytes(pieces, data)) {
                return "bad hex data";
            }
            e.Value = RegValue::Hex(std::move(data), type);
            return {};
        }
        return "unknown value type";
    }

    const std::vector<std::string>& lines_;
};

Entry MakeValueEntry(std::string_view name, const RegValue& value)
{
    Entry e;
    e.What = Entry::Kind::Value;
    e.Lines = FormatValueLines(name, value);
    e.Name = std::string(name);
    e.Value = value;
    return e;
}

} // namespace

RegValue RegValue::String(std::string text)
{
    RegValue v;
    v.Written = Form::Quoted;
    v.Type = RegSz;
    v.Text = std::move(text);
    return v;
}

RegValue RegValue::Dword(std::uint32_t value)
{
    RegValue v;
    v.Written = Form::Dword;
    v.Type = RegDword;
    for (int i = 0; i < 4; ++i) {
        v.Data.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
    return v;
}

RegValue RegValue::Hex(std::vector<std::uint8_t> data, std::uint32_t type)
{
    RegValue v;
    v.Written = Form::Hex;
    v.Type = type;
    v.Data = std::move(data);
    return v;
}

bool RegValue::IsText() const
{
    return Written == Form::Quoted || (Written == Form::Hex && (Type == RegSz || Type == RegExpandSz));
}

std::string RegValue::AsText() const
{
    if (Written == Form::Quoted) {
        return Text;
    }
    std::size_t size = Data.size() & ~std::size_t{1};
    for (std::size_t i = 0; i + 1 < Data.size(); i += 2) {
        if (Data[i] == 0 && Data[i + 1] == 0) {
            size = i;
            break;
        }
    }
    return Utf16LeToUtf8(Data.data(), size);
}

std::vector<std::uint8_t> RegValue::RawData() const
{
    if (Written != Form::Quoted) {
        return Data;
    }
    std::vector<std::uint8_t> raw = Utf8ToUtf16Le(Text);
    raw.push_back(0);
    raw.push_back(0);
    return raw;
}

std::string Utf16LeToUtf8(const std::uint8_t* data, std::size_t size)
{
    std::string out;
    std::size_t i = 0;
    auto unit = [&](std::size_t at) { return static_cast<std::uint32_t>(data[at] | (data[at + 1] << 8)); };
    while (i + 1 < size) {
        std::uint32_t u = unit(i);
        i += 2;
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < size) {
            const std::uint32_t low = unit(i);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                i += 2;
                AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                continue;
            }
        }
        AppendUtf8(out, (u >= 0xD800 && u <= 0xDFFF) ? Replacement : u);
    }
    return out;
}

std::vector<std::uint8_t> Utf8ToUtf16Le(std::string_view text)
{
    std::vector<std::uint8_t> out;
    auto put = [&](std::uint32_t u) {
        out.push_back(static_cast<std::uint8_t>(u));
        out.push_back(static_cast<std::uint8_t>(u >> 8));
    };
    std::size_t pos = 0;
    while (pos < text.size()) {
        // A byte that is not UTF-8 becomes U+FFFD on its own.
        const Utf8Char c = DecodeUtf8(text, pos);
        const std::uint32_t cp = c.Length > 0 ? c.Code : Replacement;
        pos += c.Length > 0 ? c.Length : 1;
        if (cp >= 0x10000) {
            put(0xD800 + ((cp - 0x10000) >> 10));
            put(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            put(cp);
        }
    }
    return out;
}

ParseResult RegDocument::Parse(std::string_view bytes)
{
    ParseResult result;
    std::string text;
    std::string encodingProblem;
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data()) + 2;
        const std::size_t size = bytes.size() - 2;
        text = Utf16LeToUtf8(data, size);
        if (size % 2 != 0) {
            encodingProblem = "the UTF-16 file ends in half a character";
        }
    } else {
        if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
            bytes.remove_prefix(3);
        }
        text = std::string(bytes);
    }

    const std::vector<std::string> lines = SplitLines(text, result.Document.missingFinalLineEnd_);
    result.Problem = Parser(lines).Run(result.Document.entries_);
    if (result.Problem.empty()) {
        result.Problem = encodingProblem;
    } else {
        // Reading stopped at a faulty line: the last line kept is followed
        // by that line, so it had a line end, and is written with one.
        result.Document.missingFinalLineEnd_ = false;
    }
    return result;
}

std::string RegDocument::Serialize() const
{
    std::string out;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const auto& lines = entries_[i].Lines;
        for (std::size_t j = 0; j < lines.size(); ++j) {
            out += lines[j];
            const bool lastLine = i + 1 == entries_.size() && j + 1 == lines.size();
            if (!(lastLine && missingFinalLineEnd_)) {
                out += "\r\n";
            }
        }
    }
    return out;
}

const RegValue* RegDocument::Find(std::string_view keyPath, std::string_view name) const
{
    const RegValue* found = nullptr;
    const Entry* key = nullptr;
    for (const Entry& e : entries_) {
        if (e.What == Entry::Kind::Key) {
            key = &e;
            if (e.Deletes && DeletionCovers(e.KeyPath, keyPath)) {
                found = nullptr;
            }
        } else if (e.What == Entry::Kind::Value && key && !key->Deletes && SameName(key->KeyPath, keyPath) &&
                   SameName(e.Name, name)) {
            found = e.Deletes ? nullptr : &e.Value;
        }
    }
    return found;
}

void RegDocument::Set(std::string_view keyPath, std::string_view name, const RegValue& value)
{
    // Same walk as Find, also noting the key's last block still in force.
    std::ptrdiff_t inForce = -1;
    std::ptrdiff_t block = -1;
    bool inBlock = false;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const Entry& e = entries_[i];
        if (e.What == Entry::Kind::Key) {
            inBlock = !e.Deletes && SameName(e.KeyPath, keyPath);
            if (inBlock) {
                block = static_cast<std::ptrdiff_t>(i);
            } else if (e.Deletes && DeletionCovers(e.KeyPath, keyPath)) {
                inForce = -1;
                block = -1;
            }
        } else if (e.What == Entry::Kind::Value && inBlock && SameName(e.Name, name)) {
            inForce = e.Deletes ? -1 : static_cast<std::ptrdiff_t>(i);
        }
    }

    Entry entry = MakeValueEntry(name, value);
    if (inForce >= 0) {
        entries_[static_cast<std::size_t>(inForce)] = std::move(entry);
        return;
    }
    if (block >= 0) {
        std::size_t at = static_cast<std::size_t>(block) + 1;
        for (std::size_t j = at; j < entries_.size() && entries_[j].What != Entry::Kind::Key; ++j) {
            if (entries_[j].What == Entry::Kind::Value) {
                at = j + 1;
            }
        }
        if (at == entries_.size()) {
            missingFinalLineEnd_ = false;
        }
        entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(at), std::move(entry));
        return;
    }

    if (entries_.empty()) {
        entries_.push_back(Entry{Entry::Kind::Header, {std::string(FileHeader)}, {}, false, {}, {}});
        entries_.push_back(Entry{Entry::Kind::Blank, {""}, {}, false, {}, {}});
    } else if (entries_.back().What != Entry::Kind::Blank) {
        entries_.push_back(Entry{Entry::Kind::Blank, {""}, {}, false, {}, {}});
    }
    entries_.push_back(
        Entry{Entry::Kind::Key, {"[" + std::string(keyPath) + "]"}, std::string(keyPath), false, {}, {}});
    entries_.push_back(std::move(entry));
    entries_.push_back(Entry{Entry::Kind::Blank, {""}, {}, false, {}, {}});
    missingFinalLineEnd_ = false;
}

std::vector<std::string> FormatValueLines(std::string_view name, const RegValue& value)
{
    std::string line = (name.empty() ? std::string("@") : Quote(name)) + "=";
    switch (value.Written) {
    case RegValue::Form::Quoted: return {line + Quote(value.Text)};
    case RegValue::Form::Dword: {
        std::string digits;
        for (int i = 3; i >= 0; --i) {
            digits += HexByte(i < static_cast<int>(value.Data.size()) ? value.Data[static_cast<std::size_t>(i)] : 0);
        }
        return {line + "dword:" + digits};
    }
    case RegValue::Form::Hex: break;
    }

    if (value.Type == RegBinary) {
        line += "hex:";
    } else {
        std::string type;
        for (std::uint32_t t = value.Type; t != 0 || type.empty(); t >>= 4) {
            type.insert(type.begin(), HexChars[t & 15]);
        }
        line += "hex(" + type + "):";
    }
    // Lines stay within 80 columns, the backslash included, as regedit writes them.
    constexpr std::size_t Width = 80;
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < value.Data.size(); ++i) {
        const bool last = i + 1 == value.Data.size();
        const std::string piece = HexByte(value.Data[i]) + (last ? "" : ",");
        if (line.size() + piece.size() + (last ? 0 : 1) > Width && line != "  ") {
            lines.push_back(line + "\\");
            line = "  ";
        }
        line += piece;
    }
    lines.push_back(line);
    return lines;
}

} // namespace orvela::reg
