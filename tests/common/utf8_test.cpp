// UTF-8 read one character at a time, strictly.
#include "common/utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace orvela {
namespace {

// Each case decodes the character at the start of the text: the edges of
// every length, and every kind of fault at its nearest bytes.
TEST(DecodeUtf8, CharactersAndFaultsAtTheirEdges)
{
    const struct {
        const char* What;
        std::string Text;
        char32_t Code;
        std::size_t Length;
        Utf8Fault Fault;
    } cases[] = {
        {"NUL", std::string("\0", 1), 0, 1, Utf8Fault::None},
        {"DEL", "\x7F", 0x7F, 1, Utf8Fault::None},
        {"lowest of two bytes", "\xC2\x80", 0x80, 2, Utf8Fault::None},
        {"highest of two bytes", "\xDF\xBF", 0x7FF, 2, Utf8Fault::None},
        {"lowest of three bytes", "\xE0\xA0\x80", 0x800, 3, Utf8Fault::None},
        {"below the surrogates", "\xED\x9F\xBF", 0xD7FF, 3, Utf8Fault::None},
        {"above the surrogates", "\xEE\x80\x80", 0xE000, 3, Utf8Fault::None},
        {"highest of three bytes", "\xEF\xBF\xBF", 0xFFFF, 3, Utf8Fault::None},
        {"lowest of four bytes", "\xF0\x90\x80\x80", 0x10000, 4, Utf8Fault::None},
        {"highest of Unicode", "\xF4\x8F\xBF\xBF", 0x10FFFF, 4, Utf8Fault::None},
        {"followed by more", "\xC3\xA9x", 0xE9, 2, Utf8Fault::None},
        {"lowest continuation", "\x80", 0, 0, Utf8Fault::StrayContinuation},
        {"highest continuation", "\xBF\x80", 0, 0, Utf8Fault::StrayContinuation},
        {"C0", "\xC0\x80", 0, 0, Utf8Fault::NeverInUtf8},
        {"C1", "\xC1\xBF", 0, 0, Utf8Fault::NeverInUtf8},
        {"F5", "\xF5\x80\x80\x80", 0, 0, Utf8Fault::NeverInUtf8},
        {"FF", "\xFF", 0, 0, Utf8Fault::NeverInUtf8},
        {"two bytes at the end", "\xC3", 0, 0, Utf8Fault::CutShort},
        {"four bytes, three given", "\xF0\x9F\x93", 0, 0, Utf8Fault::CutShort},
        {"a letter where a continuation belongs", "\xE2\x80x", 0, 0, Utf8Fault::CutShort},
        {"a new lead where a continuation belongs", "\xC3\xC3\xA9", 0, 0, Utf8Fault::CutShort},
        {"three bytes for U+07FF", "\xE0\x9F\xBF", 0, 0, Utf8Fault::Overlong},
        {"four bytes for U+FFFF", "\xF0\x8F\xBF\xBF", 0, 0, Utf8Fault::Overlong},
        {"lowest surrogate", "\xED\xA0\x80", 0, 0, Utf8Fault::Surrogate},
        {"highest surrogate", "\xED\xBF\xBF", 0, 0, Utf8Fault::Surrogate},
        {"U+110000", "\xF4\x90\x80\x80", 0, 0, Utf8Fault::BeyondUnicode},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        const Utf8Char d = DecodeUtf8(c.Text, 0);
        EXPECT_EQ(d.Fault, c.Fault);
        EXPECT_EQ(d.Length, c.Length);
        EXPECT_EQ(static_cast<unsigned>(d.Code), static_cast<unsigned>(c.Code));
    }
}

// A reader walks the text from where it stands, and never reads past its
// end: a sequence the end cuts short is a fault, not a read beyond it.
TEST(DecodeUtf8, ReadsFromTheGivenPlaceWithinTheText)
{
    const std::string text = "F\xC3\xA9\xE2\x82\xAC\xF0\x9F\x93\xA1";
    const char32_t codes[] = {'F', 0xE9, 0x20AC, 0x1F4E1};
    std::size_t at = 0;
    for (const char32_t code : codes) {
        const Utf8Char d = DecodeUtf8(text, at);
        ASSERT_EQ(d.Fault, Utf8Fault::None) << at;
        EXPECT_EQ(static_cast<unsigned>(d.Code), static_cast<unsigned>(code));
        at += d.Length;
    }
    EXPECT_EQ(at, text.size());

    const std::string_view cut = std::string_view(text).substr(0, 9); // the last character's first three bytes
    EXPECT_EQ(DecodeUtf8(cut, 6).Fault, Utf8Fault::CutShort);
    EXPECT_EQ(DecodeUtf8(cut, 7).Fault, Utf8Fault::StrayContinuation);
}

} // namespace
} // namespace orvela
