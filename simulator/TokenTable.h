// Token bytes of the program image seen through the language's keyword table
// (lang/Keywords.h): the simulator reads the image with the same table that
// wrote it, by token code and the digit that follows a numbered family.
#pragma once

#include "lang/Keywords.h"
#include "lang/Symbols.h"

#include <cstdint>

namespace velsim {

// The simulator names keywords by the language's symbols.
using namespace velmo::lang;

// The keyword symbol that a token byte stands for, or symEndOfLine for a
// byte that is no token. A numbered family (PWM, PORT, ...) and the display
// statements (one token with a sub-code digit) give their first member; the
// digit that follows the token in the image selects the member.
TSYMBOL SymbolOfToken(uint8_t byte);

// The member `digit` of the family whose first member is `first` (PWM0 and
// 3 give PWM3, PLOT and 1 give DRAW), or symEndOfLine when the family has no
// such member.
TSYMBOL FamilyMember(TSYMBOL first, int digit);

// True when `first` heads a family of numbered system variables (PWM0, ...).
bool IsVariableFamily(TSYMBOL first);

// The digit of `symbol` in the family whose first member is `first` (PORT3
// in PORT0's family gives 3), or -1 when it is no member of that family.
int MemberIndex(int symbol, TSYMBOL first);

} // namespace velsim
