// Token bytes of the program image seen through the compiler's keyword table:
// the simulator reads the image with the same table that wrote it.
#pragma once

#include "Symbols.h"

#include <cstdint>

namespace velsim {

// The keyword symbol that a token byte stands for, or symEndOfLine for a
// byte that is no token. A numbered family (PWM, PORT, ...) and the display
// statements (one token with a sub-code digit) give their first member; the
// digit that follows the token in the image selects the member.
TSYMBOL SymbolOfToken(uint8_t byte);

// The reserved word of a keyword symbol ("PRINT", "PWM3"); "" for others.
const char *KeywordName(int symbol);

} // namespace velsim
