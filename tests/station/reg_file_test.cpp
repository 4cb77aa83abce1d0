#include "station/reg_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using orvela::reg::Entry;
using orvela::reg::RegDocument;
using orvela::reg::RegValue;

const std::string Key = "HKEY_CURRENT_USER\\Software\\Talvik Software\\ORVELA\\Station";

std::vector<std::uint8_t> Sequence(std::size_t n)
{
    std::vector<std::uint8_t> v;
    for (std::size_t i = 0; i < n; ++i) {
        v.push_back(static_cast<std::uint8_t>(i * 37 + 5));
    }
    return v;
}

bool SameValue(const RegValue& a, const RegValue& b)
{
    return a.Written == b.Written && a.Type == b.Type && a.Text == b.Text && a.Data == b.Data;
}

// Every form of value, written by the document and parsed back from its text.
TEST(RegFile, EveryValueFormSurvivesWritingAndParsing)
{
    struct Case {
        std::string Name;
        RegValue Value;
    };
    const std::vector<Case> cases = {
        {"Plain", RegValue::String("F6ABC")},
        {"Empty", RegValue::String("")},
        {"Escapes", RegValue::String("C:\\Radio\\\"big\" antenna\\")},
        {"Breaks", RegValue::String("two\r\nlines\n")},
        {"Unicode", RegValue::String("Orl\xC3\xA9"
                                     "ans \xF0\x9F\x93\xBB")},
        {"", RegValue::String("the default value")},
        {"Name \"with\" \\ quotes", RegValue::String("x")},
        {"Dword", RegValue::Dword(0xDEADBEEF)},
        {"DwordZero", RegValue::Dword(0)},
        {"Ten", RegValue::Hex({0, 0, 0, 0, 0, 0, 0, 0xC2, 0x04, 0x40})},
        {"Long", RegValue::Hex(Sequence(200))},
        {"NoBytes", RegValue::Hex({})},
        {"Expand", RegValue::Hex({'%', 0, 'T', 0, '%', 0, 0, 0}, orvela::reg::RegExpandSz)},
        {"Multi", RegValue::Hex({'A', 0, 0, 0, 0, 0}, orvela::reg::RegMultiSz)},
        {"Qword", RegValue::Hex(Sequence(8), orvela::reg::RegQword)},
        {"TypeBig", RegValue::Hex(Sequence(3), 0x12345)},
        {"A name long enough to push the first byte of its data past the eightieth column",
         RegValue::Hex(Sequence(30))},
    };
    RegDocument doc;
    for (const Case& c : cases) {
        doc.Set(Key, c.Name, c.Value);
    }
    const std::string text = doc.Serialize();
    const orvela::reg::ParseResult parsed = RegDocument::Parse(text);
    ASSERT_EQ(parsed.Problem, "") << text;
    EXPECT_EQ(parsed.Document.Serialize(), text);
    for (const Case& c : cases) {
        const RegValue* v = parsed.Document.Find(Key, c.Name);
        ASSERT_NE(v, nullptr) << c.Name;
        EXPECT_TRUE(SameValue(*v, c.Value)) << c.Name;
    }

    // The way regedit writes: lower-case hex, lines within 80 columns
    // continued with a backslash and a two-space indent.
    EXPECT_NE(text.find("\"Ten\"=hex:00,00,00,00,00,00,00,c2,04,40\r\n"), std::string::npos);
    EXPECT_NE(text.find("\"Dword\"=dword:deadbeef\r\n"), std::string::npos);
    EXPECT_NE(text.find("\"Expand\"=hex(2):25,00,54,00,25,00,00,00\r\n"), std::string::npos);
    EXPECT_NE(text.find("\"TypeBig\"=hex(12345):05,2a,4f\r\n"), std::string::npos);
    EXPECT_NE(text.find("@=\"the default value\"\r\n"), std::string::npos);
    std::size_t longLines = 0;
    for (const Entry& e : parsed.Document.Entries()) {
        for (std::size_t i = 0; i < e.Lines.size(); ++i) {
            const bool nameAlone = i == 0 && e.Lines[i].ends_with("=hex:\\");
            EXPECT_TRUE(e.Lines[i].size() <= 80 || nameAlone) << e.Lines[i];
            if (i > 0) {
                EXPECT_EQ(e.Lines[i].substr(0, 2), "  ");
                EXPECT_EQ(e.Lines[i - 1].back(), '\\');
            }
        }
        longLines += e.Lines.size() > 1;
    }
    EXPECT_EQ(longLines, 2u);
}

TEST(RegFile, TextOfStringTypesOnly)
{
    EXPECT_EQ(RegValue::String("abc").AsText(), "abc");
    EXPECT_EQ(RegValue::Hex({'a', 0, 0xE9, 0, 0x3D, 0xD8, 0xFB, 0xDC, 0, 0, 'z', 0}, orvela::reg::RegExpandSz).AsText(),
              "a\xC3\xA9\xF0\x9F\x93\xBB");
    EXPECT_TRUE(RegValue::Hex({}, orvela::reg::RegSz).IsText());
    EXPECT_FALSE(RegValue::Dword(1).IsText());
    EXPECT_FALSE(RegValue::Hex({}, orvela::reg::RegBinary).IsText());
    EXPECT_FALSE(RegValue::Hex({}, orvela::reg::RegMultiSz).IsText());
    EXPECT_EQ(RegValue::String("A\xC3\xA9").RawData(), (std::vector<std::uint8_t>{'A', 0, 0xE9, 0, 0, 0}));
    EXPECT_EQ(RegValue::Dword(0x01020304).RawData(), (std::vector<std::uint8_t>{4, 3, 2, 1}));
    // Past U+FFFF a character takes two UTF-16 units; each byte that is not
    // UTF-8 becomes U+FFFD on its own, and what follows it is read again.
    EXPECT_EQ(RegValue::String("\xF0\x9F\x93\xBB").RawData(),
              (std::vector<std::uint8_t>{0x3D, 0xD8, 0xFB, 0xDC, 0, 0}));
    EXPECT_EQ(RegValue::String("\xE2\x80"
                               "A\xC0\xAF")
                  .RawData(),
              (std::vector<std::uint8_t>{0xFD, 0xFF, 0xFD, 0xFF, 'A', 0, 0xFD, 0xFF, 0xFD, 0xFF, 0, 0}));
}

// The file is applied in order, as an import would: later lines win, and
// deletions of a value or of a key (with its subkeys) remove what came before.
TEST(RegFile, ValueInForceFollowsImportOrder)
{
    const std::string text = "Windows Registry Editor Version 5.00\n"
                             "\n"
                             "[HKEY_CURRENT_USER\\Software\\Talvik Software\\ORVELA\\Station]\n"
                             "\"Twice\"=\"first\"\n"
                             "\"Dropped\"=\"x\"\n"
                             "\"KeyGone\"=\"x\"\n"
                             "\"Dropped\"=-\n"
                             "\n"
                             "[hkey_current_user\\software\\talvik software\\orvela\\STATION]\n"
                             "\"twice\"=\"second\"\n"
                             "\n"
                             "[HKEY_CURRENT_USER\\Software\\Talvik Software\\ORVELA\\Divers]\n"
                             "\"A\"=\"1\"\n"
                             "[-HKEY_CURRENT_USER\\Software\\Talvik Software\\ORVELA]\n"
                             "\"Ignored\"=\"under a deleted key\"\n"
                             "[HKEY_CURRENT_USER\\Software\\Talvik Software\\ORVELA\\Station]\n"
                             "\"After\"=\"y\"\n";
    const orvela::reg::ParseResult parsed = RegDocument::Parse(text);
    ASSERT_EQ(parsed.Problem, "");
    const RegDocument& doc = parsed.Document;
    const std::string divers = "HKEY_CURRENT_USER\\Software\\Talvik Software\\ORVELA\\Divers";
    EXPECT_EQ(doc.Find(Key, "Twice"), nullptr) << "the whole ORVELA key was deleted after it";
    EXPECT_EQ(doc.Find(Key, "Dropped"), nullptr);
    EXPECT_EQ(doc.Find(divers, "A"), nullptr);
    EXPECT_EQ(doc.Find(Key, "Ignored"), nullptr);
    ASSERT_NE(doc.Find(Key, "AFTER"), nullptr);
    EXPECT_EQ(doc.Find(Key, "AFTER")->Text, "y");

    // Without the deletion of the key, the later duplicate wins.
    const std::string head = text.substr(0, text.find("[-"));
    const RegDocument first = RegDocument::Parse(head).Document;
    ASSERT_NE(first.Find(Key, "TWICE"), nullptr);
    EXPECT_EQ(first.Find(Key, "TWICE")->Text, "second");
    EXPECT_EQ(first.Find(Key, "Dropped"), nullptr);
    ASSERT_NE(first.Find(divers, "a"), nullptr);

    // Storing lands where the import would see it: into the key's last
    // block, or into a new block at the end when the key was deleted after
    // its last block. Every line read is kept, now ended by CRLF.
    RegDocument changed = doc;
    changed.Set(Key, "Twice", RegValue::String("third"));
    changed.Set(divers, "A", RegValue::String("2"));
    std::string expected;
    for (const char c : text) {
        expected += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    expected += "\"Twice\"=\"third\"\r\n"
                "\r\n"
                "[HKEY_CURRENT_USER\\Software\\Talvik Software\\ORVELA\\Divers]\r\n"
                "\"A\"=\"2\"\r\n"
                "\r\n";
    EXPECT_EQ(changed.Serialize(), expected);
    const RegDocument reread = RegDocument::Parse(expected).Document;
    EXPECT_EQ(reread.Find(Key, "Twice")->Text, "third");
    EXPECT_EQ(reread.Find(divers, "A")->Text, "2");
}

// At the first line it cannot read the parser stops, names the line, and
// keeps every entry before it.
TEST(RegFile, FaultyLineIsNamedAndWhatCameBeforeIsKept)
{
    const std::string head = "Windows Registry Editor Version 5.00\r\n"
                             "\r\n"
                             "[HKEY_CURRENT_USER\\Software\\Talvik Software\\ORVELA\\Station]\r\n"
                             "\"Before\"=\"kept\"\r\n";
    struct Case {
        std::string Tail;
        std::string Problem;
    };
    const Case cases[] = {
        {"\"Power\"=dword:1234567890\r\n", "line 5: bad dword value"},
        {"\"Power\"=dword:12g4\r\n", "line 5: bad dword value"},
        {"\"Power\"=\"100\r\n", "line 5: bad string value"},
        {"\"Power\"=\"10\"0\"\r\n", "line 5: bad string value"},
        {"\"Po\\wer\"=\"1\"\r\n", "line 5: bad value name"},
        {"\"Power\"\"1\"\r\n", "line 5: '=' expected after the value name"},
        {"\"Power\"=str:1\r\n", "line 5: unknown value type"},
        {"\"Power\"=hex:00,0g\r\n", "line 5: bad hex data"},
        {"\"Power\"=hex:00,,01\r\n", "line 5: bad hex data"},
        {"\"Power\"=hex:100\r\n", "line 5: bad hex data"},
        {"\"Power\"=hex(z):00\r\n", "line 5: bad hex(type)"},
        {"\"Power\"=hex:00,01,\\\r\n  02,zz\r\n\"After\"=\"x\"\r\n", "line 5: bad hex data"},
        {"[HKEY_CURRENT_USER\\Software\r\n", "line 5: a key line must end with ']'"},
        {"[-]\r\n", "line 5: empty key name"},
        {"Power=100\r\n", "line 5: not a key, a value or a comment"},
    };
    for (const Case& c : cases) {
        const orvela::reg::ParseResult r = RegDocument::Parse(head + c.Tail + "\"Later\"=\"lost\"\r\n");
        EXPECT_EQ(r.Problem, c.Problem) << c.Tail;
        ASSERT_NE(r.Document.Find(Key, "Before"), nullptr) << c.Tail;
        EXPECT_EQ(r.Document.Find(Key, "Power"), nullptr) << c.Tail;
        EXPECT_EQ(r.Document.Find(Key, "Later"), nullptr) << c.Tail;
        EXPECT_EQ(r.Document.Serialize(), head) << c.Tail;
        // The file's last line lacking its line end does not take the line
        // end of the last line kept.
        EXPECT_EQ(RegDocument::Parse(head + c.Tail + "\"Later\"=\"lost\"").Document.Serialize(), head) << c.Tail;
    }

    EXPECT_EQ(RegDocument::Parse(head + "\"Power\"=hex:00,01,\\\r\n  02,\\\r\n").Problem,
              "line 5: hex data continues past the end of the file");
    EXPECT_EQ(RegDocument::Parse("REGEDIT4\r\n\r\n").Problem,
              "line 1: the file does not start with \"Windows Registry Editor Version 5.00\"");
    EXPECT_EQ(RegDocument::Parse("Windows Registry Editor Version 5.00\r\n\"A\"=\"1\"\r\n").Problem,
              "line 2: a value before any key");
    EXPECT_EQ(RegDocument::Parse("").Problem, "");
    const orvela::reg::ParseResult bom = RegDocument::Parse("\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n");
    EXPECT_EQ(bom.Problem, "");
    EXPECT_EQ(bom.Document.Serialize(), "Windows Registry Editor Version 5.00\r\n")
        << "a UTF-8 BOM is read, not written";
    std::string utf16 = "\xFF\xFE";
    for (const char c : std::string("Windows Registry Editor Version 5.00\r\n")) {
        utf16 += c;
        utf16 += '\0';
    }
    EXPECT_EQ(RegDocument::Parse(utf16).Problem, "");
    EXPECT_EQ(RegDocument::Parse(utf16 + "[").Problem, "the UTF-16 file ends in half a character");
}

} // namespace
