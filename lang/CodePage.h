// The two code pages of the compiler: source text and messages are in the
// "ANSI" page (Windows-1252), string constants in the program image in the
// "OEM" page (code page 850). Both are fixed tables, independent of locale.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velmo::lang {

// The Unicode code point of a Windows-1252 byte. The five bytes that the
// page leaves unassigned stand for the C1 control of the same value, so that
// they survive a round trip.
uint32_t AnsiCodePoint(unsigned char byte);

std::string AnsiToOem(std::string_view ansi);
std::string OemToAnsi(std::string_view oem);

// Windows-1252 text as UTF-8 (for the listing on POSIX systems).
std::string AnsiToUtf8(std::string_view ansi);
// UTF-8 text as Windows-1252; characters outside it become "?".
std::string Utf8ToAnsi(std::string_view utf8);

// True when the bytes are well-formed UTF-8 (no overlong forms, surrogates
// or code points above U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// The contents of a source file as Windows-1252: valid UTF-8 with non-ASCII
// characters is transcoded (a byte-order mark is dropped), anything else is
// taken as Windows-1252 already.
std::string SourceToAnsi(std::string contents);

// True when every byte is below 0x80.
bool IsAscii(std::string_view text);

// A file name as messages show it: control characters (a newline, a NUL)
// and bytes that are not UTF-8 are written as "\xNN", so that a message
// naming the file stays one line of UTF-8 text.
std::string PrintableName(std::string_view name);

} // namespace velmo::lang
