#include "lang/CodePage.h"

#include <array>
#include <cstring>

namespace velmo::lang {

namespace {

// Unicode code points of the bytes 0x80..0xFF of code page 850.
constexpr uint16_t kOem[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE,
    0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6,
    0x00DC, 0x00F8, 0x00A3, 0x00D8, 0x00D7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA,
    0x00BA, 0x00BF, 0x00AE, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB, 0x2591, 0x2592, 0x2593, 0x2502,
    0x2524, 0x00C1, 0x00C2, 0x00C0, 0x00A9, 0x2563, 0x2551, 0x2557, 0x255D, 0x00A2, 0x00A5, 0x2510, 0x2514,
    0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x00E3, 0x00C3, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550,
    0x256C, 0x00A4, 0x00F0, 0x00D0, 0x00CA, 0x00CB, 0x00C8, 0x0131, 0x00CD, 0x00CE, 0x00CF, 0x2518, 0x250C,
    0x2588, 0x2584, 0x00A6, 0x00CC, 0x2580, 0x00D3, 0x00DF, 0x00D4, 0x00D2, 0x00F5, 0x00D5, 0x00B5, 0x00FE,
    0x00DE, 0x00DA, 0x00DB, 0x00D9, 0x00FD, 0x00DD, 0x00AF, 0x00B4, 0x00AD, 0x00B1, 0x2017, 0x00BE, 0x00B6,
    0x00A7, 0x00F7, 0x00B8, 0x00B0, 0x00A8, 0x00B7, 0x00B9, 0x00B3, 0x00B2, 0x25A0, 0x00A0,
};

// Unicode code points of the bytes 0x80..0x9F of Windows-1252; the five
// unassigned bytes stand for the C1 control of the same value. 0xA0..0xFF
// are the Latin-1 code points of the same value.
constexpr uint16_t kAnsiHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

uint32_t OemCodePoint(unsigned char b)
{
    return b < 0x80 ? b : kOem[b - 0x80];
}

// The byte of a page that stands for a code point, '?' when there is none.
template <typename CodePointOf> char ByteFor(uint32_t cp, CodePointOf codePointOf)
{
    if (cp < 0x80)
        return static_cast<char>(cp);
    for (int b = 0x80; b <= 0xFF; ++b) {
        if (codePointOf(static_cast<unsigned char>(b)) == cp)
            return static_cast<char>(b);
    }
    return '?';
}

// Byte-to-byte translation tables, built once.
using Table = std::array<char, 256>;

template <typename From, typename To> Table BuildTable(From from, To to)
{
    Table table{};
    for (int b = 0; b < 256; ++b)
        table[b] = ByteFor(from(static_cast<unsigned char>(b)), to);
    return table;
}

std::string Translate(std::string_view text, const Table &table)
{
    std::string out(text.size(), '\0');
    for (size_t i = 0; i < text.size(); ++i)
        out[i] = table[static_cast<unsigned char>(text[i])];
    return out;
}

void AppendUtf8(std::string &out, uint32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes one UTF-8 sequence at text[i]; returns its length, 0 if malformed.
size_t DecodeUtf8(std::string_view text, size_t i, uint32_t &cp)
{
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80)
        return cp = lead, 1;
    size_t length;
    uint32_t min;
    if ((lead & 0xE0) == 0xC0)
        length = 2, cp = lead & 0x1F, min = 0x80;
    else if ((lead & 0xF0) == 0xE0)
        length = 3, cp = lead & 0x0F, min = 0x800;
    else if ((lead & 0xF8) == 0xF0)
        length = 4, cp = lead & 0x07, min = 0x10000;
    else
        return 0;
    if (i + length > text.size())
        return 0;
    for (size_t k = 1; k < length; ++k) {
        const unsigned char next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (next & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return length;
}

} // namespace

uint32_t AnsiCodePoint(unsigned char b)
{
    if (b < 0x80 || b >= 0xA0)
        return b;
    return kAnsiHigh[b - 0x80];
}

std::string AnsiToOem(std::string_view ansi)
{
    static const Table table = BuildTable(AnsiCodePoint, OemCodePoint);
    return Translate(ansi, table);
}

std::string OemToAnsi(std::string_view oem)
{
    static const Table table = BuildTable(OemCodePoint, AnsiCodePoint);
    return Translate(oem, table);
}

std::string AnsiToUtf8(std::string_view ansi)
{
    std::string out;
    out.reserve(ansi.size());
    for (char c : ansi)
        AppendUtf8(out, AnsiCodePoint(static_cast<unsigned char>(c)));
    return out;
}

std::string Utf8ToAnsi(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        uint32_t cp = 0;
        const size_t length = DecodeUtf8(utf8, i, cp);
        if (length == 0) {
            out += '?';
            ++i;
            continue;
        }
        const bool latin1 = cp >= 0xA0 && cp <= 0xFF;
        out += latin1 ? static_cast<char>(cp) : ByteFor(cp, AnsiCodePoint);
        i += length;
    }
    return out;
}

bool IsValidUtf8(std::string_view bytes)
{
    for (size_t i = 0; i < bytes.size();) {
        uint32_t cp = 0;
        const size_t length = DecodeUtf8(bytes, i, cp);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

// Eight bytes at a time, as a whole source file is tested: a byte of 0x80
// or above sets the top bit of its byte of the word.
bool IsAscii(std::string_view text)
{
    uint64_t any = 0;
    size_t i = 0;
    for (; i + sizeof any <= text.size(); i += sizeof any) {
        uint64_t word;
        std::memcpy(&word, text.data() + i, sizeof word);
        any |= word;
    }
    for (; i < text.size(); ++i)
        any |= static_cast<unsigned char>(text[i]);
    return (any & 0x8080808080808080ull) == 0;
}

std::string SourceToAnsi(std::string contents)
{
    std::string_view text = contents;
    const bool hasBom = text.substr(0, 3) == "\xEF\xBB\xBF";
    if (IsAscii(text) || !IsValidUtf8(text))
        return contents;
    if (hasBom)
        text.remove_prefix(3);
    return Utf8ToAnsi(text);
}

std::string PrintableName(std::string_view name)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string shown;
    shown.reserve(name.size());
    for (size_t i = 0; i < name.size();) {
        uint32_t cp = 0;
        const size_t length = DecodeUtf8(name, i, cp);
        if (length > 0 && cp >= 0x20 && cp != 0x7F) {
            shown.append(name.substr(i, length));
            i += length;
            continue;
        }
        const auto byte = static_cast<unsigned char>(name[i++]);
        shown += "\\x";
        shown += kHex[byte >> 4];
        shown += kHex[byte & 0xF];
    }
    return shown;
}

} // namespace velmo::lang
