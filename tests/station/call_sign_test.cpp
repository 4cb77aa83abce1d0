#include "station/call_sign.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace orvela {
namespace {

TEST(CallSign, PrintableTextIsTaken)
{
    for (const char* call :
         {"F6XYZ", "F6XYZ/P", "  F5ABC  ", "NoCall", "", "\xc3\x98Z \"1\"", "JA1\xe3\x81\x82", "\xf0\x9f\x93\xbb",
          "\xc2\xa0"
          "F6",
          "\xe2\x80\x8b"
          "F6",
          "\xef\xbb\xbf"}) {
        SCOPED_TRACE(call);
        EXPECT_EQ(CallSignProblem(call), std::nullopt);
    }
}

TEST(CallSign, BlanksAroundAreTrimmed)
{
    const std::pair<const char*, const char*> cases[] = {
        {"  F5ABC  ", "F5ABC"},
        {"F5 ABC", "F5 ABC"},
        {"\tF6XYZ/P\r\n", "F6XYZ/P"},
        {"   ", ""},
        {"", ""},
        {"\xc2\xa0"
         "F6",
         "\xc2\xa0"
         "F6"}, // only blanks and controls, not other spaces
    };
    for (const auto& [stored, shown] : cases) {
        EXPECT_EQ(TrimmedCallSign(stored), shown) << stored;
    }
}

// Every kind of refused character, at the edges of each refused block, in
// UTF-8 as the dialog and the command line hand it over; the message names
// the character by its code and place, and never holds it.
TEST(CallSign, ControlsAndBrokenTextAreRefused)
{
    const std::string control = "the call sign holds the control character ";
    const std::string direction = "the call sign holds the text-direction control ";
    const std::string printable = "; a call sign is printable text";
    const struct {
        std::string Call;
        std::string Says;
    } cases[] = {
        {std::string("F6\0XYZ", 6), control + "U+0000 (null) at character 3" + printable},
        {"F6XYZ\t", control + "U+0009 (tab) at character 6" + printable},
        {"F6\nXYZ", control + "U+000A (line feed) at character 3" + printable},
        {"\r", control + "U+000D (carriage return) at character 1" + printable},
        {"F6\x1b[31m", control + "U+001B (escape) at character 3" + printable},
        {"\x1f", control + "U+001F at character 1" + printable},
        {"F6\x7f", control + "U+007F (delete) at character 3" + printable},
        {"\xc3\x98\xc2\x80", control + "U+0080 at character 2" + printable},
        {"F6\xc2\x9b"
         "2J",
         control + "U+009B (control sequence introducer) at character 3" + printable},
        {"\xc2\x9f", control + "U+009F at character 1" + printable},
        {"F6\xd8\x9c", direction + "U+061C (Arabic letter mark) at character 3" + printable},
        {"\xe2\x80\x8e"
         "F6",
         direction + "U+200E (left-to-right mark) at character 1" + printable},
        {"\xe2\x80\x8f", direction + "U+200F (right-to-left mark) at character 1" + printable},
        {"\xe2\x80\xaa", direction + "U+202A (left-to-right embedding) at character 1" + printable},
        {"F6\xe2\x80\xae"
         "ZYX",
         direction + "U+202E (right-to-left override) at character 3" + printable},
        {"\xe2\x81\xa6", direction + "U+2066 (left-to-right isolate) at character 1" + printable},
        {"\xe2\x81\xa9", direction + "U+2069 (pop directional isolate) at character 1" + printable},
        // Not UTF-8: a lone continuation byte, a lone 8-bit CSI, a sequence cut
        // short, an overlong form, a surrogate, a value past U+10FFFF.
        {"F6\x80", "the call sign is not UTF-8 text (at byte 3)" + printable},
        {"\x9b"
         "2J",
         "the call sign is not UTF-8 text (at byte 1)" + printable},
        {"F6\xe2\x80", "the call sign is not UTF-8 text (at byte 3)" + printable},
        {"\xc0\x9b", "the call sign is not UTF-8 text (at byte 1)" + printable},
        {"\xe0\x80\x9b", "the call sign is not UTF-8 text (at byte 1)" + printable},
        {"\xed\xa0\x80", "the call sign is not UTF-8 text (at byte 1)" + printable},
        {"\xf4\x90\x80\x80", "the call sign is not UTF-8 text (at byte 1)" + printable},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Says);
        const std::optional<std::string> why = CallSignProblem(c.Call);
        ASSERT_TRUE(why.has_value());
        EXPECT_EQ(*why, c.Says);
    }
}

// A stored call sign is shown without what the dialog would refuse: each
// refused character goes, whole, and nothing else does, blanks included.
TEST(CallSign, PrintableCallSignLeavesOutOnlyWhatIsRefused)
{
    const std::pair<std::string, std::string> cases[] = {
        {std::string("F6\0XYZ", 6), "F6XYZ"},
        {"F6\tXYZ\r\n", "F6XYZ"},
        {"F6\x1b[31m\x7f", "F6[31m"},
        {"\xc3\x98\xc2\x80Z\xc2\x9f", "\xc3\x98Z"}, // C1 controls, the letter between kept
        {"F6\xe2\x80\xae"
         "ZYX\xd8\x9c",
         "F6ZYX"},        // text-direction controls
        {"F6\x80", "F6"}, // a lone continuation byte
        {"\xc0\x9b"
         "2J",
         "2J"},                                                     // an overlong form
        {"F6\xe2\x80", "F6"},                                       // a sequence cut short
        {"  JA1\xe3\x81\x82 \"1\"  ", "  JA1\xe3\x81\x82 \"1\"  "}, // printable: as it is
    };
    for (const auto& [stored, shown] : cases) {
        SCOPED_TRACE(shown);
        EXPECT_EQ(PrintableCallSign(stored), shown);
        EXPECT_EQ(CallSignProblem(shown), std::nullopt);
    }
}

} // namespace
} // namespace orvela
