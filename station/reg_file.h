// A registry export file ("Windows Registry Editor Version 5.00") held as a
// document that keeps every line it read, so that changing one value
// rewrites only that value's lines and leaves comments, blank lines, other
// keys and values of unknown types exactly as they were.
//
// Grammar understood, one logical entry per line except hex data, which
// may continue over several lines with a trailing backslash:
//   Windows Registry Editor Version 5.00     the first line
//   ; comment                                 kept as is
//   [HKEY_...\Key]  /  [-HKEY_...\Key]         a key, or the deletion of a key and its subkeys
//   "Name"="text"  /  @="text"                 a string (REG_SZ); escapes \\ \" \n \r
//   "Name"=dword:0000002a                      a 32-bit number (REG_DWORD)
//   "Name"=hex:01,02,...                       binary data (REG_BINARY)
//   "Name"=hex(N):01,02,...                    data of registry type N (hexadecimal)
//   "Name"=-                                   the deletion of a value
// The file is read in order, as an import into an empty registry would
// apply it: a later line for the same value wins, and deletions remove
// what came before them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvela::reg {

// Registry value types that the settings code tells apart.
inline constexpr std::uint32_t RegSz = 1;
inline constexpr std::uint32_t RegExpandSz = 2;
inline constexpr std::uint32_t RegBinary = 3;
inline constexpr std::uint32_t RegDword = 4;
inline constexpr std::uint32_t RegMultiSz = 7;
inline constexpr std::uint32_t RegQword = 11;

inline constexpr std::string_view FileHeader = "Windows Registry Editor Version 5.00";

// One stored value, in the form its line gives it.
struct RegValue {
    enum class Form { Quoted, Dword, Hex };
    Form Written = Form::Quoted;
    std::uint32_t Type = RegSz;     // the registry type
    std::string Text;               // Quoted: the string, UTF-8
    std::vector<std::uint8_t> Data; // Dword: 4 bytes little-endian; Hex: the bytes

    static RegValue String(std::string text);
    static RegValue Dword(std::uint32_t value);
    static RegValue Hex(std::vector<std::uint8_t> data, std::uint32_t type = RegBinary);

    // REG_SZ and REG_EXPAND_SZ, whichever way they are written.
    bool IsText() const;
    // The text of a text value; hex(1) and hex(2) data are UTF-16LE up to
    // the first terminator.
    std::string AsText() const;
    // The bytes the registry would hand out for this value: a quoted string
    // as UTF-16LE with its terminator, a dword as 4 bytes little-endian.
    std::vector<std::uint8_t> RawData() const;
};

struct Entry {
    enum class Kind { Header, Blank, Comment, Key, Value };
    Kind What = Kind::Blank;
    std::vector<std::string> Lines; // the physical lines, UTF-8, without line ends
    std::string KeyPath;            // Key: the key path, without brackets or '-'
    bool Deletes = false;           // Key: [-...]; Value: "Name"=-
    std::string Name;               // Value: the value name ("" for @)
    RegValue Value;                 // Value, unless Deletes
};

struct ParseResult;

class RegDocument {
public:
    // Decodes UTF-8 (an optional BOM is dropped) or UTF-16LE with a BOM,
    // with LF or CRLF line ends, and parses it line by line. At the first
    // line that cannot be parsed it stops: the document holds every entry
    // before it and the result names the line and the fault.
    static ParseResult Parse(std::string_view bytes);

    // UTF-8 without BOM, every line ended by CRLF. An empty document gets
    // the file header and a blank line when a value is first set.
    std::string Serialize() const;

    // The value in force for the key and name, or null when the key or the
    // value is missing. Key paths and value names compare without regard to
    // ASCII case, as the registry compares them.
    const RegValue* Find(std::string_view keyPath, std::string_view name) const;

    // Stores the value. The lines of the value in force are replaced; a new
    // value goes after the last value of its key's last block; a new key is
    // appended at the end of the file after a blank line.
    void Set(std::string_view keyPath, std::string_view name, const RegValue& value);

    const std::vector<Entry>& Entries() const { return entries_; }

private:
    std::vector<Entry> entries_;
    bool missingFinalLineEnd_ = false; // the last line read had no line end
};

struct ParseResult {
    RegDocument Document;
    std::string Problem; // empty when the whole file was understood
};

// The lines of a value entry as this program writes them: lower-case hex,
// binary data wrapped with a trailing backslash near 80 columns.
std::vector<std::string> FormatValueLines(std::string_view name, const RegValue& value);

// Text conversions used by the string values.
std::string Utf16LeToUtf8(const std::uint8_t* data, std::size_t size);
std::vector<std::uint8_t> Utf8ToUtf16Le(std::string_view text);

} // namespace orvela::reg
