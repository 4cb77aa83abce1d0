// Reading the country file: the entity lines, the aliases with their
// overrides and exact calls, and the refusals, each with its line.
#include "country/country_file.h"

#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace orvela::country;

const std::string Fixture = std::string(ORVELA_COUNTRY_FIXTURES) + "/cty-small.dat";

const Entity* Named(const CountryFile& f, const std::string& name)
{
    for (const Entity& e : f.Entities()) {
        if (e.Name == name) {
            return &e;
        }
    }
    return nullptr;
}

// The name of the alias's entity, empty without an alias.
std::string EntityOf(const CountryFile& f, const Alias* a)
{
    return a == nullptr ? std::string() : f.Entities()[a->Entity].Name;
}

CountryFile Parsed(const std::string& text)
{
    CountryFileResult r = ParseCountryFile(text);
    EXPECT_TRUE(r.File.has_value()) << r.Problem;
    return r.File ? std::move(*r.File) : CountryFile();
}

TEST(CountryFile, ReadsEveryFieldOfAnEntityLine)
{
    const CountryFileResult r = ReadCountryFile(Fixture);
    ASSERT_TRUE(r.File) << r.Problem;
    EXPECT_EQ(r.File->Entities().size(), 17u);

    const Entity* us = Named(*r.File, "United States of America");
    ASSERT_NE(us, nullptr);
    EXPECT_EQ(us->CqZone, 5);
    EXPECT_EQ(us->ItuZone, 8);
    EXPECT_EQ(us->Continent, "NA");
    EXPECT_DOUBLE_EQ(us->LatDeg, 37.60);
    EXPECT_DOUBLE_EQ(us->LonWestDeg, 91.87); // west positive, as the file writes it
    EXPECT_DOUBLE_EQ(us->UtcOffsetHours, 5.0);
    EXPECT_EQ(us->PrimaryPrefix, "K");
    EXPECT_FALSE(us->WaeOnly);
    EXPECT_EQ(us->Line, 27);

    const Entity* japan = Named(*r.File, "Japan");
    ASSERT_NE(japan, nullptr);
    EXPECT_DOUBLE_EQ(japan->LonWestDeg, -138.38);
    EXPECT_DOUBLE_EQ(japan->UtcOffsetHours, -9.0);

    // The WAE marker is taken off the prefix; a prefix keeps its case.
    const Entity* sicily = Named(*r.File, "Sicily");
    ASSERT_NE(sicily, nullptr);
    EXPECT_TRUE(sicily->WaeOnly);
    EXPECT_EQ(sicily->PrimaryPrefix, "IT9");
    const Entity* rotuma = Named(*r.File, "Rotuma Island");
    ASSERT_NE(rotuma, nullptr);
    EXPECT_EQ(rotuma->PrimaryPrefix, "3D2/r");

    EXPECT_EQ(r.File->Version(), "20261201");
}

TEST(CountryFile, ReadsAliasesWithEachOverrideOverContinuationLines)
{
    const CountryFileResult r = ReadCountryFile(Fixture);
    ASSERT_TRUE(r.File) << r.Problem;
    const CountryFile& f = *r.File;

    // Every kind, in the order the file gives them and in another.
    for (const char* text : {"KC4A", "UA0Y"}) {
        SCOPED_TRACE(text);
        const Alias* a = f.FindLongestPrefix(text);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->Text, text);
        EXPECT_FALSE(a->ExactCall);
        ASSERT_TRUE(a->Over.CqZone && a->Over.ItuZone && a->Over.Continent && a->Over.LatDeg && a->Over.LonWestDeg &&
                    a->Over.UtcOffsetHours);
    }
    const Alias* kc4 = f.FindLongestPrefix("KC4A");
    EXPECT_EQ(*kc4->Over.CqZone, 13);
    EXPECT_EQ(*kc4->Over.ItuZone, 74);
    EXPECT_EQ(*kc4->Over.Continent, "AN");
    EXPECT_DOUBLE_EQ(*kc4->Over.LatDeg, -77.85);
    EXPECT_DOUBLE_EQ(*kc4->Over.LonWestDeg, -166.67);
    EXPECT_DOUBLE_EQ(*kc4->Over.UtcOffsetHours, -12.0);
    EXPECT_EQ(f.Entities()[kc4->Entity].Name, "United States of America");
    EXPECT_EQ(kc4->Line, 30);

    const Alias* tuva = f.FindLongestPrefix("UA0Y");
    EXPECT_EQ(*tuva->Over.CqZone, 23);
    EXPECT_EQ(*tuva->Over.ItuZone, 32);
    EXPECT_DOUBLE_EQ(*tuva->Over.LatDeg, 51.70);
    EXPECT_DOUBLE_EQ(*tuva->Over.LonWestDeg, -94.40);
    EXPECT_DOUBLE_EQ(*tuva->Over.UtcOffsetHours, -6.0);

    // Zones alone; an alias without overrides has none.
    const Alias* ve2 = f.FindLongestPrefix("VE2");
    ASSERT_TRUE(ve2 != nullptr && f.FindLongestPrefix("VE") != nullptr);
    EXPECT_EQ(ve2->Over.CqZone, 2);
    EXPECT_EQ(ve2->Over.ItuZone, 4);
    EXPECT_FALSE(ve2->Over.Continent || ve2->Over.LatDeg || ve2->Over.UtcOffsetHours);
    EXPECT_FALSE(f.FindLongestPrefix("VE")->Over.CqZone);

    // A line that ends without ',' still separates its last alias from
    // the next line's first.
    const Alias* exact = f.FindExactCall("JA1ZZZ/JD1");
    ASSERT_NE(exact, nullptr);
    EXPECT_TRUE(exact->ExactCall);
    EXPECT_EQ(exact->Over.CqZone, 27);
    EXPECT_EQ(exact->Over.LatDeg, 27.10);
    ASSERT_NE(f.FindLongestPrefix("JR6"), nullptr);
    EXPECT_EQ(f.FindLongestPrefix("JR6")->Line, 26);

    // An exact call is no prefix, and a prefix no exact call.
    ASSERT_NE(f.FindLongestPrefix("3D2AB/P"), nullptr);
    EXPECT_EQ(f.FindLongestPrefix("3D2AB/P")->Text, "3D2");
    EXPECT_EQ(f.FindExactCall("VE"), nullptr);
    EXPECT_EQ(f.FindExactCall("3D2AB"), nullptr);
}

TEST(CountryFile, ACallListedUnderAWaeEntityAndADxccEntityBelongsToTheDxccEntity)
{
    const CountryFile f = Parsed("Vienna Intl Ctr: 15: 28: EU: 48.20: -16.30: -1.0: *4U1V:\n"
                                 "    =4U1XYZ,4U1V;\n"
                                 "Austria: 15: 28: EU: 47.33: -13.33: -1.0: OE:\n"
                                 "    OE,=4U1XYZ;\n"
                                 "Somewhere: 15: 28: EU: 47.00: -13.00: -1.0: *XX:\n"
                                 "    =4U1XYZ,4U1V;\n");
    EXPECT_EQ(EntityOf(f, f.FindExactCall("4U1XYZ")), "Austria");
    // Otherwise the first listing stays.
    EXPECT_EQ(EntityOf(f, f.FindLongestPrefix("4U1V")), "Vienna Intl Ctr");
    EXPECT_EQ(f.Aliases().size(), 6u);
}

TEST(CountryFile, CrlfLineEndsAByteOrderMarkAndLowerCaseAliasesReadTheSame)
{
    const std::string text = orvela_test::FileText(Fixture);
    std::string crlf = "\xEF\xBB\xBF";
    for (const char c : text) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    const CountryFile a = Parsed(text);
    const CountryFile b = Parsed(crlf);
    ASSERT_FALSE(a.Entities().empty());
    ASSERT_EQ(a.Entities().size(), b.Entities().size());
    ASSERT_EQ(a.Aliases().size(), b.Aliases().size());
    for (std::size_t i = 0; i < a.Aliases().size(); ++i) {
        EXPECT_EQ(a.Aliases()[i].Text, b.Aliases()[i].Text);
        EXPECT_EQ(a.Aliases()[i].Line, b.Aliases()[i].Line);
    }
    EXPECT_EQ(a.Entities().back().Name, b.Entities().back().Name);

    const CountryFile lower = Parsed("Japan: 25: 45: AS: 36.40: -138.38: -9.0: JA:\n    ja,=ja1abc/p;\n");
    EXPECT_NE(lower.FindLongestPrefix("JA"), nullptr);
    EXPECT_NE(lower.FindExactCall("JA1ABC/P"), nullptr);
    // No aliases at all is allowed.
    EXPECT_EQ(Parsed("Japan: 25: 45: AS: 36.40: -138.38: -9.0: JA:\n    ;\n").Aliases().size(), 0u);
}

TEST(CountryFile, RefusesAFaultyFileWithTheLineAndTheReason)
{
    const std::string japan = "Japan: 25: 45: AS: 36.40: -138.38: -9.0: JA:\n";
    const std::string france = "France: 14: 27: EU: 46.00: -2.00: -1.0: F:\n    F;\n";
    struct Case {
        const char* what;
        std::string text;
        int line;
        const char* reason;
    };
    const Case cases[] = {
        {"no ';' before the next entity", japan + "    JA,JE\n" + france, 3,
         "the aliases of Japan (from line 1) are not ended by ';'"},
        {"no ';' before the end", france + japan + "    JA,\n    JE\n", 5,
         "the file ends before the ';' that ends the aliases of Japan (from line 3)"},
        {"a CQ zone of 41", "Japan: 41: 45: AS: 36.40: -138.38: -9.0: JA:\n    JA;\n", 1,
         "the entity's CQ zone \"41\" is not a CQ zone"},
        {"a CQ zone that is no number", "Japan: x5: 45: AS: 36.40: -138.38: -9.0: JA:\n    JA;\n", 1, "CQ zone \"x5\""},
        {"an ITU zone of 0", "Japan: 25: 0: AS: 36.40: -138.38: -9.0: JA:\n    JA;\n", 1, "ITU zone \"0\""},
        {"an unknown continent", "Japan: 25: 45: XX: 36.40: -138.38: -9.0: JA:\n    JA;\n", 1,
         "\"XX\" is not a continent"},
        {"a latitude over 90", "Japan: 25: 45: AS: 96.40: -138.38: -9.0: JA:\n    JA;\n", 1, "latitude \"96.40\""},
        {"a longitude with an exponent", "Japan: 25: 45: AS: 36.40: -1e2: -9.0: JA:\n    JA;\n", 1,
         "longitude \"-1e2\""},
        {"a UTC offset beyond a day", "Japan: 25: 45: AS: 36.40: -138.38: -29.0: JA:\n    JA;\n", 1,
         "UTC offset \"-29.0\""},
        {"seven fields", "Japan: 25: 45: AS: 36.40: -138.38: -9.0: JA\n    JA;\n", 1, "this one has 7"},
        {"text after the eighth field", "Japan: 25: 45: AS: 36.40: -138.38: -9.0: JA: JA;\n", 1,
         "text after the entity's eighth field"},
        {"no name", ": 25: 45: AS: 36.40: -138.38: -9.0: JA:\n    JA;\n", 1, "no name"},
        {"a prefix with a blank", "Japan: 25: 45: AS: 36.40: -138.38: -9.0: J A:\n    JA;\n", 1, "prefix \"J A\""},
        {"a byte that is not ASCII", france + "R\xC3\xA9union: 39: 53: AF: -21.12: -55.52: -4.0: FR:\n    FR;\n", 3,
         "column 2: a byte that is not ASCII (0xC3)"},
        {"a control character", japan + "    JA,\x01JE;\n", 2, "column 8: a control character (0x01)"},
        {"an unclosed override", japan + "    JA,JR6(25[45];\n", 2, "the override '(' of \"JR6\" is not closed by ')'"},
        {"an override closed on the next line", japan + "    JA,JR6<26.5/\n-127.9>;\n", 2,
         "'<' of \"JR6\" is not closed"},
        {"a CQ zone override of 55", japan + "    JA,JR6(55);\n", 2, "the CQ zone override of \"JR6\" \"55\""},
        {"an ITU zone override of 91", japan + "    JA,JR6[91];\n", 2, "ITU zone override of \"JR6\" \"91\""},
        {"a continent override in lower case", japan + "    JA,JR6{as};\n", 2, "continent override of \"JR6\" \"as\""},
        {"a position override without '/'", japan + "    JA,JR6<26.5>;\n", 2, "position override \"26.5\""},
        {"a position override out of range", japan + "    JA,JR6<26.5/-227.9>;\n", 2,
         "longitude override of \"JR6\" \"-227.9\""},
        {"a UTC offset override that is no number", japan + "    JA,JR6~nine~;\n", 2,
         "UTC offset override of \"JR6\" \"nine\""},
        {"two CQ zone overrides", japan + "    JA,JR6(25)(26);\n", 2, "two CQ zone overrides of \"JR6\""},
        {"an empty alias", japan + "    JA,,JE;\n", 2, "column 8: an empty alias"},
        {"a ',' before ';'", japan + "    JA,JE,;\n", 2, "',' right before ';'"},
        {"two aliases without ','", japan + "    JA JE;\n", 2, "column 8: two aliases without ','"},
        {"'=' alone", japan + "    JA,=;\n", 2, "'=' with no call sign"},
        {"a stray character", japan + "    JA,JE*;\n", 2, "'*' after the alias \"JE\""},
        {"a stray override closer", japan + "    JA,)JE;\n", 2, "an alias cannot start with ')'"},
        {"text after ';'", japan + "    JA; JE\n", 2, "text after the ';' that ends the aliases of Japan: \"JE\""},
        {"an alias of 33 characters", japan + "    JA,=JA1ABCDEFGHIJKLMNOPQRSTUVWXYZ01234;\n", 2,
         "longer than 32 characters"},
        {"nothing", "", 0, "the file holds no entity"},
        {"blank lines only", "\n   \r\n\t\n", 0, "the file holds no entity"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const CountryFileResult r = ParseCountryFile(c.text);
        EXPECT_FALSE(r.File);
        EXPECT_EQ(r.Line, c.line);
        EXPECT_NE(r.Problem.find(c.reason), std::string::npos) << r.Problem;
        if (c.line > 0) {
            EXPECT_TRUE(r.Problem.starts_with("line " + std::to_string(c.line) + ": ")) << r.Problem;
        }
        EXPECT_EQ(r.Problem.find('\n'), std::string::npos) << r.Problem;
    }
}

TEST(CountryFile, RefusesAFileLargerThanTheLimitOrUnreadable)
{
    std::string large = orvela_test::FileText(Fixture);
    large.resize(MaxFileBytes + 1, ' ');
    const CountryFileResult parsed = ParseCountryFile(large);
    EXPECT_FALSE(parsed.File);
    EXPECT_EQ(parsed.Problem, "the file is larger than 4 MiB");

    const orvela_test::TempFile file(large);
    const CountryFileResult read = ReadCountryFile(file.Path());
    EXPECT_FALSE(read.File);
    EXPECT_EQ(read.Problem, "The country file " + file.Path() + " is refused: the file is larger than 4 MiB");

    // Exactly at the limit it is read.
    large.resize(MaxFileBytes);
    const orvela_test::TempFile atLimit(large);
    EXPECT_TRUE(ReadCountryFile(atLimit.Path()).File);

    const orvela_test::ScratchFolder folder("orvela-country");
    const std::string missing = (folder.Path() / "cty.dat").string();
    EXPECT_EQ(ReadCountryFile(missing).Problem,
              "The country file " + missing + " cannot be read: No such file or directory");
    EXPECT_EQ(ReadCountryFile(folder.Path().string()).Problem,
              "The country file " + folder.Path().string() + " cannot be read: Is a directory");

    const orvela_test::TempFile faulty("Japan: 25: 45: AS: 36.40: -138.38: -9.0: JA:\n    JA,JE\n");
    EXPECT_EQ(ReadCountryFile(faulty.Path()).Problem,
              "The country file " + faulty.Path() +
                  " is refused: line 2: the file ends before the ';' that ends the aliases of Japan (from line 1)");
}

} // namespace
