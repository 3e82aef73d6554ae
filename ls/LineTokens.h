// One line of program text cut into the engine's symbols, with the byte
// range each takes, for the features that point into the text (hover,
// references, rename, colouring).
#pragma once

#include "lang/Symbols.h"

#include <string>
#include <string_view>
#include <vector>

namespace velmo::ls {

struct LineToken {
    int start = 0; // byte offsets in the line: [start, end)
    int end = 0;
    velmo::lang::TSYMBOL symbol = velmo::lang::symEndOfLine;
    bool comment = false; // the rest of the line after an apostrophe
    std::string text; // the word as written (identifiers, keywords, directives)
};

// The symbols of a line as the compiler's scanner reads it; a line starting
// with "#" is read as a directive line.
std::vector<LineToken> ScanLine(const std::string &line);

// The token that holds byte `column` (or ends right there), or nullptr.
const LineToken *TokenAt(const std::vector<LineToken> &tokens, int column);

// Positions count UTF-16 code units, as the protocol does; the text is
// UTF-8 (a byte that is not is one unit).
int Utf16Column(std::string_view line, size_t byteIndex);
size_t ByteIndex(std::string_view line, int utf16Column);

// True for a name a program may declare: a word that is not a keyword.
bool IsValidName(const std::string &name);

} // namespace velmo::ls
