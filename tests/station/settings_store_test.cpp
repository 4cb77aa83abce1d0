#include "station/settings_store.h"
#include "tests/support/scoped_env.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using orvela::RegIni;
using orvela::StoreError;

const std::string Header = "Windows Registry Editor Version 5.00\r\n\r\n";
const std::string StationKey = "[HKEY_CURRENT_USER\\Software\\Talvik Software\\ORVELA\\Station]\r\n";
const std::string DiversKey = "[HKEY_CURRENT_USER\\Software\\Talvik Software\\ORVELA\\Divers]\r\n";

std::string ReadFile(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const fs::path& p, const std::string& bytes)
{
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << bytes;
}

// Each test gets a private folder; the settings file sits in a
// "Talvik Software" folder below it, as in a real configuration folder.
class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string templ = (fs::temp_directory_path() / "orvela-station-XXXXXX").string();
        ASSERT_NE(::mkdtemp(templ.data()), nullptr);
        root_ = templ;
        path_ = (root_ / "Talvik Software" / "ORVELA.reg").string();
    }
    void TearDown() override { fs::remove_all(root_); }

    // Files of the folder other than the settings file and its lock.
    std::vector<std::string> Leftovers() const
    {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(fs::path(path_).parent_path())) {
            const std::string name = e.path().filename().string();
            if (name != "ORVELA.reg" && name != "ORVELA.reg.lock") {
                names.push_back(name);
            }
        }
        return names;
    }

    fs::path root_;
    std::string path_;
};

// The values the program keeps, as the start-up read and the setup dialog
// see them.
TEST_F(SettingsFile, ReadsWithTheStoresDefaultsAndTypes)
{
    {
        RegIni first(path_); // first run: no file at all
        EXPECT_EQ(first.ParseProblem(), "");
        EXPECT_NO_THROW(first.CreateKey("Station"));
        EXPECT_NO_THROW(first.CreateKey("Divers"));
        EXPECT_EQ(first.ReadExtended("Station", "Longitude"), 0.0L);
        EXPECT_EQ(first.ReadString("Station", "CallSign", "NoCall"), "NoCall");
        EXPECT_EQ(first.ReadInteger("Station", "Power", 100), 100);
        EXPECT_FALSE(first.ReadBool("Station", "Path", false));
        EXPECT_EQ(first.ReadInteger("Divers", "DistLon", 0), 0);
        EXPECT_FALSE(fs::exists(path_)) << "reading creates nothing";
    }

    WriteFile(path_, Header + StationKey +
                         "\"CallSign\"=\"\"\r\n"
                         "\"Power\"=\"abc\"\r\n"
                         "\"MinAngle\"=\"\"\r\n"
                         "\"Display\"=dword:00000003\r\n"
                         "\"Path\"=\"2\"\r\n"
                         "\"GainTable\"=hex(2):32,00,00,00\r\n"
                         "\"Latitude\"=hex:00,00,00,00,00,00,00,a0,00,c0\r\n"
                         "\"Tags\"=hex(7):41,00,00,00,00,00\r\n"
                         "\r\n" +
                         DiversKey +
                         "\"DistLon\"=\"0\"\r\n"
                         "\"DistLat\"=\"yes\"\r\n");
    RegIni ini(path_);
    EXPECT_EQ(ini.ParseProblem(), "");
    EXPECT_EQ(ini.ReadString("Station", "CallSign", "NoCall"), "") << "an empty call sign is not the default";
    EXPECT_EQ(ini.ReadInteger("Station", "Power", 100), 100);
    EXPECT_EQ(ini.ReadInteger("Station", "MinAngle", 10), 10);
    EXPECT_THROW(ini.ReadInteger("Station", "Display", 1), StoreError);
    EXPECT_THROW(ini.ReadString("Station", "Display", ""), StoreError);
    EXPECT_THROW(ini.ReadString("Station", "Latitude", ""), StoreError);
    EXPECT_THROW(ini.ReadString("Station", "Tags", ""), StoreError);
    EXPECT_EQ(ini.ReadInteger("Station", "GainTable", 0), 2) << "REG_EXPAND_SZ is text";
    EXPECT_TRUE(ini.ReadBool("Station", "Path", false));
    EXPECT_FALSE(ini.ReadBool("Divers", "DistLon", true));
    EXPECT_FALSE(ini.ReadBool("Divers", "DistLat", false));
    EXPECT_TRUE(ini.ReadBool("Divers", "DistLat", true));
    EXPECT_EQ(ini.ReadExtended("Station", "Latitude"), -2.5L);
    EXPECT_EQ(ini.ReadString("station", "callsign", "NoCall"), "") << "names compare without case";
    EXPECT_EQ(ini.ReadInteger("Elsewhere", "Power", 7), 7);
}

TEST_F(SettingsFile, IntegersAreStrictDecimal)
{
    const struct {
        const char* Text;
        int Expected;
    } cases[] = {
        {"100", 100},
        {"-75", -75},
        {"+5", 5},
        {"007", 7},
        {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},
        {"2147483648", -1},
        {"-2147483649", -1},
        {"99999999999999999999", -1},
        {" 5", -1},
        {"5 ", -1},
        {"0x10", -1},
        {"$10", -1},
        {"12a", -1},
        {"-", -1},
        {"+", -1},
        {"1.5", -1},
        {"", -1},
    };
    std::string file = Header + StationKey;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        file += "\"V" + std::to_string(i) + "\"=\"" + cases[i].Text + "\"\r\n";
    }
    WriteFile(path_, file);
    RegIni ini(path_);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const std::string name = std::string("V").append(std::to_string(i));
        EXPECT_EQ(ini.ReadInteger("Station", name, -1), cases[i].Expected) << cases[i].Text;
    }
}

// What a store writes, a fresh store reads back, and the file holds the
// values in the form that a Windows registry import understands.
TEST_F(SettingsFile, EveryStoredTypeRoundTripsThroughTheFile)
{
    const std::string texts[] = {"F6ABC", "", " spaced call ", "C:\\Ham\\\"log\"", "Fran\xC3\xA7ois", "a\nb"};
    const int numbers[] = {-75, 0, 100, INT_MAX, INT_MIN};
    const long double extendeds[] = {48.5L, -2.5L, -0.0L, 0.1L, 179.99999999999999L, 1e-4940L};
    {
        RegIni ini(path_);
        for (std::size_t i = 0; i < std::size(texts); ++i) {
            ini.WriteString("Station", "T" + std::to_string(i), texts[i]);
        }
        for (std::size_t i = 0; i < std::size(numbers); ++i) {
            ini.WriteInteger("Divers", "N" + std::to_string(i), numbers[i]);
        }
        for (std::size_t i = 0; i < std::size(extendeds); ++i) {
            EXPECT_TRUE(ini.WriteExtended("Station", "X" + std::to_string(i), extendeds[i]));
        }
        EXPECT_EQ(ini.ReadString("Station", "T0", ""), "F6ABC") << "the writer sees its own writes";
    }
    RegIni ini(path_);
    EXPECT_EQ(ini.ParseProblem(), "");
    for (std::size_t i = 0; i < std::size(texts); ++i) {
        EXPECT_EQ(ini.ReadString("Station", "T" + std::to_string(i), "missing"), texts[i]);
    }
    for (std::size_t i = 0; i < std::size(numbers); ++i) {
        EXPECT_EQ(ini.ReadInteger("Divers", "N" + std::to_string(i), 12345), numbers[i]);
    }
    for (std::size_t i = 0; i < std::size(extendeds); ++i) {
        const long double v = ini.ReadExtended("Station", "X" + std::to_string(i));
        EXPECT_EQ(v, extendeds[i]) << i;
        EXPECT_EQ(std::signbit(v), std::signbit(extendeds[i])) << i;
    }

    const std::string file = ReadFile(path_);
    EXPECT_EQ(file.substr(0, Header.size() + StationKey.size()), Header + StationKey);
    EXPECT_NE(file.find("\r\n\"N0\"=\"-75\"\r\n"), std::string::npos);
    EXPECT_NE(file.find("\r\n\"X0\"=hex:00,00,00,00,00,00,00,c2,04,40\r\n"), std::string::npos);
    EXPECT_NE(file.find("\r\n\"T3\"=\"C:\\\\Ham\\\\\\\"log\\\"\"\r\n"), std::string::npos);
    EXPECT_NE(file.find("\r\n\r\n" + DiversKey), std::string::npos);
    EXPECT_EQ(file.substr(file.size() - 4), "\r\n\r\n");
    EXPECT_EQ(file.find('\n'), file.find("\r\n") + 1);
    EXPECT_EQ(fs::status(fs::path(path_).parent_path()).permissions() & fs::perms::all, fs::perms::owner_all)
        << "a new settings folder is private";
    EXPECT_TRUE(Leftovers().empty());
}

TEST_F(SettingsFile, ExtendedValuesReadWhateverTheStoredType)
{
    WriteFile(path_, Header + StationKey +
                         "\"Short\"=hex:00,00,00,00,00,00,00,80\r\n"
                         "\"Exact\"=hex:00,00,00,00,00,00,00,80,ff,3f\r\n"
                         "\"Long\"=hex:00,00,00,00,00,00,00,80,ff,3f,00\r\n"
                         "\"Dword\"=dword:00000001\r\n"
                         "\"Text\"=\"\"\r\n"
                         "\"LongText\"=\"abcde\"\r\n"
                         "\"Qword\"=hex(b):01,00,00,00,00,00,00,00\r\n");
    RegIni ini(path_);
    const std::array<std::uint8_t, 10> tiny{1};
    EXPECT_EQ(ini.ReadExtended("Station", "Missing"), 0.0L);
    EXPECT_EQ(ini.ReadExtended("Nowhere", "Exact"), 0.0L);
    EXPECT_EQ(ini.ReadExtended("Station", "Short"), orvela::DecodeExtended({0, 0, 0, 0, 0, 0, 0, 0x80, 0, 0}));
    EXPECT_EQ(ini.ReadExtended("Station", "Exact"), 1.0L);
    EXPECT_EQ(ini.ReadExtended("Station", "Long"), 0.0L) << "more than 10 bytes do not fit";
    EXPECT_EQ(ini.ReadExtended("Station", "Dword"), orvela::DecodeExtended(tiny));
    EXPECT_EQ(ini.ReadExtended("Station", "Text"), 0.0L);
    EXPECT_EQ(ini.ReadExtended("Station", "LongText"), 0.0L) << "12 bytes as UTF-16";
    EXPECT_EQ(ini.ReadExtended("Station", "Qword"), orvela::DecodeExtended(tiny));
}

std::string Utf16LeWithBom(const std::u16string& text)
{
    std::string out = "\xFF\xFE";
    for (const char16_t c : text) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>(c >> 8);
    }
    return out;
}

// A file exported by regedit on Windows: UTF-16LE with a BOM, CRLF, a long
// binary value split over lines, an expandable string, a dword, comments.
TEST_F(SettingsFile, ReadsAWindowsExport)
{
    const std::u16string exported =
        u"Windows Registry Editor Version 5.00\r\n"
        u"\r\n"
        u"; from the shack PC, caf\u00e9 \u2014 2011\r\n"
        u"[HKEY_CURRENT_USER\\Software\\Talvik Software\\ORVELA]\r\n"
        u"\r\n"
        u"[HKEY_CURRENT_USER\\Software\\Talvik Software\\ORVELA\\Station]\r\n"
        u"\"CallSign\"=\"F6\u00c9BC\"\r\n"
        u"\"Longitude\"=hex:00,00,00,00,00,00,00,\\\r\n"
        u"  c2,04,40\r\n"
        u"\"Latitude\"=hex:00,00,00,00,00,00,00,a0,00,c0\r\n"
        u"\"Power\"=\"100\"\r\n"
        u"\"Notes\"=hex(2):25,00,55,00,53,00,45,00,52,00,50,00,52,00,4f,00,46,00,49,00,\\\r\n"
        u"  4c,00,45,00,25,00,00,00\r\n"
        u"\"Flags\"=dword:0000002a\r\n"
        u"\r\n"
        u"[HKEY_CURRENT_USER\\Software\\Talvik Software\\ORVELA\\Divers]\r\n"
        u"\"DistLon\"=\"-75\"\r\n"
        u"\"DistLat\"=\"40\"\r\n"
        u"\r\n";
    WriteFile(path_, Utf16LeWithBom(exported));
    RegIni ini(path_);
    EXPECT_EQ(ini.ParseProblem(), "");
    EXPECT_EQ(ini.ReadString("Station", "CallSign", "NoCall"), "F6\xC3\x89"
                                                               "BC");
    EXPECT_EQ(ini.ReadExtended("Station", "Longitude"), 48.5L);
    EXPECT_EQ(ini.ReadExtended("Station", "Latitude"), -2.5L);
    EXPECT_EQ(ini.ReadInteger("Station", "Power", 0), 100);
    EXPECT_EQ(ini.ReadString("Station", "Notes", ""), "%USERPROFILE%");
    EXPECT_THROW(ini.ReadInteger("Station", "Flags", 0), StoreError);
    EXPECT_EQ(ini.ReadInteger("Divers", "DistLon", 0), -75);
    EXPECT_EQ(ini.ReadInteger("Divers", "DistLat", 0), 40);

    // Written back as UTF-8 with the same lines, only the changed one differs.
    ini.WriteInteger("Divers", "DistLat", 41);
    std::string expected;
    for (const char16_t c : exported) { // the export, less its non-ASCII characters
        expected += c < 0x80 ? static_cast<char>(c) : '?';
    }
    expected.replace(expected.find("\"DistLat\"=\"40\""), 14, "\"DistLat\"=\"41\"");
    expected.replace(expected.find("caf? ?"), 6, "caf\xC3\xA9 \xE2\x80\x94");
    expected.replace(expected.find("F6?BC"), 5,
                     "F6\xC3\x89"
                     "BC");
    EXPECT_EQ(ReadFile(path_), expected);
}

// A write replaces the lines of one value, or adds one line at the end of
// its key's values, and keeps every other byte of the file.
TEST_F(SettingsFile, WriteKeepsEveryOtherLine)
{
    const std::string lines[] = {
        "Windows Registry Editor Version 5.00",
        "",
        "; Orvela, copied from the shack PC",
        "[HKEY_CURRENT_USER\\Software\\Talvik Software\\ORVELA\\Station]",
        "@=\"default value\"",
        "\"CallSign\"=\"F6ABC\"",
        "\"Longitude\"=hex:00,00,00,00,00,00,00,\\",
        "  c2,04,40",
        "\"Multi\"=hex(7):41,00,00,00,00,00",
        "\"Big\"=hex(b):01,00,00,00,00,00,00,00",
        "\"Gone\"=-",
        "  ; a note after the values",
        "",
        "[-HKEY_CURRENT_USER\\Software\\Talvik Software\\ORVELA\\Old]",
        "",
        "[HKEY_CURRENT_USER\\Software\\Other Program]",
        "\"Power\"=\"7\"",
        "",
        "[hkey_current_user\\software\\talvik software\\orvela\\divers]",
        "\"DistLon\"=\"10\"",
        "",
    };
    struct Case {
        const char* What;
        std::function<void(RegIni&)> Write;
        std::string Old;
        std::string New;
    };
    const Case cases[] = {
        {"replace a text", [](RegIni& r) { r.WriteString("Station", "CallSign", "F5XYZ"); },
         "\"CallSign\"=\"F6ABC\"\r\n", "\"CallSign\"=\"F5XYZ\"\r\n"},
        {"replace a two-line binary", [](RegIni& r) { r.WriteExtended("Station", "Longitude", 1.0L); },
         "\"Longitude\"=hex:00,00,00,00,00,00,00,\\\r\n  c2,04,40\r\n",
         "\"Longitude\"=hex:00,00,00,00,00,00,00,80,ff,3f\r\n"},
        {"replace under a lower-case key", [](RegIni& r) { r.WriteInteger("Divers", "DistLon", -75); },
         "\"DistLon\"=\"10\"\r\n", "\"DistLon\"=\"-75\"\r\n"},
        {"add after the last value", [](RegIni& r) { r.WriteInteger("Station", "Power", 50); }, "\"Gone\"=-\r\n",
         "\"Gone\"=-\r\n\"Power\"=\"50\"\r\n"},
        {"add a deleted value again", [](RegIni& r) { r.WriteString("Station", "Gone", "back"); }, "\"Gone\"=-\r\n",
         "\"Gone\"=-\r\n\"Gone\"=\"back\"\r\n"},
        {"add a new key", [](RegIni& r) { r.WriteInteger("Extra", "N", 1); }, "\"DistLon\"=\"10\"\r\n\r\n",
         "\"DistLon\"=\"10\"\r\n\r\n[HKEY_CURRENT_USER\\Software\\Talvik "
         "Software\\ORVELA\\Extra]\r\n\"N\"=\"1\"\r\n\r\n"},
    };
    for (const std::string eol : {"\r\n", "\n"}) {
        std::string original;
        std::string crlf;
        for (const std::string& l : lines) {
            original += l + eol;
            crlf += l + "\r\n";
        }
        for (const Case& c : cases) {
            WriteFile(path_, original);
            RegIni ini(path_);
            ASSERT_EQ(ini.ParseProblem(), "");
            c.Write(ini);
            std::string expected = crlf;
            const std::size_t at = expected.find(c.Old);
            ASSERT_NE(at, std::string::npos) << c.What;
            expected.replace(at, c.Old.size(), c.New);
            EXPECT_EQ(ReadFile(path_), expected) << c.What << (eol == "\n" ? " (LF file)" : "");
        }
    }
}

// Each write merges into what is on disk now, not into what this store
// read when it was opened.
TEST_F(SettingsFile, WritesMergeWithWhatAnotherStoreWrote)
{
    RegIni first(path_);
    RegIni second(path_);
    first.WriteInteger("Divers", "DistLon", 5);
    second.WriteInteger("Divers", "DistLat", 6);
    first.WriteString("Station", "CallSign", "F6ABC");
    RegIni reader(path_);
    EXPECT_EQ(reader.ReadInteger("Divers", "DistLon", 0), 5);
    EXPECT_EQ(reader.ReadInteger("Divers", "DistLat", 0), 6);
    EXPECT_EQ(reader.ReadString("Station", "CallSign", ""), "F6ABC");
    EXPECT_EQ(first.ReadInteger("Divers", "DistLat", 0), 6) << "the writer's document is the merged one";
}

TEST_F(SettingsFile, SymbolicLinkToTheFileIsKept)
{
    const fs::path real = root_ / "dotfiles" / "orvela.reg";
    WriteFile(real, Header + StationKey + "\"CallSign\"=\"F6ABC\"\r\n");
    fs::create_directories(fs::path(path_).parent_path());
    fs::create_symlink(real, path_);
    RegIni ini(path_);
    ini.WriteInteger("Station", "Power", 20);
    EXPECT_TRUE(fs::is_symlink(path_));
    EXPECT_EQ(ReadFile(real), Header + StationKey + "\"CallSign\"=\"F6ABC\"\r\n\"Power\"=\"20\"\r\n");
}

std::vector<fs::path> AsideFiles(const std::string& path)
{
    // <name>.unreadable-YYYYMMDD-HHMMSS, then -N when that name was taken.
    const std::string prefix = fs::path(path).filename().string() + ".unreadable-";
    const auto isAside = [&prefix](const std::string& name) {
        const auto digits = [&name](std::size_t from, std::size_t count) {
            return name.size() >= from + count && std::all_of(name.begin() + from, name.begin() + from + count,
                                                              [](char c) { return c >= '0' && c <= '9'; });
        };
        const std::size_t p = prefix.size();
        if (name.compare(0, p, prefix) != 0 || !digits(p, 8) || name.size() < p + 15 || name[p + 8] != '-' ||
            !digits(p + 9, 6)) {
            return false;
        }
        const std::size_t rest = p + 15;
        return name.size() == rest ||
               (name[rest] == '-' && name.size() > rest + 1 && digits(rest + 1, name.size() - rest - 1));
    };
    std::vector<fs::path> found;
    for (const auto& e : fs::directory_iterator(fs::path(path).parent_path())) {
        if (isAside(e.path().filename().string())) {
            found.push_back(e.path());
        }
    }
    return found;
}

// A file that cannot be parsed: the values before the faulty line are used,
// the problem is reported, and the first write keeps the faulty file aside
// before replacing it with what was understood plus the change.
TEST_F(SettingsFile, UnparseableFileIsKeptAsideAtTheFirstWrite)
{
    const std::string faulty = Header + StationKey +
                               "\"CallSign\"=\"F6ABC\"\r\n"
                               "\"Power\"=dword:zz\r\n"
                               "\"MinAngle\"=\"5\"\r\n";
    WriteFile(path_, faulty);
    RegIni ini(path_);
    EXPECT_EQ(ini.ParseProblem(), "line 5: bad dword value");
    EXPECT_EQ(ini.ReadString("Station", "CallSign", "NoCall"), "F6ABC");
    EXPECT_EQ(ini.ReadInteger("Station", "MinAngle", 10), 10);

    ini.WriteInteger("Divers", "DistLon", 3);
    std::vector<fs::path> aside = AsideFiles(path_);
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_EQ(ReadFile(aside[0]), faulty);
    const std::string repaired =
        Header + StationKey + "\"CallSign\"=\"F6ABC\"\r\n\r\n" + DiversKey + "\"DistLon\"=\"3\"\r\n\r\n";
    EXPECT_EQ(ReadFile(path_), repaired);
    EXPECT_EQ(RegIni(path_).ParseProblem(), "");

    // Spoiled again behind the store's back: kept aside again, under a name
    // of its own even within the same second.
    const std::string spoiled = repaired + "garbage\r\n";
    WriteFile(path_, spoiled);
    ini.WriteInteger("Divers", "DistLat", 4);
    aside = AsideFiles(path_);
    ASSERT_EQ(aside.size(), 2u);
    EXPECT_TRUE(ReadFile(aside[0]) == spoiled || ReadFile(aside[1]) == spoiled);
    RegIni reread(path_);
    EXPECT_EQ(reread.ParseProblem(), "");
    EXPECT_EQ(reread.ReadInteger("Divers", "DistLat", 0), 4);
    EXPECT_EQ(reread.ReadInteger("Divers", "DistLon", 0), 3);
}

TEST_F(SettingsFile, UnreadableFileIsReportedAndNeverReplaced)
{
    fs::create_directories(path_); // a folder where the file should be
    RegIni ini(path_);
    EXPECT_EQ(ini.ParseProblem(), "cannot read the file: Is a directory");
    EXPECT_EQ(ini.ReadInteger("Station", "Power", 100), 100);
    EXPECT_THROW(ini.WriteInteger("Station", "Power", 1), StoreError);
    EXPECT_TRUE(fs::is_directory(path_));
}

// A write that fails names the file and the reason, and loses nothing
// already stored.
TEST_F(SettingsFile, FailedWriteNamesTheFileAndKeepsTheData)
{
    // The settings folder lies below a regular file: it cannot be created.
    const std::string blocked = (root_ / "not-a-folder" / "Talvik Software" / "ORVELA.reg").string();
    WriteFile(root_ / "not-a-folder", "a file");
    RegIni noFolder(blocked);
    try {
        noFolder.WriteString("Station", "CallSign", "F6ABC");
        ADD_FAILURE() << "the write did not fail";
    } catch (const StoreError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot save the settings to \"" + blocked + "\": Not a directory");
    }
    EXPECT_FALSE(noFolder.WriteExtended("Station", "Longitude", 1.0L));
    EXPECT_EQ(noFolder.ReadString("Station", "CallSign", "NoCall"), "NoCall");

    // An existing file whose write fails (its lock cannot be opened) stays
    // as it was, on disk and in the store.
    const std::string stored = Header + StationKey + "\"CallSign\"=\"F6ABC\"\r\n";
    WriteFile(path_, stored);
    fs::create_directories(path_ + ".lock");
    RegIni ini(path_);
    try {
        ini.WriteInteger("Station", "Power", 50);
        ADD_FAILURE() << "the write did not fail";
    } catch (const StoreError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot save the settings to \"" + path_ + "\": Is a directory");
    }
    EXPECT_EQ(ReadFile(path_), stored);
    EXPECT_EQ(ini.ReadString("Station", "CallSign", ""), "F6ABC");
    EXPECT_EQ(ini.ReadInteger("Station", "Power", 100), 100);
}

TEST_F(SettingsFile, SectionThatCannotBeAKeyIsRefused)
{
    RegIni ini(path_);
    EXPECT_THROW(ini.CreateKey(""), StoreError);
    EXPECT_THROW(ini.CreateKey("Sta\ntion"), StoreError);
    EXPECT_THROW(ini.WriteString("Sta\rtion", "A", "1"), StoreError);
    EXPECT_FALSE(fs::exists(path_));
}

// Runs `body` in a child process; returns its wait status.
template <typename Body>
int InChild(Body body)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        int code = 0;
        try {
            body();
        } catch (...) {
            code = 1;
        }
        ::_exit(code);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return status;
}

// A writer killed after writing its temporary file but before putting it in
// place leaves the old file whole; the next write clears up after it.
TEST_F(SettingsFile, CrashDuringAWriteLeavesTheOldFile)
{
    RegIni(path_).WriteInteger("Divers", "DistLon", 10);
    const std::string before = ReadFile(path_);

    const int status =
        InChild([this] { RegIni(path_, [] { std::raise(SIGKILL); }).WriteInteger("Divers", "DistLon", 20); });
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGKILL);

    EXPECT_EQ(ReadFile(path_), before);
    RegIni after(path_);
    EXPECT_EQ(after.ParseProblem(), "");
    EXPECT_EQ(after.ReadInteger("Divers", "DistLon", 0), 10);
    ASSERT_EQ(Leftovers().size(), 1u) << "the dead writer's temporary file";

    after.WriteInteger("Divers", "DistLat", 30);
    EXPECT_TRUE(Leftovers().empty());
    RegIni reread(path_);
    EXPECT_EQ(reread.ReadInteger("Divers", "DistLon", 0), 10);
    EXPECT_EQ(reread.ReadInteger("Divers", "DistLat", 0), 30);
}

// Reads until `want` bytes came or every writer closed its end; the bytes read.
std::size_t ReadUpTo(int fd, std::size_t want)
{
    char buf[8];
    std::size_t got = 0;
    while (got < want) {
        const ssize_t n = ::read(fd, buf, std::min(sizeof buf, want - got));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    return got;
}

// Two programs writing at the same time: the lock serialises the
// read-modify-write, so no value is lost. The writers start together: each
// opens the store, says it is ready, and waits at a gate (a pipe whose
// closing wakes both) until the other is ready too. Each pauses with its
// new file written and not yet in place, the moment at which the other
// writer, were it not kept out by the lock, would read the old file and
// drop this one's value.
TEST_F(SettingsFile, ConcurrentWritersBothLand)
{
    constexpr int PerWriter = 50;
    int ready[2];
    int gate[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(gate), 0);
    std::vector<pid_t> children;
    for (const char* prefix : {"A", "B"}) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::close(ready[0]);
            ::close(gate[1]);
            int code = 0;
            try {
                RegIni ini(path_, [] { ::usleep(1000); });
                if (::write(ready[1], "r", 1) != 1 || ReadUpTo(gate[0], 1) != 0) {
                    ::_exit(2);
                }
                for (int i = 0; i < PerWriter; ++i) {
                    ini.WriteInteger("Divers", prefix + std::to_string(i), i);
                }
            } catch (...) {
                code = 1;
            }
            ::_exit(code);
        }
        if (pid > 0) {
            children.push_back(pid);
        }
    }
    ::close(ready[1]);
    ::close(gate[0]);
    EXPECT_EQ(ReadUpTo(ready[0], children.size()), 2u);
    ::close(gate[1]); // both writers start now
    ::close(ready[0]);
    for (const pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    ASSERT_EQ(children.size(), 2u);
    RegIni ini(path_);
    ASSERT_EQ(ini.ParseProblem(), "");
    for (const char* prefix : {"A", "B"}) {
        for (int i = 0; i < PerWriter; ++i) {
            EXPECT_EQ(ini.ReadInteger("Divers", prefix + std::to_string(i), -1), i) << prefix << i;
        }
    }
    EXPECT_TRUE(Leftovers().empty());
}

TEST(DefaultSettingsFile, FollowsXdgConfigHomeAndLeavesTheEnvironmentAsItWas)
{
    const auto valueOf = [](const char* name) {
        const char* v = std::getenv(name);
        return v ? std::optional<std::string>(v) : std::nullopt;
    };
    const std::optional<std::string> xdgBefore = valueOf("XDG_CONFIG_HOME");
    const std::optional<std::string> homeBefore = valueOf("HOME");
    const struct {
        const char* Xdg; // null: unset
        const char* Home;
        const char* Expected;
    } cases[] = {
        {"/cfg", "/home/op", "/cfg/Talvik Software/ORVELA.reg"},
        {"/cfg/", "/home/op", "/cfg/Talvik Software/ORVELA.reg"},
        {"relative/cfg", "/home/op", "/home/op/.config/Talvik Software/ORVELA.reg"},
        {"", "/home/op", "/home/op/.config/Talvik Software/ORVELA.reg"},
        {nullptr, "/home/op/", "/home/op/.config/Talvik Software/ORVELA.reg"},
    };
    {
        const orvela_test::ScopedEnv xdg("XDG_CONFIG_HOME");
        const orvela_test::ScopedEnv home("HOME");
        for (const auto& c : cases) {
            xdg.Set(c.Xdg);
            home.Set(c.Home);
            EXPECT_EQ(orvela::DefaultSettingsFile(), c.Expected) << (c.Xdg ? c.Xdg : "(unset)");
        }
    }
    EXPECT_EQ(valueOf("XDG_CONFIG_HOME"), xdgBefore);
    EXPECT_EQ(valueOf("HOME"), homeBefore);
}

} // namespace
