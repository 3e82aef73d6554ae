// Character classes of Velmo source text (ASCII only: bytes of 0x80 and
// above belong to no class). The compiler's scanner and macro processor,
// the editor's tokenizer and its whole-word search all read them here.
#pragma once

#include <cstddef>
#include <string_view>

namespace velmo::lang {

constexpr bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

constexpr bool IsHexDigit(char c)
{
    return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// An ASCII letter or digit.
constexpr bool IsAlphaNumeric(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || IsDigit(c);
}

// The first character of a name: a letter or "_".
constexpr bool IsWordStart(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

// A character of a name after its first: a letter, a digit or "_".
constexpr bool IsWordChar(char c)
{
    return IsWordStart(c) || IsDigit(c);
}

constexpr char UpperAscii(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Equal without regard to ASCII letter case.
constexpr bool EqualNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (UpperAscii(a[i]) != UpperAscii(b[i]))
            return false;
    }
    return true;
}

} // namespace velmo::lang
