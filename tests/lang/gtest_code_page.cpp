// The two code pages and the character classes: properties that hold for
// every byte, so that a wrong entry in a table shows as a broken round trip.
#include "lang/CharClass.h"
#include "lang/CodePage.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using namespace velmo::lang;

std::string Byte(int b)
{
    return std::string(1, static_cast<char>(b));
}

TEST(CodePage, EveryAnsiByteSurvivesUtf8AndBack)
{
    for (int b = 0; b < 256; ++b) {
        const std::string utf8 = AnsiToUtf8(Byte(b));
        EXPECT_TRUE(IsValidUtf8(utf8)) << b;
        EXPECT_EQ(Utf8ToAnsi(utf8), Byte(b)) << b;
    }
}

// Windows-1252 differs from Latin-1 only in 0x80..0x9F, and there the
// unassigned bytes keep the value of the C1 control.
TEST(CodePage, AnsiCodePointsAreLatin1OutsideTheHighControls)
{
    std::set<uint32_t> high;
    for (int b = 0; b < 256; ++b) {
        const uint32_t cp = AnsiCodePoint(static_cast<unsigned char>(b));
        if (b < 0x80 || b >= 0xA0)
            EXPECT_EQ(cp, uint32_t(b)) << b;
        else
            EXPECT_TRUE(high.insert(cp).second) << b << " twice";
    }
    for (const int unassigned : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        EXPECT_EQ(AnsiCodePoint(static_cast<unsigned char>(unassigned)), uint32_t(unassigned));
    EXPECT_EQ(AnsiCodePoint(0x80), 0x20ACu); // the euro sign
}

// A byte of the image's page that has a Windows-1252 character comes back
// unchanged; one without becomes "?".
TEST(CodePage, OemBytesRoundTripThroughAnsi)
{
    int mapped = 0;
    for (int b = 0; b < 256; ++b) {
        const std::string ansi = OemToAnsi(Byte(b));
        ASSERT_EQ(ansi.size(), 1u) << b;
        if (ansi == "?" && b != '?')
            continue;
        ++mapped;
        EXPECT_EQ(AnsiToOem(ansi), Byte(b)) << b;
    }
    EXPECT_GT(mapped, 128 + 64);
}

// A text is ASCII unless one of its bytes is 0x80 or above, wherever that
// byte is: in the first, a middle or the last group of eight, or in the
// bytes after the last whole group.
TEST(CodePage, AsciiTestFindsAHighByteAnywhere)
{
    for (size_t length = 0; length <= 20; ++length) {
        const std::string ascii(length, '\x7F');
        EXPECT_TRUE(IsAscii(ascii)) << length;
        for (size_t at = 0; at < length; ++at) {
            for (const int high : {0x80, 0xA0, 0xFF}) {
                std::string text = ascii;
                text[at] = static_cast<char>(high);
                EXPECT_FALSE(IsAscii(text)) << length << " " << at << " " << high;
            }
        }
    }
}

TEST(CharClass, NamesAreLettersDigitsAndUnderscoreOnly)
{
    std::string start;
    std::string word;
    std::string hex;
    for (int c = 0; c < 256; ++c) {
        const char ch = static_cast<char>(c);
        start += IsWordStart(ch) ? Byte(c) : "";
        word += IsWordChar(ch) ? Byte(c) : "";
        hex += IsHexDigit(ch) ? Byte(c) : "";
        EXPECT_EQ(IsWordChar(ch), IsWordStart(ch) || IsDigit(ch)) << c;
        EXPECT_EQ(IsAlphaNumeric(ch), IsWordChar(ch) && ch != '_') << c;
        EXPECT_TRUE(EqualNoCase(Byte(c), Byte(UpperAscii(ch)))) << c;
    }
    EXPECT_EQ(start, "ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz");
    EXPECT_EQ(word, "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz");
    EXPECT_EQ(hex, "0123456789ABCDEFabcdef");
    EXPECT_FALSE(EqualNoCase("ab", "abc"));
    EXPECT_FALSE(EqualNoCase("\xE9", "\xC9")); // case is ASCII only
}

} // namespace
